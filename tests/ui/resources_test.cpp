// The resources as the program loads them: menu 101, accelerators 108, dialog 9, icon 102
// and the manifest.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"

namespace zt9::test {
namespace {

HINSTANCE module() {
    return GetModuleHandleW(nullptr);
}

std::wstring menuText(HMENU menu, UINT position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, ARRAYSIZE(text), MF_BYPOSITION);
    return text;
}

struct Item {
    const wchar_t* text;  // empty for a separator
    UINT id;
    bool greyed;
};

TEST(Resources, MenuHasEveryItemWithItsIdTextAndStartingState) {
    const HMENU menu = LoadMenuW(module(), MAKEINTRESOURCEW(IDR_MAIN_MENU));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    const std::vector<std::pair<std::wstring, std::vector<Item>>> popups = {
        {L"File",
         {{L"Load geo file [Ctrl+L]", IDM_LOAD, false},
          {L"Save geo file [Ctrl+S]", IDM_SAVE, true},
          {L"Save geo file as [Ctrl+A]", IDM_SAVE_AS, true},
          {L"Import geo element [Ctrl+I]", IDM_IMPORT, true},
          {L"Export geo element [Ctrl+E]", IDM_EXPORT, true},
          {L"", 0, false},
          {L"Exit", IDM_EXIT, false}}},
        {L"Edit",
         {{L"Next element [Ctrl+RIGHT]", IDM_NEXT_ELEMENT, false},
          {L"Preview element [Ctrl+LEFT]", IDM_PREVIOUS_ELEMENT, false},
          {L"", 0, false},
          {L"Reset element config [Ctrl+R]", IDM_RESET_CONFIG, false},
          {L"", 0, false},
          {L"Reset import element [R]", IDM_RESET_IMPORT, false}}},
        {L"View",
         {{L"Zoom in [Ctrl+UP]", IDM_ZOOM_IN, false},
          {L"Zoom out [Ctrl+DOWN]", IDM_ZOOM_OUT, false},
          {L"", 0, false},
          {L"Full picture [F]", IDM_FULL_PICTURE, false},
          {L"Picture Element [F]", IDM_PICTURE_ELEMENT, false},
          {L"", 0, false},
          {L"Transparency [T]", IDM_TRANSPARENCY, false}}},
    };
    for (UINT p = 0; p < popups.size(); ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(menuText(menu, p), popups[p].first);
        // The Edit and View popups wait, greyed, for a document.
        EXPECT_EQ((GetMenuState(menu, p, MF_BYPOSITION) & MF_GRAYED) != 0, p != 0);
        const HMENU popup = GetSubMenu(menu, static_cast<int>(p));
        ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(popups[p].second.size()));
        for (UINT i = 0; i < popups[p].second.size(); ++i) {
            const Item& item = popups[p].second[i];
            const UINT state = GetMenuState(popup, i, MF_BYPOSITION);
            EXPECT_EQ(menuText(popup, i), item.text);
            EXPECT_EQ((state & MF_SEPARATOR) != 0, item.id == 0);
            if (item.id != 0) {
                EXPECT_EQ(GetMenuItemID(popup, static_cast<int>(i)), item.id);
                EXPECT_EQ((state & MF_GRAYED) != 0, item.greyed) << menuText(popup, i);
                EXPECT_EQ(state & MF_CHECKED, 0u);
            }
        }
    }
    EXPECT_EQ(menuText(menu, 3), L"About...");
    EXPECT_EQ(GetMenuItemID(menu, 3), static_cast<UINT>(IDM_ABOUT));
    DestroyMenu(menu);
}

