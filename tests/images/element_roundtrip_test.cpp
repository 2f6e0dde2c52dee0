#include <gtest/gtest.h>

#include "document/byte_io.h"
#include "image_test_util.h"
#include "images/element_export.h"
#include "images/element_import.h"
#include "support/bmp_builder.h"

namespace zt9 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Export then import gives back the element's indices and (15-bit) colours, both depths,
// odd and even widths, as long as colour 0 is black.
TEST(ElementRoundTrip, ExportThenImportGivesTheElementBack) {
    for (std::uint32_t width : {6u, 7u, 1u, 255u}) {
        for (int mode : {kExport8bpp, kExport4bpp}) {
            const std::uint32_t height = width == 255 ? 3 : 4;
            const test::GeoBuilder font = test::GeoBuilder::grid(3, width, height);
            GeoDocument doc = test::openDocument(font);
            const std::uint32_t element = width == 255 ? 2 : 1;
            doc.currentElement = element;
            const test::ElementSpec& loaded = font.elements[element];
            ASSERT_EQ(loaded.colors[0], 0);

            FieldCode xCode{}, yCode{};
            ASSERT_TRUE(importElement(doc, xCode, yCode, exportElementBytes(doc, mode)));
            const ImportSlot& slot = doc.importSlots[element];
            EXPECT_EQ(slot.width, width);
            EXPECT_EQ(slot.height, height);
            const std::size_t rowBytes = (width + 1) / 2;
            ASSERT_EQ(slot.pixels.size(), rowBytes * (height + 1));
            for (std::uint32_t r = 0; r <= height; ++r) {
                for (std::uint32_t c = 0; c < width; ++c) {
                    const std::uint8_t byte = slot.pixels[r * rowBytes + c / 2];
                    const std::uint8_t got = c % 2 == 0 ? byte & 15 : byte >> 4;
                    ASSERT_EQ(got, font.pixel(loaded.x + c, loaded.y + r))
                        << "width " << width << " mode " << mode << " at " << c << "," << r;
                }
                if (width % 2 == 1) {
                    EXPECT_EQ(slot.pixels[r * rowBytes + rowBytes - 1] >> 4, 0);
                }
            }
            // Saved colours are the element's own 15-bit colours again.
            const Bytes saved = doc.buildSaveImage();
            const std::size_t record = doc.paletteOffset + 36 * element + 4;
            for (std::size_t k = 0; k < 16; ++k)
                EXPECT_EQ(readU16(saved, record + 2 * k), loaded.colors[k]) << k;
        }
    }
}

TEST(ElementRoundTrip, ColourZeroThatIsNotBlackCannotComeBack) {
    test::GeoBuilder font = test::GeoBuilder::grid(1);
    font.elements[0].colors[0] = 0x0001;
    GeoDocument doc = test::openDocument(font);
    const Bytes file = exportElementBytes(doc, kExport4bpp);
    EXPECT_EQ(Bytes(file.begin() + 114, file.begin() + 118), (Bytes{0, 0, 8, 0}));
    FieldCode xCode{}, yCode{};
    EXPECT_EQ(test::outcome([&] { importElement(doc, xCode, yCode, file); }),
              test::kNotTransparent);
}

// Importing then saving writes the imported pixels at the element's place, the new place
// word and the imported colours as 15-bit values.
TEST(ElementRoundTrip, ImportThenSave) {
    GeoDocument doc = test::openDocument(test::GeoBuilder::grid(2, 6, 4));
    doc.currentElement = 1;  // at x 6, y 0
    test::BmpBuilder bmp(3, 2, 4);
    bmp.withDistinctPalette().setEntry(0, 255, 8, 0);
    bmp.setIndex(0, 0, 0).setIndex(1, 0, 1).setIndex(2, 0, 14);
    bmp.setIndex(0, 1, 15).setIndex(1, 1, 2).setIndex(2, 1, 3);
    FieldCode xCode{}, yCode{};
    ASSERT_TRUE(importElement(doc, xCode, yCode, bmp.build()));

    const Bytes saved = doc.buildSaveImage();
    EXPECT_EQ(readU32(saved, 24 + 16 * 1), 0x01030006u);  // height 1, width 3, y 0, x 6
    const std::uint32_t p = doc.pictureOffset;
    const std::uint8_t row0[3] = {1, 2, 15};
    const std::uint8_t row1[3] = {0, 3, 4};
    for (std::uint32_t c = 0; c < 3; ++c) {
        EXPECT_EQ(test::geoPixel(saved, p, 6 + c, 0), row0[c]) << c;
        EXPECT_EQ(test::geoPixel(saved, p, 6 + c, 1), row1[c]) << c;
    }
    const std::size_t record = doc.paletteOffset + 36 * 1 + 4;
    EXPECT_EQ(readU16(saved, record + 0), 0x0000u);  // entry 15
    EXPECT_EQ(readU16(saved, record + 2), 0x003Fu);  // red 255, green 8, blue 0
    // Entry 14 of the builder's palette: red 46, green 30, blue 14 -> 6, 4, 2.
    EXPECT_EQ(readU16(saved, record + 30), 6u | 4u << 5 | 2u << 10);
}

}  // namespace
}  // namespace zt9
