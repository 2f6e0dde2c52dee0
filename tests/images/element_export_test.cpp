// Writing elements as BMP files, and export, import and save working together.

#include <gtest/gtest.h>

#include "document/element_image.h"
#include "document/pixel_edit.h"
#include "images/element_export.h"
#include "images/element_image_format.h"
#include "images/import_fixtures.h"
#include "support/temp_dir.h"

namespace zt9::test {
namespace {

// The file of a 3 x 2 element in either depth, with its palette size field and its 8 pixel
// bytes, no resolution: entries 0 to 4 are colours 1 to 5 (bit 15 ignored), colours 6 to 15
// are black and colour 0 (red 1) is entry 15.
Bytes tinyBmp(std::uint16_t bits, std::uint32_t used, const Bytes& pixels) {
    Bmp b(3, 2, bits);
    b.palette = {{248, 248, 248, 0}, {0, 0, 248, 0}, {0, 248, 0, 0}, {248, 0, 0, 0}, {8, 8, 8, 0}};
    b.setEntry(15, 8, 0, 0).clrUsed = used, b.stream = pixels;
    Bytes file = b.build();
    putLE(file, 38, 0), putLE(file, 42, 0);
    return file;
}

// One element 3 x 2 at (1, 0). An odd x is exported from column x - 1, so the file shows
// columns 0 to 2: row 0 is 1, 2, 3 with neighbour 5, row 1 is 15, 0, 14 with neighbour 4
// (low nibble left). Colour 0 is not black, so that its place in the palette shows, and the
// palette record announces 256 colours (every flag bit set): only the first 16 count. The
// file has the bottom row first, in 4 bits the left pixel high, and the neighbour of the
// odd width in the padding. Other modes write nothing.
TEST(ExportBytes, TinyElementInBothDepthsAndNothingInOtherModes) {
    GeoBuilder font{{{.x = 1, .width = 3, .height = 1, .paletteFlags = 0xFFFFFFFF}}};
    font.elements[0].colors = {0x0001, 0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x8421};
    font.pixels[0] = 0x21, font.pixels[1] = 0x53, font.pixels[128] = 0x0F, font.pixels[129] = 0x4E;
    const GeoDocument doc = openDocument(font);
    EXPECT_EQ(exportElementBytes(doc, kExport4bpp),
              tinyBmp(4, 0, {0xEF, 0xD3, 0, 0, 1, 0x24, 0, 0}));
    EXPECT_EQ(exportElementBytes(doc, kExport8bpp), tinyBmp(8, 16, {14, 15, 13, 3, 0, 1, 2, 4}));
    TempDir dir;
    for (const int mode : {0, 3, -1})
        exportElement(doc, mode, dir.file("e.bmp"));
    EXPECT_TRUE(dir.entries().empty() && exportElementBytes(doc, 3).empty());
    EXPECT_EQ(outcome([&] { exportElement(doc, kExport4bpp, dir.path()); }), "File save error");
}

// Export then import gives the loaded element back: the saved file is the loaded one
// (colour 0 of grid fonts is the 15-bit colour 0, as the round trip needs). Each case is
// a width and the file sizes for 10 rows in 4 and 8 bits: 118 bytes, then rows padded
// to 4 bytes. Moved afterwards, the element still exports as loaded. Copied as loaded (odd
// widths with their empty right neighbour in the padding nibble), its DIB is the 4-bit export
// after the 14-byte file header, and our own format pasted back saves the loaded file too.
TEST(ElementRoundTrip, ExportThenImportAndCopyThenPasteGiveTheElementBack) {
    const std::uint32_t cases[][3] = {
        {7, 158, 198}, {6, 158, 198}, {9, 198, 238}, {1, 158, 158}, {255, 1398, 2678}};
    for (const auto& [width, size4, size8] : cases) {
        const GeoBuilder font = GeoBuilder::grid(3, width, 9);
        GeoDocument loaded = openDocument(font, 2);
        for (const auto& [mode, size] : {std::pair(kExport4bpp, size4), {kExport8bpp, size8}}) {
            SCOPED_TRACE(testing::Message() << "width " << width << " mode " << mode);
            GeoDocument doc = loaded;
            const Bytes file = exportElementBytes(doc, mode);
            EXPECT_EQ(file.size(), size);
            // A copy is the 4-bit export without its file header.
            EXPECT_TRUE(mode != kExport4bpp ||
                        copyAsDib(presentImage(loaded, 2)) == Bytes(file.begin() + 14, file.end()));
            ASSERT_EQ(import(doc, file), kAccepted);
            EXPECT_EQ(doc.buildSaveImage(), font.build());
            doc.configs[2].y = 40;
            EXPECT_EQ(exportElementBytes(doc, mode), file);
        }
        ASSERT_EQ(paste(loaded, true, encodeElementImage(presentImage(loaded, 2))), kAccepted);
        EXPECT_EQ(loaded.buildSaveImage(), font.build());
    }
}

// Element 1 drawn on (a line running out of it, a fill, two palette entries) saves like its
// twin imported from a BMP with the same pixels and palette (colour 2 as chosen, which the
// save rounds), and exports as it does after a save and a reload.
// The twin exports as loaded until it is drawn on, and again after a new import.
TEST(DrawnElement, SavesLikeItsImportedTwinAndExportsItsOwnImage) {
    GeoDocument drawn = openDocument(GeoBuilder::grid(3, 6, 4), 1);
    GeoDocument twin = drawn;
    const GeoDocument loaded = drawn;
    ImportSlot& image = makeOwnImage(drawn, 1);
    drawLine(image, -3, 4, 9, 0, 14);
    floodFill(image, 0, 0, 0);
    setPaletteEntry(image, 2, 0xF17B05);
    setPaletteEntry(image, 15, 0x123456);
    Bmp bmp(6, 5, 4);
    for (std::uint32_t k = 0; k < 16; ++k) {  // palette entry k, and for k < 6 column k
        const std::uint32_t c = k == 1 ? 0xF17B05 : image.colors[elementIndexFromBmp(k)];
        bmp.setEntry(k, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        for (std::uint32_t y = 0; y < 5 && k < 6; ++y)
            bmp.setIndex(k, y, bmpIndexFromElement(pixelAt(image, k, y).value()));
    }
    ASSERT_EQ(import(twin, bmp.build()), kAccepted);
    EXPECT_EQ(drawn.buildSaveImage(), twin.buildSaveImage());

    GeoDocument reloaded;
    openFont(reloaded, drawn.buildSaveImage());
    reloaded.currentElement = 1;
    for (const int mode : {kExport4bpp, kExport8bpp}) {
        const Bytes expected = exportElementBytes(reloaded, mode);
        EXPECT_EQ(exportElementBytes(drawn, mode), expected);
        GeoDocument other = twin;
        EXPECT_EQ(exportElementBytes(other, mode), exportElementBytes(loaded, mode));
        makeOwnImage(other, 1);
        EXPECT_EQ(exportElementBytes(other, mode), expected);
        ASSERT_EQ(import(other, bmp.build()), kAccepted);
        EXPECT_EQ(exportElementBytes(other, mode), exportElementBytes(loaded, mode));
    }
}

}  // namespace
}  // namespace zt9::test
