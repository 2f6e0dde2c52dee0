#pragma once

#include <cstdint>
#include <string>

#include "document/element_config.h"
#include "support/geo_builder.h"

namespace zt9::test {

// Pixel grids as one string: rows of hex digits, one per nibble (so an odd width's rows end
// in their pad nibble), top row first, separated by "/".
ImportSlot imageFromRows(std::uint32_t width, const std::string& rows);  // colours all 0
std::string rowsOf(const ImportSlot& image);
// Paints the rows into the font's picture with their top-left pixel at (x, y).
void paintRows(GeoBuilder& font, std::uint32_t x, std::uint32_t y, const std::string& rows);

}  // namespace zt9::test
