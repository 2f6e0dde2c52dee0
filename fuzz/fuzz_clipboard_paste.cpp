// Any bytes pasted into an element of a fixed, valid font, twice: as our own element image
// format and as a DIB. A refused paste must leave the document as it was; an accepted one
// must fit the element inside the picture, be drawn and saved, and copy back: our format
// pasted again gives the same slot, and the DIB the same pixels (refused only when colour
// 0 is not black, which a DIB's transparent entry must be). DIB bytes 24 to 26 (the
// horizontal resolution, which no reader uses) choose the element and its place first.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "document/geo_document.h"
#include "errors/error.h"
#include "fuzz_common.h"
#include "images/clipboard_image.h"
#include "images/element_image_format.h"

namespace {

using namespace zt9;
using fuzz::require;

bool sameAtFilePrecision(const std::array<std::uint32_t, 16>& a,
                         const std::array<std::uint32_t, 16>& b) {
    for (std::size_t k = 0; k < a.size(); ++k) {
        for (const unsigned shift : {0u, 8u, 16u}) {
            if (colorLevel5((a[k] >> shift) & 0xFFu) != colorLevel5((b[k] >> shift) & 0xFFu))
                return false;
        }
    }
    return true;
}

void checkCopyBack(const GeoDocument& doc) {
    const ImportSlot& slot = doc.importSlots[doc.currentElement];
    FieldCode xCode = FieldCode::unchanged;
    FieldCode yCode = FieldCode::unchanged;
    GeoDocument own = doc;
    require(pasteElementImage(own, xCode, yCode, encodeElementImage(slot)));
    const ImportSlot& exact = own.importSlots[own.currentElement];
    require(exact.pixels == slot.pixels && exact.width == slot.width &&
            exact.height == slot.height && sameAtFilePrecision(exact.colors, slot.colors));
    require(own.configs == doc.configs);

    GeoDocument dib = doc;
    try {
        pasteDib(dib, xCode, yCode, copyAsDib(slot));
    } catch (const error&) {
        require(colorLevel5(slot.colors[0] & 0xFFu) + colorLevel5((slot.colors[0] >> 8) & 0xFFu) +
                    colorLevel5((slot.colors[0] >> 16) & 0xFFu) !=
                0);
        return;
    }
    require(dib.importSlots[dib.currentElement].pixels == slot.pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    for (const bool own : {true, false}) {
        GeoDocument doc = fuzz::fixedFont();
        if (size > 26)
            fuzz::placeElement(doc, data + 24);
        const GeoDocument before = doc;
        const std::uint32_t element = doc.currentElement;
        FieldCode xCode = FieldCode::unchanged;
        FieldCode yCode = FieldCode::unchanged;
        try {
            require(own ? pasteElementImage(doc, xCode, yCode, bytes)
                        : pasteDib(doc, xCode, yCode, bytes));
        } catch (const error& e) {
            require(messageText(e).has_value());
            require(doc.configs == before.configs && doc.modified == before.modified);
            require(fuzz::sameSlot(doc.importSlots[element], before.importSlots[element]));
            continue;
        }
        fuzz::checkImported(doc);
        fuzz::renderBothViews(doc, own);
        require(doc.buildSaveImage().size() == doc.fileSize);
        checkCopyBack(doc);
    }
    return 0;
}
