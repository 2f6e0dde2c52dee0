// The real main window under Wine: start state, loading, painting, keys through the
// message loop, closing, and one real message box and file dialog driven to the end.
#include "ui/window_fixture.h"

#include <commctrl.h>
#include <commdlg.h>

#include "render/view_state.h"
#include "support/test_util.h"

namespace zt9::test {
namespace {

using Log = std::vector<std::string>;

bool greyed(UINT state) {
    return (state & MF_GRAYED) != 0;
}

TEST_F(WindowTest, StartsWithTheDocumentCommandsGreyedAndTheViewGrey) {
    wchar_t text[64] = {};
    GetWindowTextW(window(), text, ARRAYSIZE(text));
    EXPECT_STREQ(text, L"ZT9 font editor");
    GetClassNameW(window(), text, ARRAYSIZE(text));
    EXPECT_STREQ(text, L"mainWindClass");
    EXPECT_NE(GetWindowLongW(window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    for (const int id : {IDM_SAVE, IDM_SAVE_AS, IDM_IMPORT, IDM_EXPORT})
        EXPECT_TRUE(greyed(menuState(id))) << id;
    const HMENU menu = GetMenu(window());
    EXPECT_TRUE(greyed(GetMenuState(menu, MENU_POS_EDIT, MF_BYPOSITION)));
    EXPECT_TRUE(greyed(GetMenuState(menu, MENU_POS_VIEW, MF_BYPOSITION)));
    EXPECT_NE(menuState(IDM_FULL_PICTURE) & MF_CHECKED, 0u);
    EXPECT_NE(menuState(IDM_TRANSPARENCY) & MF_CHECKED, 0u);
    EXPECT_FALSE(IsWindowEnabled(panel()));
    EXPECT_EQ(SendDlgItemMessageW(panel(), IDC_SCALE, TBM_GETPOS, 0, 0), 1);
    EXPECT_EQ(SendDlgItemMessageW(panel(), IDC_COLOR, CB_GETCOUNT, 0, 0), 4);

    // The panel is docked at the right edge, full height; the rest is grey.
    RECT client{};
    RECT docked{};
    GetClientRect(window(), &client);
    GetWindowRect(panel(), &docked);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&docked), 2);
    EXPECT_EQ(docked.right, client.right);
    EXPECT_EQ(docked.top, 0);
    EXPECT_EQ(docked.bottom, client.bottom);
    EXPECT_EQ(frame->pictureArea().right, docked.left);
    const Capture shot = capture();
    for (const auto& [x, y] :
         {std::pair{0, 0},
          {300, 200},
          {static_cast<int>(docked.left) - 1, static_cast<int>(client.bottom) - 1}})
        EXPECT_EQ(shot.at(x, y), kMarginGrey) << x << "," << y;

    // Resizing keeps the panel's width and docks it again.
    const LONG width = docked.right - docked.left;
    MoveWindow(window(), 0, 0, 900, 700, TRUE);
    pump();
    GetClientRect(window(), &client);
    GetWindowRect(panel(), &docked);
    EXPECT_EQ(docked.right - docked.left, width);
    EXPECT_EQ(frame->pictureArea().right, client.right - width);
}

TEST_F(WindowTest, PaintShowsTheViewSurfaceEnlargedByTheZoomWithGreyMargins) {
    open(writeFont("grid.geo", GeoBuilder::grid(12)));
    EXPECT_TRUE(IsWindowEnabled(panel()));
    EXPECT_FALSE(greyed(menuState(IDM_SAVE)));
    EXPECT_FALSE(greyed(GetMenuState(GetMenu(window()), MENU_POS_VIEW, MF_BYPOSITION)));
    EXPECT_EQ(fieldText(IDC_WIDTH), L"6");
    const Surface& view = *editor().viewSurface();
    for (const int zoom : {1, 3}) {
        SCOPED_TRACE(zoom);
        const Capture shot = capture();
        for (int y = 0; y < 240; y += 7)
            for (int x = 0; x < 255; x += 5)
                ASSERT_EQ(shot.at(x * zoom + zoom - 1, y * zoom + zoom / 2), view.pixel(x, y))
                    << x << "," << y;
        EXPECT_EQ(shot.at(255 * zoom, 0), kMarginGrey);
        EXPECT_EQ(shot.at(0, 240 * zoom), kMarginGrey);
        command(IDM_ZOOM_IN);
        command(IDM_ZOOM_IN);
    }
    // Picture Element at zoom 5 shows the element's configured area only.
    command(IDM_TOGGLE_VIEW);
    const Capture element = capture();
    EXPECT_EQ(element.at(0, 0), view.pixel(0, 0));
    EXPECT_EQ(element.at(6 * 5 - 1, 5 * 5 - 1), view.pixel(5, 4));
    EXPECT_EQ(element.at(6 * 5, 0), kMarginGrey);
    EXPECT_EQ(element.at(0, 5 * 5), kMarginGrey);
}

TEST_F(WindowTest, KeysActThroughTheAcceleratorsEvenInsideAPanelField) {
    // Without a document the document keys do nothing.
    pressKey(VK_RIGHT, true);
    pressKey('F');
    EXPECT_EQ(editor().view.viewMode, kFullPicture);
    EXPECT_EQ(fieldText(IDC_NUMBER), L"");

    open(writeFont("grid.geo", GeoBuilder::grid(3)));
    focus(GetDlgItem(panel(), IDC_POS_X));
    pressKey(VK_RIGHT);
    EXPECT_EQ(fieldText(IDC_POS_X), L"2");
    EXPECT_EQ(document.configs[0].x, 2);
    pressKey(VK_DOWN, false, true);
    EXPECT_EQ(fieldText(IDC_HEIGHT), L"5");
    pressKey(VK_RIGHT, true);
    EXPECT_EQ(fieldText(IDC_NUMBER), L"1");
    pressKey(VK_UP, true);
    EXPECT_EQ(SendDlgItemMessageW(panel(), IDC_SCALE, TBM_GETPOS, 0, 0), 2);
    pressKey('F');
    EXPECT_NE(menuState(IDM_PICTURE_ELEMENT) & MF_CHECKED, 0u);
    pressKey('T');
    EXPECT_EQ(menuState(IDM_TRANSPARENCY) & MF_CHECKED, 0u);
    pressKey('C');
    EXPECT_EQ(SendDlgItemMessageW(panel(), IDC_COLOR, CB_GETCURSEL, 0, 0), 2);
    // Dialog keys stay inside the panel and never reach the main window as a render.
    const std::uint64_t frames = editor().frameVersion();
    pressKey(VK_TAB);
    EXPECT_EQ(editor().frameVersion(), frames);
    // Ctrl+S saves the moved element.
    pressKey('S', true);
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(readBytes(dir.file("grid.geo")).at(12 + 12), 2);
}

TEST_F(WindowTest, ClosingWithUnsavedEditsAsksAndEndsTheLoopOnNo) {
    open(writeFont("grid.geo", GeoBuilder::grid(3)));
    command(IDM_MOVE_DOWN);
    screen.log.clear();
    SendMessageW(window(), WM_CLOSE, 0, 0);
    pump();
    EXPECT_EQ(screen.log, (Log{"beep", "ask Quit: Save changes?"}));
    EXPECT_EQ(frame->window(), nullptr);
    EXPECT_TRUE(quitPosted);
}

TEST_F(WindowTest, AFailedLoadShowsARealMessageBoxInCyrillicAndKeepsTheOpenFont) {
    open(writeFont("grid.geo", GeoBuilder::grid(3)));
    screen.realMessageBoxes = true;
    writeBytes(dir.file("big.geo"), std::vector<std::uint8_t>(40000, 1));
    std::vector<std::wstring> seen;
    whenDialogAppears([&](HWND box) {
        seen = dialogTexts(box);
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    });
    screen.fileAnswers.emplace_back(FileChoice{dir.file("big.geo"), 1});
    command(IDM_LOAD);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], L"Error");
    EXPECT_NE(std::find(seen.begin(), seen.end(),
                        L"File size more than 38 \x041A"
                        L"b"),
              seen.end());
    EXPECT_EQ(document.elementCount, 3u);  // the open font stays
}

