#include "images/element_export.h"

#include <stdexcept>

#include "document/colors15.h"

namespace zt9 {
namespace {

// What an export writes: an element of a 4-bit picture (see BmpImage::build4bpp).
struct ExportJob {
    std::span<const std::uint8_t> picture;
    std::size_t start = 0;
    std::uint32_t rowSkip = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    ElementPalette colors{};
};

ElementPalette toBmpEntries(const Palette16& colors) {
    ElementPalette entries{};
    for (std::size_t k = 0; k < colors.size(); ++k) {
        const std::uint32_t c = colors[k];
        entries[k] = RgbQuad{static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                             static_cast<std::uint8_t>(c), 0};
    }
    return entries;
}

ExportJob prepare(const GeoDocument& doc) {
    const std::uint32_t element = doc.currentElement;
    if (element >= doc.placeWords.size() || element >= doc.importSlots.size())
        throw std::logic_error("no open element to export");
    ExportJob job;
    const ImportSlot& slot = doc.importSlots[element];
    if (slot.imported != 0 && slot.drawn != 0) {
        // A drawn element is written from its own image, rows back to back, with its colours
        // as the file will hold them: the same file an export of it after a save and a
        // reload gives.
        Palette16 stored{};
        for (std::size_t k = 0; k < stored.size(); ++k)
            stored[k] = storedColor(slot.colors[k]);
        job.picture = slot.pixels;
        job.width = slot.width;
        job.height = slot.height + 1;
        job.colors = toBmpEntries(stored);
        return job;
    }
    // Otherwise the place word as loaded: imports and edits do not change the export.
    const std::uint32_t place = doc.placeWords[element];
    job.picture = doc.fileImage;
    job.width = (place >> 16) & 0xFFu;
    job.height = (place >> 24) + 1;
    job.start = doc.elementPixelOffset(place);
    job.rowSkip = (256 - job.width) >> 1;  // element rows lie 128 bytes apart
    job.colors = toBmpPalette(doc, element);
    return job;
}

}  // namespace

ElementPalette toBmpPalette(const GeoDocument& doc, std::uint32_t element) {
    return toBmpEntries(expandPalette(doc.fileImage, doc.paletteOffset, element));
}

std::vector<std::uint8_t> exportElementBytes(const GeoDocument& doc, int mode) {
    if (mode != kExport8bpp && mode != kExport4bpp)
        return {};
    const ExportJob job = prepare(doc);
    BmpImage image;
    if (mode == kExport8bpp)
        return image.build8bpp(job.picture, job.start, job.rowSkip, job.width, job.height,
                               job.colors);
    return image.build4bpp(job.picture, job.start, job.rowSkip, job.width, job.height, job.colors);
}

void exportElement(const GeoDocument& doc, int mode, const std::filesystem::path& fileName) {
    if (mode != kExport8bpp && mode != kExport4bpp)
        return;
    const ExportJob job = prepare(doc);
    BmpImage image;
    if (mode == kExport8bpp) {
        image.write8bpp(fileName, job.picture, job.start, job.rowSkip, job.width, job.height,
                        job.colors);
    } else {
        image.write4bpp(fileName, job.picture, job.start, job.rowSkip, job.width, job.height,
                        job.colors);
    }
}

}  // namespace zt9
