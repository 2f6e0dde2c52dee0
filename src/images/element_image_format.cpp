#include "images/element_image_format.h"

#include "document/byte_io.h"
#include "document/geo_document.h"
#include "errors/error.h"

namespace zt9 {
namespace {

using namespace element_image;

std::uint32_t widenedColor(std::uint32_t word) {
    const auto channel = [word](unsigned shift) { return ((word >> shift) & 31u) << 3; };
    return channel(0) | channel(5) << 8 | channel(10) << 16;
}

[[noreturn]] void refuseDamaged() {
    throw clipboardError(text::kClipboardDamaged);
}

}  // namespace

std::vector<std::uint8_t> encodeElementImage(const ImportSlot& image) {
    if (image.width == 0 || image.width > 255 || image.height >= 240)
        return {};
    const std::size_t rowBytes = (image.width + 1) / 2;
    const std::size_t rows = std::size_t{image.height} + 1;
    std::vector<std::uint8_t> data(kPixels + rows * rowBytes, 0);
    writeU32(data, kSignature, kSignatureValue);
    writeU16(data, kVersion, kCurrentVersion);
    writeU16(data, kWidth, static_cast<std::uint16_t>(image.width));
    writeU16(data, kRows, static_cast<std::uint16_t>(rows));
    packColors15(image.colors, data, kColors);
    // The high nibble of an odd width's last byte may hold a neighbour pixel; it is dropped.
    const std::uint8_t lastMask = image.width % 2 == 0 ? 0xFF : 0x0F;
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t k = 0; k < rowBytes; ++k) {
            const std::uint8_t mask = k + 1 == rowBytes ? lastMask : 0xFF;
            data[kPixels + r * rowBytes + k] = readU8(image.pixels, r * rowBytes + k) & mask;
        }
    }
    return data;
}

ImportSlot decodeElementImage(std::span<const std::uint8_t> data) {
    if (!fitsIn(data.size(), 0, kPixels) || readU32(data, kSignature) != kSignatureValue)
        refuseDamaged();
    if (readU16(data, kVersion) != kCurrentVersion)
        throw clipboardError(text::kClipboardVersion);
    const std::uint32_t width = readU16(data, kWidth);
    const std::uint32_t rows = readU16(data, kRows);
    if (width == 0 || rows == 0)
        refuseDamaged();
    // Refused as the BMP reader refuses a picture too large for an element.
    if (width > 255 || rows > 240)
        throw bmpSizeError(width > 255, rows > 240);
    const std::size_t rowBytes = (width + 1) / 2;
    if (!fitsIn(data.size(), kPixels, rows * rowBytes))
        refuseDamaged();

    ImportSlot image;
    for (std::size_t k = 0; k < image.colors.size(); ++k) {
        const std::uint32_t word = readU16(data, kColors + 2 * k);
        if (word > 0x7FFF)
            refuseDamaged();
        image.colors[k] = widenedColor(word);
    }
    const auto pixels = data.subspan(kPixels, rows * rowBytes);
    for (std::size_t r = 0; width % 2 == 1 && r < rows; ++r) {
        if ((pixels[r * rowBytes + rowBytes - 1] & 0xF0) != 0)
            refuseDamaged();
    }
    image.pixels.assign(pixels.begin(), pixels.end());
    image.width = width;
    image.height = rows - 1;
    image.imported = 1;
    return image;
}

}  // namespace zt9
