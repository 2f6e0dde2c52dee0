// The mouse and the clipboard in the real window under Wine: real clicks and drags on the
// scrolled picture at zoom 4, checked on screen and in the saved file, and a real clipboard
// round trip.
#include "document/element_image.h"
#include "images/clipboard_image.h"
#include "images/element_image_format.h"
#include "support/test_util.h"
#include "ui/window_fixture.h"

namespace zt9::test {
namespace {

class MouseWindowTest : public WindowTest {
  protected:
    // The editor's save of the open font against the model's.
    void expectSavedAs(GeoDocument& model) {
        press('S', VK_CONTROL);
        EXPECT_EQ(readBytes(dir.file("grid.geo")), model.buildSaveImage());
    }
};

TEST_F(MouseWindowTest, RealClicksAndDragsOnTheScrolledPictureAndClipboardRoundTrips) {
    GeoDocument model;
    openFont(model, GeoBuilder::grid(12).build());
    open(writeFont("grid.geo", 12));  // elements of 6 x 5 at x 0, 6, 12 ... on row 0
    for (int i = 0; i < 3; ++i)
        command(IDM_ZOOM_IN);
    SendMessageW(window(), WM_HSCROLL, SB_LINEDOWN,
                 reinterpret_cast<LPARAM>(GetDlgItem(window(), IDC_PICTURE_HSCROLL)));
    // Scrolled four columns, picture pixel (20, 2) of element 3 lies at window (65, 9): a
    // click picks it; a drag from pixel (21, 3), far enough not to count as a double click,
    // through far outside the window ends 23 and 13 window pixels on, that is 6 columns (3
    // steps of x) and 3 rows.
    mouse({{{65, 9}, MOUSEEVENTF_LEFTDOWN}, {{65, 9}, MOUSEEVENTF_LEFTUP}});
    EXPECT_EQ(fields(), "3,6,4,18,0,7,5,0,1, c3 s4");
    mouse({{{70, 13}, MOUSEEVENTF_LEFTDOWN}, {{-200, 2000}, 0}, {{93, 26}, MOUSEEVENTF_LEFTUP}});
    // The corner (window 104, 32 now) three columns and one row further out.
    mouse({{{105, 33}, 0}});
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZENWSE));
    mouse({{{105, 33}, MOUSEEVENTF_LEFTDOWN}, {{113, 37}, MOUSEEVENTF_LEFTUP}});
    EXPECT_EQ(fields(), "3,8,5,24,3,7,5,0,1, c3 s4");
    EXPECT_EQ(wrongPixels(4, 255, 240, 16), 0);
    std::int32_t out = 0;
    model.currentElement = 3;
    model.setX(24, out), model.setY(3, out), model.setWidth(8, out), model.setHeight(5, out);
    expectSavedAs(model);

    // Ctrl+C on element 3, Ctrl+V on element 4: the same picture, whatever went between.
    SetFocus(window());
    press('C', VK_CONTROL);
    press(VK_RIGHT, VK_CONTROL);
    press('V', VK_CONTROL);
    FieldCode x{};
    FieldCode y{};
    model.currentElement = 4;
    pasteElementImage(model, x, y, encodeElementImage(presentImage(model, 3)));
    expectSavedAs(model);
    // In a panel field Ctrl+C and Ctrl+V copy and paste its text: Paste greys, the element
    // stays as it is.
    typeInto(IDC_POS_Y, "77");
    SendMessageW(control(IDC_POS_Y), EM_SETSEL, 0, -1);
    press('C', VK_CONTROL);
    SetFocus(control(IDC_DISPLAY_X));
    SendMessageW(control(IDC_DISPLAY_X), EM_SETSEL, 0, -1);
    press('V', VK_CONTROL);
    EXPECT_EQ(fields(), "4,8,5,24,77,9,6,77,2, c0 s4");
    EXPECT_NE(GetMenuState(GetMenu(window()), IDM_PASTE_IMAGE, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

}  // namespace
}  // namespace zt9::test
