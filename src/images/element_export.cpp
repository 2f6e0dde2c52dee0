#include "images/element_export.h"

#include <stdexcept>

#include "document/byte_io.h"

namespace zt9 {
namespace {

struct ExportJob {
    std::size_t start = 0;
    std::uint32_t rowSkip = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    ElementPalette colors{};
};

ExportJob prepare(const GeoDocument& doc) {
    const std::uint32_t element = doc.currentElement;
    if (element >= doc.placeWords.size())
        throw std::logic_error("no open element to export");
    // The place word as loaded: the export always shows the element as it is in the file.
    const std::uint32_t place = doc.placeWords[element];
    ExportJob job;
    job.width = (place >> 16) & 0xFFu;
    job.height = (place >> 24) + 1;
    job.start = doc.elementPixelOffset(place);
    job.rowSkip = (256 - job.width) >> 1;  // element rows lie 128 bytes apart
    job.colors = toBmpPalette(doc, element);
    return job;
}

std::uint8_t widen5(std::uint32_t level) {
    return static_cast<std::uint8_t>((level & 31u) << 3);
}

}  // namespace

ElementPalette toBmpPalette(const GeoDocument& doc, std::uint32_t element) {
    // The record is read as 32-bit words, so its start is rounded down to a multiple of 4;
    // the colours follow its flags word, two to a word, the first in the low half.
    const std::uint64_t record =
        (std::uint64_t{doc.paletteOffset} + std::uint64_t{kPaletteEntryBytes} * element) &
        ~std::uint64_t{3};
    ElementPalette colors{};
    for (std::size_t k = 0; k < colors.size(); ++k) {
        const std::uint64_t at = record + 4 + 2 * k;
        const std::uint32_t c =
            at < doc.fileImage.size() ? readU16(doc.fileImage, static_cast<std::size_t>(at)) : 0u;
        colors[k] = RgbQuad{widen5(c >> 10), widen5(c >> 5), widen5(c), 0};
    }
    return colors;
}

std::vector<std::uint8_t> exportElementBytes(const GeoDocument& doc, int mode) {
    if (mode != kExport8bpp && mode != kExport4bpp)
        return {};
    const ExportJob job = prepare(doc);
    BmpImage image;
    if (mode == kExport8bpp)
        return image.build8bpp(doc.fileImage, job.start, job.rowSkip, job.width, job.height,
                               job.colors);
    return image.build4bpp(doc.fileImage, job.start, job.rowSkip, job.width, job.height,
                           job.colors);
}

void exportElement(const GeoDocument& doc, int mode, const std::filesystem::path& fileName) {
    if (mode != kExport8bpp && mode != kExport4bpp)
        return;
    const ExportJob job = prepare(doc);
    BmpImage image;
    if (mode == kExport8bpp) {
        image.write8bpp(fileName, doc.fileImage, job.start, job.rowSkip, job.width, job.height,
                        job.colors);
    } else {
        image.write4bpp(fileName, doc.fileImage, job.start, job.rowSkip, job.width, job.height,
                        job.colors);
    }
}

}  // namespace zt9
