// Copy and paste of the current element's image through the clipboard.
#include "document/element_image.h"
#include "editor/main_window.h"
#include "editor/texts.h"
#include "images/clipboard_image.h"
#include "images/element_image_format.h"
#include "resources/resource.h"

namespace zt9 {

void MainWindow::clipboardChanged() {
    const bool holds = clipboard_ != nullptr && clipboard_->holdsPicture();
    if (pasteShown_ == holds)
        return;
    screen_.setMenuItem(IDM_PASTE_IMAGE, text::kPasteEntry, holds);
    pasteShown_ = holds;
}

void MainWindow::copyImage(int /*id*/, std::intptr_t /*param*/) {
    if (clipboard_ == nullptr)
        return;
    // The picture the element shows now, in its present size: in our own format for an
    // exact paste, and as a 4-bit DIB laid out as an export for paint programs.
    const ImportSlot image = presentImage(document_, document_.currentElement);
    const std::vector<std::uint8_t> own = encodeElementImage(image);
    const std::vector<std::uint8_t> dib = copyAsDib(image);
    if (own.empty() || dib.empty())
        return;  // an element of no size from the file: nothing to copy
    if (!clipboard_->putPicture(own, dib))
        throw clipboardError(text::kClipboardBusy);
    clipboardChanged();
}

void MainWindow::pasteImage(int /*id*/, std::intptr_t /*param*/) {
    if (clipboard_ == nullptr)
        return;
    const ClipboardPicture picture = clipboard_->picture();
    if (picture.kind == ClipboardPicture::Kind::busy)
        throw clipboardError(text::kClipboardBusy);
    if (picture.kind == ClipboardPicture::Kind::none) {
        clipboardChanged();  // emptied since the menu was shown
        return;
    }
    FieldCode xCode = FieldCode::unchanged;
    FieldCode yCode = FieldCode::unchanged;
    // A refused picture throws here and changes nothing, as a refused import.
    edit(IDM_PASTE_IMAGE, 0, true, true, [&] {
        const bool own = picture.kind == ClipboardPicture::Kind::elementImage;
        elementImported = (own ? pasteElementImage(document_, xCode, yCode, picture.bytes)
                               : pasteDib(document_, xCode, yCode, picture.bytes))
                              ? 1
                              : 0;
    });
    showNewImage(xCode, yCode);
}

}  // namespace zt9