TEST_F(WindowTest, SaveAsThroughTheRealDialogAsksBeforeReplacingAFile) {
    const std::filesystem::path font = writeFont("grid.geo", GeoBuilder::grid(3));
    open(font);
    command(IDM_MOVE_RIGHT);
    const std::filesystem::path copy = dir.file(L"copy \x0436.geo");  // a Cyrillic name
    screen.realFileDialogs = true;
    whenDialogAppears([&](HWND dialog) {
        SetDlgItemTextW(dialog, 0x47c, copy.wstring().c_str());
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    command(IDM_SAVE_AS);
    ASSERT_TRUE(std::filesystem::exists(copy));
    EXPECT_EQ(readBytes(copy).at(12 + 12), 2);

    // The same name again: the dialog asks first, and No keeps the old file.
    command(IDM_MOVE_RIGHT);
    std::vector<std::wstring> question;
    whenDialogAppears([&](HWND dialog) {
        SetDlgItemTextW(dialog, 0x47c, copy.wstring().c_str());
        whenDialogAppears([&](HWND box) {
            question = dialogTexts(box);
            SendMessageW(box, WM_COMMAND, IDNO, 0);
            whenDialogAppears([](HWND again) { SendMessageW(again, WM_COMMAND, IDCANCEL, 0); });
        });
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    command(IDM_SAVE_AS);
    EXPECT_FALSE(question.empty());
    EXPECT_EQ(readBytes(copy).at(12 + 12), 2);
    EXPECT_TRUE(document.isModified());
    // Flags, not only what Wine lets through: a save dialog takes new names and asks before
    // replacing; an open dialog takes existing files only.
    FileDialog request;
    request.save = true;
    EXPECT_EQ(ui::Win32Screen::dialogFlags(request) & (OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT),
              DWORD{OFN_OVERWRITEPROMPT});
    request.save = false;
    EXPECT_EQ(ui::Win32Screen::dialogFlags(request) & (OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST),
              DWORD{OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST});
}

}  // namespace
}  // namespace zt9::test
