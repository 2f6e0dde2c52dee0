#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "render/surface.h"

namespace zt9 {

// A 24-bit uncompressed BMP of the top-left `columns` x `rows` pixels of a surface (cut to
// the surface), so a render can be looked at outside the program: 54-byte header, rows
// bottom-up, each padded to a multiple of 4 bytes. With a zoom z (1 to 10) every pixel
// becomes a z x z block, as the window's stretch shows it.
std::vector<std::uint8_t> surfaceBmp(const Surface& surface, std::int64_t columns,
                                     std::int64_t rows, std::uint32_t zoom = 1);
inline std::vector<std::uint8_t> surfaceBmp(const Surface& surface) {
    return surfaceBmp(surface, kSurfaceWidth, kSurfaceHeight);
}

// Writes surfaceBmp to a file, replacing it only once written whole; false on failure.
bool saveSurfaceBmp(const std::filesystem::path& fileName, const Surface& surface,
                    std::int64_t columns = kSurfaceWidth, std::int64_t rows = kSurfaceHeight);

}  // namespace zt9
