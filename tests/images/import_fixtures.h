#pragma once

// Shared by the import tests: the font imported into, the images, and what an import
// changes.

#include <string>
#include <tuple>
#include <vector>

#include "images/element_import.h"
#include "support/bmp_builder.h"
#include "support/test_util.h"

namespace zt9::test {

using Bytes = std::vector<std::uint8_t>;
using Bmp = BmpBuilder;

inline constexpr const char* kAccepted = "<accepted>";
inline constexpr const char* kNoSupport = "No support BMP format";

// A two-element font; element 1 is current, at (x, y), loaded with display (-3, 2).
inline GeoDocument font(std::uint32_t x = 0, std::uint32_t y = 0) {
    GeoBuilder builder = GeoBuilder::grid(2);
    auto& e = builder.elements[1];
    std::tie(e.x, e.y, e.displayX, e.displayY) = std::tuple(x, y, -3, 2);
    GeoDocument doc = openDocument(builder);
    doc.currentElement = 1;
    return doc;
}

// Entry k is blue k, green 16 + k, red 32 + k; entry 15 and any later entry are zero.
inline Bmp image(std::int32_t w, std::int32_t h, std::uint16_t bits) {
    return Bmp(w, h, bits).withDistinctPalette();
}

template <typename Source>
std::string import(GeoDocument& doc, const Source& file) {
    FieldCode xCode{}, yCode{};
    return outcome([&] { importElement(doc, xCode, yCode, file); });
}

inline auto slotState(const GeoDocument& doc) {
    const ImportSlot& s = doc.importSlots[1];
    return std::tie(doc.modified, doc.configs, s.imported, s.pixels, s.colors, s.width, s.height);
}

}  // namespace zt9::test
