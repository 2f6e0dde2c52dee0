// The mouse and the clipboard in the real window under Wine: real clicks and drags on the
// scrolled picture at zoom 4, checked on screen and in the saved file, and a real clipboard
// round trip.
#include "document/element_image.h"
#include "editor/draw_tools.h"
#include "images/clipboard_image.h"
#include "images/element_image_format.h"
#include "support/test_util.h"
#include "ui/window_fixture.h"

namespace zt9::test {
namespace {

TEST_F(WindowTest, RealClicksAndDragsOnTheScrolledPictureAndClipboardRoundTrips) {
    GeoDocument model;
    openFont(model, GeoBuilder::grid(12).build());
    open(writeFont("grid.geo", 12));  // elements of 6 x 5 at x 0, 6, 12 ... on row 0
    for (int i = 0; i < 3; ++i)
        command(IDM_ZOOM_IN);
    scroll(IDC_PICTURE_HSCROLL, SB_LINEDOWN);
    // Scrolled four columns, picture pixel (20, 2) of element 3 lies at window (65, 9): a
    // click picks it; a drag from pixel (21, 3), far enough not to count as a double click,
    // through far outside the window ends 23 and 13 window pixels on, that is 6 columns (3
    // steps of x) and 3 rows.
    mouse({{{65, 9}, MOUSEEVENTF_LEFTDOWN}, {{65, 9}, MOUSEEVENTF_LEFTUP}});
    EXPECT_EQ(fields(), "3,6,4,18,0,7,5,0,1, c3 s4");
    mouse({{{70, 13}, MOUSEEVENTF_LEFTDOWN}, {{-200, 2000}, 0}, {{93, 26}, MOUSEEVENTF_LEFTUP}});
    // The corner (window 104, 32 now) three columns and one row further out.
    mouse({{{105, 33}, 0}});
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZENWSE));
    mouse({{{105, 33}, MOUSEEVENTF_LEFTDOWN}, {{113, 37}, MOUSEEVENTF_LEFTUP}});
    EXPECT_EQ(fields(), "3,8,5,24,3,7,5,0,1, c3 s4");
    EXPECT_EQ(wrongPixels(4, 255, 240, 16), 0);
    std::int32_t out = 0;
    model.currentElement = 3;
    model.setX(24, out), model.setY(3, out), model.setWidth(8, out), model.setHeight(5, out);
    press('S', VK_CONTROL);  // the editor's save against the model's
    EXPECT_EQ(readBytes(dir.file("grid.geo")), model.buildSaveImage());

