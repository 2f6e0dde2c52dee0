#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zt9::demo {

// The characters of the demo font in element order: element i draws kDemoCharacters[i].
inline constexpr std::string_view kDemoCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ!?.,-:";

// The whole demo GEO file. Our own pixel font in four styles, each with its palette: big
// outlined gold digits (4x), outlined ice-blue A-M and rose N-Z (3x), and green punctuation
// with a drop shadow (2x). Always the same bytes.
std::vector<std::uint8_t> makeDemoFont();

}  // namespace zt9::demo
