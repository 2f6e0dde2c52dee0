#pragma once

// Helpers shared by the document tests: the load sequence of the load command, fonts with
// hand-placed elements over a background that no edit produces, and byte comparisons that
// say where two file images differ.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "document/geo_document.h"
#include "errors/error.h"
#include "support/geo_builder.h"

namespace zt9::test {

// The load command's sequence: read, check the header, decode the table, check the
// elements (closing the document when that fails). Returns the record the command would
// show, or a cleared record when the font is open.
template <typename Source>
error tryOpen(GeoDocument& doc, Source&& source, bool documentLoaded = false) {
    doc.clearError();
    try {
        if constexpr (std::is_convertible_v<Source, std::filesystem::path>) {
            doc.loadFile(source, documentLoaded);
        } else {
            doc.loadBytes(std::vector<std::uint8_t>(source), documentLoaded);
        }
    } catch (const error& e) {
        return e;
    }
    if (const error header = doc.checkHeader(); header.domain != 0)
        return header;
    doc.parseElements();
    if (const error elements = doc.checkElements(); elements.domain != 0) {
        doc.closeDocument();
        return elements;
    }
    return error{};
}

// The text the user would see for a record.
inline std::string shownText(const error& e) {
    return messageText(e).value_or("<no message>");
}

inline error geoError(std::uint32_t error::*condition, std::uint32_t value = 1,
                      std::int32_t elementIndex = 0) {
    error e;
    e.domain = kDomainGeo;
    e.*condition = value;
    e.elementIndex = elementIndex;
    return e;
}

inline error generalError(std::uint32_t code, std::string message = {}) {
    error e;
    e.code = code;
    e.message = std::move(message);
    return e;
}

inline ElementSpec at(std::uint32_t x, std::uint32_t y, std::uint32_t width, std::uint32_t height) {
    ElementSpec spec;
    spec.x = x;
    spec.y = y;
    spec.width = width;
    spec.height = height;
    return spec;
}

// A font whose elements stand where the specs say, each painted with its own pattern, over
// a background whose pixels are never 0: every byte a save clears or moves by mistake shows.
inline GeoBuilder fontOf(std::vector<ElementSpec> specs) {
    GeoBuilder builder;
    for (std::size_t k = 0; k < builder.pixels.size(); ++k) {
        builder.pixels[k] =
            static_cast<std::uint8_t>(((k * 7 + 3) % 15 + 1) | (((k * 11 + 5) % 15 + 1) << 4));
    }
    builder.elements = std::move(specs);
    for (std::size_t i = 0; i < builder.elements.size(); ++i) {
        ElementSpec& spec = builder.elements[i];
        spec.resizeWidth = spec.width + 1;
        spec.resizeHeight = spec.height + 1;
        spec.displayX = static_cast<std::int32_t>(i) - 2;
        spec.displayY = 3 - static_cast<std::int32_t>(i);
        spec.numberLow = 0x00ABCD00u + static_cast<std::uint32_t>(i);
        for (std::size_t k = 0; k < 16; ++k)
            spec.colors[k] = static_cast<std::uint16_t>(0x8000u | (i * 16 + k) * 97);
        builder.paintPattern(i);
    }
    return builder;
}

// The first `count` bytes, and the bytes from `offset` on.
inline std::vector<std::uint8_t> head(const std::vector<std::uint8_t>& bytes, std::size_t count) {
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count)};
}
inline std::vector<std::uint8_t> tail(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(offset), bytes.end()};
}

// Equal images, or a failure naming the number of differing bytes and the first offsets.
inline ::testing::AssertionResult sameBytes(const std::vector<std::uint8_t>& actual,
                                            const std::vector<std::uint8_t>& expected) {
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << "size " << actual.size() << ", expected " << expected.size();
    }
    std::size_t differing = 0;
    std::ostringstream first;
    for (std::size_t k = 0; k < actual.size(); ++k) {
        if (actual[k] == expected[k])
            continue;
        if (++differing <= 8) {
            first << " [" << k << "] " << int{actual[k]} << " expected " << int{expected[k]} << ";";
        }
    }
    if (differing == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " bytes differ:" << first.str();
}

}  // namespace zt9::test
