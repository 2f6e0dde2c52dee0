#pragma once

#include <windows.h>

#include <filesystem>

#include "document/geo_document.h"
#include "editor/main_window.h"
#include "ui/painter.h"
#include "ui/win32_clipboard.h"
#include "ui/win32_screen.h"

namespace zt9::ui {

// The program's main window on Win32: registers "mainWindClass", creates the window with
// the menu and the docked element panel, and turns each message into one call of the
// editor inside its failure frame. It holds no command logic.
class MainFrame {
  public:
    MainFrame(HINSTANCE instance, GeoDocument& document, Win32Screen& screen);
    ~MainFrame();
    MainFrame(const MainFrame&) = delete;
    MainFrame& operator=(const MainFrame&) = delete;

    // Registers the class and creates and shows the window. On failure the reason is shown
    // in a message box and the result is null.
    HWND create(int showCommand);
    // Loads a font given at start (a path from the command line), as a dropped file is.
    void loadAtStart(const std::filesystem::path& path);

    HWND window() const { return window_; }
    HWND panel() const { return panel_; }
    MainWindow& editor() { return editor_; }
    // The visible part of the picture area: left of the panel, above the status bar and
    // inside the scroll bars.
    RECT pictureArea() const;

    // One message of the thread's loop: accelerators first (so the editing keys work while
    // a panel field has the focus), then the panel's own dialog keys, then dispatch.
    void handleMessage(MSG& message, HACCEL accelerators);

  private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT onCreate(WPARAM wParam, LPARAM lParam);
    LRESULT onSize(WPARAM wParam, LPARAM lParam);
    LRESULT onPaint(WPARAM wParam, LPARAM lParam);
    LRESULT onEraseBackground(WPARAM wParam, LPARAM lParam);
    LRESULT onClose(WPARAM wParam, LPARAM lParam);
    LRESULT onQueryEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT onDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT onCommand(WPARAM wParam, LPARAM lParam);
    LRESULT onDropFiles(WPARAM wParam, LPARAM lParam);
    LRESULT onDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT onRender(WPARAM wParam, LPARAM lParam);
    LRESULT onCompose(WPARAM wParam, LPARAM lParam);
    LRESULT onResetView(WPARAM wParam, LPARAM lParam);
    LRESULT onClearView(WPARAM wParam, LPARAM lParam);
    LRESULT onShowClamp(WPARAM wParam, LPARAM lParam);
    LRESULT onReportFailure(WPARAM wParam, LPARAM lParam);
    // WM_CLIPBOARDUPDATE, and WM_INITMENUPOPUP as a menu opens: the state of Paste.
    LRESULT onClipboardChanged(WPARAM wParam, LPARAM lParam);
    LRESULT onMouseMove(WPARAM wParam, LPARAM lParam);
    // A button pressed, released or double-clicked: the event it stands for.
    template <PointerEvent::Kind kind, PointerEvent::Button button>
    LRESULT onButton(WPARAM wParam, LPARAM lParam) {
        pointer(kind, button, wParam, lParam);
        return 0;
    }
    LRESULT onCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT onSetCursor(WPARAM wParam, LPARAM lParam);
    // Hands one mouse event to the editor and holds or releases the capture as it says.
    void pointer(PointerEvent::Kind kind, PointerEvent::Button button, WPARAM wParam,
                 LPARAM lParam);
    LRESULT onMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT onMouseWheel(WPARAM wParam, LPARAM lParam);
    LRESULT onMouseHorizontalWheel(WPARAM wParam, LPARAM lParam);
    LRESULT onHorizontalScroll(WPARAM wParam, LPARAM lParam);
    LRESULT onVerticalScroll(WPARAM wParam, LPARAM lParam);
    void wheel(WPARAM wParam, LPARAM lParam, bool sideways);
    void scrolled(ScrollAxis axis, WPARAM wParam, HWND bar);
    // Whether a wheel at this screen point belongs to the picture area, whichever window
    // has the keyboard focus.
    bool overPicture(POINT screenPoint) const;

    struct Handler {
        UINT message;
        bool quiet;  // painting and rendering: no message box from inside
        LRESULT (MainFrame::*run)(WPARAM, LPARAM);
    };
    static const Handler kHandlers[];

    // The status bar along the bottom, the panel docked at the right edge above it, and the
    // rest as the picture's room.
    void layout();
    void setStatusParts();

    HINSTANCE instance_;
    Win32Screen& screen_;
    MainWindow editor_;
    Painter painter_;
    Win32Clipboard clipboard_;
    HWND window_ = nullptr;
    HWND panel_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND horizontalBar_ = nullptr;
    HWND verticalBar_ = nullptr;
    bool trackingPointer_ = false;  // a WM_MOUSELEAVE is asked for
    bool altClicked_ = false;       // a click with Alt held since Alt went down
};

}  // namespace zt9::ui
