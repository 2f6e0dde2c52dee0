#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/geo_document.h"
#include "render/surface.h"
#include "support/geo_builder.h"

namespace zt9::test {

// A document opened from built bytes through the real load sequence.
inline GeoDocument openFont(const GeoBuilder& builder) {
    GeoDocument document;
    document.loadBytes(builder.build(), false);
    if (document.checkHeader() != error{})
        throw std::runtime_error("header refused");
    document.parseElements();
    if (document.checkElements() != error{})
        throw std::runtime_error("elements refused");
    return document;
}

// Compares a block of the surface, from (x0, y0), with rows of letters whose colours the
// legend gives; '?' is not checked. Every mismatch is reported with its position.
inline ::testing::AssertionResult pixelsAre(const Surface& surface, std::int32_t x0,
                                            std::int32_t y0, const std::vector<std::string>& rows,
                                            const std::map<char, std::uint32_t>& legend) {
    std::ostringstream errors;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const char letter = rows[r][c];
            if (letter == '?')
                continue;
            const auto x = x0 + static_cast<std::int32_t>(c);
            const auto y = y0 + static_cast<std::int32_t>(r);
            const auto found = legend.find(letter);
            if (found == legend.end())
                return ::testing::AssertionFailure() << "no colour for '" << letter << "'";
            const std::uint32_t actual = surface.pixel(x, y);
            if (actual != found->second) {
                errors << "\n  (" << x << ", " << y << ") is 0x" << std::hex << actual
                       << ", expected '" << letter << "' 0x" << found->second << std::dec;
            }
        }
    }
    const std::string text = errors.str();
    if (text.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixels differ:" << text;
}

// Colours the tests state by hand.
namespace colors {
inline constexpr std::uint32_t kBackground = 0x7B3C52;
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kHighlight = 0xF400FD;
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kGreen = 0x00FF00;
inline constexpr std::uint32_t kBlue = 0xFF0000;
inline constexpr std::uint32_t kYellow = 0x00FFFF;
inline constexpr std::uint32_t kSentinel = 0x00ABCDEF;  // never produced by a drawing
}  // namespace colors

// Five small elements side by side on rows 0-1, with colorIndex 0, 1, 2, 3, 0:
//   element 0  x 0,  w 3, h 1   row 0: 1 2 3 | 4   row 1: 0 5 1 | 4   (| = column 3, the
//                               high nibble of each row's last byte, outside the element)
//   element 1  x 4,  w 2, h 1   row 0: 2 0         row 1: 0 3
//   element 2  x 8,  w 2, h 0   row 0: 1 0
//   element 3  x 12, w 2, h 1   row 0: 0 1         row 1: 1 0
//   element 4  x 16, w 2, h 0   row 0: 0 1
// Stray pixels outside every element, never drawn unless a size rule is broken:
// (6, 0), (7, 0), (4, 2) and (9, 1).
inline GeoBuilder sampleFont() {
    GeoBuilder font;
    const auto element = [&](std::uint32_t x, std::uint32_t w, std::uint32_t h,
                             std::array<std::uint16_t, 16> palette) {
        ElementSpec spec;
        spec.x = x;
        spec.y = 0;
        spec.width = w;
        spec.height = h;
        spec.colors = palette;
        font.elements.push_back(spec);
    };
    // 0x001F red 31, 0x03E0 green 31, 0x7C00 blue 31, 0x7FFF white, 0x8001 red 1 + bit 15.
    element(0, 3, 1, {0, 0x001F, 0x03E0, 0x7C00, 0x7FFF, 0x8001});
    element(4, 2, 1, {0, 0x0421, 0x0842, 0x0C63});  // grey levels 1, 2, 3
    element(8, 2, 0, {0, 0x0010});                  // red 16
    element(12, 2, 1, {0, 0x4000});                 // blue 16
    element(16, 2, 0, {0, 0x0003});                 // red 3
    const std::vector<std::array<std::uint32_t, 3>> pixels = {
        {0, 0, 1},  {1, 0, 2},  {2, 0, 3}, {3, 0, 4}, {1, 1, 5}, {2, 1, 1}, {3, 1, 4},  // 0
        {4, 0, 2},  {5, 1, 3},                                                          // 1
        {8, 0, 1},                                                                      // 2
        {13, 0, 1}, {12, 1, 1},                                                         // 3
        {17, 0, 1},                                                                     // 4
        {6, 0, 1},  {7, 0, 1},  {4, 2, 1}, {9, 1, 1},                                   // strays
    };
    for (const auto& [x, y, value] : pixels)
        font.setPixel(x, y, static_cast<std::uint8_t>(value));
    return font;
}

// The letters of sampleFont's colours, each stated from the 15-bit value times 8.
inline std::map<char, std::uint32_t> sampleLegend() {
    return {
        {'.', colors::kBackground},
        {'k', colors::kBlack},
        {'H', colors::kHighlight},
        {'r', colors::kRed},
        {'g', colors::kGreen},
        {'b', colors::kBlue},
        {'y', colors::kYellow},
        {'s', colors::kSentinel},
        {'A', 0x0000F8},  // element 0, index 1
        {'B', 0x00F800},  // element 0, index 2
        {'C', 0xF80000},  // element 0, index 3
        {'D', 0x000008},  // element 0, index 5 (bit 15 ignored)
        {'S', 0x080808},  // element 1, index 1: only the strays use it
        {'I', 0x101010},  // element 1, index 2
        {'J', 0x181818},  // element 1, index 3
        {'K', 0x000080},  // element 2, index 1
        {'M', 0x800000},  // element 3, index 1
        {'N', 0x000018},  // element 4, index 1
    };
}

}  // namespace zt9::test
