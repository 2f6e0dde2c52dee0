#include <gtest/gtest.h>

#include <filesystem>

#include "image_test_util.h"
#include "images/bmp_image.h"
#include "support/temp_dir.h"

namespace zt9 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Element colour k: blue 0xB0 + k, green 0x60 + k, red 0x20 + k.
ElementPalette testPalette() {
    ElementPalette p{};
    for (std::size_t k = 0; k < p.size(); ++k) {
        const auto n = static_cast<std::uint8_t>(k);
        p[k] = RgbQuad{static_cast<std::uint8_t>(0xB0 + n), static_cast<std::uint8_t>(0x60 + n),
                       static_cast<std::uint8_t>(0x20 + n), 0};
    }
    return p;
}

// Two picture rows, 128 bytes apart. Element 3 x 2 at column 0:
// row 0: 1, 2, 3 (neighbour 5); row 1: 15, 0, 14 (neighbour 4).
Bytes testPicture() {
    Bytes picture(256, 0x77);
    picture[0] = 0x21;
    picture[1] = 0x53;
    picture[128] = 0x0F;
    picture[129] = 0x4E;
    return picture;
}

Bytes headerOf(std::uint8_t bitCount, std::uint8_t clrUsed) {
    return {
        0x42,    0x4D, 0x7E, 0, 0,       0, 0, 0, 0, 0, 0x76, 0, 0, 0,               // file header
        0x28,    0,    0,    0, 3,       0, 0, 0, 2, 0, 0,    0, 1, 0, bitCount, 0,  // size, planes
        0,       0,    0,    0, 8,       0, 0, 0, 0, 0, 0,    0, 0, 0, 0,        0,  // compression
        clrUsed, 0,    0,    0, clrUsed, 0, 0, 0};                                   // colours
}

void expectPalette(const Bytes& file) {
    // Element colours 1 to 15 first, element colour 0 last.
    EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 58), (Bytes{0xB1, 0x61, 0x21, 0}));
    EXPECT_EQ(Bytes(file.begin() + 110, file.begin() + 114), (Bytes{0xBF, 0x6F, 0x2F, 0}));
    EXPECT_EQ(Bytes(file.begin() + 114, file.begin() + 118), (Bytes{0xB0, 0x60, 0x20, 0}));
}

TEST(BmpWrite, FourBitFileBytes) {
    BmpImage bmp;
    const Bytes file = bmp.build4bpp(testPicture(), 0, 126, 3, 2, testPalette());
    ASSERT_EQ(file.size(), 126u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 54), headerOf(4, 0));
    expectPalette(file);
    // Bottom row first; left pixel high; the neighbour pixel sits in the padding.
    EXPECT_EQ(Bytes(file.begin() + 118, file.end()), (Bytes{0xEF, 0xD3, 0, 0, 0x01, 0x24, 0, 0}));
}

TEST(BmpWrite, EightBitFileBytes) {
    BmpImage bmp;
    const Bytes file = bmp.build8bpp(testPicture(), 0, 126, 3, 2, testPalette());
    ASSERT_EQ(file.size(), 126u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 54), headerOf(8, 16));
    expectPalette(file);
    EXPECT_EQ(Bytes(file.begin() + 118, file.end()), (Bytes{14, 15, 13, 3, 0, 1, 2, 4}));
}

TEST(BmpWrite, HeaderMemberHoldsTheWrittenHeader) {
    BmpImage bmp;
    const Bytes file = bmp.build8bpp(testPicture(), 0, 126, 3, 2, testPalette());
    EXPECT_EQ(Bytes(bmp.header.begin(), bmp.header.end()), Bytes(file.begin(), file.begin() + 54));
    EXPECT_EQ(bmp.headerU32(bmp::kSizeImage), 8u);
    EXPECT_EQ(bmp.pixels, Bytes(file.begin() + 118, file.end()));
}

TEST(BmpWrite, Strides) {
    const Bytes picture(128, 0);
    BmpImage bmp;
    struct Case {
        std::uint32_t width, bits, stride;
    };
    for (const Case c :
         {Case{3, 8, 4}, Case{5, 8, 8}, Case{1, 8, 4}, Case{4, 8, 4}, Case{255, 8, 256},
          Case{9, 4, 8}, Case{8, 4, 4}, Case{1, 4, 4}, Case{255, 4, 128}}) {
        const Bytes file = c.bits == 4 ? bmp.build4bpp(picture, 0, 0, c.width, 1, {})
                                       : bmp.build8bpp(picture, 0, 0, c.width, 1, {});
        EXPECT_EQ(file.size(), 118u + c.stride) << c.width << " " << c.bits;
        EXPECT_EQ(test::le32(file, 34), c.stride) << c.width << " " << c.bits;
        EXPECT_EQ(test::le32(file, 2), 118u + c.stride);
        EXPECT_EQ(bmp::stride(c.width, c.bits), c.stride);
    }
}

TEST(BmpWrite, SevenByTenElementSizes) {
    const Bytes picture(std::size_t{128} * 10, 0);
    BmpImage bmp;
    EXPECT_EQ(bmp.build4bpp(picture, 0, 124, 7, 10, {}).size(), 158u);
    EXPECT_EQ(bmp.build8bpp(picture, 0, 124, 7, 10, {}).size(), 198u);
}

