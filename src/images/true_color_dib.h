#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "document/element_config.h"

namespace zt9 {

// True when a packed DIB (info header, optional masks and colour table, pixel rows; no file
// header) says it has 24 or 32 bits per pixel.
bool isTrueColorDib(std::span<const std::uint8_t> dib);

// The element image a true-colour DIB shows in the given 16 colours (0x00BBGGRR): each
// pixel takes the lowest index whose colour equals it at a GEO file's 5-bit precision (the
// rounding of a save); a 32-bit pixel of all zero bytes (transparent black) takes index 0.
// Read: 24 bits, and 32 bits plain or as bit fields with the usual masks (red 0xFF0000,
// green 0xFF00, blue 0xFF); info headers of 40 bytes or more (V4, V5); rows bottom-up or,
// with a negative height, top-down; up to 255 x 240 pixels.
//
// Untrusted data: refuses with `error` ("No support BMP format" for other kinds, the BMP
// size texts, the damaged text for a header or rows that the data does not hold, the
// unmatched colour text for the first pixel from the top-left that no colour matches) and
// never reads outside `dib`. The result's colours are the given ones.
ImportSlot decodeTrueColorDib(std::span<const std::uint8_t> dib,
                              const std::array<std::uint32_t, 16>& colors);

}  // namespace zt9
