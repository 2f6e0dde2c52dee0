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
    auto& e = b.elements.emplace_back();
    std::tie(e.x, e.width, e.height) = std::tuple(1u, 3u, 1u);
    e.colors = {0x0001, 0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x8421};
    e.paletteFlags = 0xFFFFFFFF;
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

TEST(ExportBytes, TinyElementInBothDepths) {
    const GeoDocument doc = test::openDocument(tinyFont());
    // Bottom row first; 4 bits: left pixel high. The neighbour of the odd width lands in
    // the padding.
    EXPECT_EQ(exportElementBytes(doc, kExport4bpp),
              tinyFile(4, {0xEF, 0xD3, 0, 0, 0x01, 0x24, 0, 0}));
    EXPECT_EQ(exportElementBytes(doc, kExport8bpp), tinyFile(8, {14, 15, 13, 3, 0, 1, 2, 4}));
}

TEST(ExportBytes, FileSizesAndStrides) {
    // Width, rows, bits per pixel and size: strides 4, 8, 4, 8 and 8 bytes.
    const std::uint32_t cases[][4] = {
        {7, 10, 4, 158}, {7, 10, 8, 198}, {3, 1, 8, 122}, {5, 1, 8, 126}, {9, 1, 4, 126}};
    for (const auto& [width, rows, bits, size] : cases) {
        const GeoDocument doc = test::openDocument(test::GeoBuilder::grid(1, width, rows - 1));
        const Bytes file = exportElementBytes(doc, bits == 4 ? kExport4bpp : kExport8bpp);
        EXPECT_EQ(std::tuple(file.size(), readU32(file, 2), readU32(file, 34)),
                  std::tuple(std::size_t{size}, size, size - 118))
            << width << " " << bits;
    }
}

TEST(ExportBytes, OtherModesWriteNothing) {
    const GeoDocument doc = test::openDocument(tinyFont());
    test::TempDir dir;
    for (const int mode : {0, 3, -1}) {
        exportElement(doc, mode, dir.file("e.bmp"));
        EXPECT_TRUE(exportElementBytes(doc, mode).empty());
    }
    EXPECT_TRUE(dir.entries().empty());
}

// Colour 0 of grid fonts is the 15-bit colour 0, as the round trip needs.
TEST(ElementRoundTrip, ExportThenImportGivesTheElementBack) {
    for (const std::uint32_t width : {6u, 7u, 1u, 255u}) {
        const test::GeoBuilder font = test::GeoBuilder::grid(3, width, 3);
        const auto& loaded = font.elements[2];
        for (const int mode : {kExport8bpp, kExport4bpp}) {
            GeoDocument doc = test::openDocument(font);
            doc.currentElement = 2;
            FieldCode xCode{}, yCode{};
            importElement(doc, xCode, yCode, exportElementBytes(doc, mode));
            ASSERT_EQ(doc.importSlots[2].width, width);
            const Bytes saved = doc.buildSaveImage();
            Bytes got, want;  // the element's rectangle as saved and as built
            for (std::uint32_t i = 0; i < width * 4; ++i) {
                const std::uint32_t x = loaded.x + i % width, y = loaded.y + i / width;
                got.push_back(test::geoPixel(saved, doc.pictureOffset, x, y));
                want.push_back(font.pixel(x, y));
            }
            EXPECT_EQ(got, want) << "width " << width << " mode " << mode;
            for (std::size_t k = 0; k < 16; ++k)
                EXPECT_EQ(readU16(saved, doc.paletteOffset + 36 * 2 + 4 + 2 * k), loaded.colors[k])
                    << "colour " << k << " width " << width << " mode " << mode;
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
    Bytes pixels;
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
