#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "image_test_util.h"
#include "images/bmp_image.h"
#include "support/bmp_builder.h"

namespace zt9 {
namespace {

using test::BmpBuilder;
using test::readOutcome;

BmpBuilder image(std::int32_t w, std::int32_t h, int bits) {
    BmpBuilder b(w, h, static_cast<std::uint16_t>(bits));
    b.withDistinctPalette(bits == 8 ? 256 : 16);
    return b;
}

// --- Checks and their order -------------------------------------------------------------

TEST(BmpReadChecks, SizeLimitsOfBothDepths) {
    for (const int bits : {4, 8}) {
        EXPECT_EQ(readOutcome(image(255, 240, bits).build()), test::kAccepted) << bits;
        EXPECT_EQ(readOutcome(image(256, 240, bits).build()), test::kTooWide) << bits;
        EXPECT_EQ(readOutcome(image(255, 241, bits).build()), test::kTooHigh) << bits;
        EXPECT_EQ(readOutcome(image(256, 241, bits).build()), test::kTooLarge) << bits;
    }
}

TEST(BmpReadChecks, NegativeSizesCountAsHuge) {
    EXPECT_EQ(readOutcome(image(10, -2, 4).build()), test::kTooHigh);  // top-down rows
    EXPECT_EQ(readOutcome(image(300, -2, 4).build()), test::kTooLarge);
    EXPECT_EQ(readOutcome(image(-1, 5, 8).build()), test::kTooWide);
}

TEST(BmpReadChecks, SignatureComesFirst) {
    BmpBuilder b = image(300, 300, 24);
    b.type = 0x424D;  // "MB"
    EXPECT_EQ(readOutcome(b.build()), test::kNotBmp);
    EXPECT_EQ(readOutcome({}), test::kNotBmp);
    EXPECT_EQ(readOutcome({'B'}), test::kNotBmp);
}

TEST(BmpReadChecks, SizeComesBeforeDepth) {
    EXPECT_EQ(readOutcome(image(256, 10, 24).build()), test::kTooWide);
    EXPECT_EQ(readOutcome(image(10, 10, 24).build()), test::kNoSupport);
    EXPECT_EQ(readOutcome(image(10, 10, 1).build()), test::kNoSupport);
    EXPECT_EQ(readOutcome(image(10, 10, 0).build()), test::kNoSupport);
}

TEST(BmpReadChecks, PaletteSizes) {
    BmpBuilder four = image(3, 3, 4);
    for (std::uint32_t used : {0u, 16u})
        EXPECT_EQ(readOutcome((four.clrUsed = used, four).build()), test::kAccepted) << used;
    for (std::uint32_t used : {1u, 8u, 15u, 17u, 256u}) {
        four.clrUsed = used;
        four.paletteEntries = 16;
        EXPECT_EQ(readOutcome(four.build()), test::kPalette16) << used;
    }
    BmpBuilder eight = image(3, 3, 8);
    for (std::uint32_t used : {0u, 16u, 256u}) {
        eight.clrUsed = used;
        EXPECT_EQ(readOutcome(eight.build()), test::kAccepted) << used;
    }
    for (std::uint32_t used : {8u, 17u, 255u, 257u, 0xFFFFFFFFu}) {
        eight.clrUsed = used;
        eight.paletteEntries = 256;
        EXPECT_EQ(readOutcome(eight.build()), test::kPalette16or256) << used;
    }
}

TEST(BmpReadChecks, EntryFifteenMustBeAllZero) {
    BmpBuilder b = image(3, 3, 8);
    b.setEntry(15, 255, 0, 0);  // red, inside a 256-entry palette
    EXPECT_EQ(readOutcome(b.build()), test::kNotTransparent);
    BmpBuilder reserved = image(3, 3, 4);
    reserved.setEntry(15, 0, 0, 0, 1);
    EXPECT_EQ(readOutcome(reserved.build()), test::kNotTransparent);
    // The last entry of a 256-entry palette is not the transparent one.
    BmpBuilder last = image(3, 3, 8);
    last.setEntry(255, 9, 9, 9);
    EXPECT_EQ(readOutcome(last.build()), test::kAccepted);
}

TEST(BmpReadChecks, PaletteSizeComesBeforeEntryFifteen) {
    BmpBuilder b = image(3, 3, 4);
    b.setEntry(15, 1, 2, 3);
    b.clrUsed = 8;
    b.paletteEntries = 16;
    EXPECT_EQ(readOutcome(b.build()), test::kPalette16);
}

TEST(BmpReadChecks, UnsupportedVariants) {
    BmpBuilder zeroHeight = image(5, 0, 4);
    EXPECT_EQ(readOutcome(zeroHeight.build()), test::kNoSupport);
    BmpBuilder zeroWidth = image(0, 5, 8);
    EXPECT_EQ(readOutcome(zeroWidth.build()), test::kNoSupport);
    for (std::uint32_t compression : {1u, 2u, 3u}) {
        BmpBuilder b = image(5, 5, compression == 1 ? 8 : 4);
        b.compression = compression;
        EXPECT_EQ(readOutcome(b.build()), test::kNoSupport) << compression;
    }
    BmpBuilder core = image(5, 5, 4);
    core.infoSize = 12;  // another header layout
    EXPECT_EQ(readOutcome(core.build()), test::kNoSupport);
}

TEST(BmpReadChecks, VariantCheckSitsBetweenDepthAndPalette) {
    BmpBuilder b = image(300, 0, 4);
    EXPECT_EQ(readOutcome(b.build()), test::kTooWide);
    b = image(5, 0, 24);
    EXPECT_EQ(readOutcome(b.build()), test::kNoSupport);
    b = image(5, 0, 4);
    b.clrUsed = 7;
    b.paletteEntries = 16;
    EXPECT_EQ(readOutcome(b.build()), test::kNoSupport);
    b = image(5, 5, 8);
    b.compression = 1;
    b.setEntry(15, 1, 1, 1);
    EXPECT_EQ(readOutcome(b.build()), test::kNoSupport);
}

TEST(BmpReadChecks, HeaderFieldsPointingOutsideTheFile) {
    BmpBuilder info = image(5, 5, 4);
    info.infoSize = 0xFFFFFF00;
    EXPECT_EQ(readOutcome(info.build()), test::kNoSupport);
    BmpBuilder off = image(5, 5, 4);
    off.offBits = 0xFFFFFFF0;
    EXPECT_EQ(readOutcome(off.build()), test::kNoSupport);
    const std::size_t size = image(5, 5, 4).build().size();
    off.offBits = static_cast<std::uint32_t>(size + 1);
    EXPECT_EQ(readOutcome(off.build()), test::kNoSupport);
    off.offBits = static_cast<std::uint32_t>(size);  // at the end: every pixel byte missing
    EXPECT_EQ(readOutcome(off.build()), test::kAccepted);
}

TEST(BmpReadChecks, FailureFillsOnlyItsOwnCondition) {
    BmpImage bmp;
    BmpBuilder b = image(5, 5, 8);
    b.clrUsed = 3;
    b.paletteEntries = 256;
    EXPECT_THROW(test::readBmp(bmp, b.build()), error);
    error expected;
    expected.domain = kDomainBmp;
    expected.paletteError = 2;
    EXPECT_EQ(bmp.lastError, expected);
}

// --- What is read ---------------------------------------------------------------------

TEST(BmpRead, ReturnsSizeAndDepth) {
    BmpImage bmp;
    const test::ReadResult r = test::readBmp(bmp, image(7, 3, 8).build());
    EXPECT_EQ(r.width, 7);
    EXPECT_EQ(r.height, 3);
    EXPECT_EQ(r.bitCount, 8);
    EXPECT_EQ(bmp.pixels.size(), 3u * 8u);
}

TEST(BmpRead, StreamAndBytesReadTheSame) {
    const auto bytes = image(9, 4, 4).setIndex(2, 1, 7).build();
    std::istringstream stream(std::string(bytes.begin(), bytes.end()));
    BmpImage fromStream;
    BmpImage fromBytes;
    std::int32_t w = 0;
    std::int32_t h = 0;
    std::uint16_t bits = 0;
    fromStream.read(stream, w, h, bits);
    test::readBmp(fromBytes, bytes);
    EXPECT_EQ(w, 9);
    EXPECT_EQ(fromStream.pixels, fromBytes.pixels);
    EXPECT_EQ(fromStream.palette, fromBytes.palette);
}

TEST(BmpRead, FourBitPaletteIsTheSameForClrUsedZeroAndSixteen) {
    BmpBuilder b = image(3, 3, 4);
    BmpImage zero;
    BmpImage sixteen;
    test::readBmp(zero, b.build());
    b.clrUsed = 16;
    test::readBmp(sixteen, b.build());
    EXPECT_EQ(zero.palette, sixteen.palette);
    EXPECT_EQ((zero.palette[14]), (RgbQuad{14, 30, 46, 0}));
}

TEST(BmpRead, EightBitPixelsFollowTheirPalette) {
    // 16 entries: pixels at 118; 256 entries: pixels at 1078.
    for (std::uint32_t used : {16u, 0u, 256u}) {
        BmpBuilder b = image(4, 1, 8);
        b.clrUsed = used;
        const auto bytes = b.setIndex(0, 0, 3).setIndex(3, 0, 9).build();
        ASSERT_EQ(bytes.size(), used == 16 ? 122u : 1082u);
        BmpImage bmp;
        test::readBmp(bmp, bytes);
        EXPECT_EQ(bmp.pixels, (std::vector<std::uint8_t>{3, 0, 0, 9})) << used;
    }
}

// Paint programs write 108- and 124-byte info headers and may leave a gap before the
// pixels; the palette follows the info header and the pixels start at bfOffBits.
TEST(BmpRead, LargerInfoHeadersAndGaps) {
    for (std::uint32_t infoSize : {40u, 52u, 108u, 124u}) {
        for (std::size_t gap : {std::size_t{0}, std::size_t{6}}) {
            BmpBuilder b = image(3, 2, 4);
            b.infoSize = infoSize;
            b.gap = gap;
            b.setIndex(0, 0, 5).setIndex(2, 1, 14);
            BmpImage bmp;
            test::readBmp(bmp, b.build());
            EXPECT_EQ(bmp.palette[0], (RgbQuad{0, 16, 32, 0})) << infoSize;
            // Bottom row first: pixel (2, 1) is the low nibble of byte 1 of row 0.
            EXPECT_EQ(bmp.pixels, (std::vector<std::uint8_t>{0x00, 0xE0, 0, 0, 0x50, 0x00, 0, 0}))
                << infoSize << " gap " << gap;
        }
    }
}

TEST(BmpRead, OffsetsOverlappingThePaletteMeanRightAfterIt) {
    for (std::uint32_t offBits : {0u, 54u, 117u}) {
        BmpBuilder b = image(2, 1, 8);
        b.clrUsed = 16;
        b.offBits = offBits;
        BmpImage bmp;
        test::readBmp(bmp, b.setIndex(0, 0, 4).setIndex(1, 0, 6).build());
        EXPECT_EQ(bmp.pixels, (std::vector<std::uint8_t>{4, 6, 0, 0})) << offBits;
    }
}

TEST(BmpRead, PixelSizeComesFromWidthHeightAndDepth) {
    for (std::uint32_t sizeImage : {0u, 1u, 7u, 0xFFFFFFFFu}) {
        BmpBuilder b = image(3, 2, 8);
        b.clrUsed = 16;
        b.sizeImage = sizeImage;
        b.setIndex(0, 0, 1).setIndex(1, 0, 2).setIndex(2, 1, 3);
        BmpImage bmp;
        test::readBmp(bmp, b.build());
        EXPECT_EQ(bmp.pixels, (std::vector<std::uint8_t>{0, 0, 3, 0, 1, 2, 0, 0})) << sizeImage;
    }
}

TEST(BmpRead, MissingPixelBytesReadAsZero) {
    BmpBuilder b = image(2, 2, 8);
    b.clrUsed = 16;
    b.setIndex(0, 0, 9).setIndex(1, 0, 9).setIndex(0, 1, 7).setIndex(1, 1, 7);
    b.truncateTo = 118 + 5;  // bottom row and one byte of the top row
    BmpImage bmp;
    test::readBmp(bmp, b.build());
    EXPECT_EQ(bmp.pixels, (std::vector<std::uint8_t>{7, 7, 0, 0, 9, 0, 0, 0}));
}

TEST(BmpRead, MissingPaletteEntriesReadAsZero) {
    BmpBuilder b = image(2, 2, 8);  // announces 256 entries
    b.setEntry(20, 1, 2, 3).setEntry(21, 5, 5, 5);
    b.truncateTo = 54 + 4 * 20 + 2;  // entry 20 keeps its blue and green bytes only
    // bfOffBits now lies past the end of the file.
    EXPECT_EQ(readOutcome(b.build()), test::kNoSupport);
    b.offBits = 0;  // "right after the palette", which the file does not hold
    BmpImage bmp;
    test::readBmp(bmp, b.build());
    EXPECT_EQ(bmp.palette[14], (RgbQuad{14, 30, 46, 0}));
    EXPECT_EQ(bmp.palette[20], (RgbQuad{3, 2, 0, 0}));
    EXPECT_EQ(bmp.palette[21], (RgbQuad{}));
    EXPECT_EQ(bmp.pixels, std::vector<std::uint8_t>(8, 0));
}

// --- Decoding -------------------------------------------------------------------------

TEST(BmpDecode, FourBitRowsAreFlippedMappedAndPackedLowNibbleFirst) {
    auto bytes = image(3, 2, 4).build();
    ASSERT_EQ(bytes.size(), 126u);
    // Stored bottom row first, left pixel in the high nibble; width 3 leaves a padding
    // nibble that must not reach the element.
    const std::uint8_t stored[8] = {0x01, 0x2F, 0xAA, 0xAA, 0xEF, 0x70, 0, 0};
    std::copy(std::begin(stored), std::end(stored), bytes.begin() + 118);
    BmpImage bmp;
    test::readBmp(bmp, bytes);
    std::vector<std::uint8_t> pixels;
    std::array<std::uint32_t, 16> colors{};
    bmp.decode4bpp(pixels, colors);
    // Top row 14, 15, 7 -> 15, 0, 8; bottom row 0, 1, 2 -> 1, 2, 3.
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{0x0F, 0x08, 0x21, 0x03}));
}

