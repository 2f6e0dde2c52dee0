// The element panel: committed fields, arrow clicks, the Reset buttons, Scale and Color.
#include <tuple>

#include "editor/editor_fixture.h"
#include "images/element_import.h"
#include "render/view_state.h"
#include "support/bmp_builder.h"

namespace zt9::test {
namespace {

struct Commit {
    int field;
    const char* typed;
    const char* shown;  // what the field shows afterwards: the value stored
};

TEST_F(EditorTest, CommittedFieldsShowWhatTheElementStoresHoweverOddTheText) {
    // Element 0 of the grid: x 0, y 0, width 6, height 4.
    const std::vector<Commit> commits = {
        {IDC_WIDTH, "300", "255"},         {IDC_WIDTH, "", "1"},
        {IDC_WIDTH, "0007", "7"},          {IDC_POS_X, "7", "8"},
        {IDC_POS_X, "4294967294", "248"},  {IDC_HEIGHT, "4294967295", "239"},
        {IDC_HEIGHT, "abc", "0"},          {IDC_POS_Y, "99999999999", "235"},
        {IDC_RESIZE_WIDTH, "0", "1"},      {IDC_RESIZE_HEIGHT, "999", "255"},
        {IDC_DISPLAY_X, "65535", "-1"},    {IDC_DISPLAY_Y, "-300", "-255"},
        {IDC_DISPLAY_Y, "-70000", "-255"},
    };
    const std::filesystem::path font = writeFont("grid.geo", GeoBuilder::grid(3));
    for (const Commit& c : commits) {
        SCOPED_TRACE(std::string(c.typed) + " in " + std::to_string(c.field));
        open(font);
        screen.fields[c.field] = c.typed;
        const std::uint64_t frames = window.frameVersion();
        window.commitField(c.field);
        EXPECT_EQ(field(c.field), c.shown);
        EXPECT_GT(window.frameVersion(), frames);
        EXPECT_TRUE(document.isModified());
        // Nothing the user types puts the element outside the picture.
        const ElementConfig& stored = document.configs[0];
        EXPECT_TRUE(stored.x >= 0 && stored.width >= 1 && stored.x + stored.width <= 255);
        EXPECT_TRUE(stored.y >= 0 && stored.height >= 0 && stored.y + stored.height <= 239);
    }
}

TEST_F(EditorTest, NumberSelectsAnElementAndTheArrowsShowOnlyTheirOwnCorrection) {
    openGrid();
    screen.fields[IDC_NUMBER] = "99";
    window.commitField(IDC_NUMBER);
    EXPECT_EQ(field(IDC_NUMBER), "2");  // beyond the last: the last
    EXPECT_EQ(field(IDC_POS_X), "12");
    EXPECT_FALSE(document.isModified());

    window.arrowClicked(IDC_WIDTH_ARROWS, 250);  // x 12: at most 243 wide
    EXPECT_EQ(field(IDC_WIDTH), "243");
    EXPECT_EQ(window.clampCode, FieldCode::width);
    window.arrowClicked(IDC_POS_X_ARROWS, 14);  // corrected x is written, not the old width
    EXPECT_EQ(field(IDC_POS_X), "12");
    EXPECT_EQ(field(IDC_WIDTH), "243");
    window.arrowClicked(IDC_RESIZE_WIDTH_ARROWS, 9);
    EXPECT_EQ(document.configs[2].resizeWidth, 9);
    window.arrowClicked(IDC_NUMBER_ARROWS, 1);
    EXPECT_EQ(field(IDC_NUMBER), "1");
    EXPECT_EQ(field(IDC_WIDTH), "6");
    EXPECT_EQ(field(IDC_POS_X), "6");
    EXPECT_EQ(screen.color, 1);
}

TEST_F(EditorTest, ResetButtonsRestoreTheFileValuesAndMarkOnlyARealChange) {
    // Element 1 of this font stands at x 240, 10 wide, resize 11 x 5, display -2, -1.
    GeoBuilder font = GeoBuilder::grid(3);
    font.elements[1].x = 240;
    font.elements[1].width = 10;
    font.elements[1].resizeWidth = 11;
    open(writeFont("reset.geo", font));
    run(IDM_NEXT_ELEMENT);
    for (const int button : {IDC_RESET_WIDTH, IDC_RESET_POS_X, IDC_RESET_RESIZE_WIDTH,
                             IDC_RESET_DISPLAY_X, IDC_RESET_ELEMENT})
        window.resetClicked(button);
    EXPECT_FALSE(document.isModified());

    // Moved to x 0 and widened to 100: resetting x brings back 240 and narrows to 15.
    screen.fields[IDC_POS_X] = "0";
    window.commitField(IDC_POS_X);
    screen.fields[IDC_WIDTH] = "100";
    window.commitField(IDC_WIDTH);
    run(IDM_SAVE);
    window.resetClicked(IDC_RESET_POS_X);
    EXPECT_EQ(field(IDC_POS_X), "240");
    EXPECT_EQ(field(IDC_WIDTH), "15");
    EXPECT_TRUE(document.isModified());
    // Width back to 10 at x 240 fits; resize and display come back as loaded.
    screen.fields[IDC_RESIZE_WIDTH] = "300";
    window.commitField(IDC_RESIZE_WIDTH);
    screen.fields[IDC_DISPLAY_X] = "100";
    window.commitField(IDC_DISPLAY_X);
    for (const int button : {IDC_RESET_WIDTH, IDC_RESET_RESIZE_WIDTH, IDC_RESET_DISPLAY_X})
        window.resetClicked(button);
    EXPECT_EQ(field(IDC_WIDTH), "10");
    EXPECT_EQ(field(IDC_RESIZE_WIDTH), "11");
    EXPECT_EQ(field(IDC_DISPLAY_X), "-2");
    const ElementConfig& c = document.configs[1];
    EXPECT_EQ(std::tuple(c.x, c.y, c.width, c.height, c.resizeWidth, c.resizeHeight, c.displayX,
                         c.displayY),
              std::tuple(240, 0, 10, 4, 11, 5, -2, -1));
}

TEST_F(EditorTest, AnImportedElementKeepsItsImageSizeThroughTheResets) {
    openGrid();
    FieldCode xCode = FieldCode::unchanged;
    FieldCode yCode = FieldCode::unchanged;
    BmpBuilder image(9, 3, 4);
    image.withDistinctPalette();
    ASSERT_TRUE(importElement(document, xCode, yCode, image.build()));
    run(IDM_NEXT_ELEMENT);
    run(IDM_PREVIOUS_ELEMENT);
    ASSERT_EQ(window.elementImported, 1);
    EXPECT_TRUE(screen.checked[IDM_RESET_IMPORT]);
    run(IDM_SAVE);

    screen.fields[IDC_WIDTH] = "3";
    window.commitField(IDC_WIDTH);  // refused: the image is 9 wide
    EXPECT_EQ(field(IDC_WIDTH), "9");
    const std::uint64_t frames = window.frameVersion();
    screen.fields[IDC_WIDTH] = "typed";
    window.resetClicked(IDC_RESET_WIDTH);  // nothing at all
    EXPECT_EQ(field(IDC_WIDTH), "typed");
    EXPECT_EQ(window.frameVersion(), frames);

    screen.fields[IDC_POS_X] = "40";
    window.commitField(IDC_POS_X);
    window.resetClicked(IDC_RESET_POS_X);  // back to the file's x through setX
    EXPECT_EQ(field(IDC_POS_X), "0");
    window.resetClicked(IDC_RESET_ELEMENT);
    EXPECT_EQ(field(IDC_WIDTH), "typed");      // not written: the image keeps its size
    EXPECT_EQ(field(IDC_RESIZE_WIDTH), "10");  // the image's width + 1
    EXPECT_EQ(document.configs[0].width, 9);
}

TEST_F(EditorTest, ScaleOnlyStretchesAndColourRendersOnlyWhereItShows) {
    window.commitField(IDC_WIDTH);  // no font: nothing happens
    window.colorChosen(2);
    window.resetClicked(IDC_RESET_ELEMENT);
    window.arrowClicked(IDC_WIDTH_ARROWS, 3);
    EXPECT_EQ(screen.invalidations, 0);
    EXPECT_TRUE(screen.fields.empty());
    openGrid();
    std::uint64_t frames = window.frameVersion();
    window.scaleChanged(7);
    EXPECT_EQ(window.view.viewZoom, 7);
    EXPECT_EQ(document.zoom, 7u);
    window.colorChosen(2);  // Full picture: the block colour is not seen
    EXPECT_EQ(document.configs[0].colorIndex, 2);
    EXPECT_EQ(window.frameVersion(), frames);
    run(IDM_TOGGLE_VIEW);
    frames = window.frameVersion();
    window.colorChosen(-1);  // no selection never reaches the element
    EXPECT_EQ(document.configs[0].colorIndex, 2);
    EXPECT_EQ(window.frameVersion(), frames);
    window.colorChosen(3);
    EXPECT_GT(window.frameVersion(), frames);
    EXPECT_EQ(window.viewSurface()->pixel(0, 0), 0x00FFFFu);
}

}  // namespace
}  // namespace zt9::test
