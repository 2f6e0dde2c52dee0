#include "ui/main_frame.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "editor/texts.h"
#include "resources/resource.h"
#include "ui/element_panel.h"
#include "ui/wide_text.h"

namespace zt9::ui {
namespace {
constexpr PointerEvent::Button kLeft = PointerEvent::Button::left;
constexpr PointerEvent::Button kRight = PointerEvent::Button::right;
}  // namespace

const MainFrame::Handler MainFrame::kHandlers[] = {
    {WM_CREATE, false, &MainFrame::onCreate},
    {WM_SIZE, true, &MainFrame::onSize},
    {WM_PAINT, true, &MainFrame::onPaint},
    {WM_ERASEBKGND, true, &MainFrame::onEraseBackground},
    {WM_CLOSE, false, &MainFrame::onClose},
    {WM_QUERYENDSESSION, false, &MainFrame::onQueryEndSession},
    {WM_DESTROY, false, &MainFrame::onDestroy},
    {WM_COMMAND, false, &MainFrame::onCommand},
    {WM_DROPFILES, false, &MainFrame::onDropFiles},
    {WM_DPICHANGED, true, &MainFrame::onDpiChanged},
    {UM_RENDER, true, &MainFrame::onRender},
    {UM_COMPOSE, true, &MainFrame::onCompose},
    {UM_RESET_VIEW, false, &MainFrame::onResetView},
    {UM_CLEAR_VIEW, false, &MainFrame::onClearView},
    {UM_SHOW_CLAMP, false, &MainFrame::onShowClamp},
    {UM_REPORT_FAILURE, false, &MainFrame::onReportFailure},
    {WM_MOUSEMOVE, false, &MainFrame::onMouseMove},
    {WM_LBUTTONDOWN, false, &MainFrame::onButton<PointerEvent::Kind::press, kLeft>},
    {WM_LBUTTONUP, false, &MainFrame::onButton<PointerEvent::Kind::release, kLeft>},
    {WM_LBUTTONDBLCLK, false, &MainFrame::onButton<PointerEvent::Kind::doubleClick, kLeft>},
    {WM_RBUTTONDOWN, false, &MainFrame::onButton<PointerEvent::Kind::press, kRight>},
    {WM_RBUTTONUP, false, &MainFrame::onButton<PointerEvent::Kind::release, kRight>},
    {WM_CAPTURECHANGED, false, &MainFrame::onCaptureChanged},
    {WM_SETCURSOR, false, &MainFrame::onSetCursor},
    {WM_MOUSELEAVE, false, &MainFrame::onMouseLeave},
    {WM_MOUSEWHEEL, false, &MainFrame::onMouseWheel},
    {WM_MOUSEHWHEEL, false, &MainFrame::onMouseHorizontalWheel},
    {WM_HSCROLL, false, &MainFrame::onHorizontalScroll},
    {WM_VSCROLL, false, &MainFrame::onVerticalScroll},
    {WM_CLIPBOARDUPDATE, false, &MainFrame::onClipboardChanged},
    {WM_INITMENUPOPUP, false, &MainFrame::onClipboardChanged},
};

MainFrame::MainFrame(HINSTANCE instance, GeoDocument& document, Win32Screen& screen)
    : instance_(instance), screen_(screen), editor_(document, screen) {
    editor_.setClipboard(&clipboard_);
}

MainFrame::~MainFrame() {
    if (window_ != nullptr)
        DestroyWindow(window_);
}

HWND MainFrame::create(int showCommand) {
    const std::wstring className = fromCodePage1251(text::kWindowClassName);
    const std::wstring title = fromCodePage1251(text::kProgramTitle);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP_ICON));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
    windowClass.lpszClassName = className.c_str();
    // A second window in the same process (tests) finds the class registered already.
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance_, className.c_str(), &existing) == FALSE &&
        RegisterClassExW(&windowClass) == 0) {
        const std::wstring message =
            fromCodePage1251(std::string(text::kCannotRegisterClass) + text::kWindowClassName);
        MessageBoxW(nullptr, message.c_str(), L"Error", MB_OK);
        return nullptr;
    }
    const HWND created = CreateWindowExW(WS_EX_ACCEPTFILES, className.c_str(), title.c_str(),
                                         WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, 0,
                                         CW_USEDEFAULT, 0, nullptr, nullptr, instance_, this);
    if (created == nullptr) {
        const std::wstring message =
            fromCodePage1251(std::string(text::kCannotCreateWindow) + text::kProgramTitle);
        MessageBoxW(nullptr, message.c_str(), L"Error", MB_OK);
        return nullptr;
    }
    ShowWindow(created, showCommand);
    return created;
}

