// Stepping, zoom, view modes, transparency, the colour key, the keyboard moves and resizes,
// and Reset element config.
#include "editor/editor_fixture.h"
#include "render/view_state.h"

namespace zt9::test {
namespace {

TEST_F(EditorTest, NextAndPreviousShowEachElementsOwnValuesAndStopAtTheEnds) {
    openGrid();
    const std::uint64_t frames = window.frameVersion();
    run(IDM_NEXT_ELEMENT);
    EXPECT_GT(window.frameVersion(), frames);
    EXPECT_EQ(field(IDC_NUMBER), "1");
    EXPECT_EQ(field(IDC_POS_X), "6");
    EXPECT_EQ(field(IDC_DISPLAY_X), "-2");
    EXPECT_EQ(field(IDC_DISPLAY_Y), "-1");
    EXPECT_EQ(screen.color, 1);
    run(IDM_NEXT_ELEMENT);
    run(IDM_NEXT_ELEMENT);
    EXPECT_EQ(field(IDC_NUMBER), "2");
    for (int i = 0; i < 3; ++i)
        run(IDM_PREVIOUS_ELEMENT);
    EXPECT_EQ(field(IDC_NUMBER), "0");
    EXPECT_EQ(field(IDC_POS_X), "0");
    EXPECT_FALSE(document.isModified());
}

TEST_F(EditorTest, ZoomOnlyChangesTheStretchWithinOneToTen) {
    openGrid();
    const std::uint64_t frames = window.frameVersion();
    for (int i = 0; i < 12; ++i)
        run(IDM_ZOOM_IN);
    EXPECT_EQ(window.view.viewZoom, 10);
    EXPECT_EQ(screen.scale, 10);
    EXPECT_EQ(document.zoom, 10u);
    run(IDM_ZOOM_OUT);
    EXPECT_EQ(screen.scale, 9);
    for (int i = 0; i < 12; ++i)
        run(IDM_ZOOM_OUT);
    EXPECT_EQ(window.view.viewZoom, 1);
    EXPECT_EQ(window.frameVersion(), frames);
}

TEST_F(EditorTest, ViewModesAndTransparencyRenderWhatTheMenuShows) {
    openGrid();
    const Surface& view = *window.viewSurface();
    run(IDM_TOGGLE_VIEW);
    EXPECT_EQ(window.view.viewMode, kPictureElement);
    EXPECT_EQ(screen.viewModeItem, IDM_PICTURE_ELEMENT);
    EXPECT_EQ(window.view.shownFrame.width, 6);
    EXPECT_EQ(window.view.shownFrame.height, 4);
    EXPECT_EQ(view.pixel(0, 0), 0x0000FFu);  // the element's red block under index 0
    run(IDM_TRANSPARENCY);
    EXPECT_FALSE(screen.checked[IDM_TRANSPARENCY]);
    EXPECT_EQ(view.pixel(0, 0), kOpaqueBackground);
    run(IDM_TRANSPARENCY);
    EXPECT_TRUE(screen.checked[IDM_TRANSPARENCY]);
    EXPECT_EQ(window.view.transparency, 1);
    run(IDM_TOGGLE_VIEW);
    EXPECT_EQ(screen.viewModeItem, IDM_FULL_PICTURE);
    EXPECT_EQ(view.pixel(0, 0), kHighlightColor);
    run(IDM_PICTURE_ELEMENT);
    EXPECT_EQ(window.view.viewMode, kPictureElement);
    run(IDM_FULL_PICTURE);
    EXPECT_EQ(window.view.viewMode, kFullPicture);
    EXPECT_EQ(screen.viewModeItem, IDM_FULL_PICTURE);
}

TEST_F(EditorTest, ColourKeyCyclesTheFourColoursAndRendersOnlyWhereTheyShow) {
    openGrid();
    std::uint64_t frames = window.frameVersion();
    for (int expected : {1, 2, 3, 0}) {
        run(IDM_NEXT_COLOR);
        EXPECT_EQ(screen.color, expected);
        EXPECT_EQ(document.configs[0].colorIndex, expected);
    }
    EXPECT_EQ(window.frameVersion(), frames);  // Full picture: the block colour is not seen
    screen.color = -1;                         // no entry selected
    run(IDM_NEXT_COLOR);
    EXPECT_EQ(screen.color, 0);

    run(IDM_TOGGLE_VIEW);
    frames = window.frameVersion();
    run(IDM_NEXT_COLOR);
    EXPECT_GT(window.frameVersion(), frames);
    EXPECT_EQ(window.viewSurface()->pixel(0, 0), 0x00FF00u);
    run(IDM_TRANSPARENCY);
    frames = window.frameVersion();
    run(IDM_NEXT_COLOR);
    EXPECT_EQ(window.frameVersion(), frames);
    EXPECT_FALSE(document.isModified());
}

struct KeyCase {
    int id;
    int field;
    const char* shown;  // the field's text before the key
    const char* after;  // and after it
    std::int32_t ElementConfig::*value;
    std::int32_t stored;
    bool acts;
};

TEST_F(EditorTest, KeyboardMovesAndResizesStepFromTheShownNumberWithinThePicture) {
    using C = ElementConfig;
    const std::vector<KeyCase> cases = {
        {IDM_MOVE_LEFT, IDC_POS_X, "0", "0", &C::x, 0, false},
        {IDM_MOVE_LEFT, IDC_POS_X, "1", "0", &C::x, 0, true},  // asks for -1, made 0
        {IDM_MOVE_RIGHT, IDC_POS_X, "0", "2", &C::x, 2, true},
        {IDM_MOVE_RIGHT, IDC_POS_X, "253", "248", &C::x, 248, true},
        {IDM_MOVE_RIGHT, IDC_POS_X, "abc", "2", &C::x, 2, true},
        {IDM_MOVE_RIGHT, IDC_POS_X, "4294967295", "248", &C::x, 248, true},
        {IDM_MOVE_UP, IDC_POS_Y, "0", "0", &C::y, 0, false},
        {IDM_MOVE_UP, IDC_POS_Y, "9", "8", &C::y, 8, true},
        {IDM_MOVE_DOWN, IDC_POS_Y, "235", "235", &C::y, 235, true},
        {IDM_NARROWER, IDC_WIDTH, "0", "0", &C::width, 6, false},
        {IDM_NARROWER, IDC_WIDTH, "6", "5", &C::width, 5, true},
        {IDM_WIDER, IDC_WIDTH, "255", "255", &C::width, 255, true},
        {IDM_LOWER, IDC_HEIGHT, "0", "0", &C::height, 4, false},
        {IDM_HIGHER, IDC_HEIGHT, "4", "5", &C::height, 5, true},
        {IDM_HIGHER, IDC_HEIGHT, "", "1", &C::height, 1, true},
    };
    const std::filesystem::path font = writeFont("keys.geo", GeoBuilder::grid(3));
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " on " + c.shown);
        open(font);
        screen.fields[c.field] = c.shown;
        const std::uint64_t frames = window.frameVersion();
        run(c.id);
        EXPECT_EQ(field(c.field), c.after);
        EXPECT_EQ(document.configs[0].*c.value, c.stored);
        EXPECT_EQ(document.isModified(), c.acts);
        EXPECT_EQ(window.frameVersion() > frames, c.acts);
    }
}

TEST_F(EditorTest, ResetElementConfigMarksTheFontOnlyWhenItChangesTheElement) {
    openGrid();
    run(IDM_RESET_CONFIG);
    EXPECT_FALSE(document.isModified());
    screen.fields[IDC_POS_X] = "0";
    run(IDM_MOVE_RIGHT);
    run(IDM_SAVE);
    EXPECT_FALSE(document.isModified());
    // Back to the loaded place, which now differs from what the file holds.
    run(IDM_RESET_CONFIG);
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(field(IDC_POS_X), "0");
    EXPECT_EQ(document.configs[0].x, 0);
}

}  // namespace
}  // namespace zt9::test
