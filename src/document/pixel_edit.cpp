#include "document/pixel_edit.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace zt9 {
namespace {

using I64 = std::int64_t;
using U64 = std::uint64_t;

// The part of an image its buffer really holds: rows past the end of the bytes, like
// columns past the width, count as outside.
struct Shape {
    I64 width = 0;
    I64 rows = 0;
    U64 rowBytes = 0;

    explicit Shape(const ImportSlot& image)
        : width(image.width), rowBytes((U64{image.width} + 1) / 2) {
        if (rowBytes != 0)
            rows = static_cast<I64>(
                std::min<U64>(U64{image.height} + 1, image.pixels.size() / rowBytes));
    }
    bool inside(I64 x, I64 y) const { return x >= 0 && y >= 0 && x < width && y < rows; }
    std::size_t byteOf(I64 x, I64 y) const {
        return static_cast<std::size_t>(static_cast<U64>(y) * rowBytes + static_cast<U64>(x) / 2);
    }
};

unsigned shiftOf(I64 x) {
    return (x & 1) != 0 ? 4u : 0u;
}

// Unchecked access to a pixel known to be inside.
std::uint8_t nibbleAt(const ImportSlot& image, const Shape& shape, I64 x, I64 y) {
    return static_cast<std::uint8_t>((unsigned{image.pixels[shape.byteOf(x, y)]} >> shiftOf(x)) &
                                     0x0Fu);
}
void putNibble(ImportSlot& image, const Shape& shape, I64 x, I64 y, std::uint8_t index) {
    std::uint8_t& byte = image.pixels[shape.byteOf(x, y)];
    const unsigned shift = shiftOf(x);
    byte =
        static_cast<std::uint8_t>((unsigned{byte} & ~(0x0Fu << shift)) | unsigned{index} << shift);
}

// round(i * m / n) with halves rounded up, exact for i, m <= n < 2^32: the product fits
// in 64 bits, and (2im + n) / 2n is q + 1 exactly when 2r >= n for im = qn + r.
U64 roundedShare(U64 i, U64 m, U64 n) {
    const U64 product = i * m;
    return product / n + (2 * (product % n) >= n ? 1 : 0);
}

}  // namespace

std::optional<std::uint8_t> pixelAt(const ImportSlot& image, std::int64_t x, std::int64_t y) {
    const Shape shape(image);
    if (!shape.inside(x, y))
        return std::nullopt;
    return nibbleAt(image, shape, x, y);
}

bool setPixel(ImportSlot& image, std::int64_t x, std::int64_t y, std::uint8_t index) {
    const Shape shape(image);
    if (index > 15 || !shape.inside(x, y) || nibbleAt(image, shape, x, y) == index)
        return false;
    putNibble(image, shape, x, y, index);
    return true;
}

PixelRect drawLine(ImportSlot& image, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                   std::int32_t y1, std::uint8_t index) {
    PixelRect changed;
    const Shape shape(image);
    if (index > 15)
        return changed;
    // Step i (0 to n) moves the major coordinate by i and the minor one by round(i * m / n).
    const I64 dx = I64{x1} - x0;
    const I64 dy = I64{y1} - y0;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const I64 major0 = xMajor ? x0 : y0;
    const I64 minor0 = xMajor ? y0 : x0;
    const I64 majorDelta = xMajor ? dx : dy;
    const I64 minorDelta = xMajor ? dy : dx;
    const I64 majorStep = majorDelta < 0 ? -1 : 1;
    const I64 minorStep = minorDelta < 0 ? -1 : 1;
    const auto n = static_cast<U64>(std::abs(majorDelta));
    const auto m = static_cast<U64>(std::abs(minorDelta));
    // Only the steps whose major coordinate falls inside the image are walked.
    const I64 majorLimit = (xMajor ? shape.width : shape.rows) - 1;
    const I64 nearest = majorStep > 0 ? -major0 : major0 - majorLimit;
    const I64 farthest = majorStep > 0 ? majorLimit - major0 : major0;
    const I64 first = std::max<I64>(0, nearest);
    const I64 last = std::min(static_cast<I64>(n), farthest);
    for (I64 i = first; i <= last; ++i) {
        const auto share = n == 0 ? 0 : static_cast<I64>(roundedShare(static_cast<U64>(i), m, n));
        const I64 major = major0 + i * majorStep;
        const I64 minor = minor0 + share * minorStep;
        const I64 x = xMajor ? major : minor;
        const I64 y = xMajor ? minor : major;
        if (shape.inside(x, y) && nibbleAt(image, shape, x, y) != index) {
            putNibble(image, shape, x, y, index);
            changed.add(x, x, y);
        }
    }
    return changed;
}

PixelRect floodFill(ImportSlot& image, std::int32_t x, std::int32_t y, std::uint8_t index) {
    PixelRect changed;
    const Shape shape(image);
    if (index > 15 || !shape.inside(x, y))
        return changed;
    const std::uint8_t target = nibbleAt(image, shape, x, y);
    if (target == index)
        return changed;
    const auto isTarget = [&](I64 c, I64 r) { return nibbleAt(image, shape, c, r) == target; };
    // Scanline fill: each seed fills its whole run of the target index, then seeds one
    // pixel per run of the target index in the rows above and below that span.
    std::vector<std::pair<I64, I64>> seeds{{x, y}};
    while (!seeds.empty()) {
        const auto [seedX, row] = seeds.back();
        seeds.pop_back();
        if (!isTarget(seedX, row))
            continue;
        I64 left = seedX;
        I64 right = seedX;
        while (left > 0 && isTarget(left - 1, row))
            --left;
        while (right + 1 < shape.width && isTarget(right + 1, row))
            ++right;
        for (I64 c = left; c <= right; ++c)
            putNibble(image, shape, c, row, index);
        changed.add(left, right, row);
        for (const I64 next : {row - 1, row + 1}) {
            if (next < 0 || next >= shape.rows)
                continue;
            bool inRun = false;
            for (I64 c = left; c <= right; ++c) {
                const bool matches = isTarget(c, next);
                if (matches && !inRun)
                    seeds.emplace_back(c, next);
                inRun = matches;
            }
        }
    }
    return changed;
}

}  // namespace zt9
