#include "document/colors15.h"

#include "document/byte_io.h"
#include "document/geo_document.h"

namespace zt9 {

Palette16 expandPalette(std::span<const std::uint8_t> fileImage, std::uint32_t paletteOffset,
                        std::uint32_t element) {
    const std::uint64_t record =
        (std::uint64_t{paletteOffset} + std::uint64_t{kPaletteEntryBytes} * element) &
        ~std::uint64_t{3};
    Palette16 colors{};
    for (std::uint64_t k = 0; k < colors.size(); ++k)
        colors[k] = expandColor15(readU16(fileImage, static_cast<std::size_t>(record + 4 + 2 * k)));
    return colors;
}

void packColors15(const Palette16& colors, std::span<std::uint8_t> output, std::size_t position) {
    for (std::size_t k = 0; k < colors.size(); ++k)
        writeU16(output, position + 2 * k, static_cast<std::uint16_t>(packColor15(colors[k])));
}

}  // namespace zt9