TEST(Resources, AcceleratorsMapEachKeyAndModifierToItsCommand) {
    const HACCEL table = LoadAcceleratorsW(module(), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> entries(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
    DestroyAcceleratorTable(table);
    constexpr BYTE kCtrl = FCONTROL | FVIRTKEY | FNOINVERT;
    constexpr BYTE kShift = FSHIFT | FVIRTKEY | FNOINVERT;
    constexpr BYTE kPlain = FVIRTKEY | FNOINVERT;
    const std::vector<std::tuple<BYTE, WORD, WORD>> expected = {
        {kCtrl, 'L', IDM_LOAD},
        {kCtrl, 'S', IDM_SAVE},
        {kCtrl, 'A', IDM_SAVE_AS},
        {kCtrl, 'I', IDM_IMPORT},
        {kCtrl, 'E', IDM_EXPORT},
        {kCtrl, VK_RIGHT, IDM_NEXT_ELEMENT},
        {kCtrl, VK_LEFT, IDM_PREVIOUS_ELEMENT},
        {kCtrl, VK_UP, IDM_ZOOM_IN},
        {kCtrl, VK_DOWN, IDM_ZOOM_OUT},
        {kCtrl, 'R', IDM_RESET_CONFIG},
        {kPlain, 'R', IDM_RESET_IMPORT},
        {kPlain, VK_LEFT, IDM_MOVE_LEFT},
        {kPlain, VK_UP, IDM_MOVE_UP},
        {kPlain, VK_RIGHT, IDM_MOVE_RIGHT},
        {kPlain, VK_DOWN, IDM_MOVE_DOWN},
        {kShift, VK_LEFT, IDM_NARROWER},
        {kShift, VK_UP, IDM_LOWER},
        {kShift, VK_RIGHT, IDM_WIDER},
        {kShift, VK_DOWN, IDM_HIGHER},
        {kPlain, 'C', IDM_NEXT_COLOR},
        {kPlain, 'F', IDM_TOGGLE_VIEW},
        {kPlain, 'T', IDM_TRANSPARENCY},
    };
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].fVirt & ~0x80, std::get<0>(expected[i]));
        EXPECT_EQ(entries[i].key, std::get<1>(expected[i]));
        EXPECT_EQ(entries[i].cmd, std::get<2>(expected[i]));
    }
}

struct Control {
    int id;  // -1: no id
    const wchar_t* className;
    const wchar_t* text;
    DWORD styles;  // styles the control must carry
};

