#include "support/pixel_rows.h"

namespace zt9::test {
namespace {

std::uint8_t digit(char c) {
    const auto value = std::stoul(std::string(1, c), nullptr, 16);
    return static_cast<std::uint8_t>(value);
}

}  // namespace

ImportSlot imageFromRows(const Rows& rows) {
    ImportSlot image;
    image.width = static_cast<std::uint32_t>(rows.at(0).substr(0, rows[0].find('|')).size());
    image.height = static_cast<std::uint32_t>(rows.size() - 1);
    const std::size_t rowBytes = (image.width + 1) / 2;
    image.pixels.assign(rowBytes * rows.size(), 0);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::size_t column = 0;
        for (const char c : rows[r]) {
            if (c == '|')
                continue;
            image.pixels.at(r * rowBytes + column / 2) |=
                static_cast<std::uint8_t>(digit(c) << (column % 2 * 4));
            ++column;
        }
    }
    return image;
}

Rows rowsOf(const ImportSlot& image) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::size_t rowBytes = (image.width + 1) / 2;
    Rows rows(image.height + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < 2 * rowBytes; ++c) {
            rows[r] += c == image.width ? "|" : "";
            rows[r] += kHex[(unsigned{image.pixels.at(r * rowBytes + c / 2)} >> (c % 2 * 4)) & 15u];
        }
    }
    return rows;
}

void paintRows(GeoBuilder& font, std::uint32_t x, std::uint32_t y, const Rows& rows) {
    for (std::uint32_t r = 0; r < rows.size(); ++r)
        for (std::uint32_t c = 0; c < rows[r].size(); ++c)
            font.setPixel(x + c, y + r, digit(rows[r][c]));
}

}  // namespace zt9::test
