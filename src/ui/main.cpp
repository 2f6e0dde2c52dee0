// The ZT9 font editor: one window with its element panel, on one font at a time.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "document/geo_document.h"
#include "resources/resource.h"
#include "ui/main_frame.h"
#include "ui/win32_screen.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/,
                    int nShowCmd) {
    // The panel's arrows and slider are common controls; they must exist before the panel.
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    zt9::GeoDocument document;
    zt9::ui::Win32Screen screen;
    zt9::ui::MainFrame frame(hInstance, document, screen);
    const HACCEL accelerators = LoadAcceleratorsW(hInstance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    if (frame.create(nShowCmd) == nullptr) {
        DestroyAcceleratorTable(accelerators);
        return 1;
    }

    // A font named on the command line ("Open with", a file association) opens at once.
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments != nullptr && count > 1)
        frame.loadAtStart(arguments[1]);
    LocalFree(arguments);

    MSG message{};
    int exitCode = 0;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            exitCode = static_cast<int>(message.wParam);
            break;
        }
        if (got == -1) {  // the loop itself failed: stop rather than spin
            exitCode = 1;
            break;
        }
        frame.handleMessage(message, accelerators);
    }
    DestroyAcceleratorTable(accelerators);
    return exitCode;
}
