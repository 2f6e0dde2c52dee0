#include "support/geo_builder.h"

#include <stdexcept>

namespace zt9::test {
namespace {

std::uint32_t halves(auto low, auto high) {
    return (static_cast<std::uint32_t>(low) & 0xFFFFu) |
           (static_cast<std::uint32_t>(high) & 0xFFFFu) << 16;
}

}  // namespace

GeoBuilder GeoBuilder::grid(std::size_t n, std::uint32_t w, std::uint32_t h) {
    GeoBuilder builder;
    for (std::uint32_t i = 0, x = 0, y = 0; i < n; ++i, x += w + w % 2) {  // x stays even
        if (x != 0 && x + w > 254)  // a full-width element still starts at row 0
            x = 0, y += h + 1;
        ElementLayout& e = builder.elements.emplace_back(layoutAt(x, y, w, h));
        e.displayX = static_cast<std::int32_t>(i % 7) - 3;
        e.displayY = static_cast<std::int32_t>(i % 5) - 2;
        e.numberLow = 0x010203 * (i + 1) & 0xFFFFFFu;
        for (std::uint32_t k = 1; k < 16; ++k)
            e.colors[k] =
                static_cast<std::uint16_t>((k * 2 + i) % 32 | (k + i) % 32 << 5 | (31 - k) << 10);
        builder.paintPattern(i);
    }
    return builder;
}

void GeoBuilder::setPixel(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
    std::uint8_t& byte = pixels.at(std::size_t{y} * 128 + x / 2);
    byte = static_cast<std::uint8_t>(x % 2 == 0 ? (byte & 0xF0) | (value & 0x0F)
                                                : (byte & 0x0F) | (value & 0x0F) << 4);
}

void GeoBuilder::paintPattern(std::size_t i) {
    const ElementLayout& e = elements.at(i);
    for (std::uint32_t r = 0; r <= e.height; ++r)
        for (std::uint32_t c = 0, px = e.x; c < e.width; ++c, ++px)
            if (e.y + r + px / 256 < 240)  // past column 255 a row goes on in the next one
                setPixel(px % 256, e.y + r + px / 256,
                         static_cast<std::uint8_t>((i * 3 + r * 5 + c * 7) % 16));
}

std::vector<std::uint8_t> GeoBuilder::build() const {
    const std::size_t n = elements.size();
    const std::size_t p = 16 * n + 8;
    if (n == 0)
        throw std::invalid_argument("a GEO file needs at least one element");
    std::vector<std::uint8_t> out(30740 + 52 * n, 0);
    putLE(out, 0, 0x76312E30);  // "0.1v"
    putLE(out, 4, static_cast<std::uint32_t>(p));
    putLE(out, 8, headerWord2);
    for (std::size_t i = 0; i < n; ++i) {
        const ElementLayout& e = elements[i];
        const auto number = i + 1 == n && lastNumber ? *lastNumber : static_cast<std::uint32_t>(i);
        putLE(out, 12 + 16 * i, number << 24 | (e.numberLow & 0xFFFFFFu));
        putLE(out, 16 + 16 * i, halves(e.resizeWidth, e.resizeHeight));
        putLE(out, 20 + 16 * i, halves(e.displayX, e.displayY));
        putLE(out, 24 + 16 * i,
              halves((e.x & 0xFFu) | e.y << 8, (e.width & 0xFFu) | e.height << 8));
        putLE(out, p + 30732 + 36 * i, e.paletteFlags);
        for (std::size_t k = 0; k < 16; ++k)
            putLE(out, p + 30736 + 36 * i + 2 * k, e.colors[k], 2);
    }
    // The picture block begins at P + 4 with the format byte (P is the last place word).
    const std::uint8_t lead[] = {1, 0xB1, 0xB2, 0xB3, 0xC1, 0xC2, 0xC3, 0xC4};
    std::copy(std::begin(lead), std::end(lead), out.begin() + static_cast<std::ptrdiff_t>(p) + 4);
    std::copy(pixels.begin(), pixels.end(), out.begin() + static_cast<std::ptrdiff_t>(p) + 12);
    out.insert(out.end(), extraBytes.begin(), extraBytes.end());
    return out;
}

}  // namespace zt9::test