    // Ctrl+C on element 3, Ctrl+V on element 4: the same picture, whatever went between.
    SetFocus(window());
    press('C', VK_CONTROL);
    press(VK_RIGHT, VK_CONTROL);
    press('V', VK_CONTROL);
    auto [x, y] = std::pair(FieldCode{}, FieldCode{});
    model.currentElement = 4;
    pasteElementImage(model, x, y, encodeElementImage(presentImage(model, 3)));
    press('S', VK_CONTROL);
    EXPECT_EQ(readBytes(dir.file("grid.geo")), model.buildSaveImage());
    // In a panel field Ctrl+C and Ctrl+V copy and paste its text: Paste greys, the element
    // stays as it is.
    typeInto(IDC_POS_Y, "77");
    SendMessageW(control(IDC_POS_Y), EM_SETSEL, 0, -1);
    press('C', VK_CONTROL);
    typeInto(IDC_DISPLAY_X, "");  // its whole text selected
    press('V', VK_CONTROL);
    EXPECT_EQ(fields(), "4,8,5,24,77,9,6,77,2, c0 s4");
    EXPECT_NE(GetMenuState(GetMenu(window()), IDM_PASTE_IMAGE, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

// The blank 250 x 201 element at zoom 5, scrolled a page across and down. Swatch 5 double
// clicked and given a colour in the dialog; a stroke across, then down and out of the
// element and the window, let go there; an Alt+click. The screen shows the view, the save
// holds the stroke and the colour.
TEST_F(WindowTest, ARealDragAndTheColourDialogDrawOnScreenAndInTheFile) {
    // One real mouse event at a client point, handled before the next one comes; a double
    // click's colour dialog takes the input, so nothing waits for a key.
    const auto step = [&](POINT at, DWORD buttons) {
        INPUT event = pointerAt(at, buttons);
        SendInput(1, &event, sizeof event);
        for (int i = 0; i < 6; ++i)
            Sleep(5), pump();
    };
    GeoBuilder font = GeoBuilder::grid(1, 250, 200);
    std::ranges::fill(font.pixels, 0);
    writeBytes(dir.file("big.geo"), font.build());
    open(dir.file("big.geo"));
    press('F');
    for (int i = 0; i < 4; ++i)
        command(IDM_ZOOM_IN);
    scroll(IDC_PICTURE_HSCROLL, SB_PAGEDOWN);
    scroll(IDC_PICTURE_VSCROLL, SB_PAGEDOWN);
    const LONG sx = static_cast<LONG>(editor().viewport().scrollX());
    const LONG sy = static_cast<LONG>(editor().viewport().scrollY());
    ASSERT_TRUE(sx > 0 && sy > 0);

    screen.real = true;
    whenDialogAppears([](HWND dialog) {
        for (const auto& [edit, level] : {std::pair(706, 0x12u), {707, 0x34u}, {708, 0x56u}})
            SetDlgItemInt(dialog, edit, level, FALSE);
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    RECT strip{};
    GetClientRect(control(IDC_PALETTE), &strip);
    const PixelRect five = swatchRect(strip.right, strip.bottom, 5);
    POINT swatch{static_cast<LONG>(five.left + five.right) / 2,
                 static_cast<LONG>(five.top + five.bottom) / 2};
    MapWindowPoints(control(IDC_PALETTE), window(), &swatch, 1);
    for (int i = 0; i < 4; ++i)  // a double click
        step(swatch, i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    EXPECT_NE(seen.find(L"|OK|"), std::wstring::npos) << seen;
    MapWindowPoints(window(), control(IDC_PALETTE), &swatch, 1);
    const HDC dc = GetDC(control(IDC_PALETTE));
    EXPECT_EQ(GetPixel(dc, swatch.x, swatch.y), RGB(0x18, 0x38, 0x58));  // as stored
    ReleaseDC(control(IDC_PALETTE), dc);

    const std::uint32_t c0 = static_cast<std::uint32_t>(sx) / 5 + 10;
    const std::uint32_t r0 = static_cast<std::uint32_t>(sy) / 5 + 10;
    const auto client = [&](std::uint32_t column, std::uint32_t row) {
        return POINT{static_cast<LONG>(column * 5 + 2) - sx, static_cast<LONG>(row * 5 + 2) - sy};
    };
    step(client(c0, r0), MOUSEEVENTF_LEFTDOWN);
    step(client(c0 + 30, r0), 0);
    step(client(c0 + 30, 400), 0);  // below the window
    step(client(c0 + 30, 400), MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(editor().viewSurface()->pixel(c0 + 30, r0 + 9), RGB(0x18, 0x38, 0x58));
    EXPECT_EQ(wrongPixels(5, 250, 201, sx, sy), 0);
    // Alt+click picks colour 0 beside the line; letting Alt go leaves the menu bar alone,
    // so the next key chooses the fill.
    mouse({}, {keyEvent(VK_MENU), pointerAt(client(c0, r0 + 1), MOUSEEVENTF_LEFTDOWN),
               pointerAt(client(c0, r0 + 1), MOUSEEVENTF_LEFTUP), keyEvent(VK_MENU, true)});
    press('B');
    EXPECT_NE(statusText().find(L"|Fill, colour 0|"), std::wstring::npos) << statusText();
    press('S', VK_CONTROL);
    for (std::uint32_t c = c0; c <= c0 + 30; ++c)
        font.setPixel(c, r0, 5);
    for (std::uint32_t r = r0; r <= 200; ++r)  // down to the element's last row
        font.setPixel(c0 + 30, r, 5);
    font.elements[0].colors[5] = 3 | 7 << 5 | 11 << 10;  // the levels of 0x18, 0x38, 0x58
    EXPECT_EQ(readBytes(dir.file("big.geo")), font.build());
}

}  // namespace
}  // namespace zt9::test
