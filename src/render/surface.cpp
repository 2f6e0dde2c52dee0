#include "render/surface.h"

#include <algorithm>
#include <cstring>

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

// The part of [begin, end) that lies in [0, limit).
Span clipRange(std::int64_t begin, std::int64_t end, std::int64_t limit) {
    const std::int64_t first = std::clamp<std::int64_t>(begin, 0, limit);
    return {first, std::clamp<std::int64_t>(end, first, limit)};
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
                    std::int32_t zoom, std::span<std::uint32_t> out, std::size_t stride,
                    bool grid) {
    return enlargeAreaIntoDib(surface, {0, 0, columns, rows}, zoom, grid, out, stride);
}

bool enlargeAreaIntoDib(const Surface& surface, PixelRect area, std::int32_t zoom, bool grid,
                        std::span<std::uint32_t> out, std::size_t stride) {
    const Span across = clipRange(area.left, area.right, kSurfaceWidth);
    const Span down = clipRange(area.top, area.bottom, kSurfaceHeight);
    if (zoom < 1 || zoom > 10)
        return false;
    if (across.begin == across.end || down.begin == down.end)
        return true;
    const auto z = static_cast<std::size_t>(zoom);
    const auto left = static_cast<std::size_t>(across.begin);
    const auto right = static_cast<std::size_t>(across.end);
    const std::size_t width = (right - left) * z;
    if (right * z > stride ||
        (static_cast<std::size_t>(down.end) * z - 1) * stride + right * z > out.size())
        return false;
    const std::span<const std::uint32_t> source = surface.data();
    for (auto y = static_cast<std::size_t>(down.begin); y < static_cast<std::size_t>(down.end);
         ++y) {
        const auto first = out.begin() + static_cast<std::ptrdiff_t>(y * z * stride + left * z);
        const std::uint32_t* pixels = source.data() + y * kSurfaceWidth;
        for (std::size_t x = left; x < right; ++x) {
            const std::uint32_t color = swapRedBlue(pixels[x]);
            const auto block = first + static_cast<std::ptrdiff_t>((x - left) * z);
            std::fill_n(block, z, color);
            if (grid && x > 0)
                *block = gridLineColor(color);
        }
        for (std::size_t copy = 1; copy < z; ++copy)
            std::copy_n(first, width, first + static_cast<std::ptrdiff_t>(copy * stride));
        if (grid && y > 0) {
            for (std::size_t x = left; x < right; ++x)
                std::fill_n(first + static_cast<std::ptrdiff_t>((x - left) * z), z,
                            gridLineColor(swapRedBlue(pixels[x])));
        }
    }
    return true;
}

PixelRect changedArea(const Surface& a, const Surface& b, PixelRect within) {
    const Span across = clipRange(within.left, within.right, kSurfaceWidth);
    const Span down = clipRange(within.top, within.bottom, kSurfaceHeight);
    PixelRect changed{kSurfaceWidth, kSurfaceHeight, 0, 0};
    for (std::int64_t y = down.begin; y < down.end; ++y) {
        const auto rowA = a.data().begin() + y * kSurfaceWidth;
        const auto rowB = b.data().begin() + y * kSurfaceWidth;
        // Most rows are the same: one block compare each passes them at memory speed.
        if (across.begin >= across.end ||
            std::memcmp(
                &rowA[across.begin], &rowB[across.begin],
                static_cast<std::size_t>(across.end - across.begin) * sizeof(std::uint32_t)) == 0)
            continue;
        const auto first =
            std::mismatch(rowA + across.begin, rowA + across.end, rowB + across.begin);
        if (first.first == rowA + across.end)
            continue;
        // The last difference, searched from the right.
        std::int64_t last = across.end - 1;
        while (rowA[last] == rowB[last])
            --last;
        changed.left = std::min(changed.left, first.first - rowA);
        changed.right = std::max(changed.right, last + 1);
        changed.top = std::min(changed.top, y);
        changed.bottom = y + 1;
    }
    return changed.empty() ? PixelRect{} : changed;
}

}  // namespace zt9