void MainFrame::loadAtStart(const std::filesystem::path& path) {
    editor_.fileName = path;
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IDM_LOAD, 0), 1);
}

namespace {

// Ctrl+Z, Ctrl+X, Ctrl+C and Ctrl+V belong to the text of a panel field that has the
// keyboard focus, as in every Windows program; elsewhere they are the editor's keys.
bool isFieldTextKey(const MSG& message, HWND panel) {
    if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0)
        return false;
    if (message.wParam != 'Z' && message.wParam != 'X' && message.wParam != 'C' &&
        message.wParam != 'V')
        return false;
    const HWND focus = GetFocus();
    wchar_t className[8] = {};
    return panel != nullptr && focus != nullptr && IsChild(panel, focus) != FALSE &&
           GetClassNameW(focus, className, ARRAYSIZE(className)) > 0 &&
           lstrcmpiW(className, L"Edit") == 0;
}

}  // namespace

void MainFrame::handleMessage(MSG& message, HACCEL accelerators) {
    // Alt held for a click on the picture (Alt+click picks a colour) is no menu key: its
    // release must not open the menu bar.
    if ((message.message == WM_SYSKEYUP || message.message == WM_KEYUP) &&
        message.wParam == VK_MENU && std::exchange(altClicked_, false))
        return;
    if (message.message == WM_SYSKEYDOWN && message.wParam == VK_MENU &&
        (message.lParam & (LPARAM{1} << 30)) == 0)
        altClicked_ = false;  // a new press, not the key repeating
    // The wheel goes to the window with the keyboard focus, which may be a panel field or
    // the Scale slider; over the picture it scrolls the picture, as in other editors.
    if ((message.message == WM_MOUSEWHEEL || message.message == WM_MOUSEHWHEEL) &&
        message.hwnd != window_ &&
        overPicture({GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)}))
        message.hwnd = window_;
    // Escape gives up a stroke or drag under way, wherever the keyboard focus is.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && window_ != nullptr &&
        GetCapture() == window_) {
        bool cancelled = false;
        editor_.frame([&] { cancelled = editor_.pointerCancel(); });
        if (cancelled) {
            ReleaseCapture();
            return;
        }
    }
    if (window_ != nullptr && !isFieldTextKey(message, panel_) &&
        TranslateAcceleratorW(window_, accelerators, &message) != 0)
        return;
    // The dialog keys go to the panel, and only for the panel's own controls: the main
    // window is no dialog, and UM_RENDER has the value of DM_SETDEFID.
    if (panel_ != nullptr && IsDialogMessageW(panel_, &message) != FALSE)
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

LRESULT CALLBACK MainFrame::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* frame =
            static_cast<MainFrame*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        frame->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
    }
    auto* frame = reinterpret_cast<MainFrame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (frame == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return frame->handle(message, wParam, lParam);
}

LRESULT MainFrame::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    for (const Handler& handler : kHandlers) {
        if (handler.message != message)
            continue;
        LRESULT result = 0;
        const auto call = [&] { result = (this->*handler.run)(wParam, lParam); };
        if (handler.quiet)
            editor_.quietFrame(call);
        else
            editor_.frame(call);
        return result;
    }
    const HWND self = window_;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(self, GWLP_USERDATA, 0);
        window_ = nullptr;
    }
    return DefWindowProcW(self, message, wParam, lParam);
}

