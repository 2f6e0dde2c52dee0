// Run-length encoded BMPs (RLE8, RLE4) import exactly as the same picture stored
// uncompressed: streams from our encoder, hand-made streams with every command, and
// damaged streams, which are cut at the image's edge.

#include <gtest/gtest.h>

#include <optional>
#include <span>

#include "images/import_fixtures.h"

namespace zt9 {
namespace {

using namespace test;

// Imports both files into the same element of two fresh fonts, placed so that larger
// images must be fitted; the slot, the configuration, the fitting codes and the saved
// file must agree.
void expectTwins(const Bmp& rle, const Bmp& plain) {
    GeoDocument a = font(200, 200), b = font(200, 200);
    FieldCode ax{}, ay{}, bx{}, by{};
    ASSERT_EQ(outcome([&] { importElement(a, ax, ay, rle.build()); }), kAccepted);
    ASSERT_EQ(outcome([&] { importElement(b, bx, by, plain.build()); }), kAccepted);
    EXPECT_EQ(slotState(a), slotState(b));
    EXPECT_EQ(std::tie(ax, ay), std::tie(bx, by));
    EXPECT_EQ(a.buildSaveImage(), b.buildSaveImage());
}

TEST(RleTwins, EncodedPicturesImportAsTheirUncompressedTwins) {
    const RleOptions options[] = {{}, {false, 255}, {true, 4}, {false, 0}};
    const std::int32_t shapes[][2] = {{1, 1}, {3, 2}, {7, 5}, {16, 9}, {33, 20}, {255, 240}};
    int variant = 0;
    for (const std::uint16_t bits : {std::uint16_t{4}, std::uint16_t{8}}) {
        for (const auto& [w, h] : shapes) {
            for (const RleOptions& option : options) {
                Bmp plain = picture(w, h, bits);
                plain.gap = bits == 4 ? 8 : 0;  // keeps 4-bit files above the lower limit
                if (++variant % 2 == 0)         // as ImageMagick writes them
                    plain.infoSize = 124, plain.clrUsed = bits == 8 ? 16 : 0;
                Bmp rle = plain;
                SCOPED_TRACE(testing::Message() << bits << " bits " << w << " x " << h << " option "
                                                << &option - options);
                expectTwins(rle.encoded(option), plain);
            }
        }
    }
}

struct StreamCase {
    struct {
        std::uint16_t bits;
        std::int32_t width, height;
    } shape;
    Bytes stream;
    Bytes indices;  // of the uncompressed twin, top row first
    std::optional<std::uint32_t> sizeImage = std::nullopt;
};

void expectStreamTwins(std::span<const StreamCase> cases) {
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const StreamCase& c = cases[k];
        SCOPED_TRACE(testing::Message() << "case " << k);
        Bmp plain = image(c.shape.width, c.shape.height, c.shape.bits);
        plain.indices = c.indices;
        plain.gap = 8;  // keeps the smallest 4-bit files above the lower size limit
        Bmp rle = plain;
        rle.withStream(c.stream).sizeImage = c.sizeImage;
        expectTwins(rle, plain);
    }
}

// Streams with every command: runs (RLE4 pixels alternate, high nibble first, anew for
// each run), absolute runs padded to a 16-bit boundary, ends of line, deltas right and up
// from the current position, and an end of bitmap that leaves the rows above at index 0.
TEST(RleStreams, HandMadeStreamsImportAsTheirTwins) {
    const StreamCase cases[] = {
        // A run, end of line, an absolute run with its pad byte, a delta right, the end.
        {{8, 4, 3},
         {3, 7, 0, 0, 0, 3, 1, 2, 3, 0, 1, 9, 0, 0, 0, 2, 1, 0, 2, 5, 0, 1},
         {0, 5, 5, 0, 1, 2, 3, 9, 7, 7, 7, 0}},
        // Deltas up keep the column.
        {{8, 5, 3},
         {1, 4, 0, 2, 1, 1, 2, 6, 0, 2, 0, 1, 1, 200, 0, 1},
         {0, 0, 0, 0, 200, 0, 0, 6, 6, 0, 4, 0, 0, 0, 0}},
        {{8, 6, 1}, {0, 4, 10, 20, 30, 40, 2, 50, 0, 1}, {10, 20, 30, 40, 50, 50}},  // no pad
        {{4, 7, 1}, {5, 0x12, 2, 0x3F, 0, 1}, {1, 2, 1, 2, 1, 3, 15}},
        // Absolute runs of 3 bytes (padded) and of 2 bytes (not padded).
        {{4, 8, 2},
         {0, 5, 0x34, 0x56, 0x70, 0, 3, 0x89, 0, 0, 0, 3, 0xAB, 0xC0, 1, 0xD0, 0, 1},
         {10, 11, 12, 13, 0, 0, 0, 0, 3, 4, 5, 6, 7, 8, 9, 8}},
        // A delta up, and an end of bitmap before the top row.
        {{4, 5, 3},
         {1, 0x50, 0, 2, 3, 1, 1, 0x60, 0, 1},
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 6, 5, 0, 0, 0, 0}},
    };
    expectStreamTwins(cases);
}

