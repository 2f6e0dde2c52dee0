#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "document/geo_document.h"

namespace zt9 {

// Import file sizes: a 1 x 1 4-bit image is 122 bytes; the upper limit keeps a full
// 255 x 240 8-bit image with a 256-entry palette.
inline constexpr std::uint32_t kImportMinBytes = 122;
inline constexpr std::uint32_t kImportMaxBytes = 62520;

// Makes a 4- or 8-bit BMP the new image of the document's current element: fills its
// ImportSlot, fits width, height and resize values to the image, takes the display
// position as loaded and re-applies x and y through setX and setY, whose field codes go
// to xCode and yCode. Returns true or throws `error`; a refused file changes nothing.
bool importElement(GeoDocument& doc, FieldCode& xCode, FieldCode& yCode,
                   const std::filesystem::path& fileName);
// The same for file bytes already in memory (size limits included).
bool importElement(GeoDocument& doc, FieldCode& xCode, FieldCode& yCode,
                   std::span<const std::uint8_t> file);

// The import file size limits: a size outside them throws the "more than" or "less than"
// file size message from the document's `lastError`.
void checkImportSize(GeoDocument& doc, std::size_t size);

// Makes an image already decoded and checked the current element's own image, as every
// import and paste does: `image` becomes its slot, width, height and resize values fit the
// image, the display position goes back to the loaded one, and x and y are re-applied
// through setX and setY (their field codes to xCode and yCode). Returns true. An image that
// an element cannot hold (width 1 to 255, 1 to 240 rows, pixels of exactly that size) is a
// programming fault: std::invalid_argument, nothing changed.
bool installImage(GeoDocument& doc, ImportSlot image, FieldCode& xCode, FieldCode& yCode);

}  // namespace zt9
