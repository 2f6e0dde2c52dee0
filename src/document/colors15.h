#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace zt9 {

// Colours in memory are 0x00BBGGRR; the file keeps 15 bits (red bits 0-4, green 5-9,
// blue 10-14). These are the one place where the two meet, for the view, the save, the
// export and the palette of a drawn element alike.

using Palette16 = std::array<std::uint32_t, 16>;

// 8-bit channel to 5-bit level: v / 8 rounded up, at most 31.
constexpr std::uint32_t colorLevel5(std::uint32_t channel) {
    return std::min<std::uint32_t>((channel + 7) / 8, 31);
}

// A 0x00BBGGRR colour at the file's precision, as a save writes it.
constexpr std::uint32_t packColor15(std::uint32_t color) {
    return colorLevel5(color & 0xFFu) | colorLevel5((color >> 8) & 0xFFu) << 5 |
           colorLevel5((color >> 16) & 0xFFu) << 10;
}

// A 15-bit file colour as 0x00BBGGRR. Each level is multiplied by 8, so 31 becomes 248;
// bit 15 is ignored.
constexpr std::uint32_t expandColor15(std::uint32_t c) {
    return (c & 0x1Fu) << 3 | ((c >> 5) & 0x1Fu) << 11 | ((c >> 10) & 0x1Fu) << 19;
}

// What a colour becomes once saved and loaded again.
constexpr std::uint32_t storedColor(std::uint32_t color) {
    return expandColor15(packColor15(color));
}

// The first 16 colours of element `element`'s palette record. The record's flags may
// announce 256 colours, but 4-bit pixels only ever use these 16, which lie inside the
// record's own 36 bytes. The record is read as 32-bit words, so its start is rounded down
// to a multiple of 4. Bytes outside fileImage read as 0.
Palette16 expandPalette(std::span<const std::uint8_t> fileImage, std::uint32_t paletteOffset,
                        std::uint32_t element);

// Writes 16 colours as 15-bit little-endian words at `position`; bytes outside `output`
// are left out.
void packColors15(const Palette16& colors, std::span<std::uint8_t> output, std::size_t position);

}  // namespace zt9
