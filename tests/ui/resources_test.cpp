// The resources as the program loads them: menu 101, accelerators 108, dialog 9, icon 102
// and the manifest. Each is written out as text and compared with what it must say.
#include <map>

#include "ui/window_fixture.h"

namespace zt9::test {
namespace {

const HINSTANCE module = GetModuleHandleW(nullptr);

TEST(Resources, IconManifestMenuAndAcceleratorsHoldWhatTheProgramNeeds) {
    EXPECT_NE(LoadIconW(module, MAKEINTRESOURCEW(IDI_APP_ICON)), nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(module, found))),
                               SizeofResource(module, found));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);

    const HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MAIN_MENU));
    EXPECT_EQ(dumpMenu(menu),
              L"File[Load geo file [Ctrl+L]=40001|~Save geo file [Ctrl+S]=40002|"
              L"~Save geo file as [Ctrl+A]=40032|~Import geo element [Ctrl+I]=40003|"
              L"~Export geo element [Ctrl+E]=40004|-|Exit=40011]|"
              L"~Edit[~Undo [Ctrl+Z]=40034|~Redo [Ctrl+Y]=40035|-|"
              L"Copy element image [Ctrl+C]=40050|~Paste element image [Ctrl+V]=40051|-|"
              L"Next element [Ctrl+RIGHT]=40005|Preview element [Ctrl+LEFT]=40006|-|"
              L"Reset element config [Ctrl+R]=40033|-|Reset import element [R]=40014]|"
              L"~View[Zoom in [Ctrl+UP]=40007|Zoom out [Ctrl+DOWN]=40008|-|"
              L"Full picture [F]=40009|Picture Element [F]=40010|-|Transparency [T]=40013|"
              L"Grid [G]=40036]|"
              L"About...=65535");
    DestroyMenu(menu);

    // "C" Ctrl, "S" Shift, then the key and the command.
    const HACCEL table = LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ACCEL entries[64] = {};
    const int count = CopyAcceleratorTableW(table, entries, ARRAYSIZE(entries));
    std::wstring keys;
    for (int i = 0; i < count; ++i) {
        const ACCEL& a = entries[i];
        EXPECT_EQ(a.fVirt & (FVIRTKEY | FNOINVERT | FALT), FVIRTKEY | FNOINVERT);
        keys += std::wstring((a.fVirt & FCONTROL) != 0 ? L"C" : L"") +
                ((a.fVirt & FSHIFT) != 0 ? L"S" : L"") + std::to_wstring(a.key) + L"=" +
                std::to_wstring(a.cmd) + L" ";
    }
    // Letters by their codes (L 76, S 83, A 65, I 73, E 69, R 82, Z 90, Y 89, C 67, F 70,
    // T 84, G 71, P 80, B 66, V 86) and the arrows (left 37, up 38, right 39, down 40).
    EXPECT_EQ(keys,
              L"C76=40001 C83=40002 C65=40032 C73=40003 C69=40004 C39=40005 C37=40006 C38=40007 "
              L"C40=40008 C82=40033 82=40014 C90=40034 C89=40035 CS90=40035 C67=40050 C86=40051 "
              L"37=40023 38=40024 39=40025 40=40026 S37=40027 S38=40028 S39=40029 S40=40030 "
              L"67=40031 70=40015 84=40013 71=40036 80=40037 66=40038 73=40039 ");
}

TEST(Resources, PanelDialogHasItsFiftyOneControlsInTabOrderEachArrowOnItsField) {
    InitCommonControls();
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 800,
                                        nullptr, nullptr, module, nullptr);
    const HWND panel =
        CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_ELEMENT_PANEL), parent, nullptr, 0);
    ASSERT_NE(panel, nullptr);
    constexpr DWORD kPanelStyle =
        WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(panel, GWL_STYLE)) & (kPanelStyle | WS_CAPTION),
              kPanelStyle);

    // id, kind (G group, S static, E field, D digits-only field, A arrows, T slider, C combo,
    // B button), then the text of statics, groups and buttons.
    std::wstring listed;
    HWND previous = nullptr;
    for (HWND c = GetWindow(panel, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(c, name, ARRAYSIZE(name));
        const auto style = static_cast<DWORD>(GetWindowLongW(c, GWL_STYLE));
        const std::wstring kind =
            std::map<std::wstring, std::wstring>{
                {L"Static", L"S"},          {L"Edit", (style & ES_NUMBER) != 0 ? L"D" : L"E"},
                {L"ComboBox", L"C"},        {L"Button", (style & 0xF) == BS_GROUPBOX ? L"G" : L"B"},
                {L"msctls_updown32", L"A"}, {L"msctls_trackbar32", L"T"}}
                .at(name);
        if (kind == L"A") {
            // Set-buddy-int arrows on the field before them; the signed ones without
            // thousands separators, which Wine would otherwise write into negative numbers.
            EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(c, UDM_GETBUDDY, 0, 0)), previous);
            constexpr DWORD kArrows =
                UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;
            EXPECT_EQ(style & (kArrows | UDS_NOTHOUSANDS),
                      kArrows | ((GetWindowLongW(previous, GWL_STYLE) & ES_NUMBER) != 0
                                     ? 0u
                                     : DWORD{UDS_NOTHOUSANDS}));
        }
        // One-line multi-line fields: Enter reports EN_MAXTEXT instead of a new line.
        constexpr DWORD kField = ES_MULTILINE | ES_AUTOHSCROLL | ES_WANTRETURN | WS_TABSTOP;
        const bool field = kind == L"D" || kind == L"E";
        EXPECT_TRUE(!field || (style & (kField | ES_AUTOVSCROLL)) == kField) << GetDlgCtrlID(c);
        listed += std::to_wstring(static_cast<short>(GetDlgCtrlID(c))) + kind +
                  (field ? L"" : textOf(c)) + L"|";
        previous = c;
    }
    EXPECT_EQ(listed,
              L"1049GElement|-1SNumber|1032D|1037A|1050GElement|-1SWidth|1038D|1040A|"
              L"1051GElement|-1SHight|1041D|1042A|1052G|-1SPosition X|1043D|1044A|"
              L"-1SPosition Y|1045D|1046A|-1SScale|1055T|-1SResize width|1047D|1059A|"
              L"-1SResize hight|1057D|1061A|-1SDisplay pos X|1062E|1063A|-1SDisplay pos Y|"
              L"1064E|1065A|1067C|-1SColor|1068BReset|1069BReset|1070BReset|1071BReset|"
              L"1072BReset|1073BReset|1074BReset|1075BReset|1076BReset|-1GHot keys|"
              L"-1SLEFT, UP, RIGHT, DOWN - Move\nShift+LEFT,UP,RIGHT, DOWN - Resize\n"
              L"C - change color of element background|1083GDraw|1084BPencil [P]|1085BFill [B]|"
              L"1086BPicker [I]|1087S|");
    DestroyWindow(parent);
}

}  // namespace
}  // namespace zt9::test
