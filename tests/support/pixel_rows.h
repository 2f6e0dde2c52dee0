#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "document/element_config.h"

namespace zt9::test {

// Pixel grids as one string: rows of hex digits, one per nibble (so an odd width's rows end
// in their pad nibble), top row first, separated by "/".
inline ImportSlot imageFromRows(std::uint32_t width, const std::string& rows) {  // colours all 0
    ImportSlot image{0, {}, {}, width, static_cast<std::uint32_t>(std::ranges::count(rows, '/'))};
    std::string digits = rows;
    std::erase(digits, '/');
    image.pixels.resize((digits.size() + 1) / 2);
    for (std::size_t at = 0; at < digits.size(); ++at)
        image.pixels[at / 2] |=
            static_cast<std::uint8_t>(std::stoi(digits.substr(at, 1), nullptr, 16) << (at % 2 * 4));
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

}  // namespace zt9::test
