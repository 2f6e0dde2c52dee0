#pragma once

// Helpers shared by the document tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "document/geo_document.h"
#include "errors/error.h"
#include "support/geo_builder.h"

namespace zt9::test {

// The record `action` throws, or a cleared record.
template <typename Action>
error caught(Action&& action) {
    try {
        action();
    } catch (const error& e) {
        return e;
    }
    return error{};
}

// The load command's sequence: a cleared record when the font is open, else the one shown.
inline error tryOpen(GeoDocument& doc, const std::vector<std::uint8_t>& bytes) {
    doc.clearError();
    return caught([&] { openFont(doc, bytes); });
}

inline error geoError(std::uint32_t error::*condition) {
    error e{.domain = kDomainGeo, .message = {}};
    e.*condition = 1;
    return e;
}

// A font whose elements stand where given, each painted with its own pattern, over
// a background with no 0 pixel: every byte a save clears or moves by mistake shows.
inline GeoBuilder fontOf(std::vector<ElementLayout> elements) {
    GeoBuilder builder;
    for (std::size_t k = 0; k < builder.pixels.size(); ++k)
        builder.pixels[k] = static_cast<std::uint8_t>(((k * 7 + 3) % 15 + 1) * 0x11);
    builder.elements = std::move(elements);
    for (std::size_t i = 0; i < builder.elements.size(); ++i)
        builder.paintPattern(i);
    return builder;
}

// Equal images, or a failure naming the sizes and the first differing offset.
inline ::testing::AssertionResult sameBytes(const std::vector<std::uint8_t>& actual,
                                            const std::vector<std::uint8_t>& expected) {
    const auto at = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    return actual == expected ? ::testing::AssertionSuccess()
                              : ::testing::AssertionFailure()
                                    << "sizes " << actual.size() << " and " << expected.size()
                                    << ", first difference at " << at.first - actual.begin();
}

}  // namespace zt9::test
