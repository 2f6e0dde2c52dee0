#pragma once

#include <cstdint>
#include <optional>

#include "document/element_config.h"
#include "document/pixel_rect.h"

namespace zt9 {

// Pixel editing on an element's own image (ImportSlot rows of (width + 1) / 2 bytes, low
// nibble left). Nothing is ever written outside the image: not past its width (the pad
// nibble of an odd width stays as it is), not past its rows, not past its byte buffer.
// Indices above 15 write nothing.

// The index at (x, y); nothing for a pixel outside the image.
std::optional<std::uint8_t> pixelAt(const ImportSlot& image, std::int64_t x, std::int64_t y);

// Sets one pixel; returns true when its index changed.
bool setPixel(ImportSlot& image, std::int64_t x, std::int64_t y, std::uint8_t index);

// An 8-connected line from (x0, y0) to (x1, y1), both ends included, as Bresenham draws it
// (halfway points go the way the line runs). The ends may lie anywhere in the 32-bit range:
// only the part inside the image is walked.
PixelRect drawLine(ImportSlot& image, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                   std::int32_t y1, std::uint8_t index);

// Gives the 4-connected area of (x, y)'s index the new index. Nothing happens when the
// pixel lies outside or already has that index.
PixelRect floodFill(ImportSlot& image, std::int32_t x, std::int32_t y, std::uint8_t index);

}  // namespace zt9
