#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <span>
#include <vector>

#include "errors/error.h"

namespace zt9 {

// One BMP palette entry as stored in the file: blue, green, red, reserved.
struct RgbQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;

    bool operator==(const RgbQuad&) const = default;
};

// 16 entries in element colour order: entry 0 is element colour 0 (transparent).
using ElementPalette = std::array<RgbQuad, 16>;

// In the BMP files we read and write the transparent colour is entry 15 and BMP index k
// (0 to 14) is element index k + 1; every pixel and palette conversion goes through these.
inline constexpr std::uint8_t elementIndexFromBmp(std::uint32_t bmpIndex) {
    return static_cast<std::uint8_t>((bmpIndex + 1) & 15u);
}
inline constexpr std::uint8_t bmpIndexFromElement(std::uint32_t elementIndex) {
    return static_cast<std::uint8_t>((elementIndex + 15) & 15u);
}

// Offsets of the fields of the 14-byte file header and the 40-byte info header.
namespace bmp {
inline constexpr std::size_t kType = 0;
inline constexpr std::size_t kFileSize = 2;
inline constexpr std::size_t kOffBits = 10;
inline constexpr std::size_t kInfoSize = 14;
inline constexpr std::size_t kWidth = 18;
inline constexpr std::size_t kHeight = 22;
inline constexpr std::size_t kPlanes = 26;
inline constexpr std::size_t kBitCount = 28;
inline constexpr std::size_t kCompression = 30;
inline constexpr std::size_t kSizeImage = 34;
inline constexpr std::size_t kClrUsed = 46;
inline constexpr std::size_t kClrImportant = 50;
inline constexpr std::size_t kFileHeaderBytes = 14;
inline constexpr std::uint32_t kInfoHeaderBytes = 40;

// Bytes per stored row: the row's pixel bytes rounded up to a multiple of 4. For 8 bits
// this equals rounding the width up to even first, as our writer describes it.
inline constexpr std::uint32_t stride(std::uint32_t width, std::uint32_t bitCount) {
    const std::uint32_t rowBytes = bitCount == 4 ? (width + 1) / 2 : width;
    return (rowBytes + 3) & ~3u;
}
}  // namespace bmp

// One BMP file being read (for an import) or written (for an export): palette images of 4
// or 8 bits per pixel, at most 255 x 240 pixels, read uncompressed or run-length encoded
// (RLE4, RLE8) and always written uncompressed. Reading checks the file step by step and
// throws the first failing check as `error`; it never reads outside the file or allocates
// from a header value that was not checked first.
class BmpImage {
  public:
    static constexpr std::uint32_t signature = 0x4D42;  // "BM"
    static constexpr std::uint32_t fullPaletteSize = 256;
    static constexpr std::uint32_t smallPaletteSize = 16;
    static constexpr std::uint32_t maxWidth = 255;
    static constexpr std::uint32_t maxHeight = 240;
    static constexpr std::size_t headerSize = 54;
    // A stream is read up to this many bytes; anything later counts as absent.
    static constexpr std::size_t streamReadLimit = std::size_t{1} << 20;

    // File header and the first 40 bytes of the info header, little-endian.
    std::array<std::uint8_t, headerSize> header{};
    // Pixel rows as an uncompressed file stores them (bottom row first; a compressed file's
    // stream is expanded into that form), or as built for writing.
    std::vector<std::uint8_t> pixels;
    std::array<RgbQuad, 256> palette{};
    error lastError;

    BmpImage();

    // Checks the file and fills header, palette and pixels; throws `error` on the first
    // failing check. Outputs biWidth, biHeight and biBitCount.
    void read(std::span<const std::uint8_t> file, std::int32_t& width, std::int32_t& height,
              std::uint16_t& bitCount);
    void read(std::istream& stream, std::int32_t& width, std::int32_t& height,
              std::uint16_t& bitCount);

    // After a successful read of that depth: element pixels (rows of (width + 1) / 2 bytes,
    // top row first, left pixel in the low nibble) and the 16 colours as 0x00BBGGRR.
    void decode4bpp(std::vector<std::uint8_t>& out, std::array<std::uint32_t, 16>& colors) const;
    void decode8bpp(std::vector<std::uint8_t>& out, std::array<std::uint32_t, 16>& colors) const;

    // Build a BMP file of one element of a 256-pixel-wide 4-bit picture: `start` is the
    // offset of its top-left byte, `rowSkip` the bytes between the end of one element row
    // and the start of the next. Returns the whole file.
    std::vector<std::uint8_t> build4bpp(std::span<const std::uint8_t> picture, std::size_t start,
                                        std::uint32_t rowSkip, std::uint32_t width,
                                        std::uint32_t height, const ElementPalette& colors);
    std::vector<std::uint8_t> build8bpp(std::span<const std::uint8_t> picture, std::size_t start,
                                        std::uint32_t rowSkip, std::uint32_t width,
                                        std::uint32_t height, const ElementPalette& colors);

    // The same written to a file; the file is replaced only after a complete write. Throws
    // "File save error" (code 2) when it cannot be written.
    void write4bpp(const std::filesystem::path& fileName, std::span<const std::uint8_t> picture,
                   std::size_t start, std::uint32_t rowSkip, std::uint32_t width,
                   std::uint32_t height, const ElementPalette& colors);
    void write8bpp(const std::filesystem::path& fileName, std::span<const std::uint8_t> picture,
                   std::size_t start, std::uint32_t rowSkip, std::uint32_t width,
                   std::uint32_t height, const ElementPalette& colors);

    std::uint16_t headerU16(std::size_t offset) const;
    std::uint32_t headerU32(std::size_t offset) const;

  private:
    [[noreturn]] void raise() const;
    [[noreturn]] void refuseUnsupported();
    void checkVariant(std::span<const std::uint8_t> file);
    std::uint32_t paletteEntries();
    std::vector<std::uint8_t> build(std::span<const std::uint8_t> picture, std::size_t start,
                                    std::uint32_t rowSkip, std::uint32_t width,
                                    std::uint32_t height, std::uint32_t bitCount,
                                    const ElementPalette& colors);
    void write(const std::filesystem::path& fileName, const std::vector<std::uint8_t>& bytes);
    std::array<std::uint32_t, 16> elementColors() const;
};

}  // namespace zt9
