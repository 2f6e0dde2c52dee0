#include "editor/element_drag.h"

#include <algorithm>

#include "render/draw.h"

namespace zt9 {
namespace {

using FieldOperation = FieldCode (GeoDocument::*)(std::int32_t, std::int32_t&);

// Far past any edge of the picture, and small enough to add to any stored value.
constexpr std::int64_t kFarSteps = 1 << 16;

bool holds(const ElementConfig& c, std::int64_t x, std::int64_t y) {
    return x >= c.x && x < std::int64_t{c.x} + c.width && y >= c.y &&
           y <= std::int64_t{c.y} + c.height;
}

// One field after `steps` presses of its key from `from`: nothing for no press, else the
// operation with the value the last press asks for, which ends where the presses one by one
// end. Like the keys, a decrease never asks for less than 0: the operations take a negative
// value as a very large one.
void press(GeoDocument& document, std::int32_t ElementConfig::*field, std::int32_t from,
           std::int64_t steps, std::int64_t step, FieldOperation operation) {
    ElementConfig& config = document.configs[document.currentElement];
    if (steps == 0) {
        config.*field = from;
        return;
    }
    std::int32_t corrected = 0;
    const std::int64_t wanted = std::max<std::int64_t>(from + steps * step, 0);
    (document.*operation)(static_cast<std::int32_t>(std::min<std::int64_t>(wanted, INT32_MAX)),
                          corrected);
}

}  // namespace

std::optional<std::uint32_t> elementAt(const GeoDocument& document, std::int64_t x,
                                       std::int64_t y) {
    const std::uint32_t count = drawableElements(document);
    const std::uint32_t current = document.currentElement;
    if (current < count && holds(document.configs[current], x, y))
        return current;
    for (std::uint32_t i = count; i-- > 0;) {
        if (i != current && holds(document.configs[i], x, y))
            return i;
    }
    return std::nullopt;
}

DragHandle edgeAt(const PictureViewport& viewport, const ElementConfig& config, WindowPoint point) {
    if (config.width <= 0 || config.height < 0)
        return DragHandle::none;
    const PixelRect first = viewport.windowRectOf(config.x, config.y);
    const std::int64_t zoom = viewport.zoom();
    const std::int64_t right = first.left + std::int64_t{config.width} * zoom;
    const std::int64_t bottom = first.top + (std::int64_t{config.height} + 1) * zoom;
    const std::int64_t insideX = std::min(kEdgeGrip, (right - first.left) / 3);
    const std::int64_t insideY = std::min(kEdgeGrip, (bottom - first.top) / 3);
    const bool acrossEdge = point.x >= first.left && point.x < right + kEdgeGrip;
    const bool alongEdge = point.y >= first.top && point.y < bottom + kEdgeGrip;
    const bool onRight = alongEdge && point.x >= right - insideX && point.x < right + kEdgeGrip;
    const bool onBottom = acrossEdge && point.y >= bottom - insideY && point.y < bottom + kEdgeGrip;
    if (onRight && onBottom)
        return DragHandle::corner;
    return onRight ? DragHandle::rightEdge : onBottom ? DragHandle::bottomEdge : DragHandle::none;
}

PickedPoint pickAt(const GeoDocument& document, const PictureViewport& viewport,
                   WindowPoint point) {
    const PicturePixel pixel = viewport.pixelAt(point);
    const std::uint32_t current = document.currentElement;
    if (!pixel.inView || current >= drawableElements(document))
        return {};
    PickedPoint picked;
    if (pixel.inFrame)
        picked.element = elementAt(document, pixel.x, pixel.y);
    if (!picked.element || *picked.element == current)
        picked.handle = edgeAt(viewport, document.configs[current], point);
    if (picked.handle == DragHandle::none && picked.element)
        picked.handle = DragHandle::body;
    return picked;
}

bool ElementDrag::follow(GeoDocument& document, std::int64_t x, std::int64_t y) const {
    if (document.currentElement >= drawableElements(document))
        return false;
    const ElementConfig before = document.configs[document.currentElement];
    const std::int64_t across = std::clamp(x - grabX, -kFarSteps, kFarSteps);
    const std::int64_t down = std::clamp(y - grabY, -kFarSteps, kFarSteps);
    const bool width = handle == DragHandle::rightEdge || handle == DragHandle::corner;
    const bool height = handle == DragHandle::bottomEdge || handle == DragHandle::corner;
    if (handle == DragHandle::body) {
        // Two columns a press: a column short of the next step does not count.
        press(document, &ElementConfig::x, start.x, across / 2, 2, &GeoDocument::setX);
        press(document, &ElementConfig::y, start.y, down, 1, &GeoDocument::setY);
    }
    if (width)
        press(document, &ElementConfig::width, start.width, across, 1, &GeoDocument::setWidth);
    if (height)
        press(document, &ElementConfig::height, start.height, down, 1, &GeoDocument::setHeight);
    return document.configs[document.currentElement] != before;
}

}  // namespace zt9
