// The mouse in the Full picture: picking, moving and resizing elements.
#include "editor/main_window.h"
#include "resources/resource.h"

namespace zt9 {

bool MainWindow::picturePointer(const PointerEvent& event) {
    // Any other action (a key, a command) ends a drag where it stands: a gesture never spans
    // another step.
    if (pictureDrag_ && !gestureOpen())
        pictureDrag_.reset();
    const PicturePixel pixel = viewport_.pixelAt(event.point);
    const bool left = event.button == PointerEvent::Button::left;
    switch (event.kind) {
        case PointerEvent::Kind::press:
            return left ? pressPicture(event.point, pixel) : pictureDrag_.has_value();
        case PointerEvent::Kind::move:
            return dragTo(pixel);
        case PointerEvent::Kind::release:
            if (left) {
                dragTo(pixel);
                finishPictureDrag();
            }
            return pictureDrag_.has_value();
        case PointerEvent::Kind::doubleClick: {
            finishPictureDrag();
            if (const std::optional<std::uint32_t> element =
                    pickAt(document_, viewport_, event.point).element) {
                selectPicked(*element);
                command(IDM_PICTURE_ELEMENT, 0);
            }
            return false;
        }
    }
    return false;
}

bool MainWindow::pressPicture(WindowPoint point, const PicturePixel& pixel) {
    finishPictureDrag();
    const PickedPoint picked = pickAt(document_, viewport_, point);
    if (picked.handle == DragHandle::none)
        return false;  // a click beside every element changes nothing
    if (picked.handle == DragHandle::body && *picked.element != document_.currentElement)
        selectPicked(*picked.element);
    beginGesture(picked.handle == DragHandle::body ? STEP_DRAG_MOVE : STEP_DRAG_RESIZE, false);
    pictureDrag_ =
        ElementDrag{picked.handle, pixel.x, pixel.y, document_.configs[document_.currentElement]};
    return true;
}

bool MainWindow::dragTo(const PicturePixel& pixel) {
    if (!pictureDrag_)
        return false;
    if (pictureDrag_->follow(document_, pixel.x, pixel.y))
        showDragged();
    return true;
}

void MainWindow::finishPictureDrag() {
    if (!pictureDrag_)
        return;
    pictureDrag_.reset();
    finishGesture();
}

void MainWindow::pictureCaptureLost() {
    // Lost half way, the drag ends where it is, as one step.
    if (pictureDrag_ && !gestureOpen())
        pictureDrag_.reset();
    finishPictureDrag();
}

bool MainWindow::pictureCancel() {
    if (!pictureDrag_)
        return false;
    const bool open = gestureOpen();
    pictureDrag_.reset();
    if (open) {
        cancelGesture();
        showDragged();
    }
    return open;
}

PointerCursor MainWindow::pictureCursor(WindowPoint point) const {
    const DragHandle handle = pictureDrag_ && gestureOpen()
                                  ? pictureDrag_->handle
                                  : pickAt(document_, viewport_, point).handle;
    switch (handle) {
        case DragHandle::rightEdge:
            return PointerCursor::sizeAcross;
        case DragHandle::bottomEdge:
            return PointerCursor::sizeDown;
        case DragHandle::corner:
            return PointerCursor::sizeBoth;
        default:
            return PointerCursor::arrow;
    }
}

void MainWindow::selectPicked(std::uint32_t element) {
    std::int32_t corrected = 0;
    document_.selectElement(static_cast<std::int32_t>(element), corrected);
    showCurrentElement();
    showChanges();
}

void MainWindow::showDragged() {
    std::uint8_t imported = 0;
    const ElementConfig now = document_.currentConfig(imported);
    writeField(IDC_POS_X, now.x);
    writeField(IDC_POS_Y, now.y);
    writeField(IDC_WIDTH, now.width);
    writeField(IDC_HEIGHT, now.height);
    // Only the current element moved, and it is not part of the picture behind it.
    compose();
    showChanges();
}

}  // namespace zt9
