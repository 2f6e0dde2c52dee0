#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/element_config.h"
#include "support/geo_builder.h"

namespace zt9::test {

// Pixel grids written as rows of hex digits, one digit per index, top row first. For an
// odd width a row may end in "|d", the pad nibble of its last byte.
using Rows = std::vector<std::string>;

// An image as wide as the first row (without its pad), its colours all 0.
ImportSlot imageFromRows(const Rows& rows);
// The image's rows; for an odd width each shows its pad nibble.
Rows rowsOf(const ImportSlot& image);
// Paints rows into the font's picture with their top-left pixel at (x, y).
void paintRows(GeoBuilder& font, std::uint32_t x, std::uint32_t y, const Rows& rows);

}  // namespace zt9::test
