// The element panel in the real window under Wine: Enter commits, real clicks on arrows act
// once, Escape and Enter on buttons leave the panel alone, signed fields read back right.
#include "ui/window_fixture.h"

#include <commctrl.h>

namespace zt9::test {
namespace {

class PanelTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        open(writeFont("grid.geo", GeoBuilder::grid(3)));
    }
    void typeInto(int id, const std::string& text) {
        focus(GetDlgItem(panel(), id));
        SendDlgItemMessageW(panel(), id, EM_SETSEL, 0, -1);
        type(text);
    }
    HWND control(int id) const { return GetDlgItem(panel(), id); }
};

TEST_F(PanelTest, EnterCommitsATypedValueAndAnUncommittedOneChangesNothing) {
    typeInto(IDC_HEIGHT, "50");
    focus(control(IDC_WIDTH));
    EXPECT_EQ(fieldText(IDC_HEIGHT), L"50");
    EXPECT_EQ(document.configs[0].height, 4);
    EXPECT_FALSE(document.isModified());

    typeInto(IDC_WIDTH, "300");
    pressKey(VK_RETURN);
    EXPECT_EQ(fieldText(IDC_WIDTH), L"255");
    EXPECT_EQ(document.configs[0].width, 255);
    EXPECT_EQ(document.configs[0].height, 4);  // the other field's text was never committed

    typeInto(IDC_DISPLAY_X, "-200");
    pressKey(VK_RETURN);
    EXPECT_EQ(fieldText(IDC_DISPLAY_X), L"-200");
    EXPECT_EQ(document.configs[0].displayX, -200);
    BOOL failed = TRUE;
    EXPECT_EQ(SendDlgItemMessageW(panel(), IDC_DISPLAY_X_ARROWS, UDM_GETPOS32, 0,
                                  reinterpret_cast<LPARAM>(&failed)),
              -200);
    EXPECT_FALSE(failed);
}

TEST_F(PanelTest, AClickOnArrowsActsAndRendersOnce) {
    const std::uint64_t frames = editor().frameVersion();
    click(control(IDC_WIDTH_ARROWS), true);
    EXPECT_EQ(document.configs[0].width, 7);
    EXPECT_EQ(fieldText(IDC_WIDTH), L"7");
    EXPECT_EQ(editor().frameVersion(), frames + 1);
    click(control(IDC_POS_X_ARROWS), true);  // x steps by 2
    EXPECT_EQ(document.configs[0].x, 2);
    click(control(IDC_DISPLAY_X_ARROWS), false);
    EXPECT_EQ(document.configs[0].displayX, -4);
    EXPECT_EQ(fieldText(IDC_DISPLAY_X), L"-4");
    click(control(IDC_NUMBER_ARROWS), true);
    EXPECT_EQ(fieldText(IDC_NUMBER), L"1");
    EXPECT_EQ(fieldText(IDC_POS_X), L"6");
}

TEST_F(PanelTest, EscapeInAFieldAndEnterOnAButtonLeaveThePanelAlone) {
    typeInto(IDC_POS_Y, "7");
    pressKey(VK_ESCAPE);
    focus(control(IDC_RESET_WIDTH));
    pressKey(VK_RETURN);
    EXPECT_TRUE(IsWindow(panel()));
    EXPECT_TRUE(IsWindowVisible(panel()));
    EXPECT_TRUE(IsWindowEnabled(panel()));
    EXPECT_EQ(document.configs[0].y, 0);
    // The panel still works afterwards.
    typeInto(IDC_POS_Y, "9");
    pressKey(VK_RETURN);
    EXPECT_EQ(document.configs[0].y, 9);
}

TEST_F(PanelTest, KeyboardResizeStartsFromTheNumberTheFieldShows) {
    SetDlgItemTextW(panel(), IDC_WIDTH, L"abc");
    focus(control(IDC_WIDTH));
    pressKey(VK_RIGHT, false, true);
    EXPECT_EQ(document.configs[0].width, 1);  // "abc" reads as 0, not as a stale position
    EXPECT_EQ(fieldText(IDC_WIDTH), L"1");
    SetDlgItemTextW(panel(), IDC_POS_X, L"70000");
    pressKey(VK_RIGHT);
    EXPECT_EQ(fieldText(IDC_POS_X), L"254");
}

}  // namespace
}  // namespace zt9::test
