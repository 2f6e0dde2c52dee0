// The mouse in the Full picture: picking, moving and resizing elements.
#include "editor/main_window.h"

namespace zt9 {

bool MainWindow::picturePointer(const PointerEvent& /*event*/) {
    return false;
}

void MainWindow::pictureCaptureLost() {}

bool MainWindow::pictureCancel() {
    return false;
}

PointerCursor MainWindow::pictureCursor(const PicturePixel& /*pixel*/) const {
    return PointerCursor::arrow;
}

}  // namespace zt9
