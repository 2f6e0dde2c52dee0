// Waits until Wine's desktop accepts windows: creates a throwaway window of a system class,
// retrying for up to 30 seconds. The Windows test stage runs it once before any test creates
// a window.
#include <windows.h>

int main() {
    for (int attempt = 0; attempt < 300; ++attempt, Sleep(100)) {
        if (const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 10,
                                                10, nullptr, nullptr, nullptr, nullptr)) {
            DestroyWindow(window);
            return 0;
        }
    }
    return 1;
}
