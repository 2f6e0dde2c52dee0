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
#include "support/geo_builder.h"

namespace {

using namespace zt9;
using fuzz::require;

// Six grid elements and one in the bottom-right corner, so imports are pushed back into
// the picture from both edges.
const GeoDocument& fixedFont() {
    static const GeoDocument font = [] {
        test::GeoBuilder builder = test::GeoBuilder::grid(6, 6, 4);
        test::ElementLayout corner;
        corner.x = 240;
        corner.y = 230;
        corner.width = 14;
        corner.height = 9;
        builder.elements.push_back(corner);
        builder.paintPattern(builder.elements.size() - 1);
        GeoDocument doc;
        openFont(doc, builder.build());
        return doc;
    }();
    return font;
}

bool sameSlot(const ImportSlot& a, const ImportSlot& b) {
    return a.imported == b.imported && a.pixels == b.pixels && a.colors == b.colors &&
           a.width == b.width && a.height == b.height;
}

// An accepted image keeps the element inside the picture and fits the slot to it.
void checkImported(const GeoDocument& doc) {
    const ElementConfig& c = doc.configs[doc.currentElement];
    const ImportSlot& slot = doc.importSlots[doc.currentElement];
    require(slot.imported == 1 && doc.modified == 1);
    require(slot.width >= 1 && slot.width <= 255 && slot.height <= 239);
    require(slot.pixels.size() == std::size_t{(slot.width + 1) / 2} * (slot.height + 1));
    require(c.width == static_cast<std::int32_t>(slot.width) &&
            c.height == static_cast<std::int32_t>(slot.height));
    require(c.x >= 0 && c.x % 2 == 0 && c.x + c.width <= 255);
    require(c.y >= 0 && c.y + c.height <= 239);
}

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
    GeoDocument doc = fixedFont();
    if (size > 8) {
        fuzz::selectElement(doc, data[6] % doc.elementCount);
        std::int32_t out = 0;
        doc.setX(data[7], out);
        doc.setY(data[8] % 240, out);
    }
    const GeoDocument before = doc;
    const std::uint32_t element = doc.currentElement;

    FieldCode xCode = FieldCode::unchanged;
    FieldCode yCode = FieldCode::unchanged;
    try {
        require(importElement(doc, xCode, yCode, std::span<const std::uint8_t>(data, size)));
    } catch (const error& e) {
        require(messageText(e).has_value());
        require(doc.configs == before.configs && doc.modified == before.modified);
        require(sameSlot(doc.importSlots[element], before.importSlots[element]));
        return 0;
    }
    checkImported(doc);
    fuzz::renderBothViews(doc, (size & 1u) != 0);
    const std::vector<std::uint8_t> saved = doc.buildSaveImage();
    require(saved.size() == doc.fileSize);
    checkRoundTrip(doc, saved);
    // The export shows the element as loaded, whatever was imported.
    require(exportElementBytes(doc, kExport4bpp) == exportElementBytes(before, kExport4bpp));
    return 0;
}
