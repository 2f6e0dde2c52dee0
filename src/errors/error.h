#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zt9 {

// The one value every failing file operation throws. Exactly one condition is set per
// throw; messageText() turns the record into the text the user sees.
struct error {
    std::int32_t domain = 0;  // 0 general file I/O (any value but 1 and 2), 1 BMP, 2 GEO
    // Domain 0: 1 open for read, 2 open for write, 3 too big, 4 too small, 5 a refused
    // clipboard picture.
    std::uint32_t code = 0;
    std::uint32_t wrongType = 0;
    std::uint32_t unsupported = 0;
    std::uint32_t paletteError = 0;
    std::uint32_t notTransparent = 0;
    std::uint32_t sizeError = 0;
    std::uint32_t elementError = 0;
    std::int32_t elementIndex = 0;
    std::string message;  // code page 1251 text, used by codes 3, 4 and 5

    bool operator==(const error&) const = default;
};

enum : std::int32_t { kDomainGeneral = 0, kDomainBmp = 1, kDomainGeo = 2 };
enum : std::uint32_t {
    kCodeLoad = 1,
    kCodeSave = 2,
    kCodeTooLarge = 3,
    kCodeTooSmall = 4,
    kCodeClipboard = 5,
};

// Message texts, as code page 1251 bytes (0xCA is the Cyrillic capital Ka).
namespace text {
inline constexpr const char* kGeoTooLarge =
    "File size more than 38 \xCA"
    "b";
inline constexpr const char* kGeoTooSmall =
    "File size less than 31 \xCA"
    "b";
inline constexpr const char* kBmpTooLarge =
    "File size more than 61 \xCA"
    "b";
inline constexpr const char* kBmpTooSmall = "File size less than 122 b";
inline constexpr const char* kClipboardDamaged = "The clipboard picture is damaged";
inline constexpr const char* kClipboardVersion = "No support clipboard picture version";
inline constexpr const char* kUnknown = "Unknow error";
inline constexpr const char* kCaption = "Error";
}  // namespace text

// The text of the one message box shown for a caught record, or nothing when the record
// names no known condition.
std::optional<std::string> messageText(const error& e);

// The BMP reader's refusals "No support BMP format" and the size texts (sizeError 1 to 3
// for too wide and too high, only too wide, only too high), for the readers of other
// picture formats that refuse alike.
error unsupportedBmpError();
error bmpSizeError(bool tooWide, bool tooHigh);
// A refused clipboard picture (code 5) whose message is `text`.
error clipboardError(std::string text);
// The refusal of a pasted colour that none of the element's colours matches, with the
// colour as #RRGGBB (0x00BBGGRR in) and its place counted from the top-left pixel.
error unmatchedColorError(std::uint32_t color, std::int32_t x, std::int32_t y);

// Decimal text of a signed value: "-" and the digits of the magnitude, no grouping.
std::string formatDecimal(std::int32_t value);

}  // namespace zt9
