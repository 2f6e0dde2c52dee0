#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "document/pixel_rect.h"

namespace zt9 {

inline constexpr std::int32_t kSurfaceWidth = 255;
inline constexpr std::int32_t kSurfaceHeight = 240;

// An off-screen picture of 255 x 240 pixels, top row first, each pixel a 32-bit colour laid
// out 0x00BBGGRR (red in the lowest byte), the layout the drawing code and the platform's
// pixel calls use. Every write is clipped: a pixel outside the surface is skipped, and the
// coordinates are 64-bit so that no sum of element fields can wrap back into it.
class Surface {
  public:
    Surface() : pixels_(kPixelCount, 0) {}

    static constexpr bool inside(std::int64_t x, std::int64_t y) {
        return static_cast<std::uint64_t>(x) < kSurfaceWidth &&
               static_cast<std::uint64_t>(y) < kSurfaceHeight;
    }

    void set(std::int64_t x, std::int64_t y, std::uint32_t color) {
        if (inside(x, y))
            pixels_[index(x, y)] = color;
    }
    // 0 outside the surface.
    std::uint32_t pixel(std::int64_t x, std::int64_t y) const {
        return inside(x, y) ? pixels_[index(x, y)] : 0u;
    }

    // The pixels of row y, which must lie on the surface: for loops that clip once per row.
    std::span<std::uint32_t, kSurfaceWidth> row(std::int64_t y) {
        return std::span<std::uint32_t, kSurfaceWidth>(pixels_.data() + index(0, y), kSurfaceWidth);
    }

    void fill(std::uint32_t color);
    // `columns` x `rows` pixels from (x, y), cut to the surface.
    void fillRect(std::int64_t x, std::int64_t y, std::int64_t columns, std::int64_t rows,
                  std::uint32_t color);
    // Copies the top-left `columns` x `rows` pixels of `from` to the same place here.
    void copyRect(const Surface& from, std::int64_t columns, std::int64_t rows);

    // All pixels, rows kSurfaceWidth pixels apart with no padding.
    std::span<const std::uint32_t> data() const { return pixels_; }

  private:
    static constexpr std::size_t kPixelCount = std::size_t{kSurfaceWidth} * kSurfaceHeight;
    static std::size_t index(std::int64_t x, std::int64_t y) {
        return static_cast<std::size_t>(y * kSurfaceWidth + x);
    }
    std::vector<std::uint32_t> pixels_;
};

// The surface as a top-down 32-bit BI_RGB DIB wants it in memory: 0x00RRGGBB, that is blue,
// green, red, 0 in byte order. The surface keeps 0x00BBGGRR, so red and blue swap here;
// handing data() to StretchDIBits directly would show red and blue exchanged.
std::vector<std::uint32_t> dibPixels(const Surface& surface);

// The top-left `columns` x `rows` pixels of a surface (cut to it), each enlarged to a
// zoom x zoom block, in that DIB order, into a top-down picture of `stride` pixels per row:
// what the window shows at that zoom, ready for a 1:1 copy. With `grid`, the first column
// of every block but the leftmost and the first row of every block but the topmost are
// grid lines (gridLineColor of the block's pixel). Returns false and writes nothing when
// `out` cannot hold the result.
bool enlargeIntoDib(const Surface& surface, std::int64_t columns, std::int64_t rows,
                    std::int32_t zoom, std::span<std::uint32_t> out, std::size_t stride,
                    bool grid = false);
// The same for the blocks of `area` only (cut to the surface), at their places in `out`:
// a change re-enlarges just the pixels it touched.
bool enlargeAreaIntoDib(const Surface& surface, PixelRect area, std::int32_t zoom, bool grid,
                        std::span<std::uint32_t> out, std::size_t stride);

// A grid line over a pixel of colour c (either channel order): half as bright, or for a
// colour whose channels are all below 0x40 (black among them) 0x40 brighter in each, so
// a line stands out on every palette.
constexpr std::uint32_t gridLineColor(std::uint32_t c) {
    const bool dark = (c & 0xC0C0C0u) == 0;
    return dark ? (c & 0xFFFFFFu) + 0x404040u : (c >> 1) & 0x7F7F7Fu;
}

// The smallest rectangle inside `within` holding every pixel in which a and b differ;
// empty when they agree there.
PixelRect changedArea(const Surface& a, const Surface& b, PixelRect within);

}  // namespace zt9