// --- Creation, layout, closing -------------------------------------------------------------

LRESULT MainFrame::onCreate(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    const HMENU menu = GetMenu(window_);
    CheckMenuRadioItem(GetSubMenu(menu, MENU_POS_VIEW), IDM_FULL_PICTURE, IDM_PICTURE_ELEMENT,
                       IDM_FULL_PICTURE, MF_BYCOMMAND);
    CheckMenuItem(menu, IDM_TRANSPARENCY, MF_BYCOMMAND | MF_CHECKED);
    screen_.attach(window_, nullptr);
    panel_ = createElementPanel(instance_, window_, editor_);
    if (panel_ == nullptr)
        return -1;  // no window without its panel; creation reports the failure
    screen_.attach(window_, panel_);
    const auto child = [&](const wchar_t* type, DWORD style, int id) {
        return CreateWindowExW(0, type, nullptr, WS_CHILD | style, 0, 0, 0, 0, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_,
                               nullptr);
    };
    statusBar_ = child(STATUSCLASSNAMEW, WS_VISIBLE | SBARS_SIZEGRIP, IDC_STATUS_BAR);
    horizontalBar_ = child(L"SCROLLBAR", SBS_HORZ, IDC_PICTURE_HSCROLL);
    verticalBar_ = child(L"SCROLLBAR", SBS_VERT, IDC_PICTURE_VSCROLL);
    if (statusBar_ == nullptr || horizontalBar_ == nullptr || verticalBar_ == nullptr)
        return -1;
    layout();
    editor_.createSurfaces();
    // Paste is offered while the clipboard holds a picture: told of every change.
    clipboard_.attach(window_);
    AddClipboardFormatListener(window_);
    editor_.clipboardChanged();
    return 0;
}

void MainFrame::layout() {
    RECT client{};
    GetClientRect(window_, &client);
    SendMessageW(statusBar_, WM_SIZE, 0, 0);  // it docks itself along the bottom
    RECT status{};
    GetWindowRect(statusBar_, &status);
    const LONG above = std::max<LONG>(client.bottom - (status.bottom - status.top), 0);
    RECT docked{};
    GetWindowRect(panel_, &docked);
    const LONG width = docked.right - docked.left;
    MoveWindow(panel_, client.right - width, 0, width, above, TRUE);
    setStatusParts();
    const UINT dpi = GetDpiForWindow(window_);
    editor_.setPictureRoom(client.right - width, above, GetSystemMetricsForDpi(SM_CXVSCROLL, dpi),
                           GetSystemMetricsForDpi(SM_CYHSCROLL, dpi));
}

void MainFrame::setStatusParts() {
    // The right edges of the element, pointer, tool and zoom parts at 96 dots per inch;
    // Modified takes the rest.
    const std::array<int, 4> edges{250, 460, 580, 630};
    std::array<int, 5> scaled{};
    const UINT dpi = GetDpiForWindow(window_);
    for (std::size_t i = 0; i < edges.size(); ++i)
        scaled.at(i) = MulDiv(edges.at(i), static_cast<int>(dpi), 96);
    scaled.back() = -1;
    SendMessageW(statusBar_, SB_SETPARTS, scaled.size(), reinterpret_cast<LPARAM>(scaled.data()));
}

RECT MainFrame::pictureArea() const {
    const PictureViewport& viewport = editor_.viewport();
    return {0, 0, static_cast<LONG>(viewport.viewWidth()),
            static_cast<LONG>(viewport.viewHeight())};
}

LRESULT MainFrame::onSize(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (panel_ != nullptr && statusBar_ != nullptr)
        layout();
    return 0;
}

