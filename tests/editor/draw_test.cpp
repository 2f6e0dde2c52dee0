// The drawing tools on the current element: pointer events fed as the window sends them,
// the pixels and palette against hand-made grids, the steps, the view and the status bar.
#include "document/element_image.h"
#include "editor_fixture.h"
#include "render/render.h"
#include "support/pixel_rows.h"

namespace zt9::test {
namespace {

using enum PointerEvent::Kind;
constexpr auto L = PointerEvent::Button::left, R = PointerEvent::Button::right,
               N = PointerEvent::Button::none;

// Element 0 of three blank 6 x 5 elements, its colour 5 pure blue, at zoom 4 in Picture
// Element view.
class DrawTest : public EditorTest {
  protected:
    DrawTest() {
        GeoBuilder font = GeoBuilder::grid(3);
        std::ranges::fill(font.pixels, 0);
        font.elements[0].colors[5] = 0x7C00;
        openGrid(font);
        window.setPictureRoom(400, 300, 10, 10);
        for (const int id : {IDM_TOGGLE_VIEW, IDM_ZOOM_IN, IDM_ZOOM_IN, IDM_ZOOM_IN})
            act(id);
    }
    // An event over frame pixel (column, row); its answer (hold the capture) goes to `held`.
    void at(PointerEvent::Kind kind, PointerEvent::Button button, std::int64_t column,
            std::int64_t row, bool shift = false, bool alt = false) {
        window.frame([&] {
            held += window.pointerEvent(
                        {kind, button, {column * 4 + 1, row * 4 + 3}, shift, false, alt})
                        ? '1'
                        : '0';
        });
    }
    // A click (or double click) on a swatch of the palette strip.
    std::string swatch(int entry, bool twice = false) {
        return step([&] {
            window.frame(
                [&] { twice ? window.paletteDoubleClicked(entry) : window.paletteClicked(entry); });
        });
    }
    std::string rows() { return rowsOf(presentImage(document, document.currentElement)); }
    // Whether the view shows the element as a whole render would.
    bool viewUpToDate() {
        Surface fresh;
        Surface picture;
        ViewState state = window.view;
        renderView(document, state, fresh, picture);
        return changedArea(fresh, *window.viewSurface(), {0, 0, 6, 5}).empty();
    }
    std::string held;
};

// A left stroke, fast across the element and out of it, released outside the window; a
// Shift+click line from its last pixel inside; a right stroke that the left button joins
// and a lost capture ends; one given up with Escape. Each stroke is one step, the first
// also turning the element into an image of its own.
TEST_F(DrawTest, StrokesPaintGapFreeLinesInsideTheElementOneStepEach) {
    EXPECT_EQ(step([&] {
                  at(press, L, 0, 0), at(move, N, 5, 0), at(move, N, 8, 3), at(move, N, 2, 3);
                  at(release, L, 2, -30);
              }),
              "r1 draw *");
    EXPECT_EQ(rows(), "111111/001000/001000/001111/000000");
    EXPECT_EQ(menuTexts[IDM_UNDO], "Undo pencil on element 0 [Ctrl+Z]");
    swatch(2);
    at(press, L, 5, 4, true), at(release, L, 5, 4);
    EXPECT_EQ(rows(), "111111/001000/001000/002211/000022");
    at(press, R, 0, 0), at(move, N, 3, 0), at(press, L, 3, 0), at(move, N, 2, 1);
    at(release, L, 2, 1), at(move, N, 2, 2);
    EXPECT_EQ(invalidated, (PixelRect{8, 8, 12, 12}));  // the one pixel's block
    window.frame([&] { window.pointerCaptureLost(); });
    at(move, N, 2, 3), at(release, R, 2, 3);
    EXPECT_EQ(rows(), "000011/000000/000000/002211/000022");
    EXPECT_TRUE(viewUpToDate());
    at(press, L, 0, 4), at(move, N, 5, 4);
    EXPECT_TRUE(window.pointerCancel());
    EXPECT_FALSE(window.pointerCancel());
    EXPECT_EQ(held,
              "11110"
              "10"
              "11111100"
              "11");
    EXPECT_EQ(std::pair(rows(), window.history().size()),
              std::pair(std::string("000011/000000/000000/002211/000022"), std::size_t{3}));
    EXPECT_TRUE(viewUpToDate());
    for (int i = 0; i < 3; ++i)
        act(IDM_UNDO);
    EXPECT_EQ(rows() + shown["r"],
              "000000/000000/000000/000000/000000"
              "0");
    for (int i = 0; i < 3; ++i)
        act(IDM_REDO);
    EXPECT_EQ(rows() + shown["r"],
              "000011/000000/000000/002211/000022"
              "1");
}

// Fills take the 4-connected area (right: colour 0), the picker and Alt+click choose the
// colour under the pointer, a double-clicked swatch asks for its colour; each change is
// one step, a change of nothing none; the drawn element saves and comes back.
TEST_F(DrawTest, FillsPicksAndPaletteChangesAreStepsAndTheDrawingSaves) {
    at(press, L, 2, 0), at(move, N, 2, 4), at(release, L, 2, 4);
    EXPECT_EQ(step(IDM_TOOL_FILL), "T1 *");
    swatch(3);
    at(press, L, 0, 0), at(press, R, 4, 4), at(press, L, 2, 0);
    EXPECT_EQ(rows(), "333000/333000/333000/333000/333000");
    EXPECT_EQ(window.history().size(), 3u);  // the right click filled 0 with 0
    act(IDM_UNDO);
    EXPECT_EQ(menuTexts[IDM_UNDO] + rows(),
              "Undo fill of element 0 [Ctrl+Z]331000/331000/331000/331000/331000");
    EXPECT_EQ(step(IDM_TOOL_PICKER), "T2 *");
    at(press, R, 2, 3), at(release, R, 2, 3);
    act(IDM_TOOL_PENCIL);
    EXPECT_EQ(status[static_cast<std::size_t>(StatusPart::tool)], "Pencil, colour 1");
    at(press, L, 0, 1, false, true);
    EXPECT_EQ(palette.chosen, 3);
    EXPECT_EQ(swatch(5, true), "color #0000F8; *");
    nextColor = 0x123456;
    EXPECT_EQ(swatch(5, true), "color #0000F8; draw *");
    EXPECT_EQ(std::pair(palette.colors[5], menuTexts[IDM_UNDO]),
              std::pair(0x183858u, std::string("Undo colour 5 of element 0 [Ctrl+Z]")));
    act(IDM_SAVE);
    act(IDM_LOAD, "grid.geo");
    act(IDM_TOGGLE_VIEW);
    log.clear();
    EXPECT_EQ(rows() + shown["r"],
              "331000/331000/331000/331000/331000"
              "0");
    EXPECT_EQ(palette.colors[5], 0x183858u);
    // The first palette change of an element turns it into an image of its own, and its
    // undo takes that back too.
    act(IDM_NEXT_ELEMENT);
    nextColor = 0xFFFFFF;
    EXPECT_EQ(swatch(1, true).substr(15), "r1 draw *");
    EXPECT_EQ(std::pair(palette.colors[1], shown["r"]), std::pair(0xF8F8F8u, std::string("1")));
    EXPECT_EQ(step(IDM_UNDO), "r0 draw");
    EXPECT_NE(palette.colors[1], 0xF8F8F8u);
}

TEST(PaletteStrip, EachPixelOfTheStripLiesInTheSwatchFoundThere) {
    for (const auto& [width, height] : {std::pair(136, 32), {37, 11}, {8, 2}}) {
        EXPECT_EQ(swatchAt(width, height, 0, 0) + swatchAt(width, height, width - 1, height - 1),
                  15);
        EXPECT_EQ(swatchAt(width, height, -1, 0) + swatchAt(width, height, 0, height), -2);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const PixelRect r = swatchRect(width, height, swatchAt(width, height, x, y));
                ASSERT_TRUE(x >= r.left && x < r.right && y >= r.top && y < r.bottom) << x << y;
            }
        }
    }
}

}  // namespace
}  // namespace zt9::test
