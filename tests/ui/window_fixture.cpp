#include "ui/window_fixture.h"

#include <commctrl.h>

#include <cstring>
#include <thread>

#include "ui/wide_text.h"

namespace zt9::test {

namespace {

template <class T>
T take(std::deque<T>& queue, T otherwise) {
    if (queue.empty())
        return otherwise;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

std::function<void(HWND)> pendingDialogAction;
UINT_PTR dialogTimer = 0;

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, ARRAYSIZE(name));
    if (std::wstring_view(name) == L"#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK lookForDialog(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr || !pendingDialogAction)
        return;
    KillTimer(nullptr, dialogTimer);
    std::exchange(pendingDialogAction, nullptr)(dialog);
}

}  // namespace

std::optional<FileChoice> TestScreen::chooseFile(const FileDialog& dialog) {
    dialogs.push_back(dialog);
    log.emplace_back(dialog.save ? "save dialog" : "open dialog");
    if (realFileDialogs)
        return Win32Screen::chooseFile(dialog);
    return take(fileAnswers, std::optional<FileChoice>{});
}

bool TestScreen::askYesNo(std::string_view text, std::string_view caption) {
    log.push_back("ask " + std::string(caption) + ": " + std::string(text));
    return realMessageBoxes ? Win32Screen::askYesNo(text, caption) : take(yesNoAnswers, false);
}

void TestScreen::showError(std::string_view text) {
    log.push_back("error: " + std::string(text));
    if (realMessageBoxes)
        Win32Screen::showError(text);
}

void TestScreen::showMessage(std::string_view text, std::string_view caption) {
    log.push_back("message " + std::string(caption) + ": " + std::string(text));
    if (realMessageBoxes)
        Win32Screen::showMessage(text, caption);
}

std::uint32_t Capture::at(int x, int y) const {
    const std::uint32_t bgr = pixels.at(static_cast<std::size_t>(y * width + x)) & 0xFFFFFF;
    return (bgr & 0x00FF00) | (bgr >> 16) | ((bgr & 0xFF) << 16);
}

void WindowTest::SetUp() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    frame = std::make_unique<ui::MainFrame>(instance, document, screen);
    ASSERT_NE(frame->create(SW_SHOWNORMAL), nullptr);
    // A fixed size, so the picture and panel always have room.
    MoveWindow(window(), 0, 0, 1100, 800, TRUE);
    focus(window());
    pump();
}

void WindowTest::TearDown() {
    if (frame && window() != nullptr)
        DestroyWindow(window());
    pump();
    frame.reset();
    DestroyAcceleratorTable(accelerators);
}

void WindowTest::pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (message.message == WM_QUIT) {
            quitPosted = true;
            continue;
        }
        frame->handleMessage(message, accelerators);
    }
}

bool WindowTest::pumpUntil(const std::function<bool()>& done, int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done() && std::chrono::steady_clock::now() < end) {
        pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pump();
    return done();
}

void WindowTest::command(int id, LPARAM param) {
    SendMessageW(window(), WM_COMMAND, MAKEWPARAM(id, 0), param);
    pump();
}

void WindowTest::focus(HWND target) {
    SetForegroundWindow(window());
    SetFocus(target);
    pump();
}

void WindowTest::pressKey(WORD key, bool control, bool shift) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    if (control)
        add(VK_CONTROL, false);
    if (shift)
        add(VK_SHIFT, false);
    add(key, false);
    add(key, true);
    if (shift)
        add(VK_SHIFT, true);
    if (control)
        add(VK_CONTROL, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // The events travel through the X server; wait until the key's release has arrived.
    pumpUntil([] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) == 0; }, 200);
    MSG message{};
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    while (std::chrono::steady_clock::now() < end) {
        if (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) == FALSE &&
            GetQueueStatus(QS_INPUT) == 0)
            break;
        pump();
    }
    pumpUntil([] { return false; }, 30);
}

void WindowTest::type(const std::string& text) {
    for (const char c : text)
        pressKey(c == '-' ? VK_OEM_MINUS : static_cast<WORD>(c));
}

void WindowTest::click(HWND control, bool upperHalf) {
    RECT area{};
    GetWindowRect(control, &area);
    SetCursorPos((area.left + area.right) / 2, upperHalf
                                                   ? area.top + (area.bottom - area.top) / 4
                                                   : area.bottom - (area.bottom - area.top) / 4);
    pumpUntil([] { return false; }, 30);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    pumpUntil([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; }, 500);
    pumpUntil([] { return false; }, 100);
}

std::filesystem::path WindowTest::writeFont(const std::string& name, const GeoBuilder& font) {
    const std::filesystem::path path = dir.file(name);
    writeBytes(path, font.build());
    return path;
}

void WindowTest::open(const std::filesystem::path& font) {
    screen.fileAnswers.emplace_back(FileChoice{font, 1});
    command(IDM_LOAD);
}

std::wstring WindowTest::fieldText(int id) const {
    wchar_t text[64] = {};
    GetDlgItemTextW(panel(), id, text, ARRAYSIZE(text));
    return text;
}

UINT WindowTest::menuState(int id) const {
    return GetMenuState(GetMenu(window()), static_cast<UINT>(id), MF_BYCOMMAND);
}

Capture WindowTest::capture() {
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pump();
    RECT client{};
    GetClientRect(window(), &client);
    Capture result;
    result.width = client.right;
    result.height = client.bottom;
    result.pixels.resize(static_cast<std::size_t>(result.width * result.height));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = result.width;
    info.bmiHeader.biHeight = -result.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const HDC windowDc = GetDC(window());
    const HDC memory = CreateCompatibleDC(windowDc);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, result.width, result.height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(result.pixels.data(), bits, result.pixels.size() * sizeof(std::uint32_t));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window(), windowDc);
    return result;
}

void WindowTest::whenDialogAppears(std::function<void(HWND)> action) {
    pendingDialogAction = std::move(action);
    dialogTimer = SetTimer(nullptr, 0, 50, lookForDialog);
}

std::vector<std::wstring> WindowTest::dialogTexts(HWND dialog) {
    std::vector<std::wstring> texts;
    wchar_t caption[256] = {};
    GetWindowTextW(dialog, caption, ARRAYSIZE(caption));
    texts.emplace_back(caption);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[512] = {};
        GetWindowTextW(child, text, ARRAYSIZE(text));
        if (text[0] != L'\0')
            texts.emplace_back(text);
    }
    return texts;
}

}  // namespace zt9::test
