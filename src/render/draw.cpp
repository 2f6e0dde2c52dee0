#include "render/draw.h"

#include <algorithm>

#include "document/byte_io.h"
#include "render/view_state.h"

namespace zt9 {
namespace {

struct RowRange {
    std::int64_t first, end;  // rows r in [first, end) land on the surface
};

// The rows of a plot of `rows` rows from surface row y that fall on the surface, computed
// without overflow for any y.
RowRange visibleRows(std::int64_t y, std::int64_t rows) {
    if (rows <= 0 || y >= kSurfaceHeight || y < -rows)
        return {0, 0};
    if (y >= 0)
        return {0, std::min<std::int64_t>(rows, kSurfaceHeight - y)};
    const std::int64_t first = -y;
    return {first, rows + y > kSurfaceHeight ? first + kSurfaceHeight : rows};
}

// Two pixels known to lie on the surface; index 0 keeps what is below.
inline void plotPair(std::uint32_t* pixels, std::uint8_t b, const Palette16& palette) {
    const unsigned low = b & 0x0Fu;
    const unsigned high = b >> 4u;
    pixels[0] = low != 0 ? palette[low] : pixels[0];
    pixels[1] = high != 0 ? palette[high] : pixels[1];
}

// Byte k of a row whose pixels may fall off the surface or past the width.
void plotEdgeByte(std::span<std::uint32_t, kSurfaceWidth> line, std::uint8_t b, std::int64_t x,
                  std::int64_t w, std::uint64_t k, const Palette16& palette) {
    const auto c = static_cast<std::int64_t>(2 * k);
    if ((b & 0x0Fu) != 0 && Surface::inside(x + c, 0))
        line[static_cast<std::size_t>(x + c)] = palette[b & 0x0Fu];
    // The high nibble of an odd-width row's last byte belongs to the next column.
    if ((b >> 4) != 0 && c + 1 < w && Surface::inside(x + c + 1, 0))
        line[static_cast<std::size_t>(x + c + 1)] = palette[b >> 4];
}

// Plots `rows` rows of w 4-bit pixels whose bytes start at `start` and lie `stride` bytes
// apart. Only bytes inside `bytes` are read; rows off the surface are passed over unread.
void plotNibbleRows(Surface& surface, std::span<const std::uint8_t> bytes, std::uint64_t start,
                    std::uint64_t stride, std::int64_t x, std::int64_t y, std::int64_t w,
                    std::int64_t rows, const Palette16& palette) {
    const std::uint64_t size = bytes.size();
    if (w <= 0 || x >= kSurfaceWidth || start >= size)
        return;
    // A row never draws more than 2 * size columns, so a place further left shows nothing;
    // this also keeps every column sum below far from overflow.
    if (x < 0 && static_cast<std::uint64_t>(-(x + 1)) >= 2 * size)
        return;
    const RowRange range = visibleRows(y, rows);
    if (range.first >= range.end)
        return;
    if (stride != 0 && static_cast<std::uint64_t>(range.first) > (size - start) / stride)
        return;
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(w) + 1) / 2;
    // Byte k draws columns x + 2k and x + 2k + 1. Both are on the surface from
    // firstWholePair on and before wholePairsEnd, which also stops before an odd width's
    // half-used last byte.
    const std::uint64_t firstWholePair =
        x >= 0 ? 0 : (static_cast<std::uint64_t>(-(x + 1)) + 2) / 2;
    const std::uint64_t wholePairsEnd = std::min(static_cast<std::uint64_t>(w) / 2,
                                                 static_cast<std::uint64_t>(kSurfaceWidth - x) / 2);
    std::uint64_t rowStart = start + static_cast<std::uint64_t>(range.first) * stride;
    for (std::int64_t r = range.first; r < range.end && rowStart < size; ++r) {
        const std::span<std::uint32_t, kSurfaceWidth> line = surface.row(y + r);
        const std::uint64_t available = std::min(rowBytes, size - rowStart);
        const std::uint8_t* const source = bytes.data() + rowStart;
        // Bytes whose two pixels both land on the surface and inside the width take the
        // fast path; the few at the edges are checked pixel by pixel.
        const std::uint64_t fastBegin = std::min(available, firstWholePair);
        const std::uint64_t fastEnd = std::max(fastBegin, std::min(available, wholePairsEnd));
        for (std::uint64_t k = 0; k < fastBegin; ++k)
            plotEdgeByte(line, source[k], x, w, k, palette);
        if (fastBegin < fastEnd) {
            std::uint32_t* pair = &line[static_cast<std::size_t>(x) + 2 * fastBegin];
            for (std::uint64_t k = fastBegin; k < fastEnd; ++k, pair += 2)
                plotPair(pair, source[k], palette);
        }
        for (std::uint64_t k = fastEnd; k < available; ++k)
            plotEdgeByte(line, source[k], x, w, k, palette);
        if (size - rowStart <= stride)
            break;
        rowStart += stride;
    }
}

std::uint32_t blockColor(const GeoDocument& document, const ElementConfig& config) {
    // colorIndex is kept in 0..3 by its callers; wrapping keeps a stray value in the table.
    return document.elementColors[static_cast<std::uint32_t>(config.colorIndex) % 4];
}

std::uint32_t rowSkipFor(std::uint32_t width) {
    return (256 - width) >> 1;
}

// An element at its configured place as Full picture draws it: an imported image in its
// own size, a file element cut to the smaller of its configured and stored sizes (the
// file holds no pixels beyond the stored rectangle).
void drawElementAtPlace(GeoDocument& document, Surface& surface, std::uint32_t element) {
    if (document.importSlots[element].imported != 0) {
        plotImportedElement(document, surface, element);
        return;
    }
    const ElementConfig& config = document.configs[element];
    const Place stored = decodePlace(document.placeWords[element]);
    const std::uint32_t w = std::min(static_cast<std::uint32_t>(config.width), stored.width);
    const std::uint32_t h = std::min(static_cast<std::uint32_t>(config.height), stored.height);
    document.rowSkip = rowSkipFor(w);
    plotFileElement(surface, document.fileImage, config.x, config.y, w, h,
                    document.elementPixelOffset(document.placeWords[element]), document.rowSkip,
                    expandPalette(document.fileImage, document.paletteOffset, element));
}

bool currentIsDrawable(const GeoDocument& document) {
    return document.currentElement < drawableElements(document);
}

}  // namespace

