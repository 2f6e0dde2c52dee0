#include "images/bmp_rle.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "document/byte_io.h"
#include "images/bmp_image.h"

namespace zt9::bmp {
namespace {

using U32 = std::uint32_t;

// The stream is a sequence of two-byte commands, read from the bottom row up:
//   count > 0, value     an encoded run of `count` pixels. In RLE8 every pixel is `value`;
//                        in RLE4 they alternate between its high and its low nibble,
//                        high first.
//   0, 0                 end of line: the next command starts at the left of the row above.
//   0, 1                 end of bitmap.
//   0, 2, dx, dy         delta: move dx pixels right and dy rows up, setting nothing.
//   0, n (n >= 3)        an absolute run: n pixels follow as stored in plain rows (RLE4:
//                        two per byte, high nibble first), padded to an even number of bytes.
//
// A damaged stream is cut at the image's edge, never refused and never wrapped around:
//   - A run, absolute run or delta that passes the row's right edge places only the pixels
//     inside the row and leaves the position at the edge, so nothing more is placed until
//     an end of line. An absolute run still consumes all of its bytes, so the stream stays
//     in step.
//   - An end of line or delta that passes the top row ends the image; later commands are
//     ignored, as is anything after an end of bitmap.
//   - A stream that ends early, inside a command or inside an absolute run, keeps the
//     pixels placed so far.
// Pixels that nothing sets read as index 0, like the missing bytes of a plain file that
// ends early.
class Expander {
  public:
    Expander(U32 width, U32 height, U32 bitCount)
        : width_(width),
          height_(height),
          bits_(bitCount),
          stride_(stride(width, bitCount)),
          rows_(std::size_t{height} * stride_, 0) {}

    bool insideImage() const { return row_ < height_; }
    // Pixels a run of `count` may still place before the row's right edge.
    U32 room(U32 count) const { return std::min(count, width_ - column_); }

    void put(U32 index) {
        std::uint8_t& byte = rows_[row_ * stride_ + (bits_ == 4 ? column_ / 2 : column_)];
        if (bits_ == 8)
            byte = static_cast<std::uint8_t>(index);
        else if (column_ % 2 == 0)
            byte = static_cast<std::uint8_t>((byte & 0x0F) | (index & 15u) << 4);
        else
            byte = static_cast<std::uint8_t>((byte & 0xF0) | (index & 15u));
        ++column_;
    }

    // Moves right by `dx` (stopping at the right edge) and up by `dy` rows.
    void move(U32 dx, U32 dy) {
        column_ = std::min(width_, column_ + dx);
        row_ += dy;
    }
    void endLine() {
        column_ = 0;
        ++row_;
    }

    std::vector<std::uint8_t> take() { return std::move(rows_); }

  private:
    U32 width_;
    U32 height_;
    U32 bits_;
    std::size_t stride_;
    std::vector<std::uint8_t> rows_;
    U32 column_ = 0;
    std::size_t row_ = 0;  // counted from the bottom, in stream order
};

// Pixel k of a packed group that starts at `at`: RLE4 keeps two per byte, high nibble first.
U32 packedPixel(std::span<const std::uint8_t> stream, std::size_t at, U32 k, U32 bitCount) {
    if (bitCount == 8)
        return readU8(stream, at + k);
    const U32 byte = readU8(stream, at + k / 2);
    return k % 2 == 0 ? byte >> 4 : byte & 15u;
}

}  // namespace

std::vector<std::uint8_t> expandRle(std::span<const std::uint8_t> stream, U32 width, U32 height,
                                    U32 bitCount) {
    Expander image(width, height, bitCount);
    std::size_t at = 0;
    while (image.insideImage() && fitsIn(stream.size(), at, 2)) {
        const U32 count = readU8(stream, at);
        const U32 code = readU8(stream, at + 1);
        at += 2;
        if (count > 0) {
            for (U32 k = 0, n = image.room(count); k < n; ++k)
                image.put(bitCount == 8 ? code : k % 2 == 0 ? code >> 4 : code & 15u);
        } else if (code == 0) {
            image.endLine();
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            if (!fitsIn(stream.size(), at, 2))
                break;
            image.move(readU8(stream, at), readU8(stream, at + 1));
            at += 2;
        } else {
            // Bytes past the end of the stream read as 0, the value of an unset pixel, and
            // the loop stops there.
            for (U32 k = 0, n = image.room(code); k < n; ++k)
                image.put(packedPixel(stream, at, k, bitCount));
            const std::size_t bytes = bitCount == 4 ? (code + 1) / 2 : code;
            at += (bytes + 1) & ~std::size_t{1};
        }
    }
    return image.take();
}

}  // namespace zt9::bmp
