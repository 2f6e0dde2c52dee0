// The mouse over the picture area: each event goes to what the shown view does with it, the
// drawing tools in Picture Element view and element picking and dragging in Full picture.
#include "editor/main_window.h"

namespace zt9 {

bool MainWindow::pointerEvent(const PointerEvent& event) {
    if (event.kind == PointerEvent::Kind::move)
        pointerMoved(event.point);
    if (view.documentLoaded == 0 || !viewSurface_)
        return false;
    return view.viewMode == kPictureElement ? drawPointer(event) : picturePointer(event);
}

void MainWindow::pointerCaptureLost() {
    if (view.documentLoaded == 0)
        return;
    if (view.viewMode == kPictureElement)
        drawCaptureLost();
    else
        pictureCaptureLost();
}

bool MainWindow::pointerCancel() {
    if (view.documentLoaded == 0)
        return false;
    return view.viewMode == kPictureElement ? drawCancel() : pictureCancel();
}

PointerCursor MainWindow::pointerCursor(WindowPoint point) const {
    const PicturePixel pixel = viewport_.pixelAt(point);
    if (view.documentLoaded == 0 || !pixel.inView)
        return PointerCursor::arrow;
    return view.viewMode == kPictureElement ? drawCursor(pixel) : pictureCursor(point);
}

}  // namespace zt9
