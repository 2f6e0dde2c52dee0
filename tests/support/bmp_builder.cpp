#include "support/bmp_builder.h"

#include <algorithm>

namespace zt9::test {
namespace {

void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (std::size_t k = 0; k < 2; ++k)
        out.at(at + k) = static_cast<std::uint8_t>(value >> (8 * k));
}
void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (std::size_t k = 0; k < 4; ++k)
        out.at(at + k) = static_cast<std::uint8_t>(value >> (8 * k));
}

bool rowsWritten(std::int32_t width, std::int32_t height) {
    return width > 0 && width <= 4096 && height > 0 && height <= 4096;
}

std::uint32_t strideFor(std::int32_t width, std::uint16_t bitCount) {
    const std::uint64_t bits = static_cast<std::uint64_t>(std::max(width, 0)) * bitCount;
    return static_cast<std::uint32_t>((bits + 31) / 32 * 4);
}

}  // namespace

BmpBuilder& BmpBuilder::withDistinctPalette(std::size_t entries) {
    palette.assign(entries, {0, 0, 0, 0});
    for (std::size_t k = 0; k < std::min<std::size_t>(entries, 15); ++k) {
        palette[k] = {static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(16 + k),
                      static_cast<std::uint8_t>(32 + k), 0};
    }
    return *this;
}

BmpBuilder& BmpBuilder::setEntry(std::size_t k, std::uint8_t red, std::uint8_t green,
                                 std::uint8_t blue, std::uint8_t reserved) {
    if (palette.size() <= k)
        palette.resize(k + 1, {0, 0, 0, 0});
    palette[k] = {blue, green, red, reserved};
    return *this;
}

BmpBuilder& BmpBuilder::setIndex(std::uint32_t x, std::uint32_t y, std::uint8_t value) {
    const std::size_t w = static_cast<std::size_t>(std::max(width, 0));
    const std::size_t h = static_cast<std::size_t>(std::max(height, 0));
    if (indices.size() < w * h)
        indices.resize(w * h, 0);
    indices.at(std::size_t{y} * w + x) = value;
    return *this;
}

std::vector<std::uint8_t> BmpBuilder::build() const {
    // Absurd sizes are written into the field only; 40 bytes of info header follow.
    const std::size_t info = infoSize >= 40 && infoSize <= 4096 ? infoSize : 40;
    // Entries written: clrUsed when it is a palette size, otherwise the depth's full palette.
    const std::size_t entries = clrUsed != 0 && clrUsed <= 256 ? clrUsed : bitCount == 8 ? 256 : 16;
    const std::size_t pixelStart = 14 + info + 4 * entries + gap;
    const bool rows = rowsWritten(width, height);
    const std::uint32_t stride = strideFor(width, bitCount);
    const std::size_t pixelBytes =
        rows ? std::size_t{stride} * static_cast<std::size_t>(height) : 0;

    std::vector<std::uint8_t> out(pixelStart + pixelBytes + trailing, 0);
    put16(out, 0, type);
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    put32(out, 10, offBits.value_or(static_cast<std::uint32_t>(pixelStart)));
    put32(out, 14, infoSize);
    put32(out, 18, static_cast<std::uint32_t>(width));
    put32(out, 22, static_cast<std::uint32_t>(height));
    put16(out, 26, 1);  // planes
    put16(out, 28, bitCount);
    put32(out, 30, compression);
    put32(out, 34, sizeImage.value_or(static_cast<std::uint32_t>(pixelBytes)));
    put32(out, 38, 2835);  // 72 dpi, as paint programs write it
    put32(out, 42, 2835);
    put32(out, 46, clrUsed);
    put32(out, 50, clrUsed);
    for (std::size_t k = 0; k < entries && k < palette.size(); ++k)
        std::copy(palette[k].begin(), palette[k].end(),
                  out.begin() + static_cast<std::ptrdiff_t>(14 + info + 4 * k));
    std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(pixelStart - gap), gap,
                std::uint8_t{0xEE});

    if (rows) {
        const auto w = static_cast<std::size_t>(width);
        const auto h = static_cast<std::size_t>(height);
        for (std::size_t r = 0; r < h; ++r) {
            const std::size_t row = pixelStart + (h - 1 - r) * stride;  // bottom-up
            for (std::size_t c = 0; c < w; ++c) {
                const std::size_t at = r * w + c;
                const std::uint8_t v = at < indices.size() ? indices[at] : 0;
                if (bitCount == 8) {
                    out[row + c] = v;
                } else if (bitCount == 4) {
                    out[row + c / 2] |=
                        static_cast<std::uint8_t>(c % 2 == 0 ? (v & 15) << 4 : v & 15);
                }
            }
        }
    }
    std::fill(out.end() - static_cast<std::ptrdiff_t>(trailing), out.end(), std::uint8_t{0xDD});
    if (truncateTo && *truncateTo < out.size())
        out.resize(*truncateTo);
    return out;
}

}  // namespace zt9::test
