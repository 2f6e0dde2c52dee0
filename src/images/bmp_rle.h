#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zt9::bmp {

// Values of biCompression the reader takes: plain rows, and the run-length encodings that
// paint programs write for 8-bit and 4-bit images.
inline constexpr std::uint32_t kUncompressed = 0;
inline constexpr std::uint32_t kRle8 = 1;
inline constexpr std::uint32_t kRle4 = 2;

// Expands an RLE8 (`bitCount` 8) or RLE4 (`bitCount` 4) pixel stream into the rows an
// uncompressed file of that size and depth holds: stride(width, bitCount) bytes per row,
// bottom row first. Width and height must already be checked (at most 255 x 240).
//
// Damaged streams are never refused; they are cut: pixels are placed only inside the
// image, and what the stream does not set reads as index 0.
std::vector<std::uint8_t> expandRle(std::span<const std::uint8_t> stream, std::uint32_t width,
                                    std::uint32_t height, std::uint32_t bitCount);

}  // namespace zt9::bmp
