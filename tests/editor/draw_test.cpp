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
        act(IDM_TOGGLE_VIEW), act(IDM_ZOOM_IN), act(IDM_ZOOM_IN), act(IDM_ZOOM_IN);
    }
    // An event over frame pixel (column, row); whether the window must hold the capture
    // goes to `held`.
    void at(PointerEvent::Kind kind, PointerEvent::Button button, std::int64_t column,
            std::int64_t row, bool shift = false, bool alt = false) {
        const PointerEvent event{kind, button, {column * 4 + 1, row * 4 + 3}, shift, false, alt};
        window.frame([&] { held += window.pointerEvent(event) ? '1' : '0'; });
    }
    std::string swatch(int entry, bool twice = false) {
        return step([&] {
            window.frame(
                [&] { twice ? window.paletteDoubleClicked(entry) : window.paletteClicked(entry); });
        });
    }
    // The element's pixels, its Reset import mark, the steps, and whether the view shows
    // what drawing it whole shows.
    std::string state() {
        Surface whole;
        Surface picture;
        ViewState view = window.view;
        renderView(document, view, whole, picture);
        return rowsOf(presentImage(document, document.currentElement)) + " r" + shown["r"] + " " +
               std::to_string(window.history().size()) +
               (changedArea(whole, *window.viewSurface(), {0, 0, 6, 5}).empty() ? "" : " stale");
    }
    std::string held;
};

// A left stroke, fast across the element and out of it, released outside the window; a
// Shift+click line from its last pixel inside; a right stroke that the left button joins
// and a lost capture ends; one given up with Escape. Each stroke is one step, the first
// also turning the element into an image of its own.
TEST_F(DrawTest, StrokesPaintGapFreeLinesInsideTheElementOneStepEach) {
    at(press, L, 0, 0), at(move, N, 5, 0), at(move, N, 8, 3), at(move, N, 2, 3);
    at(release, L, 2, -30);
    EXPECT_EQ(state(), "111111/001000/001000/001111/000000 r1 1");
    EXPECT_EQ(menuTexts[IDM_UNDO], "Undo pencil on element 0 [Ctrl+Z]");
    swatch(2);
    at(press, L, 5, 4, true), at(release, L, 5, 4);
    EXPECT_EQ(state(), "111111/001000/001000/002211/000022 r1 2");
    at(press, R, 0, 0), at(move, N, 3, 0), at(press, L, 3, 0), at(move, N, 2, 1);
    at(release, L, 2, 1), at(move, N, 2, 2);
    EXPECT_EQ(invalidated, (PixelRect{8, 8, 12, 12}));  // the one pixel's block
    window.frame([&] { window.pointerCaptureLost(); });
    at(move, N, 2, 3), at(release, R, 2, 3), at(press, L, 0, 4), at(move, N, 5, 4);
    EXPECT_TRUE(window.pointerCancel());
    EXPECT_FALSE(window.pointerCancel());
    EXPECT_EQ(held, "11110101111110011");  // the strokes, the line, the second stroke, Escape
    EXPECT_EQ(state(), "000011/000000/000000/002211/000022 r1 3");
    act(IDM_UNDO), act(IDM_UNDO), act(IDM_UNDO);
    EXPECT_EQ(state(), "000000/000000/000000/000000/000000 r0 3");
    act(IDM_REDO), act(IDM_REDO), act(IDM_REDO);
    EXPECT_EQ(state(), "000011/000000/000000/002211/000022 r1 3");
}

// Fills take the 4-connected area (right: colour 0), the picker and Alt+click choose the
// colour under the pointer, a double-clicked swatch asks for its colour; each change is
// one step, a change of nothing none; the drawn element saves and comes back.
TEST_F(DrawTest, FillsPicksAndPaletteChangesAreStepsAndTheDrawingSaves) {
    at(press, L, 2, 0), at(move, N, 2, 4), at(release, L, 2, 4);
    EXPECT_EQ(step(IDM_TOOL_FILL), "T1 *");
    swatch(3);
    at(press, L, 0, 0), at(press, R, 4, 4), at(press, L, 2, 0);  // the right one fills 0 with 0
    EXPECT_EQ(state(), "333000/333000/333000/333000/333000 r1 3");
    act(IDM_UNDO);
    EXPECT_EQ(menuTexts[IDM_UNDO] + state(),
              "Undo fill of element 0 [Ctrl+Z]331000/331000/331000/331000/331000 r1 3");
    EXPECT_EQ(step(IDM_TOOL_PICKER), "T2 *");
    at(press, R, 2, 3), at(release, R, 2, 3);
    act(IDM_TOOL_PENCIL);
    EXPECT_EQ(status[static_cast<std::size_t>(StatusPart::tool)], "Pencil, colour 1");
    at(press, L, 0, 1, false, true);
    EXPECT_EQ(palette.chosen, 3);
    EXPECT_EQ(swatch(5, true), "color #0000F8; *");
    nextColor = 0x123456;
    EXPECT_EQ(swatch(5, true), "color #0000F8; draw *");
    EXPECT_EQ(menuTexts[IDM_UNDO], "Undo colour 5 of element 0 [Ctrl+Z]");
    EXPECT_EQ(palette.colors[5], 0x183858u);
    act(IDM_SAVE), act(IDM_LOAD, "grid.geo"), act(IDM_TOGGLE_VIEW), log.clear();
    EXPECT_EQ(state() + std::to_string(palette.colors[5]),
              "331000/331000/331000/331000/331000 r0 0" + std::to_string(0x183858));
    // The first palette change of an element turns it into an image of its own, and its
    // undo takes that back too.
    act(IDM_NEXT_ELEMENT);
    nextColor = 0xFFFFFF;
    const std::string changed = swatch(1, true);
    EXPECT_EQ(changed.substr(15) + std::to_string(palette.colors[1]),
              "r1 draw *" + std::to_string(0xF8F8F8));
    EXPECT_EQ(step(IDM_UNDO), "r0 draw");
    EXPECT_NE(palette.colors[1], 0xF8F8F8u);
}

}  // namespace
}  // namespace zt9::test
