#include <gtest/gtest.h>

#include <filesystem>

#include "image_test_util.h"
#include "images/element_export.h"
#include "images/element_import.h"
#include "support/bmp_builder.h"
#include "support/temp_dir.h"

namespace zt9 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// One element 3 x 2 at (0, 0): row 0 is 1, 2, 3 (neighbour 5), row 1 is 15, 0, 14
// (neighbour 4); colours 1 to 5 are white, red, green, blue and a dark grey with bit 15 set.
test::GeoBuilder tinyFont() {
    test::GeoBuilder b;
    test::ElementSpec e;
    e.width = 3;
    e.height = 1;
    e.colors[1] = 0x7FFF;
    e.colors[2] = 0x001F;
    e.colors[3] = 0x03E0;
    e.colors[4] = 0x7C00;
    e.colors[5] = 0x8421;
    b.elements.push_back(e);
    const std::uint8_t row0[4] = {1, 2, 3, 5};
    const std::uint8_t row1[4] = {15, 0, 14, 4};
    for (std::uint32_t c = 0; c < 4; ++c) {
        b.setPixel(c, 0, row0[c]);
        b.setPixel(c, 1, row1[c]);
    }
    return b;
}

Bytes expectedHeader(std::uint8_t bitCount, std::uint8_t clrUsed) {
    return {0x42, 0x4D, 0x7E, 0, 0, 0, 0, 0, 0, 0, 0x76,     0, 0, 0, 0x28,    0, 0, 0,
            3,    0,    0,    0, 2, 0, 0, 0, 1, 0, bitCount, 0, 0, 0, 0,       0, 8, 0,
            0,    0,    0,    0, 0, 0, 0, 0, 0, 0, clrUsed,  0, 0, 0, clrUsed, 0, 0, 0};
}

Bytes expectedPalette() {
    Bytes p(64, 0);
    const Bytes first = {0xF8, 0xF8, 0xF8, 0,   // colour 1 white
                         0,    0,    0xF8, 0,   // colour 2 red
                         0,    0xF8, 0,    0,   // colour 3 green
                         0xF8, 0,    0,    0,   // colour 4 blue
                         8,    8,    8,    0};  // colour 5, bit 15 ignored
    std::copy(first.begin(), first.end(), p.begin());
    return p;  // colours 6 to 15 and colour 0 (entry 15) are black
}

Bytes concat(Bytes a, const Bytes& b, const Bytes& c) {
    a.insert(a.end(), b.begin(), b.end());
    a.insert(a.end(), c.begin(), c.end());
    return a;
}

TEST(ExportBytes, FourBitElement) {
    const GeoDocument doc = test::openDocument(tinyFont());
    EXPECT_EQ(exportElementBytes(doc, kExport4bpp), concat(expectedHeader(4, 0), expectedPalette(),
                                                           {0xEF, 0xD3, 0, 0, 0x01, 0x24, 0, 0}));
}

TEST(ExportBytes, EightBitElement) {
    const GeoDocument doc = test::openDocument(tinyFont());
    EXPECT_EQ(exportElementBytes(doc, kExport8bpp),
              concat(expectedHeader(8, 16), expectedPalette(), {14, 15, 13, 3, 0, 1, 2, 4}));
}

TEST(ExportBytes, SevenByTenElementFileSizes) {
    const GeoDocument doc = test::openDocument(test::GeoBuilder::grid(1, 7, 9));
    const Bytes four = exportElementBytes(doc, kExport4bpp);
    const Bytes eight = exportElementBytes(doc, kExport8bpp);
    EXPECT_EQ(four.size(), 158u);
    EXPECT_EQ(eight.size(), 198u);
    EXPECT_EQ(test::le32(four, 46), 0u);  // biClrUsed
    EXPECT_EQ(test::le32(eight, 46), 16u);
    EXPECT_EQ(test::le32(eight, 18), 7u);
    EXPECT_EQ(test::le32(eight, 22), 10u);
}

TEST(ExportBytes, PaletteFlagsDoNotMatter) {
    for (std::uint32_t flags : {0x00u, 0x10u, 0x0Au, 0xFFFFFFFFu}) {
        test::GeoBuilder font = tinyFont();
        font.elements[0].paletteFlags = flags;
        const GeoDocument doc = test::openDocument(font);
        const Bytes file = exportElementBytes(doc, kExport8bpp);
        EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 118), expectedPalette()) << flags;
    }
}

