// The mouse in the Full picture (picking, hover, cursors, drags against key presses, Escape,
// lost capture, double clicks) and copy and paste through a recorded clipboard.
#include <cstdlib>
#include <random>

#include "editor/element_drag.h"
#include "editor_fixture.h"
#include "support/test_util.h"

namespace zt9::test {
namespace {

using Kind = PointerEvent::Kind;

class PictureMouseTest : public EditorTest, public Clipboard {
  protected:
    PictureMouseTest() { window.setClipboard(this); }
    bool holdsPicture() override { return held.kind != ClipboardPicture::Kind::none; }
    ClipboardPicture picture() override { return held; }
    bool putPicture(std::span<const std::uint8_t> own, std::span<const std::uint8_t> dib) override {
        held = {ClipboardPicture::Kind::elementImage, {own.begin(), own.end()}};
        return dib.size() == 40 + 64 + 5 * 4;  // element 0's 4-bit DIB: five 4-byte rows
    }
    // A left-button event at a window point; whether the window holds the capture then.
    bool mouse(Kind kind, std::int64_t x, std::int64_t y) {
        const auto button =
            kind == Kind::move ? PointerEvent::Button::none : PointerEvent::Button::left;
        bool hold = false;
        window.frame([&] { hold = window.pointerEvent({kind, button, {x, y}}); });
        return hold;
    }
    ClipboardPicture held;
};

TEST_F(PictureMouseTest, ClicksPickTheCurrentThenTheTopElementAndADragEndsExactlyOnce) {
    GeoBuilder font = GeoBuilder::grid(4);
    font.elements[0] = GeoBuilder::layoutAt(0, 0, 10, 7);  // columns 0-9, rows 0-7
    font.elements[1] = GeoBuilder::layoutAt(4, 2, 10, 7);  // 4-13, 2-9
    font.elements[2] = GeoBuilder::layoutAt(8, 4, 4, 2);   // 8-11, 4-6: above 1, under 0
    font.elements[3] = GeoBuilder::layoutAt(40, 40, 6, 4);
    openGrid(font);
    // Zoom 3, scrolled 15 window pixels across: window x = 3 * column - 15.
    window.setPictureRoom(120, 90, 10, 10);
    act(IDM_ZOOM_IN), act(IDM_ZOOM_IN);
    window.frame([&] { window.scrollBarMoved(ScrollAxis::across, ScrollAction::to, 15); });
    // At window points: the element a press there picks (- none) and the cursor (0 arrow,
    // 2 across, 3 down, 4 both). Picture pixel (5, 3), (10, 5), (12, 9), (30, 20), element 3
    // past the visible area; just outside element 0's right edge over element 2 and a row
    // above it; about element 1's right and bottom edges (window x 27, y 30).
    const auto picks = [&] {
        std::string out;
        const std::vector<std::int64_t> at{0,  9, 15, 15, 21, 27, 75, 60, 115, 125, 16, 12,
                                           16, 3, 29, 10, 24, 10, 10, 32, 28,  31,  10, 33};
        for (std::size_t i = 0; i < at.size(); i += 2) {
            const auto picked = pickAt(document, window.viewport(), {at[i], at[i + 1]}).element;
            out += (picked ? std::to_string(*picked) : "-") +
                   std::to_string(static_cast<int>(window.pointerCursor({at[i], at[i + 1]}))) + " ";
        }
        return out;
    };
    EXPECT_EQ(picks(), "00 20 10 -0 -0 20 -2 -0 10 -0 -0 -0 ");
    EXPECT_EQ(step([&] { mouse(Kind::press, 21, 27), mouse(Kind::release, 21, 27); }),
              "N1 X4 Y2 c1 draw");
    EXPECT_EQ(picks(), "10 10 13 -0 -0 10 -0 -2 12 -3 -4 -0 ");
    // Beside every element, and past the visible area: nothing at all.
    EXPECT_EQ(step([&] { mouse(Kind::press, 75, 60), mouse(Kind::press, 115, 125); }), "");
    window.frame([&] { window.pointerMoved(WindowPoint{15, 15}); });
    EXPECT_EQ(status[1], "x 10, y 5, over element 1");

    // Element 1's place and width, whether the panel shows them, and the Undo entry.
    const auto place = [&] {
        const ElementConfig& c = document.configs[1];
        return listed(c.x, c.y, c.width, showsStored(), menuTexts[IDM_UNDO]);
    };
    mouse(Kind::press, 15, 15), mouse(Kind::move, 21, 15);  // two columns: one press of Right
    EXPECT_EQ(place(), "6 2 10 1 ~Undo [Ctrl+Z] ");
    EXPECT_TRUE(window.pointerCancel());
    EXPECT_EQ(place() + std::to_string(mouse(Kind::move, 40, 1)), "4 2 10 1 ~Undo [Ctrl+Z] 0");
    mouse(Kind::press, 15, 15), mouse(Kind::move, 21, 18);
    window.frame([&] { window.pointerCaptureLost(); });
    EXPECT_EQ(place() + std::to_string(mouse(Kind::move, 40, 1)),
              "6 3 10 1 Undo move of element 1 [Ctrl+Z] 0");
    // The right edge (window 33) grabbed inside and dragged two columns; a key ends the drag.
    mouse(Kind::press, 31, 12), mouse(Kind::move, 37, 12);
    act(IDM_MOVE_RIGHT);
    EXPECT_FALSE(mouse(Kind::move, 60, 20) || mouse(Kind::release, 60, 20) ||
                 window.pointerCancel());
    EXPECT_EQ(place(), "8 3 12 1 Undo Position X of element 1 [Ctrl+Z] ");
    act(IDM_UNDO);
    EXPECT_EQ(place(), "6 3 12 1 Undo resize of element 1 [Ctrl+Z] ");
    act(IDC_WIDTH, "1");  // one column (window 3-6): only its last window pixel is its edge
    EXPECT_EQ(std::pair(pickAt(document, window.viewport(), {4, 12}).handle,
                        pickAt(document, window.viewport(), {5, 12}).handle),
              std::pair(DragHandle::body, DragHandle::rightEdge));
    // A double click on element 0 alone (pixel 6, 1) makes it current and opens it.
    EXPECT_EQ(step([&] { mouse(Kind::doubleClick, 3, 3); }), "N0 W10 X0 Y0 c0 v1 draw *");
}

TEST_F(PictureMouseTest, RandomDragsEndWhereAsManyKeyPressesEndOneStepEachNeverOutside) {
    GeoBuilder font = GeoBuilder::grid(20, 9, 6);
    font.elements[3] = GeoBuilder::layoutAt(246, 233, 9, 6);  // at the bottom-right corner
    font.elements[5].x = 21;                                  // odd, as a file may hold it
    openGrid(font);
    write("a.bmp", BmpBuilder(9, 3, 4).withDistinctPalette().build());
    act(IDC_NUMBER, "4"), act(IDM_IMPORT, "a.bmp");  // keeps its size when dragged
    window.setPictureRoom(3000, 3000, 10, 10);
    std::mt19937 random(1907);
    const auto pick = [&](std::int64_t from, std::int64_t to) {
        return std::uniform_int_distribution<std::int64_t>(from, to)(random);
    };
    for (int round = 0; round < 80; ++round) {
        act(pick(0, 1) == 0 ? IDM_ZOOM_IN : IDM_ZOOM_OUT);
        const auto zoom = window.viewport().zoom();
        act(IDC_NUMBER, std::to_string(pick(0, 19)));
        ElementConfig c = document.configs[document.currentElement];
        // Its body, or near its right or bottom edge or both; a neighbour there is picked.
        const PixelRect first = window.viewport().windowRectOf(c.x, c.y);
        const PixelRect past = window.viewport().windowRectOf(c.x + c.width, c.y + c.height + 1);
        const WindowPoint grab{
            pick(0, 1) == 0 ? first.left + pick(0, zoom / 2) : past.left + pick(-2, 2),
            pick(0, 1) == 0 ? first.top + pick(0, zoom / 2) : past.top + pick(-2, 2)};
        const DragHandle handle = pickAt(document, window.viewport(), grab).handle;
        const std::int64_t far = round % 2 == 0 ? 5 : 60;
        const std::int64_t across = pick(-far, far), down = pick(-far, far);
        const std::vector<std::uint8_t> before = document.buildSaveImage();
        const std::size_t steps = window.history().size();
        ASSERT_TRUE(mouse(Kind::press, grab.x, grab.y));
        const std::uint32_t element = document.currentElement;
        c = document.configs[element];
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(mouse(Kind::move, pick(-1500, 1500), pick(-1500, 1500)));
            const ElementConfig& now = document.configs[element];
            EXPECT_TRUE(now.x >= 0 && now.y >= 0 && now.x + now.width <= 255 &&
                        now.y + now.height <= 239 && (now.x % 2 == 0 || now.x == c.x));
        }
        EXPECT_TRUE(mouse(Kind::move, grab.x + across * zoom, grab.y + down * zoom));
        EXPECT_FALSE(mouse(Kind::release, grab.x + across * zoom, grab.y + down * zoom));
        const std::vector<std::uint8_t> dragged = document.buildSaveImage();
        EXPECT_EQ(window.history().size(), steps + (dragged != before ? 1 : 0));
        if (dragged != before)
            act(IDM_UNDO);
        ASSERT_EQ(document.buildSaveImage(), before);
        const auto keys = [&](bool pressed, std::int64_t n, int less, int more) {
            for (std::int64_t i = 0; pressed && i < std::abs(n); ++i)
                act(n < 0 ? less : more);
        };
        using enum DragHandle;
        keys(handle == body, across / 2, IDM_MOVE_LEFT, IDM_MOVE_RIGHT);
        keys(handle == body, down, IDM_MOVE_UP, IDM_MOVE_DOWN);
        keys(handle == rightEdge || handle == corner, across, IDM_NARROWER, IDM_WIDER);
        keys(handle == bottomEdge || handle == corner, down, IDM_LOWER, IDM_HIGHER);
        ASSERT_EQ(document.buildSaveImage(), dragged) << round << ": element " << element;
    }
}

TEST_F(PictureMouseTest, CopyAndPasteAreOneStepEachExactAndRefusalsChangeNothing) {
    openGrid();
    const std::vector<std::uint8_t> loaded = document.buildSaveImage();
    window.frame([&] { window.clipboardChanged(); });
    EXPECT_EQ(menuTexts[IDM_PASTE_IMAGE], "~Paste element image [Ctrl+V]");
    EXPECT_EQ(step(IDM_COPY_IMAGE), "");  // an unexpected DIB would refuse it
    EXPECT_EQ(menuTexts[IDM_PASTE_IMAGE], "Paste element image [Ctrl+V]");
    act(IDM_NEXT_ELEMENT), act(IDM_NEXT_ELEMENT);
    EXPECT_EQ(step(IDM_PASTE_IMAGE), "r1 draw *");
    EXPECT_EQ(menuTexts[IDM_UNDO], "Undo paste into element 2 [Ctrl+Z]");
    // Saved, element 2 (columns 12-17) holds element 0's pixels and palette record.
    const std::vector<std::uint8_t> pasted = document.buildSaveImage();
    const std::uint32_t p = 16 * 3 + 8;
    for (std::uint32_t at = 0; at < 30; ++at)
        EXPECT_EQ(geoPixel(pasted, p, 12 + at % 6, at / 6), (at / 6 * 5 + at % 6 * 7) % 16);
    EXPECT_TRUE(std::equal(loaded.begin() + p + 30732, loaded.begin() + p + 30768,
                           pasted.begin() + p + 30732 + 72));
    act(IDM_UNDO);
    EXPECT_EQ(document.buildSaveImage(), loaded);
    // Busy, and a true-colour picture with one colour not in the element's palette.
    BmpBuilder colors(6, 5, 32);
    colors.argb.assign(30, 0x004028E0);  // element 2's colour 3 (15-bit 8, 5, 28)
    colors.argb[1] = 0x123456;
    using enum ClipboardPicture::Kind;
    held = {busy, {}};
    EXPECT_EQ(step(IDM_PASTE_IMAGE), "error: The clipboard cannot be opened;");
    held = {dib, colors.dib()};
    EXPECT_EQ(step(IDM_PASTE_IMAGE),
              "error: Color #123456 at x 1, y 0 is not in the element's palette;");
    colors.argb[1] = 0;  // transparent black: colour 0
    held = {dib, colors.dib()};
    EXPECT_EQ(step(IDM_PASTE_IMAGE), "r1 draw *");
    const std::vector<std::uint8_t> matched = document.buildSaveImage();
    EXPECT_EQ(geoPixel(matched, p, 13, 0) * 16 + geoPixel(matched, p, 17, 4), 3);
}

}  // namespace
}  // namespace zt9::test