LRESULT MainFrame::onDpiChanged(WPARAM /*wParam*/, LPARAM lParam) {
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT MainFrame::onClose(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    editor_.close();
    return 0;
}

LRESULT MainFrame::onQueryEndSession(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return editor_.queryEndSession() ? TRUE : FALSE;
}

LRESULT MainFrame::onDestroy(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    editor_.windowDestroyed();
    RemoveClipboardFormatListener(window_);
    if (panel_ != nullptr)
        DestroyWindow(panel_);
    panel_ = nullptr;
    PostQuitMessage(0);
    return 0;
}

// --- Painting -----------------------------------------------------------------------------

LRESULT MainFrame::onPaint(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    // EndPaint runs however the painting ends.
    struct Paint {
        HWND window;
        PAINTSTRUCT paint{};
        HDC dc;
        explicit Paint(HWND w) : window(w), dc(BeginPaint(w, &paint)) {}
        ~Paint() { EndPaint(window, &paint); }
        Paint(const Paint&) = delete;
        Paint& operator=(const Paint&) = delete;
    } paint(window_);
    painter_.paint(paint.dc, paint.paint.rcPaint, editor_.paintPlan(), editor_.viewSurface(),
                   editor_.frameVersion());
    return 0;
}

// NOLINTNEXTLINE(readability-convert-member-functions-to-static): a handler of the table
LRESULT MainFrame::onEraseBackground(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return 0;  // painting covers the picture area by itself
}

// --- Commands and view messages ------------------------------------------------------------

LRESULT MainFrame::onCommand(WPARAM wParam, LPARAM lParam) {
    editor_.command(LOWORD(wParam), static_cast<std::intptr_t>(lParam));
    return 0;
}

LRESULT MainFrame::onDropFiles(WPARAM wParam, LPARAM /*lParam*/) {
    auto* const drop = reinterpret_cast<HDROP>(wParam);
    // Each path whole, at the length the platform reports, however long.
    std::vector<std::filesystem::path> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + std::size_t{1}, L'\0');
        const UINT copied = DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size()));
        path.resize(copied);
        paths.emplace_back(std::move(path));
    }
    DragFinish(drop);
    editor_.dropFiles(std::move(paths));
    return 0;
}

LRESULT MainFrame::onRender(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    editor_.render();
    return 0;
}

LRESULT MainFrame::onCompose(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    editor_.compose();
    return 0;
}

LRESULT MainFrame::onResetView(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    editor_.resetView();
    return 0;
}

LRESULT MainFrame::onClearView(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    editor_.clearView();
    return 0;
}

LRESULT MainFrame::onShowClamp(WPARAM wParam, LPARAM /*lParam*/) {
    editor_.showClamp(static_cast<int>(wParam));
    return 0;
}

LRESULT MainFrame::onClipboardChanged(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    editor_.clipboardChanged();
    return 0;
}

LRESULT MainFrame::onReportFailure(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    editor_.reportFailure();
    return 0;
}

// --- The pointer, the wheels and the scroll bars ----------------------------------------------

LRESULT MainFrame::onMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!trackingPointer_) {
        TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, window_, 0};
        trackingPointer_ = TrackMouseEvent(&leave) != FALSE;
    }
    pointer(PointerEvent::Kind::move, PointerEvent::Button::none, wParam, lParam);
    return 0;
}

void MainFrame::pointer(PointerEvent::Kind kind, PointerEvent::Button button, WPARAM wParam,
                        LPARAM lParam) {
    const bool alt = GetKeyState(VK_MENU) < 0;
    altClicked_ = altClicked_ || (alt && kind != PointerEvent::Kind::move);
    const bool hold = editor_.pointerEvent({.kind = kind,
                                            .button = button,
                                            .point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                                            .shift = (wParam & MK_SHIFT) != 0,
                                            .control = (wParam & MK_CONTROL) != 0,
                                            .alt = alt});
    // While a stroke or drag is under way, moves and the release arrive wherever the pointer
    // goes; the capture is let go once the editor is done with it.
    if (hold && GetCapture() != window_)
        SetCapture(window_);
    else if (!hold && GetCapture() == window_)
        ReleaseCapture();
}

