#include "ui/window_fixture.h"

#include <commctrl.h>

#include <chrono>
#include <thread>

#include "render/view_state.h"

namespace zt9::test {

namespace {

std::function<void(HWND)> pendingDialogAction;

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, ARRAYSIZE(name));
    const bool dialog = std::wstring_view(name) == L"#32770" && IsWindowVisible(window);
    if (dialog)
        *reinterpret_cast<HWND*>(found) = window;
    return dialog ? FALSE : TRUE;
}

void CALLBACK lookForDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog != nullptr && pendingDialogAction) {
        KillTimer(nullptr, timer);
        std::exchange(pendingDialogAction, nullptr)(dialog);
    }
}

}  // namespace

std::optional<FileChoice> TestScreen::chooseFile(const FileDialog& dialog) {
    log.emplace_back(dialog.save ? "save dialog" : "open dialog");
    if (realDialogs)
        return Win32Screen::chooseFile(dialog);
    if (files.empty())
        return std::nullopt;
    const FileChoice answer{files.front(), 1};
    files.pop_front();
    return answer;
}

bool TestScreen::askYesNo(std::string_view text, std::string_view caption) {
    log.push_back("ask " + std::string(caption) + ": " + std::string(text));
    return realBoxes && Win32Screen::askYesNo(text, caption);
}

void TestScreen::showMessage(std::string_view text, std::string_view caption) {
    log.push_back(std::string(caption) + ": " + std::string(text));
    if (realBoxes && caption == "Error")
        Win32Screen::showError(text);
    else if (realBoxes)
        Win32Screen::showMessage(text, caption);
}

void WindowTest::SetUp() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    frame = std::make_unique<ui::MainFrame>(GetModuleHandleW(nullptr), document, screen);
    ASSERT_NE(frame->create(SW_SHOWNORMAL), nullptr);
    MoveWindow(window(), 0, 0, 1100, 800, TRUE);  // room for the picture at zoom 3 and the panel
    focus(window());
}

void WindowTest::TearDown() {
    if (frame && window() != nullptr)
        DestroyWindow(window());
    pump();
    frame.reset();
    DestroyAcceleratorTable(accelerators);
}

void WindowTest::pump() {
    for (MSG message{}; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE;) {
        if (message.message == WM_KEYUP || message.message == WM_LBUTTONUP)
            released = message.message == WM_KEYUP ? message.wParam : VK_LBUTTON;
        if (message.message == WM_QUIT)
            quitPosted = true;
        else
            frame->handleMessage(message, accelerators);
    }
}

bool WindowTest::until(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (pump(); !done() && std::chrono::steady_clock::now() < end; pump())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return done();
}

void WindowTest::command(int id) {
    SendMessageW(window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    pump();
}

void WindowTest::focus(HWND target) {
    SetForegroundWindow(window());
    SetFocus(target);
    pump();
}

void WindowTest::press(WORD key, WORD modifier) {
    std::vector<INPUT> events;
    for (const auto& [vk, up] : {std::pair{modifier, 0u}, {key, 0u}, {key, 1u}, {modifier, 1u}}) {
        if (vk != 0)
            events.push_back({INPUT_KEYBOARD, {.ki = {vk, 0, up * KEYEVENTF_KEYUP, 0, 0}}});
    }
    released = 0;
    SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
    const WORD last = modifier != 0 ? modifier : key;
    EXPECT_TRUE(until([&] { return released == last; })) << "key " << key << " never arrived";
}

void WindowTest::typeInto(int field, const std::string& text) {
    focus(control(field));
    SendMessageW(control(field), EM_SETSEL, 0, -1);
    for (const char c : text)
        press(c == '-' ? VK_OEM_MINUS : static_cast<WORD>(c));
}

void WindowTest::click(int id, bool upperHalf) {
    RECT area{};
    GetWindowRect(control(id), &area);
    SetCursorPos((area.left + area.right) / 2,
                 upperHalf ? (3 * area.top + area.bottom) / 4 : (area.top + 3 * area.bottom) / 4);
    INPUT events[2] = {{INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTDOWN, 0, 0}}},
                       {INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTUP, 0, 0}}}};
    released = 0;
    SendInput(2, events, sizeof(INPUT));
    EXPECT_TRUE(until([&] { return released == VK_LBUTTON; })) << "click never arrived";
}

