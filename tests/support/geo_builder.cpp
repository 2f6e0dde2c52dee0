#include "support/geo_builder.h"

#include <stdexcept>

namespace zt9::test {
namespace {

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (std::size_t k = 0; k < 4; ++k)
        out.at(at + k) = static_cast<std::uint8_t>(value >> (8 * k));
}

}  // namespace

GeoBuilder GeoBuilder::grid(std::size_t n, std::uint32_t w, std::uint32_t h) {
    GeoBuilder builder;
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (x != 0 && x + w > 254) {  // a full-width element still starts at row 0
            x = 0;
            y += h + 1;
        }
        ElementLayout layout = layoutAt(x, y, w, h);
        layout.displayX = static_cast<std::int32_t>(i % 7) - 3;
        layout.displayY = static_cast<std::int32_t>(i % 5) - 2;
        layout.numberLow = static_cast<std::uint32_t>(0x010203 * (i + 1)) & 0xFFFFFFu;
        for (std::size_t k = 1; k < 16; ++k) {
            layout.colors[k] = static_cast<std::uint16_t>((k * 2 + i) % 32 | ((k + i) % 32) << 5 |
                                                          ((31 - k) % 32) << 10);
        }
        builder.elements.push_back(layout);
        builder.paintPattern(i);
        x += w + (w % 2);  // keep x even
    }
    return builder;
}

void GeoBuilder::setPixel(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
    std::uint8_t& byte = pixels.at(std::size_t{y} * 128 + x / 2);
    if (x % 2 == 0) {
        byte = static_cast<std::uint8_t>((byte & 0xF0) | (value & 0x0F));
    } else {
        byte = static_cast<std::uint8_t>((byte & 0x0F) | ((value & 0x0F) << 4));
    }
}

std::uint8_t GeoBuilder::pixel(std::uint32_t x, std::uint32_t y) const {
    const std::uint8_t byte = pixels.at(std::size_t{y} * 128 + x / 2);
    return x % 2 == 0 ? byte & 0x0F : byte >> 4;
}

void GeoBuilder::paintPattern(std::size_t i) {
    const ElementLayout& e = elements.at(i);
    for (std::uint32_t r = 0; r <= e.height; ++r) {
        for (std::uint32_t c = 0; c < e.width; ++c) {
            const auto value = static_cast<std::uint8_t>((i * 3 + r * 5 + c * 7) % 16);
            const std::uint32_t px = e.x + c;
            const std::uint32_t py = e.y + r + px / 256;
            if (py < 240)
                setPixel(px % 256, py, value);
        }
    }
}

std::vector<std::uint8_t> GeoBuilder::build() const {
    const std::size_t n = elements.size();
    if (n == 0)
        throw std::invalid_argument("a GEO file needs at least one element");
    const std::uint32_t p = pictureOffsetFor(n);
    std::vector<std::uint8_t> out(30740 + 52 * n, 0);
    put32(out, 0, signature.value_or(0x76312E30));
    put32(out, 4, pictureOffset.value_or(p));
    put32(out, 8, headerWord2);
    for (std::size_t i = 0; i < n; ++i) {
        const ElementLayout& e = elements[i];
        const std::size_t entry = 12 + 16 * i;
        std::uint32_t number = static_cast<std::uint32_t>(i) << 24 | (e.numberLow & 0xFFFFFFu);
        if (i + 1 == n && lastNumber)
            number = *lastNumber << 24 | (e.numberLow & 0xFFFFFFu);
        put32(out, entry, number);
        put32(out, entry + 4, (e.resizeWidth & 0xFFFFu) | (e.resizeHeight & 0xFFFFu) << 16);
        put32(out, entry + 8,
              (static_cast<std::uint32_t>(e.displayX) & 0xFFFFu) |
                  (static_cast<std::uint32_t>(e.displayY) & 0xFFFFu) << 16);
        put32(out, entry + 12,
              (e.x & 0xFFu) | (e.y & 0xFFu) << 8 | (e.width & 0xFFu) << 16 |
                  (e.height & 0xFFu) << 24);
    }
    // The picture block begins at P + 4 with the format byte (P itself is word 3 of the
    // last entry).
    for (std::size_t k = 0; k < pictureLead.size(); ++k)
        out[p + 4 + k] = pictureLead[k];
    std::copy(pixels.begin(), pixels.end(), out.begin() + p + 12);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t record = p + 30732 + 36 * i;
        put32(out, record, elements[i].paletteFlags);
        for (std::size_t k = 0; k < 16; ++k) {
            out[record + 4 + 2 * k] = static_cast<std::uint8_t>(elements[i].colors[k]);
            out[record + 5 + 2 * k] = static_cast<std::uint8_t>(elements[i].colors[k] >> 8);
        }
    }
    out.insert(out.end(), extraBytes.begin(), extraBytes.end());
    return out;
}

std::uint8_t geoPixel(const std::vector<std::uint8_t>& file, std::uint32_t p, std::uint32_t x,
                      std::uint32_t y) {
    const std::uint8_t byte = file.at(p + 12 + std::size_t{y} * 128 + x / 2);
    return x % 2 == 0 ? byte & 0x0F : byte >> 4;
}

}  // namespace zt9::test
