#pragma once

#include <algorithm>
#include <cstdint>

namespace zt9 {

// Columns left..right - 1 and rows top..bottom - 1: of an image, a surface or the window.
// Edits return the pixels they changed in one, so that only those are painted again.
struct PixelRect {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    // Grows the rectangle to hold columns [x0, x1] of row y.
    void add(std::int64_t x0, std::int64_t x1, std::int64_t y) {
        if (empty()) {
            *this = {x0, y, x1 + 1, y + 1};
            return;
        }
        left = std::min(left, x0);
        right = std::max(right, x1 + 1);
        top = std::min(top, y);
        bottom = std::max(bottom, y + 1);
    }

    bool operator==(const PixelRect&) const = default;
};

}  // namespace zt9