void fillBlock(Surface& surface, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
               std::uint32_t color) {
    if (h >= 0)
        surface.fillRect(x, y, w, h + 1, color);
}

void plotFileElement(Surface& surface, std::span<const std::uint8_t> fileImage, std::int64_t x,
                     std::int64_t y, std::int64_t w, std::int64_t h, std::uint64_t offset,
                     std::uint32_t rowSkip, const Palette16& palette) {
    if (w <= 0 || h < 0)
        return;
    const std::uint64_t stride = (static_cast<std::uint64_t>(w) + 1) / 2 + rowSkip;
    plotNibbleRows(surface, fileImage, offset, stride, x, y, w, h + 1, palette);
}

void plotImportedSlot(Surface& surface, const ImportSlot& slot, std::int64_t x, std::int64_t y) {
    const std::int64_t w = slot.width;
    plotNibbleRows(surface, slot.pixels, 0, (std::uint64_t{slot.width} + 1) / 2, x, y, w,
                   std::int64_t{slot.height} + 1, slot.colors);
}

void plotImportedElement(const GeoDocument& document, Surface& surface, std::uint32_t element) {
    if (element >= drawableElements(document))
        return;
    const ElementConfig& config = document.configs[element];
    plotImportedSlot(surface, document.importSlots[element], config.x, config.y);
}

std::uint32_t drawableElements(const GeoDocument& document) {
    const std::size_t arrays = std::min(
        {document.configs.size(), document.placeWords.size(), document.importSlots.size()});
    return static_cast<std::uint32_t>(std::min<std::size_t>(document.elementCount, arrays));
}

ElementConfig drawPicture(GeoDocument& document, Surface& surface, bool transparency) {
    surface.fillRect(0, 0, document.pictureLimitX, std::int64_t{document.pictureLimitY} + 1,
                     transparency ? kPictureBackground : kOpaqueBackground);
    const std::uint32_t count = drawableElements(document);
    // Every block goes down before any pixels, so no block covers another element's pixels.
    if (transparency) {
        for (std::uint32_t i = 0; i < count; ++i) {
            if (i == document.currentElement)
                continue;
            const ElementConfig& config = document.configs[i];
            fillBlock(surface, config.x, config.y, config.width, config.height,
                      blockColor(document, config));
        }
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        if (i != document.currentElement)
            drawElementAtPlace(document, surface, i);
    }
    ElementConfig frame;
    frame.width = static_cast<std::int32_t>(document.pictureLimitX);
    frame.height = static_cast<std::int32_t>(document.pictureLimitY);
    return frame;
}

void drawElementInPlace(GeoDocument& document, Surface& surface) {
    if (!currentIsDrawable(document))
        return;
    const ElementConfig& config = document.configs[document.currentElement];
    fillBlock(surface, config.x, config.y, config.width, config.height, kHighlightColor);
    drawElementAtPlace(document, surface, document.currentElement);
}