TEST(BmpDecode, EightBitValuesKeepOnlyTheLowNibbleOfValuePlusOne) {
    BmpBuilder b = image(5, 1, 8);
    b.setIndex(0, 0, 15).setIndex(1, 0, 31).setIndex(2, 0, 255).setIndex(3, 0, 16);
    b.setIndex(4, 0, 0);
    BmpImage bmp;
    test::readBmp(bmp, b.build());
    std::vector<std::uint8_t> pixels;
    std::array<std::uint32_t, 16> colors{};
    bmp.decode8bpp(pixels, colors);
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{0x00, 0x10, 0x01}));
}

TEST(BmpDecode, EightBitRowsAreFlipped) {
    BmpBuilder b = image(2, 3, 8);
    b.setIndex(0, 0, 1).setIndex(1, 0, 2).setIndex(0, 2, 13).setIndex(1, 2, 14);
    BmpImage bmp;
    test::readBmp(bmp, b.build());
    std::vector<std::uint8_t> pixels;
    std::array<std::uint32_t, 16> colors{};
    bmp.decode8bpp(pixels, colors);
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{0x32, 0x11, 0xFE}));
}

TEST(BmpDecode, ColoursTakeEntryFifteenAsColourZero) {
    BmpImage bmp;
    test::readBmp(bmp, image(1, 1, 4).build());
    std::vector<std::uint8_t> pixels;
    std::array<std::uint32_t, 16> colors{};
    bmp.decode4bpp(pixels, colors);
    EXPECT_EQ(colors[0], 0u);
    EXPECT_EQ(colors[1], 0x001020u);                       // entry 0: red 32, green 16, blue 0
    EXPECT_EQ(colors[15], 0x0E1E2Eu);                      // entry 14: red 46, green 30, blue 14
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{0x01}));  // BMP index 0 is colour 1
}

TEST(BmpDecode, WithoutAReadNothingIsDecoded) {
    BmpImage bmp;
    std::vector<std::uint8_t> pixels{1, 2, 3};
    std::array<std::uint32_t, 16> colors{};
    bmp.decode8bpp(pixels, colors);
    EXPECT_TRUE(pixels.empty());
}

TEST(BmpIndexMapping, BothDirections) {
    EXPECT_EQ(bmpIndexFromElement(0), 15);
    EXPECT_EQ(bmpIndexFromElement(1), 0);
    EXPECT_EQ(bmpIndexFromElement(15), 14);
    EXPECT_EQ(elementIndexFromBmp(15), 0);
    EXPECT_EQ(elementIndexFromBmp(0), 1);
    EXPECT_EQ(elementIndexFromBmp(255), 0);
    EXPECT_EQ(elementIndexFromBmp(16), 1);
}

}  // namespace
}  // namespace zt9
