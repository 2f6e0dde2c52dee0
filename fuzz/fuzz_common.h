#pragma once

// Shared by the fuzz targets: invariants that must hold for every input, and the renders
// the main window does for a document.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "document/geo_document.h"
#include "fixed_font.h"
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

inline const GeoDocument& fixedFont() {
    static const GeoDocument font = [] {
        GeoDocument doc;
        openFont(doc, fixedFontBuilder().build());
        return doc;
    }();
    return font;
}

inline bool sameSlot(const ImportSlot& a, const ImportSlot& b) {
    return a.imported == b.imported && a.pixels == b.pixels && a.colors == b.colors &&
           a.width == b.width && a.height == b.height;
}

// An accepted image keeps the element inside the picture and fits the slot to it.
inline void checkImported(const GeoDocument& doc) {
    const ElementConfig& c = doc.configs[doc.currentElement];
    const ImportSlot& slot = doc.importSlots[doc.currentElement];
    require(slot.imported == 1 && doc.modified == 1);
    require(slot.width >= 1 && slot.width <= 255 && slot.height <= 239);
    require(slot.pixels.size() == std::size_t{(slot.width + 1) / 2} * (slot.height + 1));
    require(c.width == static_cast<std::int32_t>(slot.width) &&
            c.height == static_cast<std::int32_t>(slot.height));
    require(c.x >= 0 && c.x % 2 == 0 && c.x + c.width <= 255);
    require(c.y >= 0 && c.y + c.height <= 239);
}

inline void selectElement(GeoDocument& doc, std::uint32_t element) {
    std::int32_t out = 0;
    doc.selectElement(static_cast<std::int32_t>(element), out);
    require(doc.currentElement < doc.elementCount);
}

// Makes an element chosen by three input bytes current and moves it there, so that imports
// and pastes meet every element at every place.
inline void placeElement(GeoDocument& doc, const std::uint8_t* choice) {
    selectElement(doc, choice[0] % doc.elementCount);
    std::int32_t out = 0;
    doc.setX(choice[1], out);
    doc.setY(choice[2] % 240, out);
}

}  // namespace zt9::fuzz
