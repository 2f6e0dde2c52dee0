#pragma once

// Helpers shared by the document tests: the load command's sequence, fonts with hand-placed
// elements over a background that no edit produces, and a byte comparison that says where
// two file images differ.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
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

// The load command's sequence (size checks, header, table, element checks). Returns the
// record the command shows, or a cleared record when the font is open.
inline error tryOpen(GeoDocument& doc, const std::vector<std::uint8_t>& bytes) {
    doc.clearError();
    return caught([&] { openFont(doc, bytes); });
}

inline std::string shownText(const error& e) {
    return messageText(e).value_or("<no message>");
}
inline error generalError(std::uint32_t code, std::string message = {}) {
    return {.code = code, .message = std::move(message)};
}
inline error geoError(std::uint32_t error::*condition, std::uint32_t value = 1,
                      std::int32_t elementIndex = 0) {
    error e{.domain = kDomainGeo, .elementIndex = elementIndex, .message = {}};
    e.*condition = value;
    return e;
}

inline ElementLayout at(std::uint32_t x, std::uint32_t y, std::uint32_t width,
                        std::uint32_t height) {
    return {.x = x, .y = y, .width = width, .height = height};
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
    const auto [a, e] =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (a == actual.end() && e == expected.end())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at " << (a - actual.begin());
}

}  // namespace zt9::test
