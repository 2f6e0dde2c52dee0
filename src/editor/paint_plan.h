#pragma once

#include <cstdint>

#include "document/element_config.h"

namespace zt9 {

struct PixelRect {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const PixelRect&) const = default;
};

// What one paint of the main window draws, in window pixels from the client area's top-left
// corner: two grey margins and the enlarged picture. Painting never draws pixels itself.
struct PaintPlan {
    PixelRect rightMargin;   // right of the picture, full height
    PixelRect bottomMargin;  // below the picture, as wide as it
    // The top-left columns x rows pixels of the view surface, each shown as a zoom x zoom
    // block from (0, 0).
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::int32_t zoom = 1;

    bool operator==(const PaintPlan&) const = default;
};

// The plan for a shown frame (width w shows w columns, height h shows h + 1 rows, both cut
// to the surface) in a picture area reaching to areaRight and areaBottom.
PaintPlan planPaint(const ElementConfig& shownFrame, std::int32_t zoom, std::int64_t areaRight,
                    std::int64_t areaBottom);

}  // namespace zt9
