// The element panel in the real window under Wine: Enter commits a field, a real click on
// arrows acts and renders once, and the dialog keys reach the panel without closing it.
#include "ui/window_fixture.h"

#include <commctrl.h>

namespace zt9::test {
namespace {

class PanelTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        open(writeFont("grid.geo", 3));
    }
    std::tuple<int, int, int, int, int> stored() const {
        const ElementConfig& c = document.configs[0];
        return {c.width, c.height, c.x, c.y, c.displayX};
    }
};

TEST_F(PanelTest, EnterCommitsTheTextAFieldShowsAndAnUncommittedValueChangesNothing) {
    typeInto(IDC_HEIGHT, "50");  // left without Enter
    typeInto(IDC_WIDTH, "300");
    press(VK_RETURN);
    typeInto(IDC_DISPLAY_X, "-200");
    press(VK_RETURN);
    EXPECT_EQ(fields(), "0,255,50,0,0,7,5,-200,-2, c0 s1");
    EXPECT_EQ(stored(), std::tuple(255, 4, 0, 0, -200));
    BOOL failed = TRUE;
    EXPECT_EQ(SendMessageW(control(IDC_DISPLAY_X_ARROWS), UDM_GETPOS32, 0,
                           reinterpret_cast<LPARAM>(&failed)),
              -200);
    EXPECT_FALSE(failed);
    // Keys start from the number a field's text shows, not from its arrows.
    SetDlgItemTextW(panel(), IDC_WIDTH, L"abc");
    SetDlgItemTextW(panel(), IDC_POS_X, L"70000");
    press(VK_RIGHT, VK_SHIFT);
    press(VK_RIGHT);
    EXPECT_EQ(fields(), "0,1,50,254,0,7,5,-200,-2, c0 s1");
    EXPECT_EQ(stored(), std::tuple(1, 4, 254, 0, -200));
}

TEST_F(PanelTest, AClickOnArrowsActsAndRendersOnce) {
    const struct {
        int arrows;
        bool up;
        const char* fields;
    } kClicks[] = {{IDC_WIDTH_ARROWS, true, "0,7,4,0,0,7,5,-3,-2, c0 s1"},
                   {IDC_POS_X_ARROWS, true, "0,7,4,2,0,7,5,-3,-2, c0 s1"},  // x steps by 2
                   {IDC_DISPLAY_X_ARROWS, false, "0,7,4,2,0,7,5,-4,-2, c0 s1"},
                   {IDC_NUMBER_ARROWS, true, "1,6,4,6,0,7,5,-2,-1, c1 s1"}};
    for (const auto& [arrows, up, expected] : kClicks) {
        const std::uint64_t frames = editor().frameVersion();
        click(arrows, up);
        EXPECT_EQ(fields(), expected);
        EXPECT_EQ(editor().frameVersion(), frames + 1) << arrows;
    }
    EXPECT_EQ(stored(), std::tuple(7, 4, 2, 0, -4));
}

TEST_F(PanelTest, EscapeAndEnterOnAButtonLeaveThePanelAloneWhileTabAndEnterPressTheNext) {
    typeInto(IDC_POS_Y, "7");
    press(VK_ESCAPE);
    typeInto(IDC_HEIGHT, "50");
    press(VK_RETURN);
    focus(control(IDC_RESET_WIDTH));
    press(VK_RETURN);
    EXPECT_TRUE(IsWindowVisible(panel()) && IsWindowEnabled(panel()));
    EXPECT_EQ(fields(), "0,6,50,0,7,7,5,-3,-2, c0 s1");
    EXPECT_EQ(stored(), std::tuple(6, 50, 0, 0, -3));
    // The dialog keys go to the panel: Tab moves to Hight's Reset button and Enter presses
    // it, one render in all; Space presses a focused button too.
    const std::uint64_t frames = editor().frameVersion();
    press(VK_TAB);
    press(VK_RETURN);
    EXPECT_EQ(GetFocus(), control(IDC_RESET_HEIGHT));
    EXPECT_EQ(editor().frameVersion(), frames + 1);
    typeInto(IDC_POS_Y, "9");
    press(VK_RETURN);
    EXPECT_EQ(stored(), std::tuple(6, 4, 0, 9, -3));
    focus(control(IDC_RESET_POS_Y));
    press(VK_SPACE);
    EXPECT_EQ(fields(), "0,6,4,0,0,7,5,-3,-2, c0 s1");
    EXPECT_EQ(stored(), std::tuple(6, 4, 0, 0, -3));
}

}  // namespace
}  // namespace zt9::test
