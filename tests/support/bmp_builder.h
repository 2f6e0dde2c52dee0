#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace zt9::test {

// How BmpBuilder::encoded() run-length encodes the indices. By default it uses every kind
// of command: encoded runs where pixels repeat (RLE4: where pairs repeat), absolute runs
// of at least 3 pixels between them, deltas, ends of line and an end of bitmap that skip
// pixels of index 0, and an end of line after each row its pixels fill.
struct RleOptions {
    bool skipZeros = true;            // false: every pixel is coded, no deltas
    std::uint32_t maxAbsolute = 255;  // below 3: encoded runs only
};

// Builds BMP files from parameters, well-formed by default (40-byte info header, palette
// right after it, pixels right after the palette, rows bottom-up), with every field open
// to deliberate damage. BmpBuilder(width, height, bitCount) starts most.
struct BmpBuilder {
    // Spelled out for the fuzz build's clang, which lacks parenthesised aggregate creation.
    BmpBuilder() = default;
    BmpBuilder(std::int32_t w, std::int32_t h, std::uint16_t bits)
        : width(w), height(h), bitCount(bits) {}

    std::int32_t width = 1;
    std::int32_t height = 1;  // rows are written only for 1..4096
    std::uint16_t bitCount = 4;
    std::uint32_t clrUsed = 0;
    // BMP indices, top row first, width x height; missing values are 0.
    std::vector<std::uint8_t> indices{};
    // Entries as blue, green, red, reserved; missing entries are written as zero.
    std::vector<std::array<std::uint8_t, 4>> palette{};
    // 24 and 32 bits: pixels as 0xAARRGGBB, top row first; missing values are 0.
    std::vector<std::uint32_t> argb{};
    bool topDown = false;  // rows top row first, the height field negated
    // Bit field masks (red, green, blue): after a 40-byte info header, inside a larger one.
    std::optional<std::array<std::uint32_t, 3>> masks{};

    // Layout and damage.
    std::uint16_t type = 0x4D42;
    std::uint32_t infoSize = 40;  // bytes of info header written (at least 40)
    std::uint32_t compression = 0;
    std::size_t gap = 0;                       // bytes between palette and pixels (0xEE)
    std::optional<std::uint32_t> offBits{};    // default: where the pixels really start
    std::optional<std::uint32_t> sizeImage{};  // default: height x stride
    std::optional<std::size_t> truncateTo{};   // cut the file after this many bytes
    std::size_t trailing = 0;                  // extra bytes after the pixels (0xDD)
    // Instead of rows (set by encoded()): a stream made from `indices` by our RLE encoder,
    // or these bytes when given (a hand-made or damaged stream).
    std::optional<RleOptions> rle{};
    std::optional<std::vector<std::uint8_t>> stream{};

    // A 16-entry palette whose entry k is (blue k, green 16 + k, red 32 + k) and entry 15
    // all zero, as an element export writes it.
    BmpBuilder& withDistinctPalette(std::size_t entries = 16) {
        palette.assign(entries, {0, 0, 0, 0});
        for (std::uint8_t k = 0; k < std::min<std::size_t>(entries, 15); ++k)
            palette[k] = {k, std::uint8_t(16 + k), std::uint8_t(32 + k), 0};
        return *this;
    }
    BmpBuilder& setEntry(std::size_t k, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                         std::uint8_t reserved = 0) {
        palette.resize(std::max(palette.size(), k + 1), {0, 0, 0, 0});
        palette[k] = {blue, green, red, reserved};
        return *this;
    }
    BmpBuilder& setIndex(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
        const auto w = static_cast<std::size_t>(std::max(width, 0));
        indices.resize(std::max(indices.size(), w * static_cast<std::size_t>(std::max(height, 0))));
        indices.at(std::size_t{y} * w + x) = value;
        return *this;
    }
    // Pixels as an RLE8 (8 bits) or RLE4 (4 bits) stream, biCompression 1 or 2 to match:
    // `stream` when given, otherwise encoded from `indices`.
    BmpBuilder& encoded(RleOptions options = {}) {
        rle = options, compression = bitCount == 8 ? 1 : 2;
        return *this;
    }

    std::vector<std::uint8_t> build() const;
    // The packed DIB a clipboard holds: the file without its 14-byte header.
    std::vector<std::uint8_t> dib() const {
        std::vector<std::uint8_t> file = build();
        return {file.begin() + 14, file.end()};
    }
};

}  // namespace zt9::test
