#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "document/colors15.h"
#include "document/element_config.h"
#include "document/geo_document.h"
#include "render/surface.h"

namespace zt9 {

// The drawing operations. Sizes follow the font's rule: a width w is w columns, a height h
// is h + 1 rows. Pixels are 4-bit indices, low nibble left, and index 0 is never drawn.
//
// The operations that draw file elements take the document writable because they store
// the row skip they use in GeoDocument::rowSkip, the scratch field the element walkers
// share; the value is computed locally and only stored there.

// Fills w columns x (h + 1) rows from (x, y).
void fillBlock(Surface& surface, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
               std::uint32_t color);

// Plots h + 1 rows of w pixels from fileImage at byte `offset`: each row reads (w + 1) / 2
// bytes and is followed by `rowSkip` bytes. For an odd w the high nibble of a row's last
// byte lies outside the element and is never drawn. Reading stops at the end of fileImage.
void plotFileElement(Surface& surface, std::span<const std::uint8_t> fileImage, std::int64_t x,
                     std::int64_t y, std::int64_t w, std::int64_t h, std::uint64_t offset,
                     std::uint32_t rowSkip, const Palette16& palette);

// Plots an imported image in its own size, rows back to back, from (x, y). Only bytes
// inside slot.pixels are read.
void plotImportedSlot(Surface& surface, const ImportSlot& slot, std::int64_t x, std::int64_t y);
// The element's imported image at the element's configured x and y.
void plotImportedElement(const GeoDocument& document, Surface& surface, std::uint32_t element);

// How many elements the document can draw: its count, cut to its arrays, so a closed or
// half-built document draws nothing rather than reading past them.
std::uint32_t drawableElements(const GeoDocument& document);

// Full picture without the current element: background, every other element's block (with
// transparency), then every other element's pixels. Returns the frame (0, 0, 255, 239).
ElementConfig drawPicture(GeoDocument& document, Surface& surface, bool transparency);
// The current element on its highlight block, at its configured place.
void drawElementInPlace(GeoDocument& document, Surface& surface);
// The current element alone at the top-left corner, in its stored size over a block of its
// configured size. Returns a copy of its configuration (the frame to show).
ElementConfig drawElementAlone(GeoDocument& document, Surface& surface, bool transparency);
// The pixels `area` (frame columns and rows) of the current element drawn alone again, for
// an element with an image of its own: after an edit that changed only those pixels, the
// surface then holds what drawElementAlone would draw. An element without its own image
// is drawn whole.
void redrawElementArea(GeoDocument& document, Surface& surface, bool transparency,
                       const PixelRect& area);
// The colour index drawElementAlone plots at (column, row): the imported image's pixel, or
// the file's in its stored size. Nothing where neither holds a pixel (the bare block).
std::optional<std::uint8_t> elementPixelIndex(const GeoDocument& document, std::int64_t column,
                                              std::int64_t row);

}  // namespace zt9
