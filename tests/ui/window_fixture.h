// A real main window of the editor on a fresh document under Wine, driven through the
// program's own message handling with real key and mouse input.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "resources/resource.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"
#include "ui/main_frame.h"

namespace zt9::test {

// The real screen, except that a file set by the test answers the next file dialog and
// that file dialogs, questions (No) and error messages stay off the screen unless the test
// asks for the real ones: an error the test does not expect fails it.
struct TestScreen : ui::Win32Screen {
    bool real = false;
    std::optional<std::filesystem::path> file;

    std::optional<FileChoice> chooseFile(const FileDialog& dialog) override {
        if (!file)
            return real ? Win32Screen::chooseFile(dialog) : std::nullopt;
        return FileChoice{*std::exchange(file, std::nullopt), 1};
    }
    bool askYesNo(std::string_view text, std::string_view caption) override {
        return real && Win32Screen::askYesNo(text, caption);
    }
    void showError(std::string_view text) override {
        EXPECT_TRUE(real) << "error shown: " << text;
        if (real)
            Win32Screen::showError(text);
    }
};

inline std::wstring textOf(HWND window) {
    wchar_t text[512] = {};
    return {text, static_cast<std::size_t>(GetWindowTextW(window, text, 512))};
}

// "text=id" per item, "~" before a greyed one, "-" for a separator, popups in brackets.
inline std::wstring dumpMenu(HMENU menu) {
    std::wstring out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, ARRAYSIZE(text), MF_BYPOSITION);
        // A popup's item count comes in the high byte, where it could read as flags.
        const HMENU popup = GetSubMenu(menu, i);
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) &
                           (popup != nullptr ? 0xFFu : ~0u);
        out += (state & (MF_GRAYED | MF_SEPARATOR)) == MF_GRAYED ? L"~" : L"";
        if (popup != nullptr)
            out += std::wstring(text) + L"[" + dumpMenu(popup) + L"]";
        else if ((state & MF_SEPARATOR) != 0)
            out += L"-";
        else
            out += std::wstring(text) + L"=" + std::to_wstring(GetMenuItemID(menu, i));
        out += (state & MF_CHECKED) != 0 ? L"+" : L"";
        out += i + 1 < GetMenuItemCount(menu) ? L"|" : L"";
    }
    return out;
}

inline std::function<void(HWND)> pendingDialogAction;
inline std::wstring seen;  // the texts of the last dialog a test acted on
// The menus without a document and with one freshly loaded.
inline const std::string kNoDocument =
    "~save ~as ~import ~export ~edit ~view full+ element transparency+ reimport ~panel";
