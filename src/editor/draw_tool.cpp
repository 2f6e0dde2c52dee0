// The drawing tools of the Picture Element view.
#include "editor/main_window.h"

namespace zt9 {

bool MainWindow::drawPointer(const PointerEvent& /*event*/) {
    return false;
}

void MainWindow::drawCaptureLost() {}

bool MainWindow::drawCancel() {
    return false;
}

PointerCursor MainWindow::drawCursor(const PicturePixel& /*pixel*/) const {
    return PointerCursor::arrow;
}

}  // namespace zt9
