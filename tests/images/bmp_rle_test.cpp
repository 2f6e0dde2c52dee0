// Run-length encoded BMPs (RLE8, RLE4) import exactly as the same picture stored
// uncompressed: streams from our encoder, hand-made streams with every command, and
// damaged streams, which are cut at the image's edge.

#include <gtest/gtest.h>

#include "images/import_fixtures.h"

namespace zt9::test {
namespace {

// Imports both files into element 1 of two fresh fonts, placed so that larger images must
// be fitted: the slots and the configurations must agree.
void expectTwins(const Bmp& rle, const Bmp& plain) {
    GeoDocument a = font(200, 200), b = a;
    ASSERT_EQ(import(a, rle.build()) + import(b, plain.build()),
              kAccepted + std::string(kAccepted));
    EXPECT_EQ(slotState(a), slotState(b));
}

// A stream, and the indices of its uncompressed twin, top row first. biSizeImage is the
// stream's length unless given.
struct StreamCase {
    std::array<std::int32_t, 3> shape;  // bits, width, height
    Bytes stream, indices;
    std::optional<std::uint32_t> sizeImage = std::nullopt;
};

// Our encoder's streams in both depths, from every kind of command to encoded runs only;
// then hand-made streams with every command, then damaged streams, which are accepted and cut:
// nothing is placed outside the image or wrapped into another row, an absolute run cut at
// the edge still skips all its bytes, a stream ends at the end of the file or of
// biSizeImage, whichever comes first (biSizeImage 0: the file), and what it never sets is
// index 0.
TEST(RleImport, EncodedHandMadeAndDamagedStreamsImportAsTheTwinTheyDescribe) {
    for (const std::uint16_t bits : {std::uint16_t{4}, std::uint16_t{8}})
        for (const auto& [w, h] : {std::pair(1, 1), {3, 2}, {7, 5}, {16, 9}, {33, 20}, {255, 240}})
            for (const RleOptions& option : {RleOptions{}, {false, 255}, {true, 4}, {false, 0}}) {
                Bmp plain = picture(w, h, bits);
                plain.gap = bits == 4 ? 8 : 0;  // keeps 4-bit files above the lower size limit
                SCOPED_TRACE(testing::Message() << bits << " bits " << w << " x " << h << " "
                                                << option.skipZeros << option.maxAbsolute);
                expectTwins(Bmp(plain).encoded(option), plain);
            }
    const StreamCase cases[] = {
        // Bottom up: a run; an absolute run with its pad byte; an end of line; an absolute
        // run of 4 (no pad); a delta right and up, which keeps the column; a run; an end of
        // bitmap before the top row.
        {{8, 6, 4},
         {3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 4, 10, 20, 30, 40, 0, 2, 1, 1, 1, 9, 0, 1},
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 10, 20, 30, 40, 0, 0, 7, 7, 7, 1, 2, 3}},
        // RLE4 runs alternate high nibble first, anew for each run even at an odd x; absolute
        // runs of 5 pixels (3 bytes and a pad) and of 3 at an odd x (2 bytes).
        {{4, 8, 2},
         {5, 0x12, 3, 0x3F, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 3, 0x89, 0xA0, 0, 1},
         {3, 4, 5, 6, 7, 8, 9, 10, 1, 2, 1, 2, 1, 3, 15, 3}},
        // Damaged: a run past the row's end and more of that row are cut, not wrapped.
        {{8, 3, 2}, {5, 7, 1, 8, 0, 0, 1, 9}, {9, 0, 0, 7, 7, 7}},
        // Absolute runs past the row's end; the bytes they skip would read as an end.
        {{8, 3, 2}, {0, 7, 1, 2, 3, 0, 0, 1, 4, 0, 0, 0, 1, 9}, {9, 0, 0, 1, 2, 3}},
        {{4, 3, 2}, {0, 7, 0x12, 0x30, 0, 1, 0, 0, 1, 0x90}, {9, 0, 0, 1, 2, 3}},
        {{4, 3, 1}, {4, 0x12}, {1, 2, 1}},  // not into the padding pixel
        // A delta past the right edge stays at the edge; one past the top ends the image.
        {{8, 3, 2}, {1, 1, 0, 2, 4, 0, 1, 2, 0, 0, 1, 3}, {3, 0, 0, 1, 0, 0}},
        {{8, 3, 2}, {1, 1, 0, 2, 0, 2, 1, 2}, {0, 0, 0, 1, 0, 0}},
        {{8, 3, 1}, {1, 1, 0, 0, 1, 2, 0, 1}, {1, 0, 0}},     // end of line at the top
        {{8, 3, 2}, {1, 1, 0, 1, 1, 9}, {0, 0, 0, 1, 0, 0}},  // after the end
        {{8, 3, 2}, {2, 4, 0, 2, 1}, {0, 0, 0, 4, 4, 0}},     // ends inside a delta
        {{8, 3, 2}, {2, 4, 1}, {0, 0, 0, 4, 4, 0}},           // ... inside a run
        {{8, 5, 1}, {1, 1, 0, 200, 5, 6}, {1, 5, 6, 0, 0}},   // absolute past the file
        {{4, 5, 1}, {0, 9, 0x12, 0x34}, {1, 2, 3, 4, 0}},
        {{8, 3, 2}, {2, 4, 1, 5, 0, 1}, {0, 0, 0, 4, 4, 0}, 2},  // biSizeImage
        {{8, 3, 2}, {2, 4, 1, 5, 0, 1}, {0, 0, 0, 4, 4, 5}, 0},
        {{8, 3, 2}, {2, 4, 1, 5, 0, 1}, {0, 0, 0, 4, 4, 5}, 0xFFFFFFFF},
    };
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        Bmp plain = image(c.shape[1], c.shape[2], static_cast<std::uint16_t>(c.shape[0]));
        plain.indices = c.indices, plain.gap = 8;
        Bmp rle = plain;
        rle.encoded().stream = c.stream, rle.sizeImage = c.sizeImage;
        expectTwins(rle, plain);
    }
}

}  // namespace
}  // namespace zt9::test
