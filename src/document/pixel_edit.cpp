#include "document/pixel_edit.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <utility>
#include <vector>

namespace zt9 {
namespace {

using I64 = std::int64_t;
using U64 = std::uint64_t;

// The part of an image its buffer really holds, with unchecked access inside it.
class NibbleRows {
  public:
    NibbleRows(std::span<const std::uint8_t> bytes, std::uint32_t width, std::uint32_t height)
        : width_(width), rowBytes_((U64{width} + 1) / 2) {
        rows_ = rowBytes_ == 0 ? 0 : std::min<U64>(U64{height} + 1, bytes.size() / rowBytes_);
    }

    I64 width() const { return static_cast<I64>(width_); }
    I64 rows() const { return static_cast<I64>(rows_); }
    bool inside(I64 x, I64 y) const { return x >= 0 && y >= 0 && x < width() && y < rows(); }

    static std::uint8_t get(std::span<const std::uint8_t> bytes, std::size_t at, unsigned shift) {
        return static_cast<std::uint8_t>((bytes[at] >> shift) & 0x0Fu);
    }
    std::size_t byteOf(I64 x, I64 y) const {
        return static_cast<std::size_t>(static_cast<U64>(y) * rowBytes_ + static_cast<U64>(x) / 2);
    }
    static unsigned shiftOf(I64 x) { return (x & 1) != 0 ? 4u : 0u; }

  private:
    U64 width_;
    U64 rowBytes_;
    U64 rows_;
};

// Reading and writing through one view of a writable image.
class Canvas {
  public:
    explicit Canvas(ImportSlot& image)
        : bytes_(image.pixels), rows_(bytes_, image.width, image.height) {}

    const NibbleRows& shape() const { return rows_; }
    std::uint8_t get(I64 x, I64 y) const {
        return NibbleRows::get(bytes_, rows_.byteOf(x, y), NibbleRows::shiftOf(x));
    }
    void set(I64 x, I64 y, std::uint8_t index) {
        std::uint8_t& byte = bytes_[rows_.byteOf(x, y)];
        byte = (x & 1) != 0 ? static_cast<std::uint8_t>((byte & 0x0Fu) | index << 4)
                            : static_cast<std::uint8_t>((byte & 0xF0u) | index);
    }

  private:
    std::span<std::uint8_t> bytes_;
    NibbleRows rows_;
};

// round(i * m / n) with halves rounded up, exact for i, m <= n < 2^32: the product fits
// in 64 bits, and (2im + n) / 2n is q + 1 exactly when 2r >= n for im = qn + r.
U64 roundedShare(U64 i, U64 m, U64 n) {
    const U64 product = i * m;
    return product / n + (2 * (product % n) >= n ? 1 : 0);
}

}  // namespace

void PixelRect::add(std::int32_t x0, std::int32_t x1, std::int32_t y) {
    if (empty()) {
        *this = {x0, y, x1 + 1, y + 1};
        return;
    }
    left = std::min(left, x0);
    right = std::max(right, x1 + 1);
    top = std::min(top, y);
    bottom = std::max(bottom, y + 1);
}

std::optional<std::uint8_t> pixelAt(const ImportSlot& image, std::int64_t x, std::int64_t y) {
    const NibbleRows rows(image.pixels, image.width, image.height);
    if (!rows.inside(x, y))
        return std::nullopt;
    return NibbleRows::get(image.pixels, rows.byteOf(x, y), NibbleRows::shiftOf(x));
}

bool setPixel(ImportSlot& image, std::int64_t x, std::int64_t y, std::uint8_t index) {
    Canvas canvas(image);
    if (index > 15 || !canvas.shape().inside(x, y) || canvas.get(x, y) == index)
        return false;
    canvas.set(x, y, index);
    return true;
}

PixelRect drawLine(ImportSlot& image, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                   std::int32_t y1, std::uint8_t index) {
    PixelRect changed;
    Canvas canvas(image);
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
    const I64 majorLimit = (xMajor ? canvas.shape().width() : canvas.shape().rows()) - 1;
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
        if (canvas.shape().inside(x, y) && canvas.get(x, y) != index) {
            canvas.set(x, y, index);
            changed.add(static_cast<std::int32_t>(x), static_cast<std::int32_t>(x),
                        static_cast<std::int32_t>(y));
        }
    }
    return changed;
}

PixelRect floodFill(ImportSlot& image, std::int32_t x, std::int32_t y, std::uint8_t index) {
    PixelRect changed;
    Canvas canvas(image);
    if (index > 15 || !canvas.shape().inside(x, y))
        return changed;
    const std::uint8_t target = canvas.get(x, y);
    if (target == index)
        return changed;
    // Scanline fill: each seed fills its whole run of the target index, then seeds one
    // pixel per run of the target index in the rows above and below that span.
    const I64 width = canvas.shape().width();
    const I64 rows = canvas.shape().rows();
    std::vector<std::pair<I64, I64>> seeds{{x, y}};
    while (!seeds.empty()) {
        const auto [seedX, row] = seeds.back();
        seeds.pop_back();
        if (canvas.get(seedX, row) != target)
            continue;
        I64 left = seedX;
        I64 right = seedX;
        while (left > 0 && canvas.get(left - 1, row) == target)
            --left;
        while (right + 1 < width && canvas.get(right + 1, row) == target)
            ++right;
        for (I64 c = left; c <= right; ++c)
            canvas.set(c, row, index);
        changed.add(static_cast<std::int32_t>(left), static_cast<std::int32_t>(right),
                    static_cast<std::int32_t>(row));
        for (const I64 next : {row - 1, row + 1}) {
            if (next < 0 || next >= rows)
                continue;
            bool inRun = false;
            for (I64 c = left; c <= right; ++c) {
                const bool matches = canvas.get(c, next) == target;
                if (matches && !inRun)
                    seeds.emplace_back(c, next);
                inRun = matches;
            }
        }
    }
    return changed;
}

}  // namespace zt9
