#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "document/geo_document.h"
#include "images/bmp_image.h"

namespace zt9 {

enum : int { kExport8bpp = 1, kExport4bpp = 2 };

// The first 16 colours of an element's palette record in fileImage, as BMP entries in
// element colour order; the record's 16/256-colour flag does not matter.
ElementPalette toBmpPalette(const GeoDocument& doc, std::uint32_t element);

// Writes the current element as an 8-bit (mode 1) or 4-bit (mode 2) BMP: as loaded (place
// word, picture bytes and palette record of fileImage; imports and configuration edits do
// not count), or, once drawn on, its own image with its colours at the file's precision.
// Any other mode writes nothing. Throws "File save error" when the file cannot be written.
void exportElement(const GeoDocument& doc, int mode, const std::filesystem::path& fileName);
// The bytes such a file holds; empty for any other mode.
std::vector<std::uint8_t> exportElementBytes(const GeoDocument& doc, int mode);

}  // namespace zt9
