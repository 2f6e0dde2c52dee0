// An element's present picture as its own image, and palette entries at the file's precision.

#include <gtest/gtest.h>

#include "document/element_image.h"
#include "document/pixel_edit.h"
#include "support/pixel_rows.h"
#include "support/test_util.h"

namespace zt9::test {
namespace {

// Element 0 is loaded 3 x 2 at (4, 2), element 1 at the odd x 5 over the same pixels (read
// from the byte that holds x, as the view does), in a painted picture. Each case sets
// element 0's x, y, width and height: as loaded, moved, lower, narrower, wider, higher.
TEST(ElementImage, PresentPictureIsTheLoadedPlaceResizedAndColorsKeepTheFilePrecision) {
    GeoBuilder font{{GeoBuilder::layoutAt(4, 2, 3, 1), GeoBuilder::layoutAt(5, 2, 3, 1)}};
    font.elements[0].colors = {0, 0x7FFF, 0x001F, 0x8421};
    const Bytes painted = imageFromRows(6, "123456/789abc/def123").pixels;  // rows of 3 bytes
    for (std::ptrdiff_t row = 0; row < 3; ++row)                            // from (4, 2) on
        std::copy_n(painted.begin() + 3 * row, 3, font.pixels.begin() + 128 * (2 + row) + 2);
    GeoDocument doc = openDocument(font);
    using I = std::int32_t;
    const std::tuple<I, I, I, I, std::string> cases[] = {{4, 2, 3, 1, "1234/789a"},
                                                         {100, 50, 3, 1, "1234/789a"},
                                                         {4, 2, 2, 0, "12"},
                                                         {4, 2, 1, 1, "12/78"},
                                                         {4, 2, 4, 1, "1230/7890"},
                                                         {4, 2, 0, 0, ""},
                                                         {4, 2, 5, 2, "123000/789000/000000"}};
    for (const auto& [x, y, width, height, rows] : cases) {
        doc.configs[0] = {x, y, width, height};
        ImportSlot expected = imageFromRows(static_cast<std::uint32_t>(width), rows);
        expected.colors = {0, 0xF8F8F8, 0x0000F8, 0x080808};  // not imported, not drawn
        EXPECT_EQ(presentImage(doc, 0), expected) << rows;
    }
    EXPECT_EQ(rowsOf(presentImage(doc, 1)), "1234/789a");
    doc.importSlots[1] = imageFromRows(1, "21");
    doc.importSlots[1].imported = 1;
    EXPECT_EQ(presentImage(doc, 1), doc.importSlots[1]);
    EXPECT_EQ(presentImage(doc, 2), ImportSlot{});
    EXPECT_THROW(makeOwnImage(doc, 2), std::out_of_range);

    // Each channel is stored at 5 bits as a save rounds it, and kept as a reload shows it.
    ImportSlot image;
    for (const auto& [chosen, stored] : {std::pair(0xFFFFFFu, 0xF8F8F8u),
                                         {0x070707u, 0x080808u},
                                         {0x0000F9u, 0x0000F8u},
                                         {0x100001u, 0x100008u},
                                         {0u, 0u},
                                         {0x01FF80u, 0x08F880u}}) {
        image.colors[3] = 0x123456;
        EXPECT_TRUE(setPaletteEntry(image, 3, chosen));
        EXPECT_EQ(image.colors[3], stored) << std::hex << chosen;
        EXPECT_FALSE(setPaletteEntry(image, 3, stored) || setPaletteEntry(image, 16, 0));
    }
}

}  // namespace
}  // namespace zt9::test
