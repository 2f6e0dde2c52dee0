#include "support/bmp_builder.h"

#include <algorithm>
#include <utility>

#include "support/geo_builder.h"

namespace zt9::test {
namespace {

// Our own RLE encoder over `px` (w x h indices, top row first), bottom row first as the
// stream goes. With skipZeros, pixels of index 0 are passed by a delta (right and up), an
// end of line (when the next pixel lies further left) or the end of bitmap. A pixel (RLE4:
// a pair) repeated at least 3 times, and a row's last one or two, are an encoded run;
// anything else is an absolute run of 3 or more pixels up to the next such repeat, padded
// to an even byte count. An end of line follows each row the pixels fill.
Bytes encodeRle(const Bytes& px, std::size_t w, std::size_t h, std::uint16_t bits,
                const RleOptions& options) {
    const auto pixel = [&](std::size_t i) {  // i counts in stream order
        const std::size_t at = (h - 1 - i / w) * w + i % w;
        return static_cast<std::uint8_t>((at < px.size() ? px[at] : 0) & (bits == 4 ? 15 : 255));
    };
    const auto runAt = [&](std::size_t i) {
        std::size_t n = 1;
        while (i % w + n < w && n < 255 && pixel(i + n) == pixel(bits == 4 ? i + n % 2 : i))
            ++n;
        return n;
    };
    Bytes out;
    const auto put = [&](auto... bytes) { (out.push_back(static_cast<std::uint8_t>(bytes)), ...); };
    for (std::size_t i = 0, next = 0; i < w * h; i = next) {
        const std::size_t x = i % w;
        while (options.skipZeros && next < w * h && pixel(next) == 0)
            ++next;
        if (next == w * h)
            break;  // only index 0 is left
        if (next > i && next % w >= x) {
            put(0, 2, next % w - x, next / w - i / w);
        } else if (next > i) {
            put(0, 0), next = i - x + w;
        } else {
            std::size_t n = 3;
            while (x + n < w && n < options.maxAbsolute && runAt(i + n) < 3)
                ++n;
            const bool encoded = runAt(i) >= 3 || w - x < 3 || options.maxAbsolute < 3;
            next = i + (encoded ? runAt(i) : n);
            encoded ? put(next - i) : put(0, n);
            // Two pixels a byte in RLE4, high nibble first: an encoded run's first byte, all
            // of an absolute run's.
            for (std::size_t k = i; k < (encoded ? i + 1 : next); k += 8u / bits)
                put(bits == 8 ? pixel(k) : pixel(k) << 4 | (k + 1 < next ? pixel(k + 1) : 0));
            out.resize(out.size() + out.size() % 2);  // absolute runs end on an even count
            if (next % w == 0 && next < w * h)
                put(0, 0);  // the row is full
        }
    }
    put(0, 1);
    return out;
}

}  // namespace

std::vector<std::uint8_t> BmpBuilder::build() const {
    // Absurd sizes are written into the field only; 40 bytes of info header follow.
    const std::size_t info = infoSize >= 40 && infoSize <= 4096 ? infoSize : 40;
    // Entries written: clrUsed when it is a palette size, otherwise the depth's full palette
    // (none for true colour).
    const std::size_t entries = clrUsed != 0 && clrUsed <= 256 ? clrUsed
                                : bitCount > 8                 ? 0
                                : bitCount == 8                ? 256
                                                               : 16;
    const std::size_t maskBytes = masks && info < 52 ? 12 : 0;
    const std::size_t pixelStart = 14 + info + maskBytes + 4 * entries + gap;
    // Pixels are written only for sizes of 1 to 4096.
    const bool fits = width > 0 && width <= 4096 && height > 0 && height <= 4096;
    const std::size_t w = fits ? static_cast<std::size_t>(width) : 0;
    const std::size_t h = fits ? static_cast<std::size_t>(height) : 0;
    const std::size_t stride = (w * bitCount + 31) / 32 * 4;
    const Bytes streamBytes = stream     ? *stream
                              : rle && w ? encodeRle(indices, w, h, bitCount, *rle)
                                         : Bytes{};
    const std::size_t pixelBytes = rle || stream ? streamBytes.size() : stride * h;

    Bytes out(pixelStart + pixelBytes + trailing, 0);
    const auto u32 = [](auto value) { return static_cast<std::uint32_t>(value); };
    // The headers, 4 bytes a field after the type (planes and depth share one; 72 dpi, as
    // paint programs write it), then the masks.
    putLE(out, 0, type, 2);
    std::size_t field = 2;
    for (const std::uint32_t value :
         {u32(out.size()), 0u, offBits.value_or(u32(pixelStart)), infoSize, u32(width),
          u32(topDown ? -height : height), u32(bitCount) << 16 | 1, compression,
          sizeImage.value_or(u32(pixelBytes)), 2835u, 2835u, clrUsed, clrUsed})
        putLE(out, std::exchange(field, field + 4), value);
    for (std::size_t k = 0; masks && k < 3; ++k)
        putLE(out, 54 + 4 * k, (*masks)[k]);
    for (std::size_t k = 0; k < entries && k < palette.size(); ++k)
        std::ranges::copy(palette[k], out.data() + 14 + info + maskBytes + 4 * k);
    std::fill_n(out.data() + pixelStart - gap, gap, std::uint8_t{0xEE});
    std::ranges::copy(streamBytes, out.data() + pixelStart);
    for (std::size_t at = 0; !rle && !stream && at < w * h; ++at) {
        const std::uint8_t v = at < indices.size() ? indices[at] : 0;
        const std::size_t row = pixelStart + (topDown ? at / w : h - 1 - at / w) * stride;
        if (bitCount == 24 || bitCount == 32)
            putLE(out, row + at % w * bitCount / 8, at < argb.size() ? argb[at] : 0, bitCount / 8u);
        else if (bitCount == 8)
            out[row + at % w] = v;
        else if (bitCount == 4)
            out[row + at % w / 2] |= static_cast<std::uint8_t>(at % w % 2 ? v & 15 : (v & 15) << 4);
    }
    std::fill_n(out.data() + out.size() - trailing, trailing, std::uint8_t{0xDD});
    if (truncateTo && *truncateTo < out.size())
        out.resize(*truncateTo);
    return out;
}

}  // namespace zt9::test
