#include "errors/error.h"

#include <utility>

namespace zt9 {
namespace {

// The element texts hold two blanks after "Element"; the number goes between them.
std::string elementText(const char* templateText, std::int32_t index) {
    std::string result = templateText;
    result.insert(8, formatDecimal(index));
    return result;
}

std::optional<std::string> bmpText(const error& e) {
    if (e.wrongType != 0)
        return "Has been opened not BMP file";
    if (e.unsupported != 0)
        return "No support BMP format";
    if (e.paletteError == 1)
        return "Palette size is not 16 colors";
    if (e.paletteError == 2)
        return "Palette size is not 16 or 256 colors";
    if (e.sizeError == 1)
        return "Image size is too large";
    if (e.sizeError == 2)
        return "Image width is too large";
    if (e.sizeError == 3)
        return "Image hight is too large";
    if (e.notTransparent != 0)
        return "Last color in the palette is not a transparent";
    return std::nullopt;
}

std::optional<std::string> geoText(const error& e) {
    if (e.wrongType != 0)
        return "Has been opened not GEO file";
    if (e.unsupported != 0)
        return "No support GEO format";
    if (e.elementError == 1)
        return "Too much elements";
    if (e.elementError == 2)
        return elementText("Element  size out of picture", e.elementIndex);
    if (e.paletteError != 0) {
        return elementText("Element  palette color out of file", e.elementIndex);
    }
    return std::nullopt;
}

std::string generalText(const error& e) {
    switch (e.code) {
        case kCodeLoad:
            return "File load error";
        case kCodeSave:
            return "File save error";
        case kCodeTooLarge:
        case kCodeTooSmall:
        case kCodeClipboard:
            return e.message;
        default:
            return text::kUnknown;
    }
}

}  // namespace

std::optional<std::string> messageText(const error& e) {
    switch (e.domain) {
        case kDomainBmp:
            return bmpText(e);
        case kDomainGeo:
            return geoText(e);
        default:
            return generalText(e);
    }
}

error unsupportedBmpError() {
    error e;
    e.domain = kDomainBmp;
    e.unsupported = 1;
    return e;
}

error bmpSizeError(bool tooWide, bool tooHigh) {
    error e;
    e.domain = kDomainBmp;
    e.sizeError = tooWide && tooHigh ? 1 : tooWide ? 2 : 3;
    return e;
}

error clipboardError(std::string text) {
    error e;
    e.code = kCodeClipboard;
    e.message = std::move(text);
    return e;
}

error unmatchedColorError(std::uint32_t color, std::int32_t x, std::int32_t y) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex = "#";
    for (const unsigned shift : {0u, 8u, 16u})  // red, green, blue
        for (const unsigned nibble : {4u, 0u})
            hex += kDigits[(color >> (shift + nibble)) & 15u];
    return clipboardError("Color " + hex + " at x " + formatDecimal(x) + ", y " + formatDecimal(y) +
                          " is not in the element's palette");
}

std::string formatDecimal(std::int32_t value) {
    // Work on the magnitude in 64 bits so that even the most negative value is exact.
    std::int64_t magnitude = value;
    const bool negative = magnitude < 0;
    if (negative)
        magnitude = -magnitude;
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return negative ? "-" + digits : digits;
}

}  // namespace zt9
