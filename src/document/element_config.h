#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace zt9 {

// The editable values of one element. A width w means w pixel columns; a height h means
// h + 1 rows. Fields 0 to 7 are written back into the file by a save; moved, widthChange
// and heightChange are scratch of the save; colorIndex is a display aid only.
struct ElementConfig {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t displayX = 0;
    std::int32_t displayY = 0;
    std::int32_t resizeWidth = 0;
    std::int32_t resizeHeight = 0;
    std::int32_t moved = 0;
    std::int32_t widthChange = 0;   // 1 narrower, 2 wider than the loaded place word
    std::int32_t heightChange = 0;  // 1 lower, 2 higher than the loaded place word
    std::int32_t colorIndex = 0;

    bool operator==(const ElementConfig&) const = default;
};

// An element's own image (imported from a BMP or drawn on) that replaces its pixels until
// it is saved into the file.
struct ImportSlot {
    std::uint8_t imported = 0;
    // 4-bit pixels: height + 1 rows of (width + 1) / 2 bytes, top row first, no padding,
    // low nibble = left pixel, 0 = transparent.
    std::vector<std::uint8_t> pixels;
    std::array<std::uint32_t, 16> colors{};  // red in bits 0-7, green 8-15, blue 16-23
    std::uint32_t width = 0;
    std::uint32_t height = 0;  // rows minus one
    // Set when the image was drawn on or its palette changed, cleared by an import: only a
    // drawn image is exported in place of the element as loaded.
    std::uint8_t drawn = 0;

    bool operator==(const ImportSlot&) const = default;
};

// Result of every element-field operation: which displayed value the caller must correct.
enum class FieldCode : std::int32_t {
    unchanged = 0,
    number = 1,
    width = 2,
    height = 3,
    x = 4,
    y = 5,
    resizeWidth = 6,
    resizeHeight = 7,
    displayX = 8,
    displayY = 9,
};

// Fields of a place word (element table word 3).
struct Place {
    std::uint32_t x, y, width, height;
};
inline constexpr Place decodePlace(std::uint32_t word) {
    return {word & 0xFFu, (word >> 8) & 0xFFu, (word >> 16) & 0xFFu, word >> 24};
}
// Each field is taken modulo 256.
inline constexpr std::uint32_t encodePlace(std::int32_t x, std::int32_t y, std::int32_t width,
                                           std::int32_t height) {
    return (static_cast<std::uint32_t>(x) & 0xFFu) |
           ((static_cast<std::uint32_t>(y) & 0xFFu) << 8) |
           ((static_cast<std::uint32_t>(width) & 0xFFu) << 16) |
           ((static_cast<std::uint32_t>(height) & 0xFFu) << 24);
}
// Copy the fields of the table words as loaded into a record.
inline constexpr void takePlace(ElementConfig& config, std::uint32_t placeWord) {
    const Place place = decodePlace(placeWord);
    config.x = static_cast<std::int32_t>(place.x);
    config.y = static_cast<std::int32_t>(place.y);
    config.width = static_cast<std::int32_t>(place.width);
    config.height = static_cast<std::int32_t>(place.height);
}
// Display positions are signed 16-bit halves.
inline constexpr void takeDisplay(ElementConfig& config, std::uint32_t displayWord) {
    config.displayX = static_cast<std::int16_t>(displayWord & 0xFFFFu);
    config.displayY = static_cast<std::int16_t>(displayWord >> 16);
}
inline constexpr void takeResize(ElementConfig& config, std::uint32_t resizeWord) {
    config.resizeWidth = static_cast<std::int32_t>(resizeWord & 0xFFFFu);
    config.resizeHeight = static_cast<std::int32_t>(resizeWord >> 16);
}

// Two 16-bit halves (resize and display words): low = bits 0-15, high = bits 16-31.
inline constexpr std::uint32_t encodeHalves(std::int32_t low, std::int32_t high) {
    return (static_cast<std::uint32_t>(low) & 0xFFFFu) |
           ((static_cast<std::uint32_t>(high) & 0xFFFFu) << 16);
}

}  // namespace zt9
