#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "document/element_config.h"
#include "support/geo_builder.h"

namespace zt9::test {

// Pixel grids as one string: rows of hex digits, one per nibble (so an odd width's rows end
// in their pad nibble), top row first, separated by "/".
inline std::uint8_t hexDigit(char c) {
    return static_cast<std::uint8_t>(std::stoi(std::string(1, c), nullptr, 16));
}

inline ImportSlot imageFromRows(std::uint32_t width, const std::string& rows) {  // colours all 0
    ImportSlot image{0, {}, {}, width, static_cast<std::uint32_t>(std::ranges::count(rows, '/'))};
    std::string digits = rows;
    std::erase(digits, '/');
    image.pixels.resize((digits.size() + 1) / 2);
    for (std::size_t at = 0; at < digits.size(); ++at)
        image.pixels[at / 2] |= static_cast<std::uint8_t>(hexDigit(digits[at]) << (at % 2 * 4));
    return image;
}

inline std::string rowsOf(const ImportSlot& image) {
    std::string rows;
    for (std::size_t at = 0; at < image.pixels.size() * 2; ++at) {
        rows += at != 0 && at % ((std::size_t{image.width} + 1) / 2 * 2) == 0 ? "/" : "";
        rows += "0123456789abcdef"[(unsigned{image.pixels[at / 2]} >> (at % 2 * 4)) & 15u];
    }
    return rows;
}

// Paints the rows into the font's picture with their top-left pixel at (x, y).
inline void paintRows(GeoBuilder& font, std::uint32_t x, std::uint32_t y, const std::string& rows) {
    for (std::uint32_t column = x; const char c : rows) {
        if (c == '/')
            ++y, column = x;
        else
            font.setPixel(column++, y, hexDigit(c));
    }
}

}  // namespace zt9::test