TEST(Resources, PanelDialogHasItsFortySixControlsInTabOrder) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 800,
                                        nullptr, nullptr, module(), nullptr);
    const HWND panel = CreateDialogParamW(
        module(), MAKEINTRESOURCEW(IDD_ELEMENT_PANEL), parent,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(panel, nullptr);
    const auto style = [](HWND w) { return static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)); };
    EXPECT_EQ(
        style(panel) & (WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                        WS_BORDER | WS_CAPTION),
        DWORD{WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER});

    // The dialog manager turns a field's WS_BORDER into a client edge, and a drop-down list
    // keeps its scroll bar for the list, so neither shows in the created control's style.
    constexpr DWORD kField = ES_MULTILINE | ES_AUTOHSCROLL | ES_WANTRETURN | WS_TABSTOP;
    constexpr DWORD kArrows = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;
    const auto field = [&](int id, bool isSigned) {
        return Control{id, L"Edit", L"", kField | (isSigned ? 0u : DWORD{ES_NUMBER})};
    };
    const auto arrows = [&](int id, bool isSigned) {
        return Control{id, L"msctls_updown32", L"",
                       kArrows | (isSigned ? DWORD{UDS_NOTHOUSANDS} : 0u)};
    };
    const auto label = [](const wchar_t* text) { return Control{-1, L"Static", text, 0}; };
    const auto group = [](int id, const wchar_t* text) {
        return Control{id, L"Button", text, BS_GROUPBOX};
    };
    const auto reset = [](int id) { return Control{id, L"Button", L"Reset", WS_TABSTOP}; };
    const std::vector<Control> expected = {
        group(IDC_GROUP_NUMBER, L"Element"),
        label(L"Number"),
        field(IDC_NUMBER, false),
        arrows(IDC_NUMBER_ARROWS, false),
        group(IDC_GROUP_SIZE, L"Element"),
        label(L"Width"),
        field(IDC_WIDTH, false),
        arrows(IDC_WIDTH_ARROWS, false),
        group(IDC_GROUP_PLACE, L"Element"),
        label(L"Hight"),
        field(IDC_HEIGHT, false),
        arrows(IDC_HEIGHT_ARROWS, false),
        group(IDC_GROUP_SCALE, L""),
        label(L"Position X"),
        field(IDC_POS_X, false),
        arrows(IDC_POS_X_ARROWS, false),
        label(L"Position Y"),
        field(IDC_POS_Y, false),
        arrows(IDC_POS_Y_ARROWS, false),
        label(L"Scale"),
        Control{IDC_SCALE, L"msctls_trackbar32", L"", TBS_BOTH | TBS_NOTICKS | WS_TABSTOP},
        label(L"Resize width"),
        field(IDC_RESIZE_WIDTH, false),
        arrows(IDC_RESIZE_WIDTH_ARROWS, false),
        label(L"Resize hight"),
        field(IDC_RESIZE_HEIGHT, false),
        arrows(IDC_RESIZE_HEIGHT_ARROWS, false),
        label(L"Display pos X"),
        field(IDC_DISPLAY_X, true),
        arrows(IDC_DISPLAY_X_ARROWS, true),
        label(L"Display pos Y"),
        field(IDC_DISPLAY_Y, true),
        arrows(IDC_DISPLAY_Y_ARROWS, true),
        Control{IDC_COLOR, L"ComboBox", L"", CBS_DROPDOWNLIST | WS_TABSTOP},
        label(L"Color"),
        reset(IDC_RESET_ELEMENT),
        reset(IDC_RESET_WIDTH),
        reset(IDC_RESET_HEIGHT),
        reset(IDC_RESET_RESIZE_WIDTH),
        reset(IDC_RESET_RESIZE_HEIGHT),
        reset(IDC_RESET_POS_X),
        reset(IDC_RESET_POS_Y),
        reset(IDC_RESET_DISPLAY_X),
        reset(IDC_RESET_DISPLAY_Y),
        group(-1, L"Hot keys"),
        label(L"LEFT, UP, RIGHT, DOWN - Move\nShift+LEFT,UP,RIGHT, DOWN - Resize\n"
              L"C - change color of element background"),
    };
    std::vector<HWND> children;
    for (HWND child = GetWindow(panel, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    ASSERT_EQ(children.size(), 46u);
    for (std::size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(i);
        wchar_t name[64] = {};
        wchar_t text[160] = {};
        GetClassNameW(children[i], name, ARRAYSIZE(name));
        GetWindowTextW(children[i], text, ARRAYSIZE(text));
        EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(children[i]))), expected[i].id);
        EXPECT_EQ(_wcsicmp(name, expected[i].className), 0) << name;
        if (expected[i].className != std::wstring_view(L"Edit")) {
            EXPECT_STREQ(text, expected[i].text);
        }
        EXPECT_EQ(style(children[i]) & expected[i].styles, expected[i].styles);
        // Each arrow control is attached to the field just before it.
        if (expected[i].className == std::wstring_view(L"msctls_updown32")) {
            EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(children[i], UDM_GETBUDDY, 0, 0)),
                      children[i - 1]);
        }
    }
    DestroyWindow(parent);
}

TEST(Resources, IconAndManifestAreEmbedded) {
    const HICON icon = static_cast<HICON>(
        LoadImageW(module(), MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 16);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);

    const HRSRC found = FindResourceW(module(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const std::string manifest(
        static_cast<const char*>(LockResource(LoadResource(module(), found))),
        SizeofResource(module(), found));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
}

}  // namespace
}  // namespace zt9::test
