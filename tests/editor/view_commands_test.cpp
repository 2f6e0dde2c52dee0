// Stepping and selecting elements, zoom and Scale, view modes, transparency, colours, the
// keyboard moves and resizes; the paint geometry and the reading of typed numbers.
#include <limits>

#include "editor/field_number.h"
#include "editor/paint_plan.h"
#include "editor_fixture.h"
#include "render/view_state.h"

namespace zt9::test {
namespace {

TEST_F(EditorTest, StepsNumberAndArrowsSelectElementsAndArrowsWriteOnlyTheirOwnCorrection) {
    openGrid();
    EXPECT_EQ(step(IDM_NEXT_ELEMENT), "DX-2 DY-1 N1 X6 c1 draw");
    EXPECT_EQ(step(IDM_NEXT_ELEMENT), "DX-1 DY0 N2 X12 c2 draw");
    EXPECT_EQ(step(IDM_NEXT_ELEMENT), "draw");  // the last
    EXPECT_EQ(step(IDM_PREVIOUS_ELEMENT), "DX-2 DY-1 N1 X6 c1 draw");
    EXPECT_EQ(step(IDM_PREVIOUS_ELEMENT), "DX-3 DY-2 N0 X0 c0 draw");
    EXPECT_EQ(step(IDM_PREVIOUS_ELEMENT), "draw");                 // the first
    EXPECT_EQ(step(IDC_NUMBER, "99"), "DX-1 DY0 N2 X12 c2 draw");  // beyond the last: the last
    EXPECT_EQ(step(IDC_NUMBER_ARROWS, "1"), "DX-2 DY-1 N1 X6 c1 draw");
    EXPECT_EQ(step(IDC_WIDTH_ARROWS, "250"), "W249 draw *");  // x 6 leaves room for 249
    shown["X"] = "8";
    EXPECT_EQ(step(IDC_POS_X_ARROWS, "8"), "X6 draw *");  // and none at 8
    shown["RW"] = "9";
    EXPECT_EQ(step(IDC_RESIZE_WIDTH_ARROWS, "9"), "draw *");  // nothing to correct
    EXPECT_TRUE(showsStored());
}

TEST_F(EditorTest, ViewModesTransparencyColoursAndZoomShowWhatTheMenuAndThePanelShow) {
    openGrid();
    const auto pixel = [&] { return window.viewSurface()->pixel(0, 0); };
    EXPECT_EQ(step(IDM_TOGGLE_VIEW), "v1 draw");
    EXPECT_EQ(std::tuple(window.view.shownFrame.width, window.view.shownFrame.height, pixel()),
              std::tuple(6, 4, 0x0000FFu));  // element 0 alone, colour 0 under index 0
    EXPECT_EQ(step(IDM_TRANSPARENCY), "t0 draw");
    EXPECT_EQ(pixel(), kOpaqueBackground);
    EXPECT_EQ(step(IDM_NEXT_COLOR), "c1");  // not seen without transparency
    EXPECT_EQ(step(IDM_TRANSPARENCY), "t1 draw");
    EXPECT_EQ(pixel(), 0x00FF00u);
    EXPECT_EQ(step(IDM_NEXT_COLOR), "c2 draw");
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
    for (int i = 0; i < 9; ++i)
        act(IDM_ZOOM_IN);
    EXPECT_EQ(step(IDM_ZOOM_IN), "");  // 10 already
    EXPECT_EQ(step(IDM_ZOOM_OUT), "z9");
    for (int i = 0; i < 8; ++i)
        act(IDM_ZOOM_OUT);
    EXPECT_EQ(step(IDM_ZOOM_OUT), "");
    EXPECT_EQ(std::tuple(shown["z"], window.view.viewZoom, document.zoom), std::tuple("1", 1, 1u));
    EXPECT_EQ(step([&] { window.scaleChanged(7); }), "");  // the slider shows its own position
    EXPECT_EQ(std::pair(window.view.viewZoom, document.zoom), std::pair(7, 7u));
}

TEST_F(EditorTest, KeysAndCommittedFieldsStartFromTheShownTextAndShowWhatTheElementStores) {
    // The key or field, its field and text before the key or Enter, and the fields it changes
    // ("-": it does nothing at all, not even draw); element 0 is 6 x 4 at 0, 0, resized 7 x 5,
    // displayed at -3, -2. A key never steps below 0.
    const std::vector<std::tuple<int, std::string, std::string>> edits = {
        {IDM_MOVE_LEFT, "X:0", "-"},         {IDM_MOVE_LEFT, "X:1", "X0"},
        {IDM_MOVE_LEFT, "X:6", "X4"},        {IDM_MOVE_RIGHT, "X:4294967295", "X248"},
        {IDM_MOVE_RIGHT, "X:253", "X248"},   {IDM_MOVE_RIGHT, "X:abc", "X2"},
        {IDM_MOVE_UP, "Y:0", "-"},           {IDM_MOVE_UP, "Y:9", "Y8"},
        {IDM_NARROWER, "W:0", "-"},          {IDM_LOWER, "H:0", "-"},
        {IDM_NARROWER, "W:6", "W5"},         {IDM_WIDER, "W:255", ""},
        {IDM_MOVE_DOWN, "Y:235", ""},        {IDM_HIGHER, "H:", "H1"},
        {IDM_HIGHER, "H:4", "H5"},           {IDC_WIDTH, "W:", "W1"},
        {IDC_WIDTH, "W:300", "W255"},        {IDC_POS_X, "X:7", "X8"},
        {IDC_WIDTH, "W:0007", "W7"},         {IDC_HEIGHT, "H:4294967295", "H239"},
        {IDC_POS_X, "X:4294967294", "X248"}, {IDC_POS_Y, "Y:99999999999", "Y235"},
        {IDC_HEIGHT, "H:abc", "H0"},         {IDC_RESIZE_HEIGHT, "RH:999", "RH255"},
        {IDC_RESIZE_WIDTH, "RW:0", "RW1"},   {IDC_DISPLAY_Y, "DY:-300", "DY-255"},
        {IDC_DISPLAY_X, "DX:65535", "DX-1"}, {IDC_DISPLAY_Y, "DY:-70000", "DY-255"}};
    for (const auto& [id, before, result] : edits) {
        openGrid();
        const std::string text = before.substr(before.find(':') + 1);
        shown[before.substr(0, before.find(':'))] = text;
        const std::string acted = (result + " draw *").substr(result.empty() ? 1 : 0);
        EXPECT_EQ(step(id, text), result == "-" ? "" : acted) << id << " on " << before;
        EXPECT_TRUE(!document.isModified() || showsStored());
        const ElementConfig& c = document.configs[0];  // never outside the picture
        EXPECT_TRUE(c.x >= 0 && c.width >= 1 && c.x + c.width <= 255 && c.y >= 0 && c.height >= 0 &&
                    c.y + c.height <= 239);
    }
}

TEST(PaintPlan, GreyMarginsSurroundTheStretchedFrameCutToTheSurface) {
    // Frame width and height, zoom, the area's right and bottom, and the plan.
    const std::vector<std::tuple<std::int32_t, std::int32_t, std::int32_t, int, int, PaintPlan>>
        cases = {
            {0, 0, 1, 400, 300, {{0, 0, 400, 300}, {0, 1, 0, 300}, 0, 1, 1}},  // nothing shown
            {255, 239, 4, 1200, 1000, {{1020, 0, 1200, 1000}, {0, 960, 1020, 1000}, 255, 240, 4}},
            {6, 4, 10, 50, 30, {{60, 0, 50, 30}, {0, 50, 60, 30}, 6, 5, 10}},  // beyond the area
            {255, 255, 1, 300, 300, {{255, 0, 300, 300}, {0, 240, 255, 300}, 255, 240, 1}},
            {6, 4, 20, 100, 100, {{60, 0, 100, 100}, {0, 50, 60, 100}, 6, 5, 10}},  // at most 10
            {6, 4, 0, 100, 100, {{6, 0, 100, 100}, {0, 5, 6, 100}, 6, 5, 1}}};      // at least 1
    for (const auto& [width, height, zoom, right, bottom, plan] : cases)
        EXPECT_EQ(planPaint({.width = width, .height = height}, zoom, right, bottom), plan)
            << width << "x" << height << " zoom " << zoom;
    EXPECT_TRUE(planPaint({.width = 6, .height = 4}, 10, 50, 30).rightMargin.empty());
    EXPECT_FALSE(planPaint({.width = 6, .height = 4}, 1, 50, 30).rightMargin.empty());
}

TEST(FieldNumber, TypedTextReadsAsTheNumberItStartsWithAndNeverWraps) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max(), kMin = -kMax - 1;
    const auto read = [](bool isSigned, std::initializer_list<const char*> texts) {
        std::vector<std::int32_t> values;
        for (const char* text : texts)
            values.push_back(readFieldNumber(text, isSigned));
        return values;
    };
    EXPECT_EQ(read(false, {"", "  42", "12abc", "abc", "-5", "4294967295", "4294967294",
                           "2147483647", "99999999999999999999"}),
              (std::vector{0, 42, 12, 0, 0, kMax, kMax, kMax, kMax}));
    EXPECT_EQ(read(true, {"-5", "65535", "-2147483648", "-99999999999", "- 5"}),
              (std::vector{-5, 65535, kMin, kMin, 0}));
}

}  // namespace
}  // namespace zt9::test