ElementConfig drawElementAlone(GeoDocument& document, Surface& surface, bool transparency) {
    if (!currentIsDrawable(document))
        return {};
    const std::uint32_t current = document.currentElement;
    const ElementConfig& config = document.configs[current];
    fillBlock(surface, 0, 0, config.width, config.height,
              transparency ? blockColor(document, config) : kOpaqueBackground);
    if (document.importSlots[current].imported != 0) {
        plotImportedSlot(surface, document.importSlots[current], 0, 0);
    } else {
        // The stored size, whatever the configuration says: this view shows the element as
        // the file holds it, on a block of the size it will be saved with.
        const Place stored = decodePlace(document.placeWords[current]);
        document.rowSkip = rowSkipFor(stored.width);
        plotFileElement(surface, document.fileImage, 0, 0, stored.width, stored.height,
                        document.elementPixelOffset(document.placeWords[current]), document.rowSkip,
                        expandPalette(document.fileImage, document.paletteOffset, current));
    }
    return config;
}

void redrawElementArea(GeoDocument& document, Surface& surface, bool transparency,
                       const PixelRect& area) {
    if (!currentIsDrawable(document))
        return;
    const ImportSlot& slot = document.importSlots[document.currentElement];
    if (slot.imported == 0) {
        drawElementAlone(document, surface, transparency);
        return;
    }
    const ElementConfig& config = document.configs[document.currentElement];
    const std::uint32_t background =
        transparency ? blockColor(document, config) : kOpaqueBackground;
    // The block under the image, and the image's rows as far as its bytes hold them.
    const std::int64_t blockRight = config.width;
    const std::int64_t blockBottom = std::int64_t{config.height} + 1;
    const std::uint64_t rowBytes = (std::uint64_t{slot.width} + 1) / 2;
    const auto imageRows = static_cast<std::int64_t>(
        rowBytes == 0 ? 0
                      : std::min<std::uint64_t>(std::uint64_t{slot.height} + 1,
                                                slot.pixels.size() / rowBytes));
    const std::int64_t top = std::max<std::int64_t>(area.top, 0);
    const std::int64_t bottom = std::min<std::int64_t>(area.bottom, kSurfaceHeight);
    const std::int64_t left = std::max<std::int64_t>(area.left, 0);
    const std::int64_t right = std::min<std::int64_t>(area.right, kSurfaceWidth);
    for (std::int64_t y = top; y < bottom; ++y) {
        const std::span<std::uint32_t, kSurfaceWidth> line = surface.row(y);
        for (std::int64_t x = left; x < right; ++x) {
            std::uint32_t& pixel = line[static_cast<std::size_t>(x)];
            if (x < blockRight && y < blockBottom)
                pixel = background;
            if (x >= slot.width || y >= imageRows)
                continue;
            const std::uint8_t byte = slot.pixels[static_cast<std::size_t>(
                static_cast<std::uint64_t>(y) * rowBytes + static_cast<std::uint64_t>(x) / 2)];
            const unsigned index = x % 2 == 0 ? byte & 0x0Fu : byte >> 4u;
            if (index != 0)
                pixel = slot.colors[index];
        }
    }
}

std::optional<std::uint8_t> elementPixelIndex(const GeoDocument& document, std::int64_t column,
                                              std::int64_t row) {
    if (!currentIsDrawable(document) || column < 0 || row < 0)
        return std::nullopt;
    const ImportSlot& slot = document.importSlots[document.currentElement];
    const std::uint32_t placeWord = document.placeWords[document.currentElement];
    const bool imported = slot.imported != 0;
    const Place stored = decodePlace(placeWord);
    const std::uint64_t width = imported ? slot.width : stored.width;
    const std::uint64_t height = imported ? slot.height : stored.height;
    if (static_cast<std::uint64_t>(column) >= width || static_cast<std::uint64_t>(row) > height)
        return std::nullopt;
    // The rows lie as the plot reads them: back to back in an image, 128 bytes apart in the
    // file's picture.
    const std::span<const std::uint8_t> bytes = imported ? slot.pixels : document.fileImage;
    const std::uint64_t stride =
        (width + 1) / 2 + (imported ? 0 : rowSkipFor(static_cast<std::uint32_t>(width)));
    const std::uint64_t start = imported ? 0 : document.elementPixelOffset(placeWord);
    const std::uint64_t at =
        start + static_cast<std::uint64_t>(row) * stride + static_cast<std::uint64_t>(column) / 2;
    if (at >= bytes.size())
        return std::nullopt;
    return static_cast<std::uint8_t>(column % 2 == 0 ? bytes[at] & 0x0Fu : bytes[at] >> 4);
}

}  // namespace zt9
