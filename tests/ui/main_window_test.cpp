// The real main window under Wine: start state and docking, keys through the
// message loop, the title, real message boxes for a failed load and for closing, and a real
// save dialog driven to the end.
#include "ui/window_fixture.h"

#include <commdlg.h>

#include "support/test_util.h"

namespace zt9::test {
namespace {

TEST_F(WindowTest, StartsGreyWithDocumentCommandsGreyedAndThePanelDockedRightAtEverySize) {
    EXPECT_NE(GetWindowLongW(window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    EXPECT_EQ(menus() + fields(), kNoDocument + ",,,,,,,,, c0 s1");
    EXPECT_EQ(SendMessageW(control(IDC_COLOR), CB_GETCOUNT, 0, 0), 4);
    RECT client{};
    const LONG width = placeOf(panel()).right - placeOf(panel()).left;
    for (const auto& [outerWidth, outerHeight] : {std::pair{1100, 800}, {900, 700}, {1000, 750}}) {
        MoveWindow(window(), 0, 0, outerWidth, outerHeight, TRUE);
        GetClientRect(window(), &client);
        // The status bar runs along the bottom, under the panel; the picture area left of it.
        const RECT docked = placeOf(panel());
        const RECT status = placeOf(GetDlgItem(window(), IDC_STATUS_BAR));
        EXPECT_EQ(std::tuple(docked.left, docked.top, docked.right, docked.bottom, status.left,
                             status.right, status.bottom, frame.pictureArea().right),
                  std::tuple(client.right - width, 0, client.right, status.top, 0, client.right,
                             client.bottom, client.right - width));
        EXPECT_EQ(wrongPixels(1, 0, 0), 0);
    }
}

TEST_F(WindowTest, KeysActThroughTheLoopWhileAFieldHasTheFocusAndNotWithoutADocument) {
    press(VK_RIGHT, VK_CONTROL);
    press('F');
    EXPECT_EQ(menus() + fields(), kNoDocument + ",,,,,,,,, c0 s1");
    open(writeFont("grid.geo", 3));
    SetFocus(control(IDC_POS_X));
    for (const auto& [key, modifier, expected] :
         {std::tuple<WORD, WORD, const char*>{VK_RIGHT, 0, "0,6,4,2,0,7,5,-3,-2, c0 s1"},
          {VK_DOWN, VK_SHIFT, "0,6,5,2,0,7,5,-3,-2, c0 s1"},
          {VK_UP, VK_CONTROL, "0,6,5,2,0,7,5,-3,-2, c0 s2"},
          {VK_RIGHT, VK_CONTROL, "1,6,4,6,0,7,5,-2,-1, c1 s2"},
          {'C', 0, "1,6,4,6,0,7,5,-2,-1, c2 s2"}}) {
        press(key, modifier);
        EXPECT_EQ(fields(), expected) << key;
    }
    press('F');
    press('T');
    EXPECT_EQ(menus(), "save as import export edit view full element+ transparency reimport panel");
    EXPECT_EQ(GetFocus(), control(IDC_POS_X));
}

TEST_F(WindowTest, UndoKeysAndEntriesFollowTheHistoryWhileAFieldKeepsItsOwnCtrlZ) {
    open(writeFont("grid.geo", 3));
    for (int i = 0; i < 3; ++i)
        press(VK_RIGHT);
    // The Undo and Redo entries.
    EXPECT_EQ(dumpMenu(GetSubMenu(GetMenu(window()), MENU_POS_EDIT)).substr(0, 65),
              L"Undo Position X of element 0 [Ctrl+Z]=40034|~Redo [Ctrl+Y]=40035|");
    press('Z', VK_CONTROL);
    EXPECT_EQ(fields() + std::to_string(document.isModified()), "0,6,4,0,0,7,5,-3,-2, c0 s10");
    press('Y', VK_CONTROL);
    EXPECT_EQ(fields(), "0,6,4,6,0,7,5,-3,-2, c0 s1");
    press('Z', VK_CONTROL);
    press('Z', VK_CONTROL, VK_SHIFT);
    EXPECT_EQ(document.configs[0].x, 6);  // Ctrl+Shift+Z redoes too
    // In a field Ctrl+Z takes back the typing, not the move.
    typeInto(IDC_POS_Y, "77");
    press('Z', VK_CONTROL);
    EXPECT_EQ(fields() + std::to_string(document.configs[0].x), "0,6,4,6,0,7,5,-3,-2, c0 s16");
}

TEST_F(WindowTest, TheTitleNamesTheFontInUnicodeRealBoxesShowAFailedLoadAndAskOnClosingNoEnds) {
    EXPECT_EQ(textOf(window()), L"ZT9 font editor");
    const std::filesystem::path font = writeFont(L"\u0448\u0440\u0438\u0444\u0442.geo", 3);
    open(font);
    press(VK_RIGHT);
    press('S', VK_CONTROL);
    writeBytes(dir.file("big.geo"), std::vector<std::uint8_t>(40000, 1));
    screen.real = true;
    whenDialogAppears([](HWND box) { SendMessageW(box, WM_COMMAND, IDOK, 0); });
    open(dir.file("big.geo"));  // refused by its size: the font stays
    EXPECT_EQ(seen, L"Error||OK|File size more than 38 \u041Ab|");
    EXPECT_EQ(menus() + std::to_string(document.elementCount), kDocument + "3");
    // Closing with unsaved edits asks, and No ends the loop leaving the file as saved.
    command(IDM_MOVE_DOWN);
    EXPECT_EQ(textOf(window()), L"*\u0448\u0440\u0438\u0444\u0442.geo - ZT9 font editor");
    whenDialogAppears([](HWND box) { SendMessageW(box, WM_COMMAND, IDNO, 0); });
    SendMessageW(window(), WM_CLOSE, 0, 0);
    MSG quit{};
    EXPECT_NE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE), FALSE);
    EXPECT_EQ(frame.window(), nullptr);
    EXPECT_EQ(seen, L"Quit||&Yes|&No|Save changes?|");
    const std::vector<std::uint8_t> saved = readBytes(font);
    EXPECT_TRUE(saved.at(24) == 2 && saved.at(25) == 0);  // x saved, the later y not
}

TEST_F(WindowTest, SaveAsThroughTheRealDialogAsksBeforeReplacingAFileAndReplacesItOnYes) {
    open(writeFont("grid.geo", 3));
    const std::filesystem::path copy = writeFont(L"copy \u0436.geo", 3);
    command(IDM_MOVE_RIGHT);
    screen.real = true;
    whenDialogAppears([&](HWND dialog) {
        whenDialogAppears([](HWND box) { SendMessageW(box, WM_COMMAND, IDYES, 0); });
        choose(dialog, copy);
    });
    command(IDM_SAVE_AS);
    EXPECT_NE(seen.find(L"|&Yes|&No|"), std::wstring::npos) << seen;
    EXPECT_EQ(readBytes(copy).at(24), 2);
    EXPECT_FALSE(document.isModified());
    // The flags, not only what Wine lets through: a save dialog takes new names and asks
    // before replacing; an open dialog takes existing files only.
    FileDialog open, save;
    save.save = true;
    const DWORD all = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    EXPECT_EQ(std::pair(screen.dialogFlags(open) & all, screen.dialogFlags(save) & all),
              std::pair(DWORD{OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST},
                        DWORD{OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT}));
}

}  // namespace
}  // namespace zt9::test
