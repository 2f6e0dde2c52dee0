#include "ui/win32_screen.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "ui/wide_text.h"

namespace zt9::ui {

void Win32Screen::attach(HWND mainWindow, HWND panel) {
    mainWindow_ = mainWindow;
    panel_ = panel;
    controls_.clear();
}

HWND Win32Screen::control(HWND parent, int id) {
    // Under Wine every GetDlgItem asks the server for the parent's whole child list; a step
    // to the next element writes up to nine fields, so the handles are looked up once.
    const auto [found, added] = controls_.try_emplace({parent, id}, nullptr);
    if (added)
        found->second = GetDlgItem(parent, id);
    return found->second;
}

DWORD Win32Screen::dialogFlags(const FileDialog& dialog) {
    const DWORD common = OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_HIDEREADONLY;
    return dialog.save ? common | OFN_OVERWRITEPROMPT : common | OFN_FILEMUSTEXIST;
}

std::wstring Win32Screen::filterList(FileFilter filter) {
    using namespace std::string_literals;
    switch (filter) {
        case FileFilter::geo:
            return L"GEO(*.GEO)\0*.GEO\0\0"s;
        case FileFilter::importBmp:
            return L"BMP(*.bmp)\0*.bmp\0\0"s;
        case FileFilter::exportBmp:
            return L"8bpp 256 colors(*.bmp)\0*.bmp\0"
                   L"4bpp 16 colors(*.bmp)\0*.bmp\0\0"s;
    }
    return L"\0\0"s;
}

std::optional<FileChoice> Win32Screen::chooseFile(const FileDialog& dialog) {
    const std::wstring filter = filterList(dialog.filter);
    const std::wstring title = fromCodePage1251(dialog.title);
    // Room for the longest path the platform allows, not only 260 characters.
    std::vector<wchar_t> name(32768, L'\0');
    const std::wstring proposed = dialog.fileName.wstring();
    proposed.copy(name.data(), std::min(proposed.size(), name.size() - 1));

    OPENFILENAMEW record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = mainWindow_;
    record.lpstrFilter = filter.c_str();
    record.nFilterIndex = static_cast<DWORD>(dialog.filterIndex);
    record.lpstrFile = name.data();
    record.nMaxFile = static_cast<DWORD>(name.size());
    record.lpstrTitle = title.empty() ? nullptr : title.c_str();
    record.Flags = dialogFlags(dialog);
    // A name typed without an extension gets the one the filter stands for.
    record.lpstrDefExt = dialog.filter == FileFilter::geo ? L"geo" : L"bmp";
    const BOOL chosen = dialog.save ? GetSaveFileNameW(&record) : GetOpenFileNameW(&record);
    if (chosen == FALSE)
        return std::nullopt;
    return FileChoice{std::filesystem::path(name.data()), static_cast<int>(record.nFilterIndex)};
}

bool Win32Screen::askYesNo(std::string_view text, std::string_view caption) {
    return MessageBoxW(mainWindow_, fromCodePage1251(text).c_str(),
                       fromCodePage1251(caption).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void Win32Screen::showError(std::string_view text) {
    MessageBoxW(mainWindow_, fromCodePage1251(text).c_str(), L"Error", MB_OK | MB_ICONERROR);
}

void Win32Screen::showMessage(std::string_view text, std::string_view caption) {
    MessageBoxW(mainWindow_, fromCodePage1251(text).c_str(), fromCodePage1251(caption).c_str(),
                MB_OK);
}

void Win32Screen::beep() {
    MessageBeep(MB_ICONEXCLAMATION);
}

std::optional<std::uint32_t> Win32Screen::chooseColor(std::uint32_t initial) {
    // COLORREF is 0x00BBGGRR, the editor's own layout.
    CHOOSECOLORW record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = mainWindow_;
    record.rgbResult = initial & 0xFFFFFFu;
    record.lpCustColors = customColors_.data();
    record.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (ChooseColorW(&record) == FALSE)
        return std::nullopt;
    return record.rgbResult & 0xFFFFFFu;
}

void Win32Screen::setTitle(const std::filesystem::path& title) {
    SetWindowTextW(mainWindow_, title.c_str());
}

void Win32Screen::invalidate() {
    InvalidateRect(mainWindow_, nullptr, FALSE);
}

void Win32Screen::invalidateRect(const PixelRect& area) {
    const RECT rect{static_cast<LONG>(area.left), static_cast<LONG>(area.top),
                    static_cast<LONG>(area.right), static_cast<LONG>(area.bottom)};
    InvalidateRect(mainWindow_, &rect, FALSE);
}

void Win32Screen::showScrollBars(const ScrollBar& horizontal, const ScrollBar& vertical) {
    // Each call of the platform redraws its bar at once, so only what changed is sent.
    const std::array<std::pair<int, const ScrollBar*>, 2> bars{
        {{IDC_PICTURE_HSCROLL, &horizontal}, {IDC_PICTURE_VSCROLL, &vertical}}};
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const auto& [id, bar] = bars.at(i);
        ScrollBar& before = barsShown_.at(i);
        const HWND control = this->control(mainWindow_, id);
        if (bar->length != before.length || bar->page != before.page ||
            bar->position != before.position) {
            // The enlarged picture is at most 2550 pixels long, far inside an int.
            const SCROLLINFO info{sizeof info,
                                  SIF_ALL,
                                  0,
                                  static_cast<int>(std::max<std::int64_t>(bar->length - 1, 0)),
                                  static_cast<UINT>(bar->page),
                                  static_cast<int>(bar->position),
                                  0};
            SetScrollInfo(control, SB_CTL, &info, FALSE);
            InvalidateRect(control, nullptr, FALSE);
        }
        if (bar->place != before.place) {
            const PixelRect& place = bar->place;
            MoveWindow(control, static_cast<int>(place.left), static_cast<int>(place.top),
                       static_cast<int>(place.right - place.left),
                       static_cast<int>(place.bottom - place.top), TRUE);
        }
        if (bar->shown != before.shown)
            ShowWindow(control, bar->shown ? SW_SHOWNA : SW_HIDE);
        before = *bar;
    }
}

void Win32Screen::setStatusText(StatusPart part, std::string_view text) {
    const HWND bar = control(mainWindow_, IDC_STATUS_BAR);
    const std::wstring shown = fromUtf8(text);
    if (part == StatusPart::hint) {
        // The hint replaces the parts while there is one; the parts keep their texts.
        SendMessageW(bar, SB_SIMPLE, text.empty() ? FALSE : TRUE, 0);
        if (!text.empty())
            SendMessageW(bar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(shown.c_str()));
        return;
    }
    SendMessageW(bar, SB_SETTEXTW, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(shown.c_str()));
}

void Win32Screen::checkMenuItem(int command, bool checked) {
    CheckMenuItem(menu(), static_cast<UINT>(command),
                  MF_BYCOMMAND | static_cast<UINT>(checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32Screen::setMenuItem(int command, std::string_view text, bool enabled) {
    std::wstring wide = fromCodePage1251(text);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_STATE;
    item.dwTypeData = wide.data();
    item.fState = enabled ? MFS_ENABLED : MFS_GRAYED;
    SetMenuItemInfoW(menu(), static_cast<UINT>(command), FALSE, &item);
}

void Win32Screen::checkViewMode(int command) {
    CheckMenuRadioItem(GetSubMenu(menu(), MENU_POS_VIEW), IDM_FULL_PICTURE, IDM_PICTURE_ELEMENT,
                       static_cast<UINT>(command), MF_BYCOMMAND);
}

void Win32Screen::enableDocumentMenus(bool enabled) {
    const UINT state = enabled ? MF_ENABLED : MF_GRAYED;
    for (const UINT item : {UINT{IDM_SAVE_AS}, UINT{IDM_SAVE}, UINT{IDM_IMPORT}, UINT{IDM_EXPORT}})
        EnableMenuItem(menu(), item, MF_BYCOMMAND | state);
    EnableMenuItem(menu(), MENU_POS_EDIT, MF_BYPOSITION | state);
    EnableMenuItem(menu(), MENU_POS_VIEW, MF_BYPOSITION | state);
    DrawMenuBar(mainWindow_);
}

void Win32Screen::enablePanel(bool enabled) {
    // A disabled field would keep the keyboard focus; hand it to the main window first.
    if (!enabled && IsChild(panel_, GetFocus()))
        SetFocus(mainWindow_);
    EnableWindow(panel_, enabled ? TRUE : FALSE);
}

void Win32Screen::setFieldNumber(int field, std::int32_t value, bool isSigned) {
    const std::wstring text =
        isSigned ? std::to_wstring(value) : std::to_wstring(static_cast<std::uint32_t>(value));
    SetWindowTextW(control(panel_, field), text.c_str());
}

std::string Win32Screen::fieldText(int field) {
    const HWND edit = control(panel_, field);
    const int length = GetWindowTextLengthW(edit);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return asciiText(text);
}

void Win32Screen::setNumberRange(std::uint32_t last) {
    SendMessageW(control(panel_, IDC_NUMBER_ARROWS), UDM_SETRANGE32, 0, static_cast<LPARAM>(last));
}

void Win32Screen::selectColor(int entry) {
    SendMessageW(control(panel_, IDC_COLOR), CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
}

int Win32Screen::selectedColor() {
    return static_cast<int>(SendMessageW(control(panel_, IDC_COLOR), CB_GETCURSEL, 0, 0));
}

void Win32Screen::setScale(std::int32_t zoom) {
    SendMessageW(control(panel_, IDC_SCALE), TBM_SETPOS, TRUE, zoom);
}

void Win32Screen::showDrawTool(DrawTool tool) {
    CheckRadioButton(panel_, IDC_TOOL_PENCIL, IDC_TOOL_PICKER,
                     IDC_TOOL_PENCIL + static_cast<int>(tool));
}

void Win32Screen::showPalette(const PaletteStrip& strip) {
    // The panel paints the strip from what the editor shows (WM_DRAWITEM).
    std::ranges::copy(strip.colors, customColors_.begin());
    InvalidateRect(control(panel_, IDC_PALETTE), nullptr, FALSE);
}

void Win32Screen::postFailureReport() {
    PostMessageW(mainWindow_, UM_REPORT_FAILURE, 0, 0);
}

void Win32Screen::destroyWindow() {
    DestroyWindow(mainWindow_);
}

}  // namespace zt9::ui