LRESULT MainFrame::onCaptureChanged(WPARAM /*wParam*/, LPARAM lParam) {
    // Lost to another window, a message box or Alt+Tab: whatever was under way ends there.
    if (reinterpret_cast<HWND>(lParam) != window_)
        editor_.pointerCaptureLost();
    return 0;
}

LRESULT MainFrame::onSetCursor(WPARAM wParam, LPARAM lParam) {
    POINT at{};
    if (reinterpret_cast<HWND>(wParam) != window_ || LOWORD(lParam) != HTCLIENT ||
        GetCursorPos(&at) == FALSE || ScreenToClient(window_, &at) == FALSE)
        return DefWindowProcW(window_, WM_SETCURSOR, wParam, lParam);
    static const std::array<LPCWSTR, 5> kShapes{IDC_ARROW, IDC_CROSS, IDC_SIZEWE, IDC_SIZENS,
                                                IDC_SIZENWSE};
    const auto shape = static_cast<std::size_t>(editor_.pointerCursor({at.x, at.y}));
    SetCursor(LoadCursorW(nullptr, kShapes.at(shape)));
    return TRUE;
}

LRESULT MainFrame::onMouseLeave(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    trackingPointer_ = false;
    editor_.pointerMoved(std::nullopt);
    return 0;
}

bool MainFrame::overPicture(POINT screenPoint) const {
    const HWND under = WindowFromPoint(screenPoint);
    return under != nullptr &&
           (under == window_ || under == horizontalBar_ || under == verticalBar_);
}

void MainFrame::wheel(WPARAM wParam, LPARAM lParam, bool sideways) {
    // The point comes in screen coordinates.
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window_, &at);
    const WORD keys = GET_KEYSTATE_WPARAM(wParam);
    editor_.wheel({.delta = GET_WHEEL_DELTA_WPARAM(wParam),
                   .sideways = sideways,
                   .control = (keys & MK_CONTROL) != 0,
                   .shift = (keys & MK_SHIFT) != 0,
                   .pointer = {at.x, at.y}});
}

LRESULT MainFrame::onMouseWheel(WPARAM wParam, LPARAM lParam) {
    wheel(wParam, lParam, false);
    return 0;
}

LRESULT MainFrame::onMouseHorizontalWheel(WPARAM wParam, LPARAM lParam) {
    wheel(wParam, lParam, true);
    return 0;
}

void MainFrame::scrolled(ScrollAxis axis, WPARAM wParam, HWND bar) {
    if (bar != horizontalBar_ && bar != verticalBar_)
        return;
    ScrollAction action = ScrollAction::to;
    std::int64_t position = 0;
    switch (LOWORD(wParam)) {
        case SB_LINEUP:
            action = ScrollAction::lineBack;
            break;
        case SB_LINEDOWN:
            action = ScrollAction::lineForward;
            break;
        case SB_PAGEUP:
            action = ScrollAction::pageBack;
            break;
        case SB_PAGEDOWN:
            action = ScrollAction::pageForward;
            break;
        case SB_TOP:
            action = ScrollAction::start;
            break;
        case SB_BOTTOM:
            action = ScrollAction::end;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The 32-bit track position, not the message's 16 bits.
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(bar, SB_CTL, &info);
            position = info.nTrackPos;
            break;
        }
        default:
            return;  // SB_ENDSCROLL
    }
    editor_.scrollBarMoved(axis, action, position);
}

LRESULT MainFrame::onHorizontalScroll(WPARAM wParam, LPARAM lParam) {
    scrolled(ScrollAxis::across, wParam, reinterpret_cast<HWND>(lParam));
    return 0;
}

LRESULT MainFrame::onVerticalScroll(WPARAM wParam, LPARAM lParam) {
    scrolled(ScrollAxis::down, wParam, reinterpret_cast<HWND>(lParam));
    return 0;
}

}  // namespace zt9::ui
