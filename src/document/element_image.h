#pragma once

#include <cstdint>

#include "document/element_config.h"
#include "document/geo_document.h"

namespace zt9 {

// Turning an element into an image of its own, the form drawing works on.

// The element's picture as it stands: a copy of its own image when it has one; otherwise
// its configured width x (height + 1) pixels read from the file picture at its loaded place
// (byte-aligned at elementPixelOffset, rows 128 bytes apart, as the Picture Element view
// and the save read them), cut where the configured size is smaller than the loaded one and
// 0 (transparent) where it is larger, with the 16 colours of its palette record as the view
// shows them. For an odd width the pad nibble of each row's last byte is the file's, so the
// image saved unchanged at the same place writes the picture bytes back as they were.
// Flags stay clear for a file element. An element the document does not have gives an
// empty image.
ImportSlot presentImage(const GeoDocument& document, std::uint32_t element);

// The image to draw on: the element's present picture becomes its own image (imported, so
// that save, view and Reset import treat it like an import) the first time, and it is
// marked drawn. Throws std::out_of_range for an element the document does not have. The
// caller marks the document modified as the edit's history decides.
ImportSlot& makeOwnImage(GeoDocument& document, std::uint32_t element);

// Sets palette entry `entry` (0 to 15) to a 0x00BBGGRR colour at the file's precision and
// stores it as a reload would show it (each channel's level times 8). Returns true when the
// stored colour changed; another entry changes nothing.
bool setPaletteEntry(ImportSlot& image, std::uint32_t entry, std::uint32_t color);

}  // namespace zt9
