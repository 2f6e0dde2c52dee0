// The picture area: scroll bars, scrolling, zoom about a point and the conversion between
// window and picture; wheel notches; the status bar, the grid and what a change repaints.
#include "editor/status_texts.h"
#include "editor_fixture.h"

namespace zt9::test {
namespace {

std::string xy(std::int64_t x, std::int64_t y) {
    return std::to_string(x) + "," + std::to_string(y);
}
std::string text(const PixelRect& r) {
    return xy(r.left, r.top) + "-" + xy(r.right, r.bottom);
}
// The bars, the view's size and the scroll position; with the plan, what a paint draws.
std::string shape(const PictureViewport& v, bool plan = false) {
    const PaintPlan p = v.paintPlan(plan);
    return std::string(v.horizontal().shown ? "h" : "-") + (v.vertical().shown ? "v " : "- ") +
           xy(v.viewWidth(), v.viewHeight()) + " " + xy(v.scrollX(), v.scrollY()) +
           (plan ? " " + text(p.picture) + " " + text(p.rightMargin) + " " + text(p.bottomMargin) +
                       " " + text(p.corner) + (p.grid ? " grid" : "")
                 : "");
}

TEST(PictureViewport, BarsShowOnlyWhereThePictureOverflowsAndTheScrollStaysOnThePicture) {
    // Room, frame width and height, zoom; the bars, the view and the furthest scroll position.
    const std::vector<std::tuple<int, int, int, int, int, std::string>> cases = {
        {100, 80, 100, 79, 1, "-- 100,80 0,0"},  // exactly the room
        {100, 80, 101, 69, 1, "h- 100,70 1,0"},  // the bar leaves just room enough
        {100, 80, 101, 70, 1, "hv 90,70 11,1"},  // ... and here one row too few
        {100, 80, 91, 80, 1, "hv 90,70 1,11"},   // the other way round
        {100, 80, 6, 4, 10, "-- 100,80 0,0"},    // an element fits at zoom 10
        {100, 80, 255, 239, 10, "hv 90,70 2460,2330"},
        {2000, 2000, 999, 999, 1, "-- 2000,2000 0,0"},  // cut to the surface
        {0, 0, 6, 4, 1, "hv 0,0 6,5"},                  // minimised
        {-50, -9, 6, 4, 1, "hv 0,0 6,5"},
        {100, 80, -3, -7, 4, "-- 100,80 0,0"}};  // nothing shown
    for (const auto& [width, height, w, h, zoom, expected] : cases) {
        PictureViewport v;
        v.setRoom(width, height, 10, 10);
        v.setFrame({.width = w, .height = h});
        v.zoomAbout(zoom, {});
        v.scrollTo(INT64_MAX, INT64_MAX);
        EXPECT_EQ(shape(v), expected) << w << "x" << h;
        v.scrollTo(INT64_MIN, -1);
        EXPECT_EQ(xy(v.scrollX(), v.scrollY()), "0,0");
    }
    PictureViewport v;
    v.setRoom(100, 80, 10, 10);
    v.setFrame({.width = 101, .height = 70});
    v.scrollTo(5, 1);
    // Scrolled, the picture fills the view; the square between the bars is apart. A frame
    // that fits sits at the corner with grey beside and below; the grid shows from zoom 4.
    std::vector<std::string> shapes{shape(v, true)};
    v.setRoom(300, 300, 10, 10);
    v.setFrame({.width = 6, .height = 4});
    for (const int zoom : {4, 3})
        v.zoomAbout(zoom, {}), shapes.push_back(shape(v, true));
    EXPECT_EQ(shapes, (std::vector<std::string>{
                          "hv 90,70 5,1 0,0-90,70 90,0-90,70 0,70-90,70 90,70-100,80",
                          "-- 300,300 0,0 0,0-24,20 24,0-300,300 0,20-24,300 0,0-0,0 grid",
                          "-- 300,300 0,0 0,0-18,15 18,0-300,300 0,15-18,300 0,0-0,0"}));
}

TEST(PictureViewport, ScrollStepsWheelNotchesZoomAboutAPointAndWindowPicturePixelConversions) {
    PictureViewport v;
    v.setRoom(100, 80, 10, 10);  // view 90 x 70, furthest scroll 165, 170
    v.setFrame({.width = 255, .height = 239});
    using enum ScrollAction;
    const std::vector<std::pair<ScrollAction, int>> steps = {
        {lineForward, 0}, {pageForward, 0}, {pageForward, 0}, {lineBack, 0},
        {to, 50},         {start, 0},       {end, 0}};
    std::string seen;
    for (const auto& [action, position] : steps)
        v.scroll(ScrollAxis::across, action, position), seen += xy(v.scrollX(), v.scrollY()) + " ";
    v.scroll(ScrollAxis::down, end), v.scroll(ScrollAxis::down, pageBack);
    v.scrollLines(-2, 1), seen += xy(v.scrollX(), v.scrollY()) + " ";
    v.scrollLines(INT64_MAX, INT64_MIN), seen += xy(v.scrollX(), v.scrollY()) + " |";
    for (int zoom = 1; zoom <= 10; ++zoom)
        v.zoomAbout(zoom, {}), seen += " " + std::to_string(v.lineStep());
    EXPECT_EQ(seen,
              "16,0 106,0 165,0 149,0 50,0 0,0 165,0 133,116 165,0 | "
              "16 16 18 16 20 18 21 16 18 20");

    // The pixel under the anchor stays there, its place inside the block scaled along; last
    // from the far end, the picture's last pixel at the view's last one.
    v.zoomAbout(1, {});
    v.scrollTo(50, 40);
    const std::vector<std::pair<int, WindowPoint>> zooms = {
        {4, {30, 20}}, {8, {31, 20}}, {1, {31, 20}}, {10, {0, 0}}, {10, {0, 0}}, {1, {89, 69}}};
    std::string anchored;
    for (const auto& [zoom, at] : zooms) {
        if (at.x == 89)
            v.scrollTo(INT64_MAX, INT64_MAX);
        v.zoomAbout(zoom, at);
        anchored += xy(v.pixelAt(at).x, v.pixelAt(at).y) + "@" + xy(v.scrollX(), v.scrollY()) + " ";
    }
    EXPECT_EQ(anchored,
              "80,60@290,220 80,60@611,460 80,60@49,40 49,40@490,400 49,40@490,400 "
              "254,239@165,170 ");

    // Floor division for points left of and above the picture, the frame's origin added,
    // and "outside" told apart rather than clamped.
    v.setFrame({.x = 10, .y = 20, .width = 6, .height = 4});
    v.zoomAbout(4, {});
    const std::vector<std::pair<WindowPoint, PicturePixel>> points = {
        {{0, 0}, {0, 0, 10, 20, true, true}},       {{23, 19}, {5, 4, 15, 24, true, true}},
        {{24, 19}, {6, 4, 16, 24, false, true}},    {{-1, -4}, {-1, -1, 9, 19, false, false}},
        {{-5, 100}, {-2, 25, 8, 45, false, false}}, {{99, 0}, {24, 0, 34, 20, false, true}},
        {{100, 3}, {25, 0, 35, 20, false, false}}};
    for (const auto& [point, pixel] : points)
        EXPECT_EQ(v.pixelAt(point), pixel) << xy(point.x, point.y);
    EXPECT_EQ(text(v.windowRectOf(12, 21)) + " " + text(v.visibleWindowRect({2, 1, 9, 3})),
              "8,4-12,8 8,4-24,12");                          // the second cut at the frame
    EXPECT_FALSE(v.pixelAt({INT64_MIN, INT64_MAX}).inFrame);  // no overflow

    // Wheel parts of a notch add up, and a turn back drops them.
    WheelSteps wheel;
    std::vector<std::int64_t> notches;
    for (const std::int64_t delta : {40, 40, 40, 360, 100, -30, -90, 119, 1, -240})
        notches.push_back(wheel.add(delta));
    EXPECT_EQ(notches, (std::vector<std::int64_t>{0, 0, 1, 3, 0, 0, -1, 0, 1, -2}));
    EXPECT_GT(wheel.add(INT64_MAX), 1'000'000);
    EXPECT_LT(wheel.add(INT64_MIN), -1'000'000);
    EXPECT_EQ(wheel.add(120), 1);
}

TEST_F(EditorTest, StatusBarFollowsFontAndPointerWheelZoomsAboutItAndRepaintsCoverChanges) {
    window.frame([] {});
    EXPECT_EQ(statusBar(), status::kOpenFontHint);
    openGrid();
    window.setPictureRoom(100, 80, 10, 10);
    EXPECT_EQ(bars.first, (ScrollBar{true, 255, 90, 0, {0, 70, 90, 80}}));
    // The status bar after the part with the element (its pointer part names the pixel under
    // the pointer at 50, 40), the scroll position and Scale.
    const auto turn = [&](std::int64_t delta, bool control, bool shift, bool sideways = false) {
        window.frame([&] { window.wheel({delta, sideways, control, shift, {50, 40}}); });
        const PictureViewport& v = window.viewport();
        return statusBar().substr(statusBar().find('|')) + "@" + xy(v.scrollX(), v.scrollY()) +
               " z" + shown["z"];
    };
    const auto at = [&](std::int64_t x, std::int64_t y) {
        window.frame([&] { window.pointerMoved(WindowPoint{x, y}); });
        return status[static_cast<std::size_t>(StatusPart::pointer)];
    };
    EXPECT_EQ(at(13, 7), "x 13, y 7");
    EXPECT_EQ(at(95, 7) + at(-1, 0), "");  // under the scroll bar, left of the picture
    // Control zooms about the pointer: pixel 50, 40 stays under it, whatever the zoom.
    // Then, towards the user scrolls down; Shift or the horizontal wheel scrolls across.
    std::string turns;
    for (const std::int64_t delta :
         std::initializer_list<std::int64_t>{120, 40, 40, 40, INT64_MAX / 2, -3600})
        turns += turn(delta, true, false) + " ";
    turns += turn(-120, false, false) + " ";
    turns += turn(-240, false, true) + " ";
    turns += turn(120, false, false, true);
    EXPECT_EQ(turns,
              "|x 50, y 40||×2|@50,40 z2 |x 50, y 40||×2|@50,40 z2 |x 50, y 40||×2|@50,40 z2 "
              "|x 50, y 40||×3|@100,80 z3 |x 50, y 40||×10|@450,360 z10 |x 50, y 40||×1|@0,0 z1 "
              "|x 50, y 88||×1|@0,48 z1 |x 146, y 88||×1|@96,48 z1 |x 194, y 88||×1|@144,48 z1");
    // Picture Element: the element's own coordinates, its colour index and the colour shown
    // (element 1's index 9 is 15-bit colour 19, 10, 22; index 0 shows the green block).
    act(IDM_NEXT_ELEMENT), act(IDM_MOVE_DOWN), act(IDM_TOGGLE_VIEW);
    EXPECT_EQ(statusBar(), "Element 1 of 3: x 6, y 1, 6 × 5||Pencil, colour 1|×1|Modified");
    EXPECT_EQ(at(4, 2) + "; " + at(5, 2),
              "x 10, y 3, index 9, #9850B0; x 11, y 3, index 0, #00FF00");
    act(IDM_WIDER);
    EXPECT_EQ(at(6, 4), "x 12, y 5, #00FF00");  // no stored pixel there
    EXPECT_EQ(at(7, 4), "");
    act(IDM_LOAD, "grid.geo");
    EXPECT_EQ(statusBar(), "Element 0 of 3: x 0, y 0, 6 × 5|x 7, y 4, over element 1||×1|");
    // The grid stays on across loads; fields are written only when they change; repaints
    // cover the changes.
    openGrid();
    window.setPictureRoom(400, 300, 10, 10);
    EXPECT_EQ(step(IDM_GRID), "g1");
    EXPECT_FALSE(window.paintPlan().grid);  // zoom 1
    openGrid();
    act(IDM_ZOOM_IN), act(IDM_ZOOM_IN), act(IDM_ZOOM_IN);
    EXPECT_TRUE(window.paintPlan().grid);
    act(IDM_ZOOM_OUT), act(IDM_ZOOM_OUT), act(IDM_ZOOM_OUT);
    // Stepping writes only the fields whose text changes.
    fieldWrites = 0;
    EXPECT_EQ(step(IDM_NEXT_ELEMENT), "DX-2 DY-1 N1 X6 c1 draw");
    EXPECT_EQ(fieldWrites, 4);
    // Arrows write their field themselves, without telling under Wine: a step writes it again.
    shown["W"] = "7";
    act(IDC_WIDTH_ARROWS, "7");
    EXPECT_EQ(step(IDM_PREVIOUS_ELEMENT), "DX-3 DY-2 N0 W6 X0 c0 draw *");
    // A move repaints the columns the element left and those it covers now; a save nothing;
    // a zoom all.
    const int before = invalidations;
    act(IDM_MOVE_RIGHT);
    EXPECT_EQ(invalidated, (PixelRect{0, 0, 8, 5}));
    act(IDM_SAVE), act(IDM_ZOOM_IN);
    EXPECT_EQ(std::pair(invalidations - before, invalidated), std::pair(2, PixelRect{}));
}

}  // namespace
}  // namespace zt9::test