inline const std::string kDocument =
    "save as import export edit view full+ element transparency+ reimport panel";

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitCommonControls();
        ASSERT_NE(frame.create(SW_SHOWNORMAL), nullptr);
        MoveWindow(window(), 0, 0, 1100, 800, TRUE);  // room for the panel and zoom 3
        SetForegroundWindow(window());
    }
    void TearDown() override {
        DestroyWindow(window());  // unless the test has closed it
        pump();
        pendingDialogAction = nullptr;  // a dialog the test waited for in vain
    }

    HWND window() const { return frame.window(); }
    HWND panel() const { return frame.panel(); }
    HWND control(int id) const { return GetDlgItem(panel(), id); }
    MainWindow& editor() { return frame.editor(); }

    // Handles every waiting message as the program's loop does.
    void pump() {
        for (MSG m{}; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE) != FALSE;) {
            if (m.message == WM_KEYUP)
                released = m.wParam;
            frame.handleMessage(m, accelerators);
        }
    }
    void command(int id) {
        SendMessageW(window(), WM_COMMAND, static_cast<WPARAM>(id), 0);
        pump();
    }
    // Real input through the X server, each handled up to its release: a key with up to two
    // modifiers held, text typed over a field's whole text, a left click near the top or the
    // bottom of a control, and pointer moves to client points with the buttons given there
    // (0, MOUSEEVENTF_LEFTDOWN or LEFTUP), then `then`, F24 last telling when all was handled.
    static INPUT keyEvent(WORD vk, bool up = false) {
        return {INPUT_KEYBOARD, {.ki = {vk, 0, up ? DWORD{KEYEVENTF_KEYUP} : 0, 0, 0}}};
    }
    void press(WORD key, WORD modifier = 0, WORD second = 0) {
        std::vector<INPUT> events;
        const WORD downThenUp[] = {modifier, second, key, key, second, modifier};
        for (std::size_t i = 0; i < 6; ++i)
            if (downThenUp[i] != 0)
                events.push_back(keyEvent(downThenUp[i], i > 2));
        send(events, events.back().ki.wVk);
    }
    void typeInto(int field, const std::string& text) {
        SetFocus(control(field));
        SendMessageW(control(field), EM_SETSEL, 0, -1);
        for (const char c : text)
            press(c == '-' ? VK_OEM_MINUS : static_cast<WORD>(c));
    }
    void click(int id, bool upperHalf) {
        const RECT r = placeOf(control(id));
        const POINT at{r.left + 5, upperHalf ? r.top + 4 : r.bottom - 4};
        mouse({{at, MOUSEEVENTF_LEFTDOWN}, {at, MOUSEEVENTF_LEFTUP}});
    }
    INPUT pointerAt(POINT at, DWORD buttons = 0) const {
        ClientToScreen(window(), &at);
        const auto scale = [](LONG v, int metric) {
            const int size = GetSystemMetrics(metric);
            return static_cast<LONG>((v * 65535 + size / 2) / (size - 1));
        };
        return {INPUT_MOUSE,
                {.mi = {scale(at.x, SM_CXSCREEN), scale(at.y, SM_CYSCREEN), 0,
                        buttons | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0}}};
    }
    void mouse(std::initializer_list<std::pair<POINT, DWORD>> steps, std::vector<INPUT> then = {}) {
        std::vector<INPUT> events;
        for (const auto& [at, buttons] : steps)
            events.push_back(pointerAt(at, buttons));
        events.insert(events.end(), then.begin(), then.end());
        events.insert(events.end(), {keyEvent(VK_F24), keyEvent(VK_F24, true)});
        send(events, VK_F24);
    }
    // A picture scroll bar's notification, as a click on the bar sends it.
    void scroll(int bar, WPARAM code) {
        SendMessageW(window(), bar == IDC_PICTURE_HSCROLL ? WM_HSCROLL : WM_VSCROLL, code,
                     reinterpret_cast<LPARAM>(GetDlgItem(window(), bar)));
    }
    void send(std::vector<INPUT> events, WPARAM last) {
        released = 0;
        SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
        for (const ULONGLONG end = GetTickCount64() + 2000;
             (pump(), released != last) && GetTickCount64() < end;)
            Sleep(5);
        EXPECT_EQ(released, last) << "the input never arrived";
    }
    std::filesystem::path writeFont(const std::filesystem::path& name, std::size_t elements) {
        writeBytes(dir.file(name), GeoBuilder::grid(elements).build());
        return dir.file(name);
    }
    void open(const std::filesystem::path& font) {
        screen.file = font;
        command(IDM_LOAD);
    }

    // "~" before a greyed item, "+" after a checked one, then whether the panel is enabled.
    std::string menus() const {
        std::istringstream names(
            "save as import export edit view full element transparency reimport");
        std::string out, name;
        for (const int item :
             {IDM_SAVE, IDM_SAVE_AS, IDM_IMPORT, IDM_EXPORT, MENU_POS_EDIT, MENU_POS_VIEW,
              IDM_FULL_PICTURE, IDM_PICTURE_ELEMENT, IDM_TRANSPARENCY, IDM_RESET_IMPORT}) {
            const UINT state = GetMenuState(GetMenu(window()), static_cast<UINT>(item),
                                            item < 10 ? MF_BYPOSITION : MF_BYCOMMAND);
            names >> name;
            out.append((state & MF_GRAYED) != 0 ? "~" : "").append(name);
            out.append((state & MF_CHECKED) != 0 ? "+ " : " ");
        }
        return out + (IsWindowEnabled(panel()) != FALSE ? "panel" : "~panel");
    }
    // The nine fields from Number to Display pos Y, then the Color entry and the Scale.
    std::string fields() const {
        std::string out;
        for (const int id : {IDC_NUMBER, IDC_WIDTH, IDC_HEIGHT, IDC_POS_X, IDC_POS_Y,
                             IDC_RESIZE_WIDTH, IDC_RESIZE_HEIGHT, IDC_DISPLAY_X, IDC_DISPLAY_Y}) {
            char text[32] = {};
            GetDlgItemTextA(panel(), id, text, sizeof text);
            out.append(text).append(",");
        }
        return out + " c" + std::to_string(SendMessageW(control(IDC_COLOR), CB_GETCURSEL, 0, 0)) +
               " s" + std::to_string(SendMessageW(control(IDC_SCALE), TBM_GETPOS, 0, 0));
    }
    // Pixels of the picture area, as the window shows them once it has painted what it
    // invalidated, that differ from the view surface's top-left columns x rows enlarged by
    // `zoom` and scrolled by (x, y), with grey around it; with `grid`, the first column and
    // row of each block but the first are half as bright, or 0x40 brighter where dark.
    int wrongPixels(int zoom, int columns, int rows, LONG x = 0, LONG y = 0, bool grid = false) {
        RedrawWindow(window(), nullptr, nullptr, RDW_UPDATENOW);
        const LONG width = frame.pictureArea().right, height = frame.pictureArea().bottom;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        const HDC dc = GetDC(window()), memory = CreateCompatibleDC(dc);
        const HBITMAP shot = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        SelectObject(memory, shot);
        BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        DeleteDC(memory);
        ReleaseDC(window(), dc);
        const std::vector<std::uint32_t> view = dibPixels(*editor().viewSurface());  // as BGR0
        int wrong = 0;
        for (LONG i = 0; i < width * height; ++i) {
            const LONG px = i % width + x, py = i / width + y;
            std::uint32_t expected = kMarginGrey;
            if (px < columns * zoom && py < rows * zoom) {
                expected = view.data()[py / zoom * kSurfaceWidth + px / zoom];
                if (grid && ((px % zoom == 0 && px > 0) || (py % zoom == 0 && py > 0)))
                    expected = (expected & 0xC0C0C0) == 0 ? expected + 0x404040
                                                          : (expected >> 1) & 0x7F7F7F;
            }
            wrong += (static_cast<std::uint32_t*>(bits)[i] & 0xFFFFFF) != expected;
        }
        DeleteObject(shot);
        return wrong;
    }
    // The status bar's text: the hint, or the parts separated by "|".
    std::wstring statusText() const {
        const HWND bar = GetDlgItem(window(), IDC_STATUS_BAR);
        const bool simple = SendMessageW(bar, SB_ISSIMPLE, 0, 0) != FALSE;
        std::wstring out;
        for (WPARAM part = 0; part < (simple ? 1u : 5u); ++part) {
            wchar_t text[128] = {};
            SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
            out.append(text).append(part < 4 && !simple ? L"|" : L"");
        }
        return out;
    }
    // Where a child window lies in the main window's client area.
    RECT placeOf(HWND child) const {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // Runs `action` on the first dialog window (#32770) shown while a modal call runs, from
    // a timer that the modal loop dispatches, after adding the dialog's caption and its
    // controls' texts to `seen`, each followed by "|".
    static void whenDialogAppears(std::function<void(HWND)> action) {
        pendingDialogAction = std::move(action);
        seen.clear();
        SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
            const HWND dialog = FindWindowW(L"#32770", nullptr);
            if (dialog == nullptr || !IsWindowVisible(dialog) || !pendingDialogAction)
                return;
            KillTimer(nullptr, timer);
            for (HWND w = dialog; w != nullptr;
                 w = GetWindow(w, w == dialog ? GW_CHILD : GW_HWNDNEXT))
                seen += textOf(w) + L"|";
            std::exchange(pendingDialogAction, nullptr)(dialog);
        });
    }
    // Types `file` into a file dialog's name box (0x47c under Wine) and presses OK.
    static void choose(HWND dialog, const std::filesystem::path& file) {
        SetDlgItemTextW(dialog, 0x47c, file.c_str());
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    TempDir dir;
    GeoDocument document;
    TestScreen screen;
    ui::MainFrame frame{GetModuleHandleW(nullptr), document, screen};
    HACCEL accelerators =
        LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    WPARAM released = 0;  // the last key or mouse button whose release was handled
};

}  // namespace zt9::test
