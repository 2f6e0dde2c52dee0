// The status bar: the current element, the pixel under the pointer (and in the Full picture
// the element under it), the drawing tool, the zoom and whether the font has unsaved edits;
// without a font, a hint on how to open one.
#include "editor/element_drag.h"
#include "editor/main_window.h"
#include "editor/status_texts.h"
#include "render/draw.h"

namespace zt9 {

void MainWindow::setStatus(StatusPart part, const std::string& text) {
    std::string& shown = statusShown_.at(static_cast<std::size_t>(part));
    if (shown == text)
        return;
    shown = text;
    screen_.setStatusText(part, text);
}

void MainWindow::showStatusParts() {
    if (view.documentLoaded == 0) {
        showPointerState();
        setStatus(StatusPart::hint, status::kOpenFontHint);
        return;
    }
    std::uint8_t imported = 0;
    setStatus(StatusPart::element, status::element(document_.currentElement, document_.elementCount,
                                                   document_.currentConfig(imported)));
    // The tools draw in Picture Element view only.
    setStatus(StatusPart::tool, view.viewMode == kPictureElement
                                    ? status::tool(draw_.tool, draw_.color)
                                    : std::string());
    setStatus(StatusPart::zoom, status::zoom(viewport_.zoom()));
    setStatus(StatusPart::modified, document_.isModified() ? status::kModified : "");
    showPointerState();
    // Last, so the parts hold their texts when they replace the hint.
    setStatus(StatusPart::hint, "");
}

void MainWindow::showPointerState() {
    if (view.documentLoaded == 0 || !pointer_) {
        setStatus(StatusPart::pointer, "");
        return;
    }
    const PicturePixel pixel = viewport_.pixelAt(*pointer_);
    const bool alone = view.viewMode == kPictureElement;
    std::optional<std::uint8_t> index;
    std::uint32_t color = 0;
    if (alone && pixel.inFrame) {
        index = elementPixelIndex(document_, pixel.column, pixel.row);
        color = viewSurface_ ? viewSurface_->pixel(pixel.column, pixel.row) : 0;
    }
    std::string text = status::pointer(pixel, alone, index, color);
    if (!alone && !text.empty()) {
        if (const std::optional<std::uint32_t> over = elementAt(document_, pixel.x, pixel.y))
            text += status::overElement(*over);
    }
    setStatus(StatusPart::pointer, text);
}

}  // namespace zt9
