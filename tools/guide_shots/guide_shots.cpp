// Makes the user guide's pictures: the real editor window, at a fixed size, on the demo font,
// in the states the guide describes. Each picture is the window (and any dialog or message
// box in front of it) as the screen shows it, written as a BMP file.
//   guide_shots.exe DEMO.geo OUTPUT-FOLDER
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <vector>

#include "document/geo_document.h"
#include "images/element_export.h"
#include "resources/resource.h"
#include "ui/main_frame.h"
#include "ui/win32_screen.h"

namespace {

std::filesystem::path outputFolder;
HWND mainWindow = nullptr;
HACCEL accelerators = nullptr;

void pump(zt9::ui::MainFrame& frame, int milliseconds = 200) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    MSG message{};
    while (GetTickCount() < end) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (message.message != WM_QUIT)
                frame.handleMessage(message, accelerators);
        }
        Sleep(10);
    }
}

// A mouse message at the middle of picture pixel (x, y), wherever the view has scrolled it.
void mouse(zt9::ui::MainFrame& frame, UINT message, std::int64_t x, std::int64_t y) {
    const zt9::PixelRect at = frame.editor().viewport().windowRectOf(x, y);
    SendMessageW(mainWindow, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                 MAKELPARAM((at.left + at.right) / 2, (at.top + at.bottom) / 2));
}

void command(int id, int times = 1) {
    for (int i = 0; i < times; ++i)
        SendMessageW(mainWindow, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

// The screen inside `area`, bottom row first, as a 24-bit BMP file.
void save(const RECT& area, const wchar_t* name) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<char> pixels(stride * static_cast<std::size_t>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = static_cast<DWORD>(header.bfOffBits + pixels.size());
    std::ofstream file(outputFolder / name, std::ios::binary);
    file.write(reinterpret_cast<const char*>(&header), sizeof header);
    file.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    file.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
}

void saveWindow(const wchar_t* name, HWND inFront = nullptr) {
    RECT area{};
    GetWindowRect(mainWindow, &area);
    if (inFront != nullptr) {
        RECT box{};
        GetWindowRect(inFront, &box);
        UnionRect(&area, &area, &box);
    }
    save(area, name);
}

// Runs `action` on the dialog or message box a modal command shows, from a timer that the
// modal loop dispatches.
std::function<void(HWND)> pendingAction;

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring_view(name) == L"#32770" && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == mainWindow) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK lookForDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr || !pendingAction)
        return;
    KillTimer(nullptr, timer);
    UpdateWindow(dialog);
    Sleep(300);  // let the box finish drawing on the X server
    std::exchange(pendingAction, nullptr)(dialog);
}

void whenDialogAppears(std::function<void(HWND)> action) {
    pendingAction = std::move(action);
    SetTimer(nullptr, 0, 200, lookForDialog);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: guide_shots DEMO.geo OUTPUT-FOLDER\n");
        return 2;
    }
    outputFolder = argv[2];
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    zt9::GeoDocument document;
    zt9::ui::Win32Screen screen;
    zt9::ui::MainFrame editor(instance, document, screen);
    mainWindow = editor.create(SW_SHOWNORMAL);
    if (mainWindow == nullptr)
        return 1;
    MoveWindow(mainWindow, 0, 0, 1000, 770, TRUE);
    SetForegroundWindow(mainWindow);
    editor.loadAtStart(argv[1]);
    pump(editor, 500);

    // The whole picture at zoom 2, the letter A current, the pointer on it.
    command(IDM_ZOOM_IN);
    command(IDM_NEXT_ELEMENT, 10);
    const zt9::ElementConfig letter = document.configs.at(document.currentElement);
    mouse(editor, WM_MOUSEMOVE, letter.x + 2, letter.y + 3);
    pump(editor);
    saveWindow(L"full-picture.bmp");

    // The letter A alone at zoom 8.
    command(IDM_TOGGLE_VIEW);
    command(IDM_ZOOM_IN, 6);
    pump(editor);
    saveWindow(L"picture-element.bmp");

    // Drawing: the grid on, a white pencil stroke across the letter, the pointer on a pixel.
    command(IDM_GRID);
    editor.editor().frame([&] { editor.editor().paletteClicked(15); });
    const std::int64_t row = letter.y + letter.height / 2 + 1;
    mouse(editor, WM_LBUTTONDOWN, letter.x, row);
    mouse(editor, WM_MOUSEMOVE, letter.x + letter.width - 1, row);
    mouse(editor, WM_LBUTTONUP, letter.x + letter.width - 1, row);
    mouse(editor, WM_MOUSEMOVE, letter.x + 1, row - 2);
    pump(editor);
    saveWindow(L"drawing.bmp");
    command(IDM_UNDO);
    command(IDM_GRID);

    // Back to the whole picture, without the coloured backgrounds.
    command(IDM_TOGGLE_VIEW);
    command(IDM_ZOOM_OUT, 6);
    command(IDM_TRANSPARENCY);
    pump(editor);
    saveWindow(L"transparency-off.bmp");
    command(IDM_TRANSPARENCY);

    // The export dialog, opened with its two depths.
    whenDialogAppears([](HWND dialog) {
        saveWindow(L"export-dialog.bmp", dialog);
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    command(IDM_EXPORT);

    // An image refused on import: the glyph exported with a visible last palette colour.
    std::vector<std::uint8_t> refused = zt9::exportElementBytes(document, zt9::kExport4bpp);
    refused.at(54 + 15 * 4 + 2) = 0xFF;  // entry 15 turned red
    const std::filesystem::path refusedFile = outputFolder / "refused.bmp";
    std::ofstream(refusedFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(refused.data()),
               static_cast<std::streamsize>(refused.size()));
    whenDialogAppears([](HWND box) {
        saveWindow(L"import-refused.bmp", box);
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    });
    editor.editor().fileName = refusedFile;
    SendMessageW(mainWindow, WM_COMMAND, IDM_IMPORT, 1);
    std::filesystem::remove(refusedFile);

    // Closing with an unsaved move asks first; No leaves the demo font as it was.
    command(IDM_MOVE_DOWN, 3);
    pump(editor);
    whenDialogAppears([](HWND box) {
        saveWindow(L"save-changes.bmp", box);
        SendMessageW(box, WM_COMMAND, IDNO, 0);
    });
    SendMessageW(mainWindow, WM_CLOSE, 0, 0);
    pump(editor);
    DestroyAcceleratorTable(accelerators);
    return 0;
}
