#include "render/surface.h"

#include <algorithm>

namespace zt9 {
namespace {

struct Span {
    std::int64_t begin, end;
};

// The part of [start, start + count) that lies in [0, limit), computed without overflow.
Span clip(std::int64_t start, std::int64_t count, std::int64_t limit) {
    if (count <= 0 || start >= limit)
        return {0, 0};
    const std::int64_t end = start < 0 ? start + count : start + std::min(count, limit);
    const std::int64_t begin = std::max<std::int64_t>(start, 0);
    return {begin, std::max(begin, std::min(end, limit))};
}

}  // namespace

void Surface::fill(std::uint32_t color) {
    std::fill(pixels_.begin(), pixels_.end(), color);
}

void Surface::fillRect(std::int64_t x, std::int64_t y, std::int64_t columns, std::int64_t rows,
                       std::uint32_t color) {
    const Span across = clip(x, columns, kSurfaceWidth);
    const Span down = clip(y, rows, kSurfaceHeight);
    if (across.begin == across.end)
        return;
    for (std::int64_t r = down.begin; r < down.end; ++r) {
        const auto first = pixels_.begin() + static_cast<std::ptrdiff_t>(index(across.begin, r));
        std::fill(first, first + (across.end - across.begin), color);
    }
}

void Surface::copyRect(const Surface& from, std::int64_t columns, std::int64_t rows) {
    const Span across = clip(0, columns, kSurfaceWidth);
    const Span down = clip(0, rows, kSurfaceHeight);
    for (std::int64_t r = down.begin; r < down.end; ++r) {
        const auto offset = static_cast<std::ptrdiff_t>(index(0, r));
        std::copy(from.pixels_.begin() + offset, from.pixels_.begin() + offset + across.end,
                  pixels_.begin() + offset);
    }
}

namespace {
constexpr std::uint32_t swapRedBlue(std::uint32_t c) {
    return (c & 0x00FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu);
}
}  // namespace

std::vector<std::uint32_t> dibPixels(const Surface& surface) {
    std::vector<std::uint32_t> out(surface.data().size());
    std::transform(surface.data().begin(), surface.data().end(), out.begin(), swapRedBlue);
    return out;
}

bool enlargeIntoDib(const Surface& surface, std::int64_t columns, std::int64_t rows,
                    std::int32_t zoom, std::span<std::uint32_t> out, std::size_t stride) {
    const Span across = clip(0, columns, kSurfaceWidth);
    const Span down = clip(0, rows, kSurfaceHeight);
    if (zoom < 1 || zoom > 10)
        return false;
    const auto z = static_cast<std::size_t>(zoom);
    const auto width = static_cast<std::size_t>(across.end) * z;
    const auto height = static_cast<std::size_t>(down.end) * z;
    if (width > stride || (height > 0 && (height - 1) * stride + width > out.size()))
        return false;
    const std::span<const std::uint32_t> source = surface.data();
    for (std::size_t y = 0; y < static_cast<std::size_t>(down.end); ++y) {
        const auto first = out.begin() + static_cast<std::ptrdiff_t>(y * z * stride);
        for (std::size_t x = 0; x < static_cast<std::size_t>(across.end); ++x)
            std::fill_n(first + static_cast<std::ptrdiff_t>(x * z), z,
                        swapRedBlue(source[y * kSurfaceWidth + x]));
        for (std::size_t copy = 1; copy < z; ++copy)
            std::copy_n(first, width, first + static_cast<std::ptrdiff_t>(copy * stride));
    }
    return true;
}

}  // namespace zt9
