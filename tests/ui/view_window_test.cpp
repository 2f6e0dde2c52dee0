// The picture area in the real window under Wine: painting, scroll bars, real wheel input,
// the grid and the status bar.
#include "ui/window_fixture.h"

namespace zt9::test {
namespace {

class ViewWindowTest : public WindowTest {
  protected:
    HWND bar(int id) const { return GetDlgItem(window(), id); }
    std::string bars() const {
        return std::string(IsWindowVisible(bar(IDC_PICTURE_HSCROLL)) != FALSE ? "h" : "-") +
               (IsWindowVisible(bar(IDC_PICTURE_VSCROLL)) != FALSE ? "v" : "-");
    }
    // The pointer moved to a client point and, with a delta, a wheel turned there with `key`
    // held.
    void input(POINT at, int delta = 0, WORD key = 0, DWORD wheel = MOUSEEVENTF_WHEEL) {
        const INPUT turn{INPUT_MOUSE, {.mi = {0, 0, static_cast<DWORD>(delta), wheel, 0, 0}}};
        mouse({{at, 0}}, delta == 0 ? std::vector<INPUT>{}
                                    : std::vector{keyEvent(key), turn, keyEvent(key, true)});
    }
};

TEST_F(ViewWindowTest, ScrollBarsComeWithZoomAndSizeAndScrollToThePicturesLastPixel) {
    open(writeFont("grid.geo", 12));
    EXPECT_EQ(bars() + std::to_string(wrongPixels(1, 255, 240)), "--0");
    // Transparency changes the picture, not the frame's size: the cached copy is redone.
    const Surface opaque = *editor().viewSurface();
    command(IDM_TRANSPARENCY);
    ASSERT_FALSE(std::ranges::equal(editor().viewSurface()->data(), opaque.data()));
    EXPECT_EQ(wrongPixels(1, 255, 240), 0);
    for (int i = 0; i < 9; ++i)
        command(IDM_ZOOM_IN);
    // Along the picture area's right and bottom edges: left of the panel, above the status bar.
    const auto [right, bottom] = std::pair(placeOf(panel()).left, placeOf(bar(IDC_STATUS_BAR)).top);
    const LONG width = right - GetSystemMetrics(SM_CXVSCROLL);
    const LONG height = bottom - GetSystemMetrics(SM_CYHSCROLL);
    const auto edges = [](RECT r) { return std::tuple(r.left, r.top, r.right, r.bottom); };
    EXPECT_EQ(bars(), "hv");
    EXPECT_EQ(
        std::pair(edges(placeOf(bar(IDC_PICTURE_HSCROLL))),
                  edges(placeOf(bar(IDC_PICTURE_VSCROLL)))),
        std::pair(std::tuple(0L, height, width, bottom), std::tuple(width, 0L, right, height)));
    // At the end of both bars the last column and row end at the area's right and bottom edge.
    scroll(IDC_PICTURE_HSCROLL, SB_RIGHT);
    scroll(IDC_PICTURE_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(wrongPixels(10, 255, 240, 2550 - width, 2400 - height), 0);
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(bar(IDC_PICTURE_VSCROLL), SB_CTL, &info);
    EXPECT_EQ(std::tuple(info.nMin, info.nMax, info.nPage, info.nPos),
              std::tuple(0, 2399, static_cast<UINT>(height), 2400 - height));
    // Real wheels over the picture, the focus in a panel field: a notch up is three lines of
    // two enlarged pixels, Shift turns it sideways, and so does the horizontal wheel.
    SetFocus(control(IDC_POS_X));
    input({100, 100}, 120, VK_F23);  // a key nothing reacts to
    input({100, 100}, 240, VK_SHIFT);
    input({100, 100}, -120, VK_F23, MOUSEEVENTF_HWHEEL);
    EXPECT_EQ(wrongPixels(10, 255, 240, 2550 - width - 180, 2400 - height - 60), 0);
    EXPECT_EQ(fields(), "0,6,4,0,0,7,5,-3,-2, c0 s10");
    // As large as the screen, larger than the picture at zoom 9: no bars, the picture at the
    // corner; then minimised, restored and narrower than the panel, without a failure.
    command(IDM_ZOOM_OUT);
    MoveWindow(window(), 0, 0, 2600, 2500, TRUE);
    EXPECT_EQ(bars() + std::to_string(frame.pictureArea().right - right) + " " +
                  std::to_string(wrongPixels(9, 255, 240)),
              "--1500 0");
    for (const int show : {SW_MINIMIZE, SW_RESTORE})
        ShowWindow(window(), show), pump();
    MoveWindow(window(), 0, 0, 120, 90, TRUE), pump();
    MoveWindow(window(), 0, 0, 1100, 800, TRUE);
    EXPECT_EQ(bars() + std::to_string(wrongPixels(9, 255, 240)), "hv0");
    command(IDM_TOGGLE_VIEW);
    EXPECT_EQ(wrongPixels(9, 6, 5), 0);  // the element's 6 columns and 5 rows only
}

TEST_F(ViewWindowTest, CtrlWheelZoomsAboutThePointerTheGridDrawsItsLinesAndTheStatusBarTells) {
    EXPECT_EQ(statusText(), L"Open a GEO font: Ctrl+L, or drop a file here");
    open(writeFont("grid.geo", 12));
    for (int i = 0; i < 3; ++i)
        command(IDM_ZOOM_IN);
    // At zoom 4 the pointer is over picture pixel (75, 50); at zoom 5 that pixel is still
    // under it, one window pixel into its block across and three down, as before.
    input({301, 203});
    EXPECT_EQ(statusText(), L"Element 0 of 12: x 0, y 0, 6 × 5|x 75, y 50||×4|");
    input({301, 203}, 120, VK_CONTROL);
    EXPECT_EQ(statusText(), L"Element 0 of 12: x 0, y 0, 6 × 5|x 75, y 50||×5|");
    EXPECT_EQ(fields().substr(20), " c0 s5");
    EXPECT_EQ(wrongPixels(5, 255, 240, 75 * 5 + 1 - 301, 50 * 5 + 3 - 203), 0);
    // The grid: lines between the blocks, every other pixel as before; and off again.
    press('G');
    EXPECT_NE(GetMenuState(GetMenu(window()), IDM_GRID, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(wrongPixels(5, 255, 240, 75, 50, true), 0);
    press('G');
    EXPECT_EQ(wrongPixels(5, 255, 240, 75, 50), 0);
    // An edit marks the font; over the panel the pointer's part is emptied.
    press(VK_DOWN);  // only the element's blocks are enlarged and painted again
    EXPECT_EQ(wrongPixels(5, 255, 240, 75, 50), 0);
    const RECT field = placeOf(control(IDC_WIDTH));
    input({field.left + 3, field.top + 3});
    for (const ULONGLONG end = GetTickCount64() + 2000;
         statusText().find(L"|||") == std::wstring::npos && GetTickCount64() < end;)
        pump(), Sleep(10);
    EXPECT_EQ(statusText(), L"Element 0 of 12: x 0, y 1, 6 × 5|||×5|Modified");
}

}  // namespace
}  // namespace zt9::test
