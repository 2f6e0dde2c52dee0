// Checks an unpacked release folder as a Windows user meets it: both executables carry
// their version information, and the editor started from the folder on its demo font opens,
// shows the font, and ends with exit code 0 when its window is closed.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"

static int failures = 0;

static bool check(bool ok, const std::wstring& what) {
    if (!ok) {
        std::fwprintf(stderr, L"package check failed: %ls\n", what.c_str());
        ++failures;
    }
    return ok;
}

// A string of the file's version information; empty when the file has none.
static std::wstring versionValue(const std::wstring& file, const std::wstring& name) {
    std::vector<char> data(GetFileVersionInfoSizeW(file.c_str(), nullptr) + 1);
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = L"\\StringFileInfo\\040904B0\\" + name;
    if (GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) &&
        VerQueryValueW(data.data(), key.c_str(), &value, &length) && length > 0)
        return static_cast<const wchar_t*>(value);
    return {};
}

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: package_check FOLDER VERSION\n");
        return 2;
    }
    const std::wstring folder = argv[1], version = argv[2];
    for (const std::wstring exe : {L"zt9edit.exe", L"geotool.exe"}) {
        const std::wstring file = folder + L"\\" + exe;
        check(versionValue(file, L"ProductName") == L"ZT9 font editor", exe + L" product name");
        check(versionValue(file, L"FileVersion") == version, exe + L" version");
        check(versionValue(file, L"OriginalFilename") == exe, exe + L" file name");
        check(!versionValue(file, L"FileDescription").empty(), exe + L" description");
    }

    std::wstring commandLine = L"\"" + folder + L"\\zt9edit.exe\" \"" + folder + L"\\demo.geo\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!check(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &startup, &process),
               L"the editor starts"))
        return 1;
    // The editor's main window: of its class and made by the editor's first thread.
    HWND window = nullptr;
    for (int i = 0; i < 300 && window == nullptr; ++i, Sleep(100))
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"mainWindClass", nullptr));)
            window = GetWindowThreadProcessId(w, nullptr) == process.dwThreadId ? w : window;
    if (check(window != nullptr, L"the editor's window appears")) {
        // The font is open once the panel shows its first glyph's width (menus belong to
        // their own process under Wine, so the panel's text is what another process reads).
        const HWND panel = FindWindowExW(window, nullptr, L"#32770", nullptr);
        wchar_t width[16] = {};  // "" or "1" until then
        const auto loaded = [&] { return width[0] != 0 && std::wstring(width) != L"1"; };
        for (int i = 0; i < 100 && !loaded(); ++i, Sleep(100))
            GetDlgItemTextW(panel, IDC_WIDTH, width, 16);
        check(loaded(), L"the demo font is loaded");
        // The picture's background at the top left, where the demo font has no glyph.
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW);
        const HDC dc = GetDC(window);
        check(GetPixel(dc, 2, 2) == RGB(82, 60, 123), L"the picture is shown");
        ReleaseDC(window, dc);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    DWORD exitCode = 1;
    check(WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0, L"the editor ends");
    GetExitCodeProcess(process.hProcess, &exitCode);
    check(exitCode == 0, L"the editor's exit code is 0");
    TerminateProcess(process.hProcess, 1);  // a hung editor must not outlive the check
    std::wprintf(L"package check %ls: %ls\n", failures ? L"failed" : L"passed", folder.c_str());
    return failures == 0 ? 0 : 1;
}
