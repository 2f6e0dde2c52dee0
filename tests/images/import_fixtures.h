#pragma once

// Shared by the image tests: the font imported into, the images, and what an import or a
// paste changes.

#include <string>
#include <tuple>
#include <vector>

#include "images/clipboard_image.h"
#include "images/element_import.h"
#include "support/bmp_builder.h"
#include "support/test_util.h"

namespace zt9::test {

using Bmp = BmpBuilder;

inline constexpr const char* kAccepted = "<accepted>";
inline constexpr const char* kNoSupport = "No support BMP format";

// A two-element font; element 1 is current, at (x, y), loaded with display (-3, 2).
inline GeoDocument font(std::uint32_t x = 0, std::uint32_t y = 0) {
    GeoBuilder builder = GeoBuilder::grid(2);
    auto& e = builder.elements[1];
    std::tie(e.x, e.y, e.displayX, e.displayY) = std::tuple(x, y, -3, 2);
    return openDocument(builder, 1);
}

// Entry k is blue k, green 16 + k, red 32 + k; entry 15 and any later entry are zero.
inline Bmp image(std::int32_t w, std::int32_t h, std::uint16_t bits) {
    return Bmp(w, h, bits).withDistinctPalette();
}

// Whole rows and stretches of index 0 (deltas, ends of line, an early end of bitmap from
// the two top rows), repeated values and pairs (encoded runs) and varied values (absolute
// runs), 8-bit values above 15 included.
inline Bmp picture(std::int32_t w, std::int32_t h, std::uint16_t bits) {
    Bmp b = image(w, h, bits);
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x)
            b.indices.push_back(
                static_cast<std::uint8_t>(y % 4 == 1 || y == 0 || x % 11 >= 8 ? 0
                                          : x % 23 < 6 ? (x % 2 == 1 ? 3 : 9 + y % 4)
                                          : x < w / 2  ? (x / 5 + y) % 16
                                                       : (x * 7 + y * 3) % (bits == 8 ? 256 : 16)));
    return b;
}

inline auto slotState(const GeoDocument& doc) {
    return std::tie(doc.modified, doc.configs, doc.importSlots[1]);
}

// What `call` does to `doc`: kAccepted, or its refusal's message, with " (changed)" when the
// refusal changed element 1, any configuration or `modified`.
inline std::string attempt(GeoDocument& doc, const std::function<void()>& call) {
    const GeoDocument before = doc;  // NOLINT(performance-unnecessary-copy-initialization)
    const std::string message = outcome(call);
    const bool same = slotState(doc) == slotState(before);
    return message == kAccepted || same ? message : message + " (changed)";
}

inline std::string import(GeoDocument& doc, const Bytes& file) {
    FieldCode codes[2]{};
    return attempt(doc, [&] { importElement(doc, codes[0], codes[1], file); });
}

// A paste into `doc`, our own format or a DIB.
inline std::string paste(GeoDocument& doc, bool own, const Bytes& data) {
    FieldCode codes[2]{};
    const auto call = own ? pasteElementImage : pasteDib;
    return attempt(doc, [&] { call(doc, codes[0], codes[1], data); });
}

}  // namespace zt9::test
