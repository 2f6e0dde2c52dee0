// Drawing in the real window under Wine: a real drag with the pencil and a palette entry
// changed through the real colour dialog, checked on screen and in the saved file.
#include "editor/draw_tools.h"
#include "support/test_util.h"
#include "ui/window_fixture.h"

namespace zt9::test {
namespace {

class DrawWindowTest : public WindowTest {
  protected:
    // One real mouse event at a client point, handled before the next one comes; a
    // double click's colour dialog takes the input, so nothing waits for a key.
    void mouse(POINT at, DWORD buttons) {
        INPUT event = pointerAt(at, buttons);
        SendInput(1, &event, sizeof event);
        for (int i = 0; i < 6; ++i)
            Sleep(5), pump();
    }
};

// The blank 250 x 201 element at zoom 5, scrolled a page across and down. Swatch 5 double
// clicked and given a colour in the dialog; a stroke across, then down and out of the
// element and the window, let go there; an Alt+click. The screen shows the view, the save
// holds the stroke and the colour.
TEST_F(DrawWindowTest, ARealDragAndTheColourDialogDrawOnScreenAndInTheFile) {
    GeoBuilder font = GeoBuilder::grid(1, 250, 200);
    std::ranges::fill(font.pixels, 0);
    writeBytes(dir.file("big.geo"), font.build());
    open(dir.file("big.geo"));
    press('F');
    for (int i = 0; i < 4; ++i)
        command(IDM_ZOOM_IN);
    for (const auto& [message, bar] :
         {std::pair(UINT{WM_HSCROLL}, IDC_PICTURE_HSCROLL), {WM_VSCROLL, IDC_PICTURE_VSCROLL}})
        SendMessageW(window(), message, SB_PAGEDOWN,
                     reinterpret_cast<LPARAM>(GetDlgItem(window(), bar)));
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
    for (const DWORD button : std::initializer_list<DWORD>{
             MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
        mouse(swatch, button);
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
    mouse(client(c0, r0), MOUSEEVENTF_LEFTDOWN);
    mouse(client(c0 + 30, r0), 0);
    mouse(client(c0 + 30, 400), 0);  // below the window
    mouse(client(c0 + 30, 400), MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(editor().viewSurface()->pixel(c0 + 30, r0 + 9), RGB(0x18, 0x38, 0x58));
    EXPECT_EQ(wrongPixels(5, 250, 201, sx, sy), 0);
    // Alt+click picks colour 0 beside the line; letting Alt go leaves the menu bar alone,
    // so the next key chooses the fill.
    WindowTest::mouse({},
                      {keyEvent(VK_MENU), pointerAt(client(c0, r0 + 1), MOUSEEVENTF_LEFTDOWN),
                       pointerAt(client(c0, r0 + 1), MOUSEEVENTF_LEFTUP), keyEvent(VK_MENU, true)});
    press('B');
    EXPECT_NE(statusText().find("|Fill, colour 0|"), std::string::npos) << statusText();
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
