// An element's present picture as its own image, palette entries at the file's precision,
// and saving what was converted.

#include <gtest/gtest.h>

#include "document/element_image.h"
#include "document/pixel_edit.h"
#include "support/pixel_rows.h"
#include "support/test_util.h"

namespace zt9::test {
namespace {

// Element 0 is loaded 3 x 2 at (4, 2), element 1 at the odd x 5 over the same pixels; the
// picture around them is painted, so every cut and fill shows. Each case sets element 0's
// configuration (x, y, width, height) before the conversion.
TEST(ElementImage, PresentPictureIsTheLoadedPlaceAtTheConfiguredSize) {
    GeoBuilder font;
    font.elements = {GeoBuilder::layoutAt(4, 2, 3, 1), GeoBuilder::layoutAt(5, 2, 3, 1)};
    font.elements[0].colors = {0, 0x7FFF, 0x001F, 0x8421};
    paintRows(font, 4, 2, {"123456", "789abc", "def123"});
    const GeoDocument loaded = openDocument(font);
    const struct {
        std::int32_t x, y, width, height;
        Rows rows;
    } cases[] = {
        {4, 2, 3, 1, {"123|4", "789|a"}},                 // as loaded
        {100, 50, 3, 1, {"123|4", "789|a"}},              // moved
        {4, 2, 2, 0, {"12"}},                             // narrower, lower
        {4, 2, 1, 1, {"1|2", "7|8"}},                     // narrower, odd
        {4, 2, 4, 1, {"1230", "7890"}},                   // wider, even
        {4, 2, 5, 2, {"12300|0", "78900|0", "00000|0"}},  // wider and higher
        {4, 2, 0, 0, {""}},                               // no columns
    };
    for (const auto& c : cases) {
        GeoDocument doc = loaded;
        doc.configs[0] = {c.x, c.y, c.width, c.height};
        const ImportSlot image = presentImage(doc, 0);
        EXPECT_EQ(rowsOf(image), c.rows) << c.x << ' ' << c.width << ' ' << c.height;
        EXPECT_EQ(image.colors, (Palette16{0, 0xF8F8F8, 0x0000F8, 0x080808}));
        EXPECT_EQ(image.imported + image.drawn, 0);
    }
    // An odd x is read from the byte that holds it, as the view shows it.
    EXPECT_EQ(rowsOf(presentImage(loaded, 1)), (Rows{"123|4", "789|a"}));
    GeoDocument doc = loaded;
    doc.importSlots[1] = {1, {0x21}, {}, 1, 0};
    EXPECT_EQ(presentImage(doc, 1), doc.importSlots[1]);
    EXPECT_EQ(presentImage(doc, 2), ImportSlot{});
    EXPECT_THROW(makeOwnImage(doc, 2), std::out_of_range);
}

// Converted unchanged, every element of an odd width saves back to the loaded bytes, the
// neighbour pixel in each row's pad nibble included; one drawn pixel changes one nibble.
TEST(ElementImage, ConvertedElementsSaveAsLoaded) {
    GeoBuilder font = GeoBuilder::grid(6, 7, 3);
    for (const ElementLayout& e : font.elements)
        for (std::uint32_t r = 0; r <= e.height; ++r)
            font.setPixel(e.x + 7, e.y + r, 9);
    const std::vector<std::uint8_t> bytes = font.build();
    GeoDocument doc = openDocument(font);
    for (std::uint32_t i = 0; i < doc.elementCount; ++i)
        EXPECT_EQ(makeOwnImage(doc, i).imported + doc.importSlots[i].drawn, 2);
    EXPECT_EQ(doc.buildSaveImage(), bytes);

    const ElementLayout& e = font.elements[4];
    EXPECT_TRUE(setPixel(makeOwnImage(doc, 4), 6, 3, 12));
    std::vector<std::uint8_t> saved = doc.buildSaveImage();
    const std::uint32_t p = doc.pictureOffset;
    EXPECT_EQ(geoPixel(saved, p, e.x + 6, e.y + 3), 12);
    font.setPixel(e.x + 6, e.y + 3, 12);
    EXPECT_EQ(saved, font.build());
}

// Each channel is stored at 5 bits as a save rounds it, and kept as a reload shows it.
TEST(ElementImage, PaletteEntriesKeepTheFilePrecision) {
    ImportSlot image;
    const std::uint32_t cases[][2] = {{0xFFFFFF, 0xF8F8F8}, {0x070707, 0x080808},
                                      {0x0000F9, 0x0000F8}, {0x100001, 0x100008},
                                      {0x000000, 0x000000}, {0x01FF80, 0x08F880}};
    for (const auto& [chosen, stored] : cases) {
        image.colors[3] = 0x123456;
        EXPECT_TRUE(setPaletteEntry(image, 3, chosen));
        EXPECT_EQ(image.colors[3], stored) << std::hex << chosen;
        EXPECT_FALSE(setPaletteEntry(image, 3, stored));
    }
    EXPECT_FALSE(setPaletteEntry(image, 16, 0xFFFFFF));
}

}  // namespace
}  // namespace zt9::test
