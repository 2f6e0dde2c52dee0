// Writing elements as BMP files, and export, import and save working together.

#include <gtest/gtest.h>

#include "document/byte_io.h"
#include "images/element_export.h"
#include "images/element_import.h"
#include "support/bmp_builder.h"
#include "support/temp_dir.h"
#include "support/test_util.h"

namespace zt9 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// One element 3 x 2 at (1, 0). An odd x is exported from column x - 1, so the file shows
// columns 0 to 2: row 0 is 1, 2, 3 with neighbour 5, row 1 is 15, 0, 14 with neighbour 4.
// Colour 0 is not black, so that its place in the palette shows, and the palette record
// announces 256 colours (every flag bit set): only the first 16 count.
test::GeoBuilder tinyFont() {
    test::GeoBuilder b;
    b.elements = {{.x = 1, .width = 3, .height = 1, .paletteFlags = 0xFFFFFFFF}};
    b.elements[0].colors = {0x0001, 0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x8421};
    const std::uint8_t rows[2][4] = {{1, 2, 3, 5}, {15, 0, 14, 4}};
    for (std::uint32_t c = 0; c < 8; ++c)
        b.setPixel(c % 4, c / 4, rows[c / 4][c % 4]);
    return b;
}

Bytes tinyFile(std::uint8_t bits, std::initializer_list<std::uint8_t> pixels) {
    const std::uint8_t used = bits == 8 ? 16 : 0;
    Bytes file = {'B', 'M', 126, 0, 0, 0, 0, 0, 0, 0, 118, 0, 0, 0,    // size, pixels at 118
                  40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, bits, 0,  // 3 x 2, 1 plane
                  0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,      // 8 pixel bytes
                  used, 0, 0, 0, used, 0, 0, 0,
                  // Entries 0 to 4 are colours 1 to 5 (blue, green, red, 0); bit 15 is ignored.
                  248, 248, 248, 0, 0, 0, 248, 0, 0, 248, 0, 0, 248, 0, 0, 0, 8, 8, 8, 0};
    file.resize(54 + 60);                   // colours 6 to 15 are black
    file.insert(file.end(), {0, 0, 8, 0});  // colour 0 (red 1) is entry 15
    file.insert(file.end(), pixels);
    return file;
}

TEST(ExportBytes, TinyElementInBothDepthsAndNothingInOtherModes) {
    const GeoDocument doc = test::openDocument(tinyFont());
    // Bottom row first; 4 bits: left pixel high. The neighbour of the odd width lands in
    // the padding.
    EXPECT_EQ(exportElementBytes(doc, kExport4bpp),
              tinyFile(4, {0xEF, 0xD3, 0, 0, 0x01, 0x24, 0, 0}));
    EXPECT_EQ(exportElementBytes(doc, kExport8bpp), tinyFile(8, {14, 15, 13, 3, 0, 1, 2, 4}));
    test::TempDir dir;
    for (const int mode : {0, 3, -1}) {
        exportElement(doc, mode, dir.file("e.bmp"));
        EXPECT_TRUE(exportElementBytes(doc, mode).empty());
    }
    EXPECT_TRUE(dir.entries().empty());
}

// Export then import gives the loaded element back: the saved file is the loaded one
// (colour 0 of grid fonts is the 15-bit colour 0, as the round trip needs). Each case is
// a width and the file sizes for 10 rows in 4 and 8 bits: 118 bytes, then rows padded
// to 4 bytes.
TEST(ElementRoundTrip, ExportThenImportGivesTheElementBack) {
    const std::uint32_t cases[][3] = {
        {7, 158, 198}, {6, 158, 198}, {9, 198, 238}, {1, 158, 158}, {255, 1398, 2678}};
    for (const auto& [width, size4, size8] : cases) {
        const test::GeoBuilder font = test::GeoBuilder::grid(3, width, 9);
        for (const auto& [mode, size] : {std::pair(kExport4bpp, size4), {kExport8bpp, size8}}) {
            GeoDocument doc = test::openDocument(font);
            doc.currentElement = 2;
            const Bytes file = exportElementBytes(doc, mode);
            EXPECT_EQ(std::tuple(file.size(), readU32(file, 2), readU32(file, 34)),
                      std::tuple(std::size_t{size}, size, size - 118));
            FieldCode xCode{}, yCode{};
            importElement(doc, xCode, yCode, file);
            ASSERT_EQ(doc.importSlots[2].width, width);
            EXPECT_EQ(doc.buildSaveImage(), font.build()) << "width " << width << " mode " << mode;
        }
    }
}

// Importing then saving writes the imported pixels at the element's place, the new place
// word and the imported colours as 15-bit values; an export still shows the loaded element.
TEST(ElementRoundTrip, ImportThenSaveAndExport) {
    GeoDocument doc = test::openDocument(test::GeoBuilder::grid(2, 6, 4));
    doc.currentElement = 1;  // at x 6, y 0
    const Bytes four = exportElementBytes(doc, kExport4bpp);
    const Bytes eight = exportElementBytes(doc, kExport8bpp);
    test::BmpBuilder bmp(3, 2, 4);
    bmp.withDistinctPalette().setEntry(0, 255, 8, 0).indices = {0, 1, 14, 15, 2, 3};
    FieldCode xCode{}, yCode{};
    ASSERT_TRUE(importElement(doc, xCode, yCode, bmp.build()));

    const Bytes saved = doc.buildSaveImage();
    EXPECT_EQ(readU32(saved, 24 + 16), 0x01030006u);  // height 1, width 3, y 0, x 6
    Bytes pixels;                                     // rows 1, 2, 15 and 0, 3, 4 from (6, 0)
    for (std::uint32_t c = 0; c < 6; ++c)
        pixels.push_back(test::geoPixel(saved, doc.pictureOffset, 6 + c % 3, c / 3));
    EXPECT_EQ(pixels, (Bytes{1, 2, 15, 0, 3, 4}));
    // Colour 0 is entry 15; colour 1 (red 255, green 8, blue 0) 0x003F; colour 15 (red 46,
    // green 30, blue 14) levels 6, 4, 2.
    const std::size_t at = doc.paletteOffset + 36 + 4;
    EXPECT_EQ(std::tuple(readU16(saved, at), readU16(saved, at + 2), readU16(saved, at + 30)),
              std::tuple(0x0000, 0x003F, 6 | 4 << 5 | 2 << 10));
    std::int32_t out = 0;
    doc.setY(40, out);
    EXPECT_EQ(exportElementBytes(doc, kExport4bpp), four);
    EXPECT_EQ(exportElementBytes(doc, kExport8bpp), eight);
}

}  // namespace
}  // namespace zt9
