// The element panel in the real window under Wine: Enter commits a field, the dialog keys
// reach the panel without closing it, and a real click on arrows acts and renders once.
#include "ui/window_fixture.h"

namespace zt9::test {
namespace {

// Width, Hight, Position X and Y and Display pos X as element 0 holds them.
std::tuple<int, int, int, int, int> stored(const ElementConfig& c) {
    return {c.width, c.height, c.x, c.y, c.displayX};
}

TEST_F(WindowTest, AClickOnArrowsActsAndRendersOnce) {
    open(writeFont("grid.geo", 3));
    for (const auto& [arrows, up, expected] :
         {std::tuple{IDC_WIDTH_ARROWS, true, "0,7,4,0,0,7,5,-3,-2, c0 s1"},
          {IDC_POS_X_ARROWS, true, "0,7,4,2,0,7,5,-3,-2, c0 s1"},  // x steps by 2
          {IDC_DISPLAY_X_ARROWS, false, "0,7,4,2,0,7,5,-4,-2, c0 s1"},
          {IDC_NUMBER_ARROWS, true, "1,6,4,6,0,7,5,-2,-1, c1 s1"}}) {
        const std::uint64_t frames = editor().frameVersion();
        click(arrows, up);
        EXPECT_EQ(fields(), expected) << arrows;
        EXPECT_EQ(editor().frameVersion(), frames + 1) << arrows;
    }
    EXPECT_EQ(stored(document.configs[0]), std::tuple(7, 4, 2, 0, -4));
}

TEST_F(WindowTest, EnterCommitsAFieldWhileEscapeAndEnterOnAButtonLeaveThePanelAlone) {
    open(writeFont("grid.geo", 3));
    typeInto(IDC_HEIGHT, "50");  // left without Enter
    typeInto(IDC_POS_Y, "7");
    press(VK_ESCAPE);
    SetFocus(control(IDC_RESET_WIDTH));
    press(VK_RETURN);
    EXPECT_TRUE(IsWindowVisible(panel()) && IsWindowEnabled(panel()));
    EXPECT_EQ(fields(), "0,6,50,0,7,7,5,-3,-2, c0 s1");
    EXPECT_EQ(stored(document.configs[0]), std::tuple(6, 4, 0, 0, -3));
    for (const auto& [field, text] :
         {std::pair{IDC_WIDTH, "300"}, {IDC_DISPLAY_X, "-200"}, {IDC_HEIGHT, "50"}}) {
        typeInto(field, text);
        press(VK_RETURN);
    }
    EXPECT_EQ(fields(), "0,255,50,0,7,7,5,-200,-2, c0 s1");
    EXPECT_EQ(stored(document.configs[0]), std::tuple(255, 50, 0, 0, -200));
    EXPECT_EQ(SendMessageW(control(IDC_DISPLAY_X_ARROWS), UDM_GETPOS32, 0, 0), -200);
    // The dialog keys go to the panel: Tab moves to Hight's Reset button and Enter presses
    // it, one render in all.
    SetFocus(control(IDC_RESET_WIDTH));
    const std::uint64_t frames = editor().frameVersion();
    press(VK_TAB);
    press(VK_RETURN);
    EXPECT_EQ(GetFocus(), control(IDC_RESET_HEIGHT));
    EXPECT_EQ(editor().frameVersion(), frames + 1);
    EXPECT_EQ(fields(), "0,255,4,0,7,7,5,-200,-2, c0 s1");
    EXPECT_EQ(stored(document.configs[0]), std::tuple(255, 4, 0, 0, -200));
}

}  // namespace
}  // namespace zt9::test
