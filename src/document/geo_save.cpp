#include <algorithm>

#include "document/byte_io.h"
#include "document/file_io.h"
#include "document/geo_document.h"

namespace zt9 {
namespace {

using U32 = std::uint32_t;

U32 rowBytes(U32 width) {
    return (width + 1) / 2;
}
U32 skipFor(U32 width) {
    return (256 - width) / 2;
}

// Zero `count` bytes at `offset`; whatever lies outside `area` is cut off.
void zeroClipped(std::span<std::uint8_t> area, std::size_t offset, std::size_t count) {
    if (offset >= area.size())
        return;
    count = std::min(count, area.size() - offset);
    std::fill_n(area.begin() + static_cast<std::ptrdiff_t>(offset), count, std::uint8_t{0});
}

// Copy `count` bytes; the part that falls outside the source or the destination is cut off.
void copyClipped(std::span<const std::uint8_t> source, std::size_t from,
                 std::span<std::uint8_t> area, std::size_t to, std::size_t count) {
    if (from >= source.size() || to >= area.size())
        return;
    count = std::min({count, source.size() - from, area.size() - to});
    std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(from), count,
                area.begin() + static_cast<std::ptrdiff_t>(to));
}

std::size_t placeWordOffset(U32 element) {
    return 24 + std::size_t{16} * element;
}

}  // namespace

std::span<std::uint8_t> GeoDocument::pixelArea(std::span<std::uint8_t> output) const {
    return output.first(std::min<std::size_t>(paletteOffset, output.size()));
}

void GeoDocument::computeChangeFlags() {
    for (U32 i = 0; i < elementCount; ++i) {
        const Place loaded = decodePlace(placeWords[i]);
        ElementConfig& config = configs[i];
        config.moved =
            (static_cast<U32>(config.x) != loaded.x || static_cast<U32>(config.y) != loaded.y) ? 1
                                                                                               : 0;
        auto compare = [](U32 now, U32 before) { return now < before ? 1 : now > before ? 2 : 0; };
        config.widthChange = compare(static_cast<U32>(config.width), loaded.width);
        config.heightChange = compare(static_cast<U32>(config.height), loaded.height);
    }
}

std::uint32_t GeoDocument::clearElementArea(std::span<std::uint8_t> output, U32 placeWord,
                                            U32 start, U32 skip) {
    const Place place = decodePlace(placeWord);
    std::size_t offset = start;
    for (U32 row = 0; row <= place.height; ++row) {
        if (place.width != 0) {
            zeroClipped(output, offset, rowBytes(place.width));
            offset += rowBytes(place.width);
        }
        offset += skip;
    }
    return static_cast<U32>(offset);
}

void GeoDocument::moveElementPixels(std::span<std::uint8_t> output, U32 element) {
    const ElementConfig& config = configs[element];
    if (importSlots[element].imported != 0)
        return;
    if (config.moved == 0 && config.widthChange == 0 && config.heightChange == 0)
        return;

    const U32 newWord = encodePlace(config.x, config.y, config.width, config.height);
    writeU32(output, placeWordOffset(element), newWord);
    const Place loaded = decodePlace(placeWords[element]);
    const Place now = decodePlace(newWord);
    const std::span<std::uint8_t> pixels = pixelArea(output);

    std::size_t source = elementPixelOffset(placeWords[element]);
    std::size_t destination = config.moved == 1 ? elementPixelOffset(newWord) : source;
    U32 copyWidth = loaded.width;
    U32 skip = skipFor(loaded.width);
    if (config.widthChange == 1) {
        copyWidth = now.width;
        skip = skipFor(now.width);
    }
    // A grown rectangle is zeroed whole first, so what the copy does not cover is
    // transparent.
    if (config.widthChange == 2) {
        clearElementArea(pixels, newWord, static_cast<U32>(destination), skipFor(now.width));
    } else if (config.heightChange == 2) {
        clearElementArea(pixels, newWord, static_cast<U32>(destination), skip);
    }
    const U32 rows = config.heightChange == 1 ? now.height + 1 : loaded.height + 1;
    for (U32 row = 0; row < rows; ++row) {
        if (copyWidth > 0) {
            copyClipped(fileImage, source, pixels, destination, rowBytes(copyWidth));
            source += rowBytes(copyWidth);
            destination += rowBytes(copyWidth);
        }
        source += skip;
        destination += skip;
    }
}

void GeoDocument::writeImportedElement(std::span<std::uint8_t> output, U32 element) {
    const ImportSlot& slot = importSlots[element];
    if (slot.imported == 0)
        return;
    const ElementConfig& config = configs[element];
    const U32 newWord = encodePlace(config.x, config.y, config.width, config.height);
    writeU32(output, placeWordOffset(element), newWord);

    // Rows are stepped by the image's own width so that they always lie 128 bytes apart,
    // even if a reset button changed the configured width after the import.
    rowSkip = skipFor(std::min<U32>(slot.width, 255));
    packColors15(slot.colors, output,
                 std::size_t{paletteOffset} + std::size_t{kPaletteEntryBytes} * element + 4);

    const std::span<std::uint8_t> pixels = pixelArea(output);
    const U32 bytesPerRow = rowBytes(std::min<U32>(slot.width, 255));
    std::size_t destination = elementPixelOffset(newWord);
    std::size_t source = 0;
    for (U32 row = 0; row <= slot.height; ++row) {
        copyClipped(slot.pixels, source, pixels, destination, bytesPerRow);
        source += bytesPerRow;
        destination += bytesPerRow + rowSkip;
    }
}

void GeoDocument::writeEntryWords(std::span<std::uint8_t> output) const {
    for (U32 i = 0; i < elementCount; ++i) {
        const ElementConfig& config = configs[i];
        const U32 resize = encodeHalves(config.resizeWidth, config.resizeHeight);
        const U32 display = encodeHalves(config.displayX, config.displayY);
        const std::size_t entry = 12 + std::size_t{kTableEntryBytes} * i;
        if (resize != resizeWords[i])
            writeU32(output, entry + 4, resize);
        if (display != displayWords[i])
            writeU32(output, entry + 8, display);
    }
}

std::vector<std::uint8_t> GeoDocument::buildSaveImage() {
    std::vector<std::uint8_t> output = fileImage;
    computeChangeFlags();
    // All old places are cleared before anything is written; moved and resized elements
    // follow in element order, imported ones after all of them.
    for (U32 i = 0; i < elementCount; ++i) {
        const ElementConfig& config = configs[i];
        if (importSlots[i].imported != 0 || config.moved != 0 || config.widthChange != 0 ||
            config.heightChange != 0) {
            const U32 word = placeWords[i];
            clearElementArea(pixelArea(output), word, elementPixelOffset(word),
                             skipFor(decodePlace(word).width));
        }
    }
    for (U32 i = 0; i < elementCount; ++i)
        moveElementPixels(output, i);
    for (U32 i = 0; i < elementCount; ++i)
        writeImportedElement(output, i);
    writeEntryWords(output);
    return output;
}

void GeoDocument::saveFile(const std::filesystem::path& fileName) {
    const std::vector<std::uint8_t> output = buildSaveImage();
    if (!writeFileReplacing(fileName, output)) {
        lastError.code = kCodeSave;
        raise();
    }
    modified = 0;
}

}  // namespace zt9