TEST(ExportBytes, OtherModesGiveNothing) {
    const GeoDocument doc = test::openDocument(tinyFont());
    test::TempDir dir;
    for (int mode : {0, 3, -1, 256}) {
        EXPECT_TRUE(exportElementBytes(doc, mode).empty());
        exportElement(doc, mode, dir.file("e.bmp"));
    }
    EXPECT_TRUE(dir.entries().empty());
}

TEST(ExportBytes, OddXStartsAtTheByteHoldingTheColumnBefore) {
    test::GeoBuilder font = tinyFont();
    font.elements[0].x = 3;
    font.elements[0].width = 4;
    font.elements[0].height = 0;
    for (std::uint32_t c = 0; c < 8; ++c)
        font.setPixel(c, 0, static_cast<std::uint8_t>(c + 1));
    const GeoDocument doc = test::openDocument(font);
    const Bytes file = exportElementBytes(doc, kExport8bpp);
    // Columns 2 to 5 (element colours 3 to 6) become BMP 2 to 5.
    EXPECT_EQ(Bytes(file.begin() + 118, file.end()), (Bytes{2, 3, 4, 5}));
}

TEST(ExportBytes, ShowsTheElementAsLoaded) {
    GeoDocument doc = test::openDocument(tinyFont());
    const Bytes before = exportElementBytes(doc, kExport4bpp);
    FieldCode xCode{};
    FieldCode yCode{};
    importElement(doc, xCode, yCode,
                  test::BmpBuilder(9, 5, 8).withDistinctPalette().setIndex(1, 1, 6).build());
    std::int32_t out = 0;
    doc.setY(40, out);
    doc.buildSaveImage();
    EXPECT_EQ(exportElementBytes(doc, kExport4bpp), before);
}

TEST(ExportBytes, ExportChangesNothing) {
    GeoDocument doc = test::openDocument(tinyFont());
    const GeoDocument before = doc;
    test::TempDir dir;
    exportElement(doc, kExport8bpp, dir.file("e.bmp"));
    exportElement(doc, kExport4bpp, dir.file("e.bmp"));
    test::expectSameImportState(before, doc);
    EXPECT_EQ(doc.lastError, error{});
}

TEST(ExportFile, WritesTheSameBytes) {
    const GeoDocument doc = test::openDocument(tinyFont());
    test::TempDir dir;
    exportElement(doc, kExport8bpp, dir.file("eight.bmp"));
    exportElement(doc, kExport4bpp, dir.file("four.bmp"));
    EXPECT_EQ(test::readBytes(dir.file("eight.bmp")), exportElementBytes(doc, kExport8bpp));
    EXPECT_EQ(test::readBytes(dir.file("four.bmp")), exportElementBytes(doc, kExport4bpp));
}

TEST(ExportFile, UnwritableTargetIsAFileSaveError) {
    const GeoDocument doc = test::openDocument(tinyFont());
    test::TempDir dir;
    EXPECT_EQ(test::outcome([&] { exportElement(doc, kExport4bpp, dir.path()); }),
              "File save error");
    EXPECT_EQ(test::outcome([&] { exportElement(doc, kExport8bpp, dir.file("no") / "e.bmp"); }),
              "File save error");
    EXPECT_TRUE(dir.entries().empty());
}

TEST(ToBmpPalette, ChannelsAreShiftedLevels) {
    const GeoDocument doc = test::openDocument(tinyFont());
    const ElementPalette p = toBmpPalette(doc, 0);
    EXPECT_EQ(p[0], (RgbQuad{}));
    EXPECT_EQ(p[1], (RgbQuad{248, 248, 248, 0}));
    EXPECT_EQ(p[2], (RgbQuad{0, 0, 248, 0}));
    EXPECT_EQ(p[3], (RgbQuad{0, 248, 0, 0}));
    EXPECT_EQ(p[4], (RgbQuad{248, 0, 0, 0}));
    EXPECT_EQ(p[5], (RgbQuad{8, 8, 8, 0}));
}

TEST(ToBmpPalette, RecordsPastTheFileReadAsBlack) {
    const GeoDocument doc = test::openDocument(tinyFont());
    EXPECT_EQ(toBmpPalette(doc, 5000), ElementPalette{});
    EXPECT_EQ(toBmpPalette(doc, 0xFFFFFFFFu), ElementPalette{});
}

TEST(ElementPixelOffset, HalvesThePositionAndSkipsThePictureLead) {
    const GeoDocument doc = test::openDocument(tinyFont());
    ASSERT_EQ(doc.pictureOffset, 24u);
    EXPECT_EQ(doc.elementPixelOffset(0xFF000203u), 0x0203u / 2 + 24 + 12);
}

}  // namespace
}  // namespace zt9
