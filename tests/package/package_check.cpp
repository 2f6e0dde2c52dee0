// Checks an unpacked release folder as a Windows user meets it: both executables carry
// their version information, and the editor started from the folder on its demo font opens,
// shows the font, and ends with exit code 0 when its window is closed.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

int failures = 0;

void check(bool ok, const wchar_t* what) {
    if (!ok) {
        std::fwprintf(stderr, L"package check failed: %ls\n", what);
        ++failures;
    }
}

std::wstring versionValue(const std::wstring& file, const wchar_t* name) {
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    if (data.empty() ||
        !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data()))
        return {};
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(data.data(), key.c_str(), &value, &length) || length == 0)
        return {};
    return static_cast<const wchar_t*>(value);
}

struct Found {
    DWORD process;
    HWND window;
};

BOOL CALLBACK findEditor(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (owner == found->process && std::wstring(name) == L"mainWindClass") {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: package_check FOLDER VERSION\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const std::wstring version = argv[2];
    for (const wchar_t* exe : {L"zt9edit.exe", L"geotool.exe"}) {
        const std::wstring file = folder + L"\\" + exe;
        check(versionValue(file, L"ProductName") == L"ZT9 font editor", exe);
        check(versionValue(file, L"FileVersion") == version, exe);
        check(versionValue(file, L"OriginalFilename") == exe, exe);
        check(!versionValue(file, L"FileDescription").empty(), exe);
    }

    std::wstring commandLine = L"\"" + folder + L"\\zt9edit.exe\" \"" + folder + L"\\demo.geo\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        std::fwprintf(stderr, L"package check failed: the editor did not start\n");
        return 1;
    }
    Found found{process.dwProcessId, nullptr};
    for (int i = 0; i < 300 && found.window == nullptr; ++i) {
        Sleep(100);
        EnumWindows(findEditor, reinterpret_cast<LPARAM>(&found));
    }
    check(found.window != nullptr, L"the editor's window appears");
    if (found.window != nullptr) {
        // The font is open once the panel shows its first glyph's width (menus belong to
        // their own process under Wine, so the panel's text is what another process reads).
        const HWND panel = FindWindowExW(found.window, nullptr, L"#32770", nullptr);
        std::wstring width;
        for (int i = 0; i < 100 && (width.empty() || width == L"1"); ++i) {
            Sleep(100);
            wchar_t text[16] = {};
            GetDlgItemTextW(panel, IDC_WIDTH, text, 16);
            width = text;
        }
        check(!width.empty() && width != L"1", L"the demo font is loaded");
        // The picture's background at the top left, where the demo font has no glyph.
        RedrawWindow(found.window, nullptr, nullptr, RDW_UPDATENOW);
        const HDC dc = GetDC(found.window);
        check(GetPixel(dc, 2, 2) == RGB(82, 60, 123), L"the picture is shown");
        ReleaseDC(found.window, dc);
        PostMessageW(found.window, WM_CLOSE, 0, 0);
    }
    DWORD exitCode = 1;
    check(WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0, L"the editor ends");
    GetExitCodeProcess(process.hProcess, &exitCode);
    check(exitCode == 0, L"the editor's exit code is 0");
    if (exitCode == STILL_ACTIVE)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (failures == 0)
        std::wprintf(L"package check passed: %ls\n", folder.c_str());
    return failures == 0 ? 0 : 1;
}
