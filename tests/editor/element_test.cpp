// The view commands, the keyboard moves and resizes, the element panel (committed fields,
// arrows, the Reset buttons, Scale and Color) and the image commands; the reading of typed
// numbers.
#include "editor/field_number.h"
#include "editor_fixture.h"
#include "images/element_export.h"

namespace zt9::test {

TEST_F(EditorTest, ViewModesColoursZoomNumberAndArrowsShowWhatTheMenuAndThePanelShow) {
    openGrid();
    const auto pixel = [&] { return window.viewSurface()->pixel(0, 0); };
    EXPECT_EQ(step(IDM_TOGGLE_VIEW), "v1 draw");
    EXPECT_EQ(std::tuple(window.view.shownFrame.width, window.view.shownFrame.height, pixel()),
              std::tuple(6, 4, 0x0000FFu));  // element 0 alone, colour 0 under index 0
    EXPECT_EQ(step(IDM_TRANSPARENCY), "t0 draw");
    EXPECT_EQ(pixel(), kOpaqueBackground);
    EXPECT_EQ(step(IDM_NEXT_COLOR), "c1");  // not seen without transparency
    EXPECT_EQ(step(IDM_TRANSPARENCY), "t1 draw");
    EXPECT_EQ(step(IDM_NEXT_COLOR), "c2 draw");
    EXPECT_EQ(pixel(), 0xFF0000u);
    EXPECT_EQ(step([&] { window.colorChosen(-1); }), "");  // no entry chosen
    EXPECT_EQ(step([&] { window.colorChosen(3); }), "draw");
    EXPECT_EQ(pixel(), 0x00FFFFu);
    EXPECT_EQ(step(IDM_TOGGLE_VIEW), "v0 draw");
    EXPECT_EQ(pixel(), kHighlightColor);
    // In Full picture the element's colour is not seen.
    EXPECT_EQ(step(IDM_NEXT_COLOR), "c3");
    EXPECT_EQ(step(IDM_NEXT_COLOR), "c0");
    shown["c"] = "-1";  // no entry selected
    EXPECT_EQ(step(IDM_NEXT_COLOR), "c0");
    EXPECT_EQ(step([&] { window.colorChosen(2); }), "");
    EXPECT_EQ(document.configs[0].colorIndex, 2);
    EXPECT_EQ(step(IDM_PICTURE_ELEMENT), "v1 draw");
    EXPECT_EQ(step(IDM_FULL_PICTURE), "v0 draw");
    // Zoom and Scale only change the stretch, within 1 to 10.
    std::string zooms;
    for (int i = 0; i < 20; ++i)
        zooms += step(i < 10 ? IDM_ZOOM_IN : IDM_ZOOM_OUT) + ",";
    EXPECT_EQ(zooms, "z2,z3,z4,z5,z6,z7,z8,z9,z10,,z9,z8,z7,z6,z5,z4,z3,z2,z1,,");
    EXPECT_EQ(step([&] { window.scaleChanged(7); }), "");  // the slider shows its own position
    EXPECT_EQ(std::pair(window.view.viewZoom, document.zoom), std::pair(7, 7u));
    // A load starts over: Full picture, coloured backgrounds, no stretch.
    act(IDM_TRANSPARENCY);
    EXPECT_EQ(step(IDM_LOAD, "grid.geo"), "open geo1 /grid.geo; t1 draw");
    EXPECT_EQ(
        std::tuple(window.view.viewZoom, document.zoom, window.viewSurface()->pixel(254, 239)),
        std::tuple(1, 1u, kPictureBackground));
    // Number and its arrows select elements; other arrows write only their own correction.
    EXPECT_EQ(step(IDC_NUMBER, "99"), "DX-1 DY0 N2 X12 c2 draw");  // beyond the last: the last
    EXPECT_EQ(step(IDC_NUMBER_ARROWS, "1"), "DX-2 DY-1 N1 X6 c1 draw");
    EXPECT_EQ(step(IDC_WIDTH_ARROWS, "250"), "W249 draw *");  // x 6 leaves room for 249
    type("X", "8");
    EXPECT_EQ(step(IDC_POS_X_ARROWS, "8"), "X6 draw *");  // and none at 8
    type("RW", "9");
    EXPECT_EQ(step(IDC_RESIZE_WIDTH_ARROWS, "9"), "draw *");  // nothing to correct
    EXPECT_TRUE(showsStored());
}

TEST_F(EditorTest, KeysAndCommittedFieldsStartFromTheShownTextAndShowWhatTheElementStores) {
    // Typed text reads as the number it starts with, and never wraps.
    constexpr std::int32_t kMax = INT32_MAX, kMin = INT32_MIN;
    std::vector<std::int32_t> read;
    for (const char* text :
         {"", "  42", "12abc", "abc", "-5", "4294967295", "2147483647", "99999999999999999999"})
        read.push_back(readFieldNumber(text, false));
    for (const char* text : {"-5", "65535", "-2147483648", "-99999999999", "- 5"})
        read.push_back(readFieldNumber(text, true));
    EXPECT_EQ(read, (std::vector{0, 42, 12, 0, 0, kMax, kMax, kMax, -5, 65535, kMin, kMin, 0}));
    // The key or field, its field and text before the key or Enter, and the fields it changes
    // ("-": it does nothing at all, not even draw); element 0 is 6 x 4 at 0, 0, resized 7 x 5,
    // displayed at -3, -2. A key steps from what the field shows, but never below 0.
    using Edits = std::vector<std::tuple<int, std::string, std::string>>;
    const Edits keys = {{IDM_MOVE_LEFT, "X:0", "-"},     {IDM_MOVE_LEFT, "X:1", "X0"},
                        {IDM_MOVE_LEFT, "X:6", "X4"},    {IDM_MOVE_RIGHT, "X:4294967295", "X248"},
                        {IDM_MOVE_RIGHT, "X:abc", "X2"}, {IDM_MOVE_DOWN, "Y:0", "Y1"},
                        {IDM_MOVE_UP, "Y:0", "-"},       {IDM_MOVE_UP, "Y:9", "Y8"},
                        {IDM_NARROWER, "W:0", "-"},      {IDM_NARROWER, "W:6", "W5"},
                        {IDM_WIDER, "W:6", "W7"},        {IDM_LOWER, "H:4", "H3"},
                        {IDM_HIGHER, "H:", "H1"}};
    const Edits fields = {
        {IDC_WIDTH, "W:300", "W255"},         {IDC_WIDTH, "W:", "W1"},
        {IDC_POS_X, "X:4294967294", "X248"},  {IDC_POS_X, "X:7", "X8"},
        {IDC_HEIGHT, "H:4294967295", "H239"}, {IDC_HEIGHT, "H:abc", "H0"},
        {IDC_POS_Y, "Y:99999999999", "Y235"}, {IDC_RESIZE_WIDTH, "RW:0", "RW1"},
        {IDC_DISPLAY_X, "DX:65535", "DX-1"},  {IDC_RESIZE_HEIGHT, "RH:999", "RH255"},
        {IDC_DISPLAY_Y, "DY:-300", "DY-255"}, {IDC_DISPLAY_Y, "DY:-70000", "DY-255"}};
    for (const Edits* edits : {&keys, &fields})
        for (const auto& [id, before, result] : *edits) {
            openGrid();
            const std::string text = before.substr(before.find(':') + 1);
            type(before.substr(0, before.find(':')), text);
            EXPECT_EQ(step(id, text), result == "-" ? "" : result + " draw *")
                << id << " on " << before;
            EXPECT_TRUE(!document.isModified() || showsStored());
        }
}

TEST_F(EditorTest, ResetsRestoreTheFileValuesKeepTheMarkHonestAndImportsKeepTheImageSize) {
    GeoBuilder font = GeoBuilder::grid(3);
    font.elements[1] = GeoBuilder::layoutAt(240, 0, 10, 4);  // resize 11 x 5, display 0, 0
    openGrid(font);
    act(IDM_NEXT_ELEMENT);
    // Nothing differs from the file: the resets change nothing and leave the font unmarked.
    for (const int id : {IDC_RESET_WIDTH, IDC_RESET_POS_X, IDC_RESET_DISPLAY_X, IDM_RESET_CONFIG})
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
    EXPECT_EQ(step(IDC_RESET_ELEMENT), "Y0 draw *");
    // An import keeps the image's size, a refused one changes nothing, and Export remembers
    // the depth.
    font = GeoBuilder::grid(3);
    font.elements[1].x = 250;  // a 9-wide image does not fit there
    openGrid(font);
    write("a.bmp", BmpBuilder(9, 3, 4).withDistinctPalette().build());
    const std::string dialog = "open bmp1 Import geo element/geo element ";
    type("X", "kept"), type("Y", "kept");  // written only where the image moved them
    EXPECT_EQ(step(IDM_IMPORT, "a.bmp"), dialog + "0.bmp; H2 RH3 RW10 W9 r1 draw *");
    EXPECT_EQ(step(IDM_NEXT_ELEMENT), "DX-2 DY-1 H4 N1 RH5 RW7 W6 X250 Y0 c1 r0 draw *");
    type("Y", "kept");
    EXPECT_EQ(step(IDM_IMPORT, "a.bmp"), dialog + "1.bmp; H2 RH3 RW10 W9 X246 r1 draw *");
    type("W", "typed");
    EXPECT_EQ(step(IDM_IMPORT), dialog + "1.bmp; W9 draw *");  // cancelled: the image again
    act(IDM_SAVE);
    EXPECT_EQ(step(IDC_WIDTH, "3"), "draw");  // the image's width stays
    type("W", "typed");
    EXPECT_EQ(step(IDC_RESET_WIDTH), "");  // nothing at all
    EXPECT_EQ(step(IDC_POS_X, "40"), "X40 draw *");
    EXPECT_EQ(step(IDC_RESET_POS_X), "X246 draw *");  // the file's 250 does not fit either
    EXPECT_EQ(step(IDC_RESIZE_WIDTH, "50"), "RW50 draw *");
    EXPECT_EQ(step(IDC_RESET_ELEMENT), "RW10 Y0 draw *");  // Width not written
    EXPECT_EQ(document.configs[1].width, 9);
    act(IDM_SAVE);
    // A refused image changes nothing.
    write("wide.bmp", BmpBuilder(256, 2, 4).withDistinctPalette().build());
    EXPECT_EQ(step(IDM_IMPORT, "wide.bmp"), dialog + "1.bmp; error: Image width is too large;");
    write("opaque.bmp", BmpBuilder(3, 3, 4).withDistinctPalette().setEntry(15, 9, 9, 9).build());
    EXPECT_EQ(step(IDM_IMPORT, "opaque.bmp"),
              dialog + "1.bmp; error: Last color in the palette is not a transparent;");
    // Reset import marks the font only when it removes an image.
    EXPECT_EQ(step(IDM_RESET_IMPORT), "r0 draw *");
    act(IDM_SAVE);
    EXPECT_EQ(step(IDM_RESET_IMPORT), "draw");
    // Export writes the element as loaded; its dialog opens on the depth chosen last time.
    const std::string exportDialog = " Export geo element/geo element 1.bmp;";
    nextFile = FileChoice{dir.file("e4.bmp"), 2};
    EXPECT_EQ(step(IDM_EXPORT), "save export1" + exportDialog);
    EXPECT_EQ(readBytes(dir.file("e4.bmp")), exportElementBytes(document, kExport4bpp));
    act(IDM_IMPORT);  // another dialog in between
    EXPECT_EQ(step(IDM_EXPORT, "e8.bmp"), dialog + "1.bmp; save export2" + exportDialog);
    EXPECT_EQ(readBytes(dir.file("e8.bmp")), exportElementBytes(document, kExport8bpp));
    std::filesystem::create_directory(dir.file("dir.bmp"));
    EXPECT_EQ(step(IDM_EXPORT, "dir.bmp"),
              "save export1" + exportDialog + " error: File save error;");
}

}  // namespace zt9::test
