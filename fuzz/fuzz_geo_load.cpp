// Any bytes as a GEO font, loaded the way the load command does after reading the file.
// A font that opens is drawn in both views, exported and turned into a save image, before
// and after a few edits that the input's uninterpreted header word 2 (offset 8) chooses
// and a line, a fill and a palette change on the current element.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/byte_io.h"
#include "document/element_image.h"
#include "document/geo_document.h"
#include "document/pixel_edit.h"
#include "errors/error.h"
#include "fuzz_common.h"
#include "images/element_export.h"

namespace {

using namespace zt9;
using fuzz::require;

// Header word 2: bits 0-7 pick the edits, 8-15 the element, 16-23 and 24-31 two signed
// amounts. The load ignores this word, so every seed keeps its meaning as a font.
void applyEdits(GeoDocument& doc, std::uint32_t script) {
    const std::uint32_t ops = script & 0xFFu;
    const auto a = static_cast<std::int8_t>(script >> 16);
    const auto b = static_cast<std::int8_t>(script >> 24);
    std::int32_t out = 0;
    // Values past the last element select the last one, as the panel does.
    doc.selectElement(static_cast<std::int32_t>((script >> 8) & 0xFFu), out);
    auto config = [&doc]() -> const ElementConfig& { return doc.configs[doc.currentElement]; };
    if ((ops & 0x01u) != 0)
        doc.setX(config().x + a, out);
    if ((ops & 0x02u) != 0)
        doc.setY(config().y + b, out);
    if ((ops & 0x04u) != 0)
        doc.setWidth(config().width + (a & 15), out);
    if ((ops & 0x08u) != 0)
        doc.setWidth(config().width - (b & 15), out);
    if ((ops & 0x10u) != 0)
        doc.setHeight(config().height + (a & 15), out);
    if ((ops & 0x20u) != 0)
        doc.setHeight(config().height - (b & 15), out);
    if ((ops & 0x40u) != 0) {
        doc.setDisplayX(a * 3, out);
        doc.setDisplayY(b * 3, out);
        doc.setResizeWidth(config().width + a, out);
        doc.setResizeHeight(b * 3, out);
    }
    if ((ops & 0x80u) != 0) {
        // A second element moves too, so that two changed rectangles meet in one save.
        doc.selectElement(0, out);
        doc.setX(config().x + 2, out);
        doc.setHeight(config().height + (b & 7), out);
    }
}

bool within(const PixelRect& changed, const ImportSlot& image) {
    return changed.empty() || (changed.left >= 0 && changed.top >= 0 &&
                               std::int64_t{changed.right} <= std::int64_t{image.width} &&
                               std::int64_t{changed.bottom} <= std::int64_t{image.height} + 1);
}

// Drawing on the current element, with end points anywhere in the 32-bit range taken from
// the picture block's lead bytes and header word 2: nothing changes outside the image.
void drawOn(GeoDocument& doc) {
    const std::size_t lead = std::size_t{doc.pictureOffset} + 4;
    const auto x0 = static_cast<std::int32_t>(readU32(doc.fileImage, lead));
    const auto y0 = static_cast<std::int32_t>(readU32(doc.fileImage, 8));
    const auto x1 = static_cast<std::int8_t>(readU8(doc.fileImage, lead + 4));
    const auto y1 = static_cast<std::int8_t>(readU8(doc.fileImage, lead + 5));
    const auto index = static_cast<std::uint8_t>(readU8(doc.fileImage, lead + 6) & 15u);
    ImportSlot& image = makeOwnImage(doc, doc.currentElement);
    const std::size_t bytes = image.pixels.size();
    require(bytes == (std::size_t{image.width} + 1) / 2 * (std::size_t{image.height} + 1));
    require(within(drawLine(image, x0, y0, x1, y1, index), image));
    require(within(floodFill(image, x1, y1, static_cast<std::uint8_t>(index ^ 5u)), image));
    setPaletteEntry(image, index, static_cast<std::uint32_t>(x0));
    require(image.pixels.size() == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    GeoDocument doc;
    std::uint32_t lastElement = 0;
    try {
        lastElement = openFont(doc, std::vector<std::uint8_t>(data, data + size));
    } catch (const error& e) {
        // Every refusal names a condition the user is shown, and no half-open font stays.
        require(messageText(e).has_value());
        require(doc.fileImage.empty() && doc.configs.empty());
        return 0;
    }
    require(lastElement + 1 == doc.elementCount && doc.configs.size() == doc.elementCount);
    require(doc.fileImage.size() == doc.fileSize);

    // Without edits a save writes the file back unchanged.
    require(doc.buildSaveImage() == doc.fileImage);

    for (const std::uint32_t element : {0u, lastElement}) {
        fuzz::selectElement(doc, element);
        fuzz::renderBothViews(doc, element == 0);
        for (const int mode : {kExport8bpp, kExport4bpp})
            require(!exportElementBytes(doc, mode).empty());
    }

    applyEdits(doc, readU32(doc.fileImage, 8));
    drawOn(doc);
    fuzz::renderBothViews(doc, (data[8] & 1u) != 0);
    const std::vector<std::uint8_t> saved = doc.buildSaveImage();
    require(saved.size() == doc.fileSize);
    // The save starts from the loaded image every time, so a second one is the same.
    require(doc.buildSaveImage() == saved);
    return 0;
}
