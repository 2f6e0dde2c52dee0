#include "images/bmp_image.h"

#include <algorithm>
#include <stdexcept>

#include "document/byte_io.h"
#include "document/file_io.h"
#include "images/bmp_rle.h"

namespace zt9 {
namespace {

using U32 = std::uint32_t;

// Element byte (left pixel in the low nibble) to one 4-bit BMP byte (left pixel high).
constexpr std::array<std::uint8_t, 256> makeByteTable() {
    std::array<std::uint8_t, 256> table{};
    for (U32 s = 0; s < 256; ++s) {
        table[s] = static_cast<std::uint8_t>(bmpIndexFromElement(s & 15u) << 4 |
                                             bmpIndexFromElement(s >> 4));
    }
    return table;
}
constexpr std::array<std::uint8_t, 256> kToBmp4 = makeByteTable();

U32 packColor(const RgbQuad& entry) {
    return U32{entry.red} | U32{entry.green} << 8 | U32{entry.blue} << 16;
}

}  // namespace

BmpImage::BmpImage() {
    writeU16(header, bmp::kType, static_cast<std::uint16_t>(signature));
}

std::uint16_t BmpImage::headerU16(std::size_t offset) const {
    return readU16(header, offset);
}

std::uint32_t BmpImage::headerU32(std::size_t offset) const {
    return readU32(header, offset);
}

void BmpImage::raise() const {
    throw lastError;
}

void BmpImage::refuseUnsupported() {
    lastError.domain = kDomainBmp;
    lastError.unsupported = 1;
    raise();
}

void BmpImage::read(std::istream& stream, std::int32_t& width, std::int32_t& height,
                    std::uint16_t& bitCount) {
    std::vector<std::uint8_t> bytes;
    std::array<char, 4096> chunk{};
    while (bytes.size() < streamReadLimit) {
        const std::size_t want = std::min(chunk.size(), streamReadLimit - bytes.size());
        stream.read(chunk.data(), static_cast<std::streamsize>(want));
        const std::streamsize got = stream.gcount();
        if (got <= 0)
            break;
        const auto* first = reinterpret_cast<const std::uint8_t*>(chunk.data());
        bytes.insert(bytes.end(), first, first + got);
    }
    read(bytes, width, height, bitCount);
}

void BmpImage::read(std::span<const std::uint8_t> file, std::int32_t& width, std::int32_t& height,
                    std::uint16_t& bitCount) {
    header.fill(0);
    palette.fill(RgbQuad{});
    pixels.clear();
    // A file shorter than the header reads as zeros past its end and fails a check below.
    std::copy_n(file.begin(), std::min(headerSize, file.size()), header.begin());

    if (headerU16(bmp::kType) != signature) {
        lastError.domain = kDomainBmp;
        lastError.wrongType = 1;
        raise();
    }
    // Compared as unsigned, so a negative (top-down) height is refused as too high.
    const U32 w = headerU32(bmp::kWidth);
    const U32 h = headerU32(bmp::kHeight);
    if (w > maxWidth || h > maxHeight) {
        lastError.domain = kDomainBmp;
        lastError.sizeError = w > maxWidth && h > maxHeight ? 1 : w > maxWidth ? 2 : 3;
        raise();
    }
    const std::uint16_t bits = headerU16(bmp::kBitCount);
    if (bits != 4 && bits != 8)
        refuseUnsupported();
    checkVariant(file);
    const U32 entries = paletteEntries();

    // The palette follows the info header, whatever its size; entries the file does not
    // hold read as zero, like missing pixel rows.
    const std::size_t paletteStart = bmp::kFileHeaderBytes + headerU32(bmp::kInfoSize);
    for (std::size_t k = 0; k < entries; ++k) {
        const std::size_t at = paletteStart + 4 * k;
        palette[k] = RgbQuad{readU8(file, at), readU8(file, at + 1), readU8(file, at + 2),
                             readU8(file, at + 3)};
    }
    if (palette[15] != RgbQuad{}) {
        lastError.domain = kDomainBmp;
        lastError.notTransparent = 1;
        raise();
    }

    // Pixels start at bfOffBits when it lies past the palette (some writers leave a gap);
    // an offset that would overlap the palette, such as 0, means "right after it".
    const std::size_t paletteEnd = paletteStart + std::size_t{4} * entries;
    const std::size_t offBits = headerU32(bmp::kOffBits);
    const std::size_t pixelStart = std::max(offBits, paletteEnd);
    const std::span<const std::uint8_t> data = file.subspan(std::min(pixelStart, file.size()));
    if (headerU32(bmp::kCompression) != bmp::kUncompressed) {
        // biSizeImage is the length of the compressed stream; 0 (which some writers leave)
        // and anything past the end of the file mean "up to the end of the file".
        const std::size_t length = headerU32(bmp::kSizeImage);
        pixels = bmp::expandRle(length == 0 ? data : data.first(std::min(length, data.size())), w,
                                h, bits);
    } else {
        // biSizeImage is not trusted: the size comes from the checked width, height and
        // depth (at most 61440 bytes). Bytes the file does not hold read as zero.
        pixels.assign(std::size_t{h} * bmp::stride(w, bits), 0);
        std::copy_n(data.begin(), std::min(pixels.size(), data.size()), pixels.begin());
    }

    width = static_cast<std::int32_t>(w);
    height = static_cast<std::int32_t>(h);
    bitCount = bits;
}

// Variants the reader cannot turn into a correct element, all "No support BMP format":
// any compression but RLE8 for 8 bits and RLE4 for 4 bits (bit fields, JPEG, PNG, or an
// encoding for the other depth); an info header shorter than 40 bytes has another layout;
// header fields that point past the end of the file; an empty image, which an element
// cannot hold (a height h is stored as h - 1, a width 0 has no pixels).
void BmpImage::checkVariant(std::span<const std::uint8_t> file) {
    const std::uint64_t infoSize = headerU32(bmp::kInfoSize);
    const U32 compression = headerU32(bmp::kCompression);
    const U32 rle = headerU16(bmp::kBitCount) == 8 ? bmp::kRle8 : bmp::kRle4;
    if (compression != bmp::kUncompressed && compression != rle)
        refuseUnsupported();
    if (infoSize < bmp::kInfoHeaderBytes || bmp::kFileHeaderBytes + infoSize > file.size())
        refuseUnsupported();
    if (headerU32(bmp::kOffBits) > file.size())
        refuseUnsupported();
    if (headerU32(bmp::kWidth) == 0 || headerU32(bmp::kHeight) == 0)
        refuseUnsupported();
}

std::uint32_t BmpImage::paletteEntries() {
    const U32 used = headerU32(bmp::kClrUsed);
    if (headerU16(bmp::kBitCount) == 4) {
        if (used == 0 || used == smallPaletteSize)
            return smallPaletteSize;
        lastError.paletteError = 1;
    } else {
        if (used == 0 || used == fullPaletteSize)
            return fullPaletteSize;
        if (used == smallPaletteSize)
            return smallPaletteSize;
        lastError.paletteError = 2;
    }
    lastError.domain = kDomainBmp;
    raise();
}

std::array<std::uint32_t, 16> BmpImage::elementColors() const {
    std::array<std::uint32_t, 16> colors{};
    for (U32 k = 0; k < 16; ++k)
        colors[k] = packColor(palette[bmpIndexFromElement(k)]);
    return colors;
}

namespace {

// BMP pixel `column` of the stored row that starts at `row`: 4-bit rows hold the left pixel
// in the high nibble, 8-bit rows one pixel per byte. Bytes past the data read as 0.
template <U32 Bits>
U32 bmpPixel(std::span<const std::uint8_t> pixels, std::size_t row, std::size_t column) {
    if constexpr (Bits == 4) {
        const std::uint8_t b = readU8(pixels, row + column / 2);
        return column % 2 == 0 ? U32{b} >> 4 : b & 15u;
    } else {
        return readU8(pixels, row + column);
    }
}

// Element rows of (w + 1) / 2 bytes, top row first, left pixel in the low nibble; the
// padding nibble of an odd width stays 0.
template <U32 Bits>
std::vector<std::uint8_t> decodeRows(std::span<const std::uint8_t> pixels, U32 w, U32 h) {
    const std::size_t rowBytes = (w + 1) / 2;
    const std::size_t stride = bmp::stride(w, Bits);
    std::vector<std::uint8_t> result(rowBytes * h, 0);
    for (std::size_t r = 0; r < h; ++r) {
        const std::size_t source = (h - 1 - r) * stride;  // the file is bottom-up
        for (std::size_t k = 0; k < rowBytes; ++k) {
            const U32 left = elementIndexFromBmp(bmpPixel<Bits>(pixels, source, 2 * k));
            const U32 right =
                2 * k + 1 < w ? elementIndexFromBmp(bmpPixel<Bits>(pixels, source, 2 * k + 1)) : 0;
            result[r * rowBytes + k] = static_cast<std::uint8_t>(left | right << 4);
        }
    }
    return result;
}

}  // namespace

// Width and height are clamped so that a call without a successful read cannot size a
// buffer from garbage.
void BmpImage::decode4bpp(std::vector<std::uint8_t>& out,
                          std::array<std::uint32_t, 16>& colors) const {
    out = decodeRows<4>(pixels, std::min(headerU32(bmp::kWidth), maxWidth),
                        std::min(headerU32(bmp::kHeight), maxHeight));
    colors = elementColors();
}

void BmpImage::decode8bpp(std::vector<std::uint8_t>& out,
                          std::array<std::uint32_t, 16>& colors) const {
    out = decodeRows<8>(pixels, std::min(headerU32(bmp::kWidth), maxWidth),
                        std::min(headerU32(bmp::kHeight), maxHeight));
    colors = elementColors();
}

std::vector<std::uint8_t> BmpImage::build(std::span<const std::uint8_t> picture, std::size_t start,
                                          U32 rowSkip, U32 width, U32 height, U32 bitCount,
                                          const ElementPalette& colors) {
    // An element is at most 255 columns and 256 rows (a height byte of 255 plus one).
    if (width > 256 || height > 256)
        throw std::invalid_argument("element larger than the picture");
    const U32 stride = bmp::stride(width, bitCount);
    const U32 sizeImage = height * stride;
    const U32 offBits = static_cast<U32>(headerSize) + 4 * smallPaletteSize;

    header.fill(0);
    writeU16(header, bmp::kType, static_cast<std::uint16_t>(signature));
    writeU32(header, bmp::kFileSize, offBits + sizeImage);
    writeU32(header, bmp::kOffBits, offBits);
    writeU32(header, bmp::kInfoSize, bmp::kInfoHeaderBytes);
    writeU32(header, bmp::kWidth, width);
    writeU32(header, bmp::kHeight, height);
    writeU16(header, bmp::kPlanes, 1);
    writeU16(header, bmp::kBitCount, static_cast<std::uint16_t>(bitCount));
    writeU32(header, bmp::kSizeImage, sizeImage);
    if (bitCount == 8) {
        writeU32(header, bmp::kClrUsed, smallPaletteSize);
        writeU32(header, bmp::kClrImportant, smallPaletteSize);
    }

    pixels.assign(sizeImage, 0);
    const std::size_t rowBytes = (width + 1) / 2;
    for (std::size_t r = 0; r < height; ++r) {
        // Rows lie rowBytes + rowSkip apart in the picture; bytes past its end read as 0.
        const std::size_t source = start + r * (rowBytes + rowSkip);
        const std::size_t target = (height - 1 - r) * stride;  // bottom row first
        // For an odd width the last byte also holds the neighbour pixel to the right; it is
        // converted too and lands inside the row's padding.
        for (std::size_t k = 0; k < rowBytes; ++k) {
            const std::uint8_t s = readU8(picture, source + k);
            if (bitCount == 4) {
                pixels[target + k] = kToBmp4[s];
            } else {
                pixels[target + 2 * k] = bmpIndexFromElement(s & 15u);
                pixels[target + 2 * k + 1] = bmpIndexFromElement(s >> 4);
            }
        }
    }

    std::vector<std::uint8_t> file;
    file.reserve(offBits + sizeImage);
    file.insert(file.end(), header.begin(), header.end());
    for (U32 k = 0; k < smallPaletteSize; ++k) {
        const RgbQuad& entry = colors[elementIndexFromBmp(k)];
        file.insert(file.end(), {entry.blue, entry.green, entry.red, entry.reserved});
    }
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

std::vector<std::uint8_t> BmpImage::build4bpp(std::span<const std::uint8_t> picture,
                                              std::size_t start, U32 rowSkip, U32 width, U32 height,
                                              const ElementPalette& colors) {
    return build(picture, start, rowSkip, width, height, 4, colors);
}

std::vector<std::uint8_t> BmpImage::build8bpp(std::span<const std::uint8_t> picture,
                                              std::size_t start, U32 rowSkip, U32 width, U32 height,
                                              const ElementPalette& colors) {
    return build(picture, start, rowSkip, width, height, 8, colors);
}

void BmpImage::write(const std::filesystem::path& fileName,
                     const std::vector<std::uint8_t>& bytes) {
    if (!writeFileReplacing(fileName, bytes)) {
        lastError.code = kCodeSave;
        raise();
    }
}

void BmpImage::write4bpp(const std::filesystem::path& fileName,
                         std::span<const std::uint8_t> picture, std::size_t start, U32 rowSkip,
                         U32 width, U32 height, const ElementPalette& colors) {
    write(fileName, build4bpp(picture, start, rowSkip, width, height, colors));
}

void BmpImage::write8bpp(const std::filesystem::path& fileName,
                         std::span<const std::uint8_t> picture, std::size_t start, U32 rowSkip,
                         U32 width, U32 height, const ElementPalette& colors) {
    write(fileName, build8bpp(picture, start, rowSkip, width, height, colors));
}

}  // namespace zt9