std::filesystem::path WindowTest::writeFont(const std::string& name, std::size_t elements) {
    writeBytes(dir.file(name), GeoBuilder::grid(elements).build());
    return dir.file(name);
}

void WindowTest::open(const std::filesystem::path& font) {
    screen.files.push_back(font);
    command(IDM_LOAD);
}

std::string WindowTest::menus() const {
    static const std::tuple<const char*, UINT, UINT> kItems[] = {
        {"save", IDM_SAVE, MF_BYCOMMAND},
        {"as", IDM_SAVE_AS, MF_BYCOMMAND},
        {"import", IDM_IMPORT, MF_BYCOMMAND},
        {"export", IDM_EXPORT, MF_BYCOMMAND},
        {"edit", MENU_POS_EDIT, MF_BYPOSITION},
        {"view", MENU_POS_VIEW, MF_BYPOSITION},
        {"full", IDM_FULL_PICTURE, MF_BYCOMMAND},
        {"element", IDM_PICTURE_ELEMENT, MF_BYCOMMAND},
        {"transparency", IDM_TRANSPARENCY, MF_BYCOMMAND},
        {"reimport", IDM_RESET_IMPORT, MF_BYCOMMAND}};
    std::string out;
    for (const auto& [name, item, by] : kItems) {
        const UINT state = GetMenuState(GetMenu(window()), item, by);
        out.append((state & MF_GRAYED) != 0 ? "~" : "").append(name);
        out.append((state & MF_CHECKED) != 0 ? "+ " : " ");
    }
    return out + (IsWindowEnabled(panel()) != FALSE ? "panel" : "~panel");
}

std::string WindowTest::fields() const {
    std::string out;
    for (const int id : {IDC_NUMBER, IDC_WIDTH, IDC_HEIGHT, IDC_POS_X, IDC_POS_Y, IDC_RESIZE_WIDTH,
                         IDC_RESIZE_HEIGHT, IDC_DISPLAY_X, IDC_DISPLAY_Y}) {
        char text[32] = {};
        GetDlgItemTextA(panel(), id, text, sizeof text);
        out.append(text).append(",");
    }
    return out + " c" + std::to_string(SendMessageW(control(IDC_COLOR), CB_GETCURSEL, 0, 0)) +
           " s" + std::to_string(SendMessageW(control(IDC_SCALE), TBM_GETPOS, 0, 0));
}

int WindowTest::wrongPixels(int zoom, int columns, int rows) {
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pump();
    const RECT area = frame->pictureArea();
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof info.bmiHeader, area.right, -area.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> shot(static_cast<std::size_t>(area.right * area.bottom));
    const HDC dc = GetDC(window());
    const HDC memory = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, area.right, area.bottom);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, area.right, area.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(area.bottom), shot.data(), &info,
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window(), dc);
    int wrong = 0;
    for (int y = 0; y < area.bottom; ++y) {
        for (int x = 0; x < area.right; ++x) {
            const std::uint32_t rgb = shot[static_cast<std::size_t>(y * area.right + x)];
            const std::uint32_t seen = (rgb & 0xFF00) | (rgb >> 16 & 0xFF) | (rgb & 0xFF) << 16;
            wrong += seen != (x < columns * zoom && y < rows * zoom
                                  ? editor().viewSurface()->pixel(x / zoom, y / zoom)
                                  : kMarginGrey);
        }
    }
    return wrong;
}

void WindowTest::whenDialogAppears(std::function<void(HWND)> action) {
    pendingDialogAction = std::move(action);
    SetTimer(nullptr, 0, 50, lookForDialog);
}

std::vector<std::wstring> WindowTest::dialogTexts(HWND dialog) {
    std::vector<std::wstring> texts;
    for (HWND child = dialog; child != nullptr;
         child = GetWindow(child, child == dialog ? GW_CHILD : GW_HWNDNEXT)) {
        wchar_t text[512] = {};
        if (GetWindowTextW(child, text, ARRAYSIZE(text)) > 0)
            texts.emplace_back(text);
    }
    return texts;
}

}  // namespace zt9::test
