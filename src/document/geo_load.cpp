#include <utility>

#include "document/byte_io.h"
#include "document/file_io.h"
#include "document/geo_document.h"

namespace zt9 {

void GeoDocument::raise() const {
    throw lastError;
}

void GeoDocument::loadFile(const std::filesystem::path& fileName, bool documentLoaded) {
    LimitedRead read = readFileLimited(fileName, minFileSize, maxFileSize);
    switch (read.status) {
        case LimitedRead::Status::cannotRead:
            // A short read counts as a failed open: the open document stays untouched.
            lastError.code = kCodeLoad;
            raise();
        case LimitedRead::Status::tooLarge:
            refuseSize(true);
        case LimitedRead::Status::tooSmall:
            refuseSize(false);
        case LimitedRead::Status::ok:
            break;
    }
    loadBytes(std::move(read.bytes), documentLoaded);
}

void GeoDocument::refuseSize(bool tooLarge) {
    lastError.code = tooLarge ? kCodeTooLarge : kCodeTooSmall;
    lastError.message = tooLarge ? text::kGeoTooLarge : text::kGeoTooSmall;
    raise();
}

void GeoDocument::loadBytes(std::vector<std::uint8_t> bytes, bool documentLoaded) {
    if (bytes.size() > maxFileSize)
        refuseSize(true);
    if (bytes.size() < minFileSize)
        refuseSize(false);
    if (documentLoaded)
        closeDocument();
    fileSize = static_cast<std::uint32_t>(bytes.size());
    fileImage = std::move(bytes);
}

error GeoDocument::checkHeader() {
    const std::span<const std::uint8_t> image = fileImage;
    auto refuse = [&](std::uint32_t error::*condition) {
        fileImage.clear();
        fileImage.shrink_to_fit();
        lastError.domain = kDomainGeo;
        lastError.*condition = 1;
        return lastError;
    };
    if (readU32(image, 0) != signature)
        return refuse(&error::wrongType);

    pictureOffset = readU32(image, std::size_t{readCursor} * 4);
    // The format byte (at P + 4) and the last number word (at P - 12) must both lie inside
    // the file; P + 5 <= fileSize also keeps every offset derived from P far from overflow.
    const std::uint64_t p = pictureOffset;
    if (p < 12 || p + 5 > fileImage.size())
        return refuse(&error::unsupported);
    if (readU8(image, (p + 4) & ~std::uint64_t{3}) != 1)
        return refuse(&error::unsupported);

    paletteOffset = pictureOffset + kPaletteFromP;
    const std::uint32_t lastNumber = readU32(image, (p - 12) & ~std::uint64_t{3}) >> 24;
    if (lastNumber > maxElementNumber)
        return refuse(&error::elementError);
    elementCount = lastNumber + 1;
    return lastError;
}

std::uint32_t GeoDocument::parseElements() {
    const std::span<const std::uint8_t> image = fileImage;
    const std::size_t n = elementCount;
    numberWords.assign(n, 0);
    resizeWords.assign(n, 0);
    displayWords.assign(n, 0);
    placeWords.assign(n, 0);
    configs.assign(n, ElementConfig{});
    importSlots.assign(n, ImportSlot{});
    readCursor = 3;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t at = std::size_t{readCursor} * 4;
        numberWords[i] = readU32(image, at);
        resizeWords[i] = readU32(image, at + 4);
        displayWords[i] = readU32(image, at + 8);
        placeWords[i] = readU32(image, at + 12);
        readCursor += 4;

        ElementConfig& config = configs[i];
        takePlace(config, placeWords[i]);
        takeDisplay(config, displayWords[i]);
        takeResize(config, resizeWords[i]);
        config.colorIndex = static_cast<std::int32_t>(i % 4);
    }
    return elementCount - 1;
}

error GeoDocument::checkElements() {
    for (std::uint32_t i = 0; i < elementCount; ++i) {
        const auto paletteEnd =
            std::int64_t{paletteOffset} + std::int64_t{kPaletteEntryBytes} * (i + 1);
        if (paletteEnd > std::int64_t{fileSize}) {
            lastError.domain = kDomainGeo;
            lastError.paletteError = 1;
            lastError.elementIndex = static_cast<std::int32_t>(i);
            return lastError;
        }
        const Place place = decodePlace(placeWords[i]);
        rowSkip = (256 - place.width) >> 1;
        if (place.width == 0)
            continue;
        // Rows lie 128 bytes apart, so the element's bytes only grow: the walk fails exactly
        // when its last byte reaches the palette table.
        const std::uint64_t lastByte = std::uint64_t{elementPixelOffset(placeWords[i])} +
                                       std::uint64_t{place.height} * kPictureRowBytes +
                                       (place.width + 1) / 2 - 1;
        if (lastByte >= paletteOffset) {
            lastError.domain = kDomainGeo;
            lastError.elementError = 2;
            lastError.elementIndex = static_cast<std::int32_t>(i);
            return lastError;
        }
    }
    return lastError;
}

bool GeoDocument::closeDocument() {
    elementCount = 0;
    readCursor = 1;
    pictureOffset = 0;
    zoom = 1;
    rowSkip = 0;
    currentElement = 0;
    paletteOffset = 0;
    modified = 0;
    clearError();
    fileImage = {};
    numberWords = {};
    resizeWords = {};
    displayWords = {};
    placeWords = {};
    configs = {};
    importSlots = {};
    return true;
}

namespace {

// The checks after a file image was read: header, table, elements.
std::uint32_t checkReadFont(GeoDocument& document) {
    error result = document.checkHeader();
    if (result.domain != kDomainGeneral)
        throw error(result);
    const std::uint32_t lastElement = document.parseElements();
    result = document.checkElements();
    if (result.domain != kDomainGeneral) {
        document.closeDocument();
        throw error(result);
    }
    return lastElement;
}

}  // namespace

std::uint32_t openFont(GeoDocument& document, std::vector<std::uint8_t> bytes) {
    document.loadBytes(std::move(bytes), document.elementCount != 0);
    return checkReadFont(document);
}

std::uint32_t openFont(GeoDocument& document, const std::filesystem::path& fileName) {
    document.loadFile(fileName, document.elementCount != 0);
    return checkReadFont(document);
}

}  // namespace zt9
