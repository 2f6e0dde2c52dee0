#include "render/surface_bmp.h"

#include <algorithm>

#include "document/byte_io.h"
#include "document/file_io.h"

namespace zt9 {

std::vector<std::uint8_t> surfaceBmp(const Surface& surface, std::int64_t columns,
                                     std::int64_t rows, std::uint32_t zoom) {
    zoom = std::clamp<std::uint32_t>(zoom, 1, 10);
    const auto width =
        static_cast<std::uint32_t>(std::clamp<std::int64_t>(columns, 0, kSurfaceWidth)) * zoom;
    const auto height =
        static_cast<std::uint32_t>(std::clamp<std::int64_t>(rows, 0, kSurfaceHeight)) * zoom;
    const std::uint32_t stride = (width * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = stride * height;
    constexpr std::uint32_t kHeaderBytes = 54;
    std::vector<std::uint8_t> out(kHeaderBytes + imageBytes, 0);
    out[0] = 'B';
    out[1] = 'M';
    writeU32(out, 2, kHeaderBytes + imageBytes);
    writeU32(out, 10, kHeaderBytes);
    writeU32(out, 14, 40);  // BITMAPINFOHEADER
    writeU32(out, 18, width);
    writeU32(out, 22, height);  // positive: bottom-up rows
    writeU16(out, 26, 1);       // planes
    writeU16(out, 28, 24);      // bits per pixel
    writeU32(out, 34, imageBytes);
    writeU32(out, 38, 2835);  // 72 dpi
    writeU32(out, 42, 2835);
    for (std::uint32_t row = 0; row < height; ++row) {
        std::size_t at = kHeaderBytes + std::size_t{stride} * (height - 1 - row);
        for (std::uint32_t column = 0; column < width; ++column) {
            const std::uint32_t c = surface.pixel(column / zoom, row / zoom);  // 0x00BBGGRR
            out[at++] = static_cast<std::uint8_t>(c >> 16);
            out[at++] = static_cast<std::uint8_t>(c >> 8);
            out[at++] = static_cast<std::uint8_t>(c);
        }
    }
    return out;
}

bool saveSurfaceBmp(const std::filesystem::path& fileName, const Surface& surface,
                    std::int64_t columns, std::int64_t rows) {
    return writeFileReplacing(fileName, surfaceBmp(surface, columns, rows));
}

}  // namespace zt9
