#include "editor/paint_plan.h"

#include <algorithm>

#include "render/surface.h"

namespace zt9 {

PaintPlan planPaint(const ElementConfig& shownFrame, std::int32_t zoom, std::int64_t areaRight,
                    std::int64_t areaBottom) {
    PaintPlan plan;
    plan.zoom = std::clamp(zoom, 1, 10);
    // A frame taken from the file may be larger than the surface (or, damaged, negative);
    // only what the surface holds can be shown.
    plan.columns = std::clamp(shownFrame.width, 0, kSurfaceWidth);
    plan.rows = static_cast<std::int32_t>(std::clamp(
        std::int64_t{shownFrame.height} + 1, std::int64_t{0}, std::int64_t{kSurfaceHeight}));
    const std::int64_t pictureRight = std::int64_t{plan.columns} * plan.zoom;
    const std::int64_t pictureBottom = std::int64_t{plan.rows} * plan.zoom;
    plan.rightMargin = {pictureRight, 0, areaRight, areaBottom};
    plan.bottomMargin = {0, pictureBottom, pictureRight, areaBottom};
    return plan;
}

}  // namespace zt9