TEST(BmpWrite, RowsFollowStartAndSkip) {
    // Element 2 x 2 starting at byte 5: rows at 5 and 5 + 1 + 127 = 133.
    Bytes picture(256, 0);
    picture[5] = 0x21;
    picture[133] = 0x43;
    BmpImage bmp;
    const Bytes file = bmp.build4bpp(picture, 5, 127, 2, 2, {});
    EXPECT_EQ(Bytes(file.begin() + 118, file.end()), (Bytes{0x23, 0, 0, 0, 0x01, 0, 0, 0}));
}

TEST(BmpWrite, BytesPastThePictureReadAsTransparent) {
    const Bytes picture{0x11};
    BmpImage bmp;
    const Bytes file = bmp.build4bpp(picture, 0, 127, 2, 2, {});
    // Bottom row lies past the end: element 0 becomes BMP 15.
    EXPECT_EQ(Bytes(file.begin() + 118, file.end()), (Bytes{0xFF, 0, 0, 0, 0x00, 0, 0, 0}));
    EXPECT_EQ(bmp.build8bpp(picture, 1000, 0, 2, 1, {}).back(), 0u);  // padding
}

TEST(BmpWrite, ZeroWidthGivesHeaderAndPaletteOnly) {
    BmpImage bmp;
    const Bytes file = bmp.build8bpp(Bytes(128, 0), 0, 128, 0, 3, {});
    EXPECT_EQ(file.size(), 118u);
    EXPECT_EQ(test::le32(file, 22), 3u);
}

TEST(BmpWrite, WrittenFilesReadBack) {
    for (std::uint32_t width : {1u, 2u, 7u, 8u, 255u}) {
        Bytes picture(std::size_t{128} * 4);
        for (std::size_t i = 0; i < picture.size(); ++i)
            picture[i] = static_cast<std::uint8_t>(i * 37 + 11);
        ElementPalette palette = testPalette();
        palette[0] = RgbQuad{};
        for (bool eight : {false, true}) {
            BmpImage writer;
            const std::uint32_t skip = (256 - width) / 2;
            const Bytes file = eight ? writer.build8bpp(picture, 0, skip, width, 4, palette)
                                     : writer.build4bpp(picture, 0, skip, width, 4, palette);
            BmpImage reader;
            const test::ReadResult r = test::readBmp(reader, file);
            EXPECT_EQ(r.width, static_cast<std::int32_t>(width));
            EXPECT_EQ(r.height, 4);
            EXPECT_EQ(r.bitCount, eight ? 8 : 4);
            Bytes pixels;
            std::array<std::uint32_t, 16> colors{};
            eight ? reader.decode8bpp(pixels, colors) : reader.decode4bpp(pixels, colors);
            const std::size_t rowBytes = (width + 1) / 2;
            ASSERT_EQ(pixels.size(), rowBytes * 4);
            for (std::size_t r2 = 0; r2 < 4; ++r2) {
                for (std::size_t k = 0; k < rowBytes; ++k) {
                    std::uint8_t expected = picture[r2 * 128 + k];
                    if (width % 2 == 1 && k + 1 == rowBytes)
                        expected &= 0x0F;  // the neighbour pixel is dropped again
                    EXPECT_EQ(pixels[r2 * rowBytes + k], expected) << width << " " << eight;
                }
            }
            EXPECT_EQ(colors[0], 0u);
            EXPECT_EQ(colors[3], 0xB36323u);
        }
    }
}

TEST(BmpWriteFile, WritesTheBuiltBytes) {
    test::TempDir dir;
    BmpImage bmp;
    const auto target = dir.file("e.bmp");
    test::writeBytes(target, Bytes(500, 0x55));  // an older file is replaced
    bmp.write4bpp(target, testPicture(), 0, 126, 3, 2, testPalette());
    BmpImage reference;
    EXPECT_EQ(test::readBytes(target),
              reference.build4bpp(testPicture(), 0, 126, 3, 2, testPalette()));
    bmp.write8bpp(target, testPicture(), 0, 126, 3, 2, testPalette());
    EXPECT_EQ(test::readBytes(target),
              reference.build8bpp(testPicture(), 0, 126, 3, 2, testPalette()));
    EXPECT_EQ(dir.entries().size(), 1u);
}

TEST(BmpWriteFile, UnwritableTargetRaisesFileSaveError) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("folder"));
    for (const auto& target : {dir.file("folder"), dir.file("missing") / "e.bmp"}) {
        BmpImage bmp;
        EXPECT_EQ(test::outcome(
                      [&] { bmp.write8bpp(target, testPicture(), 0, 126, 3, 2, testPalette()); }),
                  "File save error");
        error expected;
        expected.code = kCodeSave;
        EXPECT_EQ(bmp.lastError, expected);
    }
    EXPECT_EQ(dir.entries().size(), 1u);  // no temporary file left behind
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder")));
}

}  // namespace
}  // namespace zt9
