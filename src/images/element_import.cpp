#include "images/element_import.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "document/file_io.h"
#include "images/bmp_image.h"

namespace zt9 {
namespace {

[[noreturn]] void raiseFrom(GeoDocument& doc, std::uint32_t code, const char* message) {
    doc.lastError.code = code;
    if (message != nullptr)
        doc.lastError.message = message;
    throw doc.lastError;
}

void requireCurrentElement(const GeoDocument& doc) {
    const std::size_t element = doc.currentElement;
    if (element >= doc.configs.size() || element >= doc.importSlots.size() ||
        element >= doc.displayWords.size()) {
        throw std::logic_error("no open element to import into");
    }
}

}  // namespace

bool importElement(GeoDocument& doc, FieldCode& xCode, FieldCode& yCode,
                   const std::filesystem::path& fileName) {
    requireCurrentElement(doc);
    LimitedRead read = readFileLimited(fileName, kImportMinBytes, kImportMaxBytes);
    switch (read.status) {
        case LimitedRead::Status::cannotRead:
            raiseFrom(doc, kCodeLoad, nullptr);
        case LimitedRead::Status::tooLarge:
            raiseFrom(doc, kCodeTooLarge, text::kBmpTooLarge);
        case LimitedRead::Status::tooSmall:
            raiseFrom(doc, kCodeTooSmall, text::kBmpTooSmall);
        case LimitedRead::Status::ok:
            break;
    }
    return importElement(doc, xCode, yCode, read.bytes);
}

void checkImportSize(GeoDocument& doc, std::size_t size) {
    if (size > kImportMaxBytes)
        raiseFrom(doc, kCodeTooLarge, text::kBmpTooLarge);
    if (size < kImportMinBytes)
        raiseFrom(doc, kCodeTooSmall, text::kBmpTooSmall);
}

bool importElement(GeoDocument& doc, FieldCode& xCode, FieldCode& yCode,
                   std::span<const std::uint8_t> file) {
    requireCurrentElement(doc);
    // The size limits come before the header is looked at.
    checkImportSize(doc, file.size());

    // Everything that can fail happens on local values first, so a refused file leaves
    // the slot (an earlier import included), the configuration and `modified` untouched.
    BmpImage image;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 0;
    image.read(file, width, height, bitCount);
    ImportSlot decoded;
    if (bitCount == 4) {
        image.decode4bpp(decoded.pixels, decoded.colors);
    } else {
        image.decode8bpp(decoded.pixels, decoded.colors);
    }
    decoded.width = static_cast<std::uint32_t>(width);
    decoded.height = static_cast<std::uint32_t>(height - 1);
    return installImage(doc, std::move(decoded), xCode, yCode);
}

bool installImage(GeoDocument& doc, ImportSlot image, FieldCode& xCode, FieldCode& yCode) {
    requireCurrentElement(doc);
    const std::size_t rows = std::size_t{image.height} + 1;
    if (image.width < 1 || image.width > 255 || rows > 240 ||
        image.pixels.size() != rows * ((image.width + 1) / 2)) {
        throw std::invalid_argument("not an element image");
    }
    const std::uint32_t element = doc.currentElement;
    const auto width = static_cast<std::int32_t>(image.width);
    const auto height = static_cast<std::int32_t>(image.height);
    ImportSlot& slot = doc.importSlots[element];
    slot = std::move(image);
    slot.imported = 1;
    slot.drawn = 0;

    ElementConfig& config = doc.configs[element];
    config.width = width;
    config.height = height;
    config.resizeWidth = width + 1;
    config.resizeHeight = height + 1;
    takeDisplay(config, doc.displayWords[element]);

    // The position is re-applied so that it stays even and inside the picture for the new
    // size; both calls mark the document modified.
    std::int32_t out = 0;
    xCode = doc.setX(config.x, out);
    yCode = doc.setY(config.y, out);
    return true;
}

}  // namespace zt9
