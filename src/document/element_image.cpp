#include "document/element_image.h"

#include <algorithm>
#include <stdexcept>

#include "document/byte_io.h"
#include "document/colors15.h"

namespace zt9 {
namespace {

using U32 = std::uint32_t;

U32 rowBytes(U32 width) {
    return (width + 1) / 2;
}

// Width and height fields kept within what a place word can hold.
U32 placeField(std::int32_t value) {
    return static_cast<U32>(std::clamp<std::int32_t>(value, 0, 255));
}

bool hasElement(const GeoDocument& document, std::uint32_t element) {
    return element < document.configs.size() && element < document.placeWords.size() &&
           element < document.importSlots.size();
}

}  // namespace

ImportSlot presentImage(const GeoDocument& document, std::uint32_t element) {
    if (!hasElement(document, element))
        return {};
    if (document.importSlots[element].imported != 0)
        return document.importSlots[element];

    const ElementConfig& config = document.configs[element];
    const Place loaded = decodePlace(document.placeWords[element]);
    ImportSlot image;
    image.width = placeField(config.width);
    image.height = placeField(config.height);
    image.colors = expandPalette(document.fileImage, document.paletteOffset, element);

    const U32 bytesPerRow = rowBytes(image.width);
    image.pixels.assign(std::size_t{bytesPerRow} * (image.height + 1), 0);
    // Whole bytes of the loaded rectangle are copied, the pad nibble of an odd width
    // included; a column the loaded rectangle does not cover stays 0.
    const U32 bytesCopied = std::min(bytesPerRow, rowBytes(loaded.width));
    const bool clearLoadedPad = loaded.width % 2 != 0 && image.width > loaded.width;
    const std::size_t start = document.elementPixelOffset(document.placeWords[element]);
    for (U32 row = 0; row <= std::min(image.height, loaded.height); ++row) {
        const std::size_t from = start + std::size_t{kPictureRowBytes} * row;
        const std::size_t to = std::size_t{bytesPerRow} * row;
        for (U32 k = 0; k < bytesCopied; ++k)
            image.pixels[to + k] = readU8(document.fileImage, from + k);
        if (clearLoadedPad)
            image.pixels[to + loaded.width / 2] &= 0x0Fu;
    }
    return image;
}

ImportSlot& makeOwnImage(GeoDocument& document, std::uint32_t element) {
    if (!hasElement(document, element))
        throw std::out_of_range("no such element to draw on");
    ImportSlot& slot = document.importSlots[element];
    if (slot.imported == 0) {
        slot = presentImage(document, element);
        slot.imported = 1;
    }
    slot.drawn = 1;
    return slot;
}

bool setPaletteEntry(ImportSlot& image, std::uint32_t entry, std::uint32_t color) {
    if (entry >= image.colors.size())
        return false;
    const U32 stored = storedColor(color);
    const bool changed = image.colors[entry] != stored;
    image.colors[entry] = stored;
    return changed;
}

}  // namespace zt9
