// The real main window under Wine: start state and docking, painting, keys through the
// message loop, closing, and one real message box and file dialog driven to the end.
#include "ui/window_fixture.h"

#include <commctrl.h>
#include <commdlg.h>

#include "support/test_util.h"

namespace zt9::test {
namespace {

constexpr const char* kNoDocument =
    "~save ~as ~import ~export ~edit ~view full+ element transparency+ reimport ~panel";
constexpr const char* kDocument =
    "save as import export edit view full+ element transparency+ reimport panel";

TEST_F(WindowTest, StartsGreyWithDocumentCommandsGreyedAndThePanelDockedRightAtEverySize) {
    wchar_t title[64] = {}, name[64] = {};
    GetWindowTextW(window(), title, ARRAYSIZE(title));
    GetClassNameW(window(), name, ARRAYSIZE(name));
    EXPECT_EQ(std::wstring(title) + L"|" + name, L"ZT9 font editor|mainWindClass");
    EXPECT_NE(GetWindowLongW(window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    EXPECT_EQ(menus(), kNoDocument);
    EXPECT_EQ(fields(), ",,,,,,,,, c0 s1");
    EXPECT_EQ(SendMessageW(control(IDC_COLOR), CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(wrongPixels(1, 0, 0), 0);
    const auto edges = [](const RECT& r) { return std::tuple(r.left, r.top, r.right, r.bottom); };
    RECT docked{};
    GetWindowRect(panel(), &docked);
    const LONG width = docked.right - docked.left;
    for (const auto& [outerWidth, outerHeight] : {std::pair{1100, 800}, {900, 700}, {1000, 750}}) {
        MoveWindow(window(), 0, 0, outerWidth, outerHeight, TRUE);
        pump();
        RECT client{};
        GetClientRect(window(), &client);
        GetWindowRect(panel(), &docked);
        MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&docked), 2);
        EXPECT_EQ(edges(docked), std::tuple(client.right - width, 0, client.right, client.bottom));
        EXPECT_EQ(edges(frame->pictureArea()),
                  std::tuple(0, 0, client.right - width, client.bottom));
    }
    EXPECT_EQ(wrongPixels(1, 0, 0), 0);
}

TEST_F(WindowTest, PaintingShowsTheViewEnlargedByTheZoomWithGreyMarginsAfterEveryChange) {
    open(writeFont("grid.geo", 12));
    EXPECT_EQ(menus(), kDocument);
    EXPECT_EQ(fields(), "0,6,4,0,0,7,5,-3,-2, c0 s1");
    EXPECT_EQ(wrongPixels(1, 255, 240), 0);
    // Transparency changes the picture but not the frame's size: the cached copy is redone.
    const auto view = [&] {
        return std::vector(editor().viewSurface()->data().begin(),
                           editor().viewSurface()->data().end());
    };
    const std::vector<std::uint32_t> opaque = view();
    command(IDM_TRANSPARENCY);
    ASSERT_NE(view(), opaque);
    EXPECT_EQ(wrongPixels(1, 255, 240), 0);
    command(IDM_ZOOM_IN);
    command(IDM_ZOOM_IN);
    EXPECT_EQ(wrongPixels(3, 255, 240), 0);
    // Picture Element at zoom 5: the element's 6 columns and 5 rows only.
    command(IDM_ZOOM_IN);
    command(IDM_ZOOM_IN);
    command(IDM_TOGGLE_VIEW);
    EXPECT_EQ(wrongPixels(5, 6, 5), 0);
}

TEST_F(WindowTest, KeysActThroughTheLoopWhileAFieldHasTheFocusAndNotWithoutADocument) {
    press(VK_RIGHT, VK_CONTROL);
    press('F');
    EXPECT_EQ(menus(), kNoDocument);
    EXPECT_EQ(fields(), ",,,,,,,,, c0 s1");
    open(writeFont("grid.geo", 3));
    focus(control(IDC_POS_X));
    const struct {
        WORD key, modifier;
        const char* fields;
    } kKeys[] = {{VK_RIGHT, 0, "0,6,4,2,0,7,5,-3,-2, c0 s1"},
                 {VK_DOWN, VK_SHIFT, "0,6,5,2,0,7,5,-3,-2, c0 s1"},
                 {VK_UP, VK_CONTROL, "0,6,5,2,0,7,5,-3,-2, c0 s2"},
                 {VK_RIGHT, VK_CONTROL, "1,6,4,6,0,7,5,-2,-1, c1 s2"},
                 {'C', 0, "1,6,4,6,0,7,5,-2,-1, c2 s2"}};
    for (const auto& [key, modifier, expected] : kKeys) {
        press(key, modifier);
        EXPECT_EQ(fields(), expected) << key;
    }
    press('F');
    press('T');
    EXPECT_EQ(menus(), "save as import export edit view full element+ transparency reimport panel");
    EXPECT_EQ(GetFocus(), control(IDC_POS_X));
    press('S', VK_CONTROL);  // saves element 0 moved and made higher
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(readBytes(dir.file("grid.geo")).at(24), 2);
}

TEST_F(WindowTest, ClosingWithUnsavedEditsAsksAndEndsTheLoopOnNo) {
    open(writeFont("grid.geo", 3));
    command(IDM_MOVE_DOWN);
    screen.log.clear();
    SendMessageW(window(), WM_CLOSE, 0, 0);
    pump();
    EXPECT_EQ(screen.log, (std::vector<std::string>{"beep", "ask Quit: Save changes?"}));
    EXPECT_EQ(frame->window(), nullptr);
    EXPECT_TRUE(quitPosted);
    EXPECT_EQ(readBytes(dir.file("grid.geo")), GeoBuilder::grid(3).build());
}

TEST_F(WindowTest, AFailedLoadShowsARealMessageBoxInCyrillicAndKeepsTheOpenFont) {
    open(writeFont("grid.geo", 3));
    writeBytes(dir.file("big.geo"), std::vector<std::uint8_t>(40000, 1));
    std::vector<std::wstring> seen;
    whenDialogAppears([&](HWND box) {
        seen = dialogTexts(box);
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    });
    screen.realBoxes = true;
    open(dir.file("big.geo"));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0], L"Error");
    EXPECT_NE(std::find(seen.begin(), seen.end(),
                        L"File size more than 38 \x041A"
                        L"b"),
              seen.end());
    EXPECT_EQ(document.elementCount, 3u);
    EXPECT_EQ(menus(), kDocument);
}

TEST_F(WindowTest, SaveAsThroughTheRealDialogAsksBeforeReplacingAFile) {
    open(writeFont("grid.geo", 3));
    const std::filesystem::path copy = dir.file(L"copy \x0436.geo");
    const auto typeName = [&](HWND dialog) {
        SetDlgItemTextW(dialog, 0x47c, copy.wstring().c_str());
    };
    screen.realDialogs = true;
    command(IDM_MOVE_RIGHT);
    whenDialogAppears([&](HWND dialog) {
        typeName(dialog);
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    command(IDM_SAVE_AS);
    EXPECT_EQ(readBytes(copy).at(24), 2);
    EXPECT_FALSE(document.isModified());
    // The same name again: the dialog asks first, and No (then Cancel) keeps the file.
    command(IDM_MOVE_RIGHT);
    std::vector<std::wstring> question;
    whenDialogAppears([&](HWND dialog) {
        typeName(dialog);
        whenDialogAppears([&](HWND box) {
            question = dialogTexts(box);
            SendMessageW(box, WM_COMMAND, IDNO, 0);
            whenDialogAppears([](HWND again) { SendMessageW(again, WM_COMMAND, IDCANCEL, 0); });
        });
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    command(IDM_SAVE_AS);
    for (const auto& t : question)
        EXPECT_FALSE(question.empty());
    EXPECT_EQ(readBytes(copy).at(24), 2);
    EXPECT_TRUE(document.isModified());
    // The flags, not only what Wine lets through: a save dialog takes new names and asks
    // before replacing; an open dialog takes existing files only.
    FileDialog request;
    const DWORD checked = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    EXPECT_EQ(ui::Win32Screen::dialogFlags(request) & checked,
              DWORD{OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST});
    request.save = true;
    EXPECT_EQ(ui::Win32Screen::dialogFlags(request) & checked,
              DWORD{OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT});
}

}  // namespace
}  // namespace zt9::test
