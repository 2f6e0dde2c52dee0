#include "images/clipboard_image.h"

#include <stdexcept>

#include "document/byte_io.h"
#include "images/bmp_image.h"
#include "images/element_export.h"
#include "images/element_image_format.h"
#include "images/element_import.h"
#include "images/true_color_dib.h"

namespace zt9 {

std::vector<std::uint8_t> copyAsDib(const ImportSlot& image) {
    // Going through our own format gives the DIB the same tidy rows and 15-bit colours.
    const std::vector<std::uint8_t> own = encodeElementImage(image);
    if (own.empty())
        return {};
    const ImportSlot tidy = decodeElementImage(own);
    ElementPalette palette{};
    for (std::size_t k = 0; k < palette.size(); ++k) {
        const std::uint32_t c = tidy.colors[k];
        palette[k] = RgbQuad{static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                             static_cast<std::uint8_t>(c), 0};
    }
    BmpImage bmp;
    std::vector<std::uint8_t> file =
        bmp.build4bpp(tidy.pixels, 0, 0, tidy.width, tidy.height + 1, palette);
    file.erase(file.begin(), file.begin() + bmp::kFileHeaderBytes);
    return file;
}

std::array<std::uint32_t, 16> currentColors(const GeoDocument& doc) {
    const std::uint32_t element = doc.currentElement;
    if (element >= doc.importSlots.size())
        throw std::logic_error("no open element to paste into");
    if (doc.importSlots[element].imported != 0)
        return doc.importSlots[element].colors;
    std::array<std::uint32_t, 16> colors{};
    const ElementPalette palette = toBmpPalette(doc, element);
    for (std::size_t k = 0; k < colors.size(); ++k) {
        const RgbQuad& q = palette[k];
        colors[k] =
            std::uint32_t{q.red} | std::uint32_t{q.green} << 8 | std::uint32_t{q.blue} << 16;
    }
    return colors;
}

bool pasteElementImage(GeoDocument& doc, FieldCode& xCode, FieldCode& yCode,
                       std::span<const std::uint8_t> data) {
    return installImage(doc, decodeElementImage(data), xCode, yCode);
}

bool pasteDib(GeoDocument& doc, FieldCode& xCode, FieldCode& yCode,
              std::span<const std::uint8_t> dib) {
    if (isTrueColorDib(dib))
        return installImage(doc, decodeTrueColorDib(dib, currentColors(doc)), xCode, yCode);
    // An oversized block is refused before it is copied; the import refuses it anyway.
    if (dib.size() > kImportMaxBytes)
        checkImportSize(doc, dib.size());
    // The pixels follow the colour table; the reader takes an offset of 0 to mean just that.
    std::vector<std::uint8_t> file(bmp::kFileHeaderBytes);
    writeU16(file, bmp::kType, static_cast<std::uint16_t>(BmpImage::signature));
    writeU32(file, bmp::kFileSize, static_cast<std::uint32_t>(dib.size() + file.size()));
    file.insert(file.end(), dib.begin(), dib.end());
    return importElement(doc, xCode, yCode, file);
}

}  // namespace zt9
