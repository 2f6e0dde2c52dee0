#include "images/true_color_dib.h"

#include "document/byte_io.h"
#include "document/geo_document.h"
#include "errors/error.h"
#include "images/bmp_rle.h"

namespace zt9 {
namespace {

using U32 = std::uint32_t;

// Info header fields, from the start of the DIB; bit field masks follow a 40-byte header
// and lie inside the larger ones at the same place.
constexpr std::size_t kInfoSize = 0;
constexpr std::size_t kWidth = 4;
constexpr std::size_t kHeight = 8;
constexpr std::size_t kBitCount = 14;
constexpr std::size_t kCompression = 16;
constexpr std::size_t kClrUsed = 32;
constexpr std::size_t kMasks = 40;
constexpr U32 kInfoHeaderBytes = 40;
constexpr U32 kBitFields = 3;
constexpr std::array<U32, 3> kUsualMasks = {0xFF0000, 0xFF00, 0xFF};

[[noreturn]] void refuseDamaged() {
    throw clipboardError(text::kClipboardDamaged);
}

// Where the checked pixel rows lie.
struct Layout {
    U32 width = 0;
    U32 rows = 0;
    bool topDown = false;
    U32 bytesPerPixel = 0;
    std::size_t start = 0;
    std::size_t stride = 0;
};

// The header checks, in the BMP reader's order where they overlap: the header's own size,
// the picture size, the kind, then whether the data holds everything the header promises.
Layout checkLayout(std::span<const std::uint8_t> dib) {
    if (!fitsIn(dib.size(), 0, kInfoHeaderBytes))
        refuseDamaged();
    const U32 infoSize = readU32(dib, kInfoSize);
    if (infoSize < kInfoHeaderBytes)
        throw unsupportedBmpError();  // the 12-byte OS/2 layout
    if (infoSize > dib.size())
        refuseDamaged();
    Layout layout;
    layout.width = readU32(dib, kWidth);  // unsigned, so a negative width is too wide
    const auto height = static_cast<std::int32_t>(readU32(dib, kHeight));
    const std::int64_t rows = height < 0 ? -std::int64_t{height} : height;
    if (layout.width > 255 || rows > 240)
        throw bmpSizeError(layout.width > 255, rows > 240);
    if (layout.width == 0 || rows == 0)
        throw unsupportedBmpError();
    if (!isTrueColorDib(dib))
        throw unsupportedBmpError();
    layout.rows = static_cast<U32>(rows);
    layout.topDown = height < 0;
    layout.bytesPerPixel = readU16(dib, kBitCount) / 8u;

    std::uint64_t start = infoSize;
    const U32 compression = readU32(dib, kCompression);
    if (compression == kBitFields && layout.bytesPerPixel == 4) {
        if (infoSize < kMasks + 12)
            start += 12;
        if (!fitsIn(dib.size(), kMasks, 12))
            refuseDamaged();
        for (std::size_t k = 0; k < kUsualMasks.size(); ++k) {
            if (readU32(dib, kMasks + 4 * k) != kUsualMasks[k])
                throw unsupportedBmpError();
        }
    } else if (compression != bmp::kUncompressed) {
        throw unsupportedBmpError();  // run-length, JPEG, PNG or other bit fields
    }
    // A colour table may come before the pixels; it is not used.
    start += std::uint64_t{4} * readU32(dib, kClrUsed);
    layout.stride = (std::size_t{layout.width} * layout.bytesPerPixel + 3) & ~std::size_t{3};
    if (start > dib.size() ||
        !fitsIn(dib.size(), static_cast<std::size_t>(start), layout.rows * layout.stride)) {
        refuseDamaged();
    }
    layout.start = static_cast<std::size_t>(start);
    return layout;
}

// The lowest colour index for each 15-bit colour, or kNone.
class PaletteMatch {
  public:
    static constexpr std::uint8_t kNone = 0xFF;

    explicit PaletteMatch(const std::array<U32, 16>& colors) {
        index_.fill(kNone);
        for (auto k = static_cast<U32>(colors.size()); k-- > 0;) {
            const U32 c = colors[k];
            index_[key(c & 0xFFu, (c >> 8) & 0xFFu, (c >> 16) & 0xFFu)] =
                static_cast<std::uint8_t>(k);
        }
    }

    std::uint8_t operator()(U32 red, U32 green, U32 blue) const {
        return index_[key(red, green, blue)];
    }

  private:
    static U32 key(U32 red, U32 green, U32 blue) {
        static const std::array<std::uint8_t, 256> levels = [] {
            std::array<std::uint8_t, 256> table{};
            for (U32 v = 0; v < table.size(); ++v)
                table[v] = static_cast<std::uint8_t>(colorLevel5(v));
            return table;
        }();
        return U32{levels[red]} | U32{levels[green]} << 5 | U32{levels[blue]} << 10;
    }

    std::array<std::uint8_t, 32768> index_{};
};

}  // namespace

bool isTrueColorDib(std::span<const std::uint8_t> dib) {
    const U32 bits = readU16(dib, kBitCount);
    return bits == 24 || bits == 32;
}

ImportSlot decodeTrueColorDib(std::span<const std::uint8_t> dib,
                              const std::array<std::uint32_t, 16>& colors) {
    const Layout layout = checkLayout(dib);
    const PaletteMatch match(colors);
    const std::size_t rowBytes = (layout.width + 1) / 2;
    ImportSlot image;
    image.pixels.assign(layout.rows * rowBytes, 0);
    // Rows from the top, so that a refusal names the first unmatched pixel in reading order.
    for (U32 y = 0; y < layout.rows; ++y) {
        const U32 stored = layout.topDown ? y : layout.rows - 1 - y;
        const auto row = dib.subspan(layout.start + stored * layout.stride, layout.stride);
        for (U32 x = 0; x < layout.width; ++x) {
            const auto pixel = row.subspan(std::size_t{x} * layout.bytesPerPixel);
            const U32 blue = pixel[0];
            const U32 green = pixel[1];
            const U32 red = pixel[2];
            const bool clear = layout.bytesPerPixel == 4 && (blue | green | red | pixel[3]) == 0;
            const std::uint8_t index = clear ? 0 : match(red, green, blue);
            if (index == PaletteMatch::kNone) {
                throw unmatchedColorError(red | green << 8 | blue << 16,
                                          static_cast<std::int32_t>(x),
                                          static_cast<std::int32_t>(y));
            }
            image.pixels[y * rowBytes + x / 2] |= static_cast<std::uint8_t>(index << (x % 2 * 4));
        }
    }
    image.colors = colors;
    image.width = layout.width;
    image.height = layout.rows - 1;
    image.imported = 1;
    return image;
}

}  // namespace zt9
