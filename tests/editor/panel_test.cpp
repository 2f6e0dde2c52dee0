// The element panel (committed fields, the Reset buttons) and the image commands: Import,
// Export and Reset import.
#include "editor_fixture.h"
#include "images/element_export.h"
#include "support/bmp_builder.h"

namespace zt9::test {
namespace {

TEST_F(EditorTest, ResetButtonsRestoreTheFileValuesAndKeepTheFontsModifiedMarkHonest) {
    GeoBuilder font = GeoBuilder::grid(3);
    font.elements[1] = GeoBuilder::layoutAt(240, 0, 10, 4);  // resize 11 x 5, display 0, 0
    openGrid(font);
    act(IDM_NEXT_ELEMENT);
    // Nothing differs from the file: the resets change nothing and leave the font unmarked.
    for (const int id : {IDC_RESET_WIDTH, IDC_RESET_POS_X, IDC_RESET_RESIZE_WIDTH,
                         IDC_RESET_DISPLAY_X, IDC_RESET_ELEMENT, IDM_RESET_CONFIG})
        EXPECT_EQ(step(id), "draw") << id;
    EXPECT_EQ(step(IDC_POS_X, "0"), "X0 draw *");
    EXPECT_EQ(step(IDC_WIDTH, "100"), "W100 draw *");
    EXPECT_EQ(step(IDC_RESIZE_WIDTH, "300"), "RW300 draw *");
    EXPECT_EQ(step(IDC_DISPLAY_X, "100"), "DX100 draw *");
    EXPECT_EQ(step(IDC_RESET_DISPLAY_Y), "draw *");  // changes nothing: the edits stay unsaved
    act(IDM_SAVE);
    EXPECT_EQ(step(IDC_RESET_POS_X), "W15 X240 draw *");  // the width gives way to x
    EXPECT_EQ(step(IDC_RESET_WIDTH), "W10 draw *");
    EXPECT_EQ(step(IDC_RESET_RESIZE_WIDTH), "RW11 draw *");
    EXPECT_EQ(step(IDC_RESET_DISPLAY_X), "DX0 draw *");
    EXPECT_TRUE(showsStored());
    EXPECT_EQ(step(IDC_POS_Y, "20"), "Y20 draw *");
    act(IDM_SAVE);
    EXPECT_EQ(step(IDC_RESET_ELEMENT), "Y0 draw *");
    EXPECT_TRUE(showsStored());
}

TEST_F(EditorTest, AnImportedElementKeepsItsImageSizeAndARefusedImageChangesNothing) {
    GeoBuilder font = GeoBuilder::grid(3);
    font.elements[1].x = 250;  // a 9-wide image does not fit there
    openGrid(font);
    write("a.bmp", BmpBuilder(9, 3, 4).withDistinctPalette().build());
    const std::string dialog = "open bmp1 Import geo element/geo element ";
    shown["X"] = shown["Y"] = "kept";  // written only where the image moved them
    EXPECT_EQ(step(IDM_IMPORT, "a.bmp"), dialog + "0.bmp; H2 RH3 RW10 W9 r1 draw *");
    EXPECT_EQ(step(IDM_NEXT_ELEMENT), "DX-2 DY-1 H4 N1 RH5 RW7 W6 X250 Y0 c1 r0 draw *");
    shown["Y"] = "kept";
    EXPECT_EQ(step(IDM_IMPORT, "a.bmp"), dialog + "1.bmp; H2 RH3 RW10 W9 X246 r1 draw *");
    shown["W"] = "typed";
    EXPECT_EQ(step(IDM_IMPORT), dialog + "1.bmp; W9 draw *");  // cancelled: the image again
    act(IDM_SAVE);
    EXPECT_EQ(step(IDC_WIDTH, "3"), "draw");  // the image's width stays
    shown["W"] = "typed";
    EXPECT_EQ(step(IDC_RESET_WIDTH), "");  // nothing at all
    EXPECT_EQ(step(IDC_POS_X, "40"), "X40 draw *");
    EXPECT_EQ(step(IDC_RESET_POS_X), "X246 draw *");  // the file's 250 does not fit either
    EXPECT_EQ(step(IDC_RESIZE_WIDTH, "50"), "RW50 draw *");
    EXPECT_EQ(step(IDC_RESET_ELEMENT), "RW10 Y0 draw *");  // Width not written
    shown["W"] = "9";
    EXPECT_TRUE(showsStored());
    act(IDM_SAVE);
    const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> refusals = {
        {std::vector<std::uint8_t>(200, 'x'), "Has been opened not BMP file"},
        {BmpBuilder(256, 2, 4).withDistinctPalette().build(), "Image width is too large"},
        {BmpBuilder(3, 3, 4).withDistinctPalette().setEntry(15, 255, 0, 0).build(),
         "Last color in the palette is not a transparent"}};
    for (const auto& [bytes, message] : refusals) {
        write("bad.bmp", bytes);
        EXPECT_EQ(step(IDM_IMPORT, "bad.bmp"), dialog + "1.bmp; error: " + message + ";");
    }
    EXPECT_EQ(document.importSlots[1].width, 9u);
    // Reset import marks the font only when it removes an image.
    EXPECT_EQ(step(IDM_RESET_IMPORT), "r0 draw *");
    act(IDM_SAVE);
    EXPECT_EQ(step(IDM_RESET_IMPORT), "draw");
}

TEST_F(EditorTest, ExportWritesTheElementAsLoadedAndRemembersTheChosenDepth) {
    openGrid();
    act(IDM_NEXT_ELEMENT);
    const std::string dialog = " Export geo element/geo element ";
    nextFile = FileChoice{dir.file("e4.bmp"), 2};
    EXPECT_EQ(step(IDM_EXPORT), "save export1" + dialog + "1.bmp;");
    EXPECT_EQ(readBytes(dir.file("e4.bmp")), exportElementBytes(document, kExport4bpp));
    act(IDM_IMPORT);  // other dialogs in between
    act(IDM_LOAD, "grid.geo");
    log.clear();
    EXPECT_EQ(step(IDM_EXPORT, "e8.bmp"), "save export2" + dialog + "0.bmp;");
    EXPECT_EQ(readBytes(dir.file("e8.bmp")), exportElementBytes(document, kExport8bpp));
    std::filesystem::create_directory(dir.file("dir.bmp"));
    EXPECT_EQ(step(IDM_EXPORT, "dir.bmp"),
              "save export1" + dialog + "0.bmp; error: File save error;");
}

}  // namespace
}  // namespace zt9::test
