#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "document/element_config.h"

namespace zt9 {

// Our own clipboard format for element images: the exact colour indices and the 16 colours
// at the precision a GEO file keeps them, so that a copy pasted into another element saves
// the same bytes. Registered under this name; all numbers little-endian:
//
//   offset  bytes  field
//        0      4  signature "ZT9E"
//        4      2  version, 1
//        6      2  width in pixels, 1 to 255
//        8      2  rows, 1 to 240
//       10     32  16 colours, 15-bit as in a GEO palette record: red in bits 0-4, green
//                  5-9, blue 10-14, bit 15 clear; colour 0 is the transparent one
//       42      n  rows x ((width + 1) / 2) pixel bytes: top row first, two pixels a byte,
//                  the left one in the low nibble; an odd width leaves the high nibble of
//                  each row's last byte 0
//
// Bytes after the pixels are ignored: clipboard memory blocks may be rounded up.
inline constexpr const char* kElementImageFormatName = "ZT9 element image";

namespace element_image {
inline constexpr std::size_t kSignature = 0;
inline constexpr std::size_t kVersion = 4;
inline constexpr std::size_t kWidth = 6;
inline constexpr std::size_t kRows = 8;
inline constexpr std::size_t kColors = 10;
inline constexpr std::size_t kPixels = 42;
inline constexpr std::uint32_t kSignatureValue = 0x4539545A;  // "ZT9E"
inline constexpr std::uint16_t kCurrentVersion = 1;
}  // namespace element_image

// The format's bytes for an element image as an ImportSlot holds it (`height` is rows
// minus one). Colours are rounded to 15 bits as a save rounds them; pixel bytes the slot
// lacks count as 0. Empty when no element could take the image back: a width of 0 or over
// 255, or more than 240 rows.
std::vector<std::uint8_t> encodeElementImage(const ImportSlot& image);

// The image those bytes hold, colours widened as an export widens them (5-bit level times
// 8). Untrusted data: anything but a complete version 1 image refuses with `error` (the
// damaged or version text, or the BMP size texts for a width over 255 or more than 240
// rows); nothing outside `data` is read.
ImportSlot decodeElementImage(std::span<const std::uint8_t> data);

}  // namespace zt9
