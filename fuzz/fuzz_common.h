#pragma once

// Shared by the fuzz targets: invariants that must hold for every input, and the renders
// the main window does for a document.

#include <cstdint>
#include <cstdlib>

#include "document/geo_document.h"
#include "render/render.h"
#include "render/surface.h"
#include "render/view_state.h"

namespace zt9::fuzz {

// A broken invariant is a finding: abort so that libFuzzer stops and keeps the input.
inline void require(bool condition) {
    if (!condition)
        std::abort();
}

// Both views of the current element, as the window paints them.
inline void renderBothViews(GeoDocument& doc, bool transparency) {
    Surface viewSurface;
    Surface pictureSurface;
    ViewState view;
    view.documentLoaded = 1;
    view.transparency = transparency ? 1 : 0;
    for (const std::uint8_t mode : {kFullPicture, kPictureElement}) {
        view.viewMode = mode;
        renderView(doc, view, viewSurface, pictureSurface);
    }
}

inline void selectElement(GeoDocument& doc, std::uint32_t element) {
    std::int32_t out = 0;
    doc.selectElement(static_cast<std::int32_t>(element), out);
    require(doc.currentElement < doc.elementCount);
}

}  // namespace zt9::fuzz
