// Waits until Wine's desktop accepts windows: creates a throwaway window, retrying for up to
// 30 seconds. The Windows test stage runs it once before any test creates a window.
#include <windows.h>

int main() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"zt9Warmup";
    RegisterClassW(&windowClass);
    for (int attempt = 0; attempt < 300; ++attempt) {
        const HWND window = CreateWindowExW(0, L"zt9Warmup", L"", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10,
                                            nullptr, nullptr, instance, nullptr);
        if (window != nullptr) {
            DestroyWindow(window);
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
