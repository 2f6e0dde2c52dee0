#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace zt9::test {

using Bytes = std::vector<std::uint8_t>;

// One element of a font made by GeoBuilder: its table words and its palette record.
struct ElementLayout {
    std::uint32_t x = 0, y = 0, width = 4, height = 3;  // place word bytes (height = rows - 1)
    std::uint32_t resizeWidth = 5, resizeHeight = 4;    // resize word halves
    std::int32_t displayX = 0, displayY = 0;            // display word halves (signed 16-bit)
    std::uint32_t numberLow = 0;                        // bits 0-23 of the number word
    std::uint32_t paletteFlags = 0x0A;                  // announces 16 colours
    std::array<std::uint16_t, 16> colors{};             // 15-bit colours
};

// Builds GEO files from parameters, so every test makes exactly the data it needs.
// A well-formed file has P = 16 n + 8 and is 30740 + 52 n bytes long plus `extraBytes`.
struct GeoBuilder {
    std::vector<ElementLayout> elements;
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(30720, 0);  // 240 rows x 128
    std::vector<std::uint8_t> extraBytes{};                                  // after the palettes
    std::uint32_t headerWord2 = 0xA5A5A5A5;
    std::optional<std::uint32_t> lastNumber{};  // deliberate damage: top byte of the last number

    // A font of n elements laid out left to right, top to bottom, each w x (h + 1),
    // with distinct colours and a pixel pattern that differs per element.
    static GeoBuilder grid(std::size_t n, std::uint32_t w = 6, std::uint32_t h = 4);
    // An element at (x, y) of w columns and h + 1 rows, its resize values matching.
    static ElementLayout layoutAt(std::uint32_t x, std::uint32_t y, std::uint32_t w,
                                  std::uint32_t h) {
        return {x, y, w, h, w + 1, h + 1};
    }
    void setPixel(std::uint32_t x, std::uint32_t y, std::uint8_t value);
    // Paints element i's rectangle with a pattern that never repeats between elements
    // and uses every index 0..15, so transparency is exercised too.
    void paintPattern(std::size_t i);
    std::vector<std::uint8_t> build() const;
};

// Writes the low `bytes` bytes of `value` at `at`, little-endian, as both builders do.
inline void putLE(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value,
                  std::size_t bytes = 4) {
    for (std::size_t k = 0; k < bytes; ++k)
        out.at(at + k) = static_cast<std::uint8_t>(value >> (8 * k));
}

// The 4-bit value of picture pixel (x, y) in a GEO file image with picture offset P.
inline std::uint8_t geoPixel(const std::vector<std::uint8_t>& file, std::uint32_t p,
                             std::uint32_t x, std::uint32_t y) {
    return (file.at(p + 12 + std::size_t{y} * 128 + x / 2) >> (x % 2 * 4)) & 0x0F;
}

}  // namespace zt9::test
