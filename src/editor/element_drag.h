#pragma once

#include <cstdint>
#include <optional>

#include "document/geo_document.h"
#include "editor/picture_viewport.h"

namespace zt9 {

// What a press in the Full picture takes hold of: the current element's body, to move it, or
// its right edge, bottom edge or bottom-right corner, to resize it.
enum class DragHandle : std::uint8_t { none, body, rightEdge, bottomEdge, corner };

// The edges can be grabbed this many window pixels outside the element and as many inside
// it (less on a small element, so that its body can still be grabbed), at every zoom.
inline constexpr std::int64_t kEdgeGrip = 3;

// The element whose rectangle holds picture pixel (x, y): the current element first, as it
// is drawn over all others, then the one drawn last, that is the highest number. Nothing
// where no element lies.
std::optional<std::uint32_t> elementAt(const GeoDocument& document, std::int64_t x, std::int64_t y);

// The edge or corner of the element `config` under a window point; `none` elsewhere, the
// body included.
DragHandle edgeAt(const PictureViewport& viewport, const ElementConfig& config, WindowPoint point);

// What a press at a window point takes hold of: the element whose pixel lies there, and the
// current element's edge where it lies over that element or over none (so an edge never
// hides a neighbour); the element's body elsewhere. Nothing outside the visible area.
struct PickedPoint {
    std::optional<std::uint32_t> element;
    DragHandle handle = DragHandle::none;
};
PickedPoint pickAt(const GeoDocument& document, const PictureViewport& viewport, WindowPoint point);

// One drag of the current element: what was grabbed, at which picture pixel, and the
// element as it stood then.
struct ElementDrag {
    DragHandle handle = DragHandle::none;
    std::int64_t grabX = 0, grabY = 0;
    ElementConfig start;

    // Puts the current element where the pointer over picture pixel (x, y) takes it: the
    // place or size that as many key presses as whole steps between the two pixels give
    // (two columns for one Left or Right, one row for Up or Down, one column or row for a
    // Shift key), through the same element operations, limits and guards. Returns true
    // when the element changed.
    bool follow(GeoDocument& document, std::int64_t x, std::int64_t y) const;
};

}  // namespace zt9