// Damaged streams are accepted and cut: nothing is placed outside the image or wrapped
// into another row, an absolute run cut at the edge still skips all its bytes, a stream
// ends at the end of the file or of biSizeImage, whichever comes first (biSizeImage 0:
// the file), and what it never sets is index 0.
TEST(RleStreams, DamagedStreamsAreCutAtTheImageEdge) {
    const StreamCase cases[] = {
        {{8, 3, 2}, {5, 7, 0, 0, 1, 8, 0, 1}, {8, 0, 0, 7, 7, 7}},  // run past the row's end
        {{8, 3, 2}, {5, 7, 1, 8, 0, 0, 1, 9}, {9, 0, 0, 7, 7, 7}},  // ... and more of that row
        {{8, 3, 2}, {0, 5, 1, 2, 3, 4, 5, 0, 0, 0, 1, 9}, {9, 0, 0, 1, 2, 3}},  // absolute run
        {{4, 3, 2}, {0, 5, 0x12, 0x34, 0x50, 0, 0, 0, 1, 0x90}, {9, 0, 0, 1, 2, 3}},
        {{4, 3, 1}, {4, 0x12}, {1, 2, 1}},                                      // the padding pixel
        {{8, 3, 2}, {1, 1, 0, 2, 9, 0, 1, 2, 0, 0, 1, 3}, {3, 0, 0, 1, 0, 0}},  // delta right
        {{8, 3, 2}, {1, 1, 0, 2, 5, 1, 1, 2, 0, 0, 1, 3}, {0, 0, 0, 1, 0, 0}},  // right and up
        {{8, 3, 2}, {1, 1, 0, 2, 0, 2, 1, 2}, {0, 0, 0, 1, 0, 0}},  // delta past the top
        {{8, 3, 1}, {1, 1, 0, 0, 1, 2, 0, 1}, {1, 0, 0}},           // end of line at the top
        {{8, 3, 2}, {1, 1, 0, 1, 1, 9}, {0, 0, 0, 1, 0, 0}},        // after the end
        {{8, 3, 2}, {2, 4}, {0, 0, 0, 4, 4, 0}},                    // no end of bitmap
        {{8, 3, 2}, {2, 4, 0, 2, 1}, {0, 0, 0, 4, 4, 0}},           // ends inside a delta
        {{8, 3, 2}, {2, 4, 1}, {0, 0, 0, 4, 4, 0}},                 // ... inside a run
        {{8, 5, 1}, {1, 1, 0, 200, 5, 6}, {1, 5, 6, 0, 0}},         // absolute past the file
        {{4, 5, 1}, {0, 9, 0x12, 0x34}, {1, 2, 3, 4, 0}},
        {{8, 3, 2}, {}, {0, 0, 0, 0, 0, 0}},
        {{8, 3, 2}, {2, 4, 1, 5, 0, 1}, {0, 0, 0, 4, 4, 0}, 2},  // biSizeImage
        {{8, 3, 2}, {2, 4, 1, 5, 0, 1}, {0, 0, 0, 4, 4, 5}, 0},
        {{8, 3, 2}, {2, 4, 1, 5, 0, 1}, {0, 0, 0, 4, 4, 5}, 0xFFFFFFFF},
    };
    expectStreamTwins(cases);
}

}  // namespace
}  // namespace zt9
