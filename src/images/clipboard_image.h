#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "document/geo_document.h"

namespace zt9 {

// Copy and paste of element images through the clipboard, as bytes the Win32 side moves.
// A copy is offered twice: in our own format (images/element_image_format.h) for an exact
// paste, and as a packed DIB for paint programs.

// A packed DIB (40-byte info header, 16 colours, 4-bit rows; no file header), byte for byte
// what a 4-bit export of an element with these pixels and colours writes after its 14-byte
// file header: element colour 0 is entry 15, colour k entry k - 1, colours at the 15-bit
// precision of the file. Empty when encodeElementImage gives nothing.
std::vector<std::uint8_t> copyAsDib(const ImportSlot& image);

// The 16 colours (0x00BBGGRR) the document's current element shows: those of its imported
// image, or else those of its palette record as loaded, widened as an export widens them.
std::array<std::uint32_t, 16> currentColors(const GeoDocument& doc);

// Pastes make the picture the current element's own image, as an import does (see
// installImage), and return true; a refused picture throws `error` and changes nothing.
//
// Our own format: exactly the image it holds (decodeElementImage).
bool pasteElementImage(GeoDocument& doc, FieldCode& xCode, FieldCode& yCode,
                       std::span<const std::uint8_t> data);
// A packed DIB. 24 and 32 bits: matched to the current element's colours (see
// decodeTrueColorDib). Any other depth is read as the BMP file it becomes with a 14-byte
// file header, by the rules and with the messages of a BMP import; the import's file size
// limits count that header too, so a DIB of 108 to 62506 bytes is looked at.
bool pasteDib(GeoDocument& doc, FieldCode& xCode, FieldCode& yCode,
              std::span<const std::uint8_t> dib);

}  // namespace zt9
