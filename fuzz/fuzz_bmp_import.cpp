// Any bytes as a BMP imported into an element of a fixed, valid font. A refused file must
// leave the document as it was; an accepted one is drawn, saved, loaded again from the
// save image, exported from there and imported once more, which must give back the same
// pixels. The BMP's reserved header bytes 6 to 8, which the reader ignores, choose the
// element and its place before the import.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "document/geo_document.h"
#include "errors/error.h"
#include "fuzz_common.h"
#include "images/element_export.h"
#include "images/element_import.h"

namespace {

using namespace zt9;
using fuzz::require;

// The element saved into a file, loaded again and exported in either depth comes back
// with the same pixels and, after the file's 15-bit rounding, the same colours.
void checkRoundTrip(const GeoDocument& doc, const std::vector<std::uint8_t>& saved) {
    const std::uint32_t element = doc.currentElement;
    GeoDocument reloaded;
    openFont(reloaded, saved);
    const ElementConfig& before = doc.configs[element];
    const ElementConfig& after = reloaded.configs[element];
    require(after.x == before.x && after.y == before.y && after.width == before.width &&
            after.height == before.height);
    fuzz::selectElement(reloaded, element);
    const ImportSlot& original = doc.importSlots[element];
    for (const int mode : {kExport8bpp, kExport4bpp}) {
        const std::vector<std::uint8_t> exported = exportElementBytes(reloaded, mode);
        GeoDocument again = reloaded;
        FieldCode xCode = FieldCode::unchanged;
        FieldCode yCode = FieldCode::unchanged;
        importElement(again, xCode, yCode, exported);
        const ImportSlot& slot = again.importSlots[element];
        require(slot.width == original.width && slot.height == original.height);
        require(slot.pixels == original.pixels);
        for (std::size_t k = 1; k < 16; ++k) {
            for (const unsigned shift : {0u, 8u, 16u}) {
                require(colorLevel5((slot.colors[k] >> shift) & 0xFFu) ==
                        colorLevel5((original.colors[k] >> shift) & 0xFFu));
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    GeoDocument doc = fuzz::fixedFont();
    if (size > 8)
        fuzz::placeElement(doc, data + 6);
    const GeoDocument before = doc;
    const std::uint32_t element = doc.currentElement;

    FieldCode xCode = FieldCode::unchanged;
    FieldCode yCode = FieldCode::unchanged;
    try {
        require(importElement(doc, xCode, yCode, std::span<const std::uint8_t>(data, size)));
    } catch (const error& e) {
        require(messageText(e).has_value());
        require(doc.configs == before.configs && doc.modified == before.modified);
        require(fuzz::sameSlot(doc.importSlots[element], before.importSlots[element]));
        return 0;
    }
    fuzz::checkImported(doc);
    fuzz::renderBothViews(doc, (size & 1u) != 0);
    const std::vector<std::uint8_t> saved = doc.buildSaveImage();
    require(saved.size() == doc.fileSize);
    checkRoundTrip(doc, saved);
    // The export shows the element as loaded, whatever was imported.
    require(exportElementBytes(doc, kExport4bpp) == exportElementBytes(before, kExport4bpp));
    return 0;
}
