// Lines, fills and single pixels on an element's own image, against grids of hex digits.

#include <gtest/gtest.h>

#include <limits>

#include "document/pixel_edit.h"
#include "support/pixel_rows.h"

namespace zt9::test {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// A 7 x 4 image whose pad nibbles are f: a line never reaches them.
TEST(PixelEdit, LinesLeaveNoGapsAndStayInsideTheImage) {
    const struct {
        std::int32_t x0, y0, x1, y1;
        Rows rows;
        PixelRect changed;
    } cases[] = {
        {0, 0, 6, 2, {"1100000|f", "0011100|f", "0000011|f", "0000000|f"}, {0, 0, 7, 3}},
        {1, 3, 2, 0, {"0010000|f", "0010000|f", "0100000|f", "0100000|f"}, {1, 0, 3, 4}},
        {3, 2, 3, 2, {"0000000|f", "0000000|f", "0001000|f", "0000000|f"}, {3, 2, 4, 3}},
        // Far outside ends: only the part inside is walked, halfway points go forward.
        {-2000,
         -1000,
         2000,
         1000,
         {"1000000|f", "0110000|f", "0001100|f", "0000011|f"},
         {0, 0, 7, 4}},
        {kMin,
         kMin,
         kMax,
         kMax,
         {"1000000|f", "0100000|f", "0010000|f", "0001000|f"},
         {0, 0, 4, 4}},
        {kMax, 2, kMin, 2, {"0000000|f", "0000000|f", "1111111|f", "0000000|f"}, {0, 2, 7, 3}},
        {-5, 0, 0, -5, {"0000000|f", "0000000|f", "0000000|f", "0000000|f"}, {}},
    };
    for (const auto& c : cases) {
        ImportSlot image = imageFromRows({"0000000|f", "0000000|f", "0000000|f", "0000000|f"});
        EXPECT_EQ(drawLine(image, c.x0, c.y0, c.x1, c.y1, 1), c.changed) << c.x0 << ',' << c.y0;
        EXPECT_EQ(rowsOf(image), c.rows) << c.x0 << ',' << c.y0;
        // The same line again, or an index past 15, changes nothing.
        EXPECT_TRUE(drawLine(image, c.x0, c.y0, c.x1, c.y1, 1).empty());
        EXPECT_TRUE(drawLine(image, c.x0, c.y0, c.x1, c.y1, 16).empty());
        EXPECT_EQ(rowsOf(image), c.rows);
    }
}

// Fills follow 4-connected areas of one index through odd shapes, never across a diagonal
// and never into the pad nibble, even when it holds the area's index.
TEST(PixelEdit, FillsTakeExactlyTheFourConnectedArea) {
    const Rows maze = {"1111111|0", "1000101|0", "1010101|0", "1010001|0", "1111101|0"};
    const Rows corner = {"0010", "0100", "1000", "0001"};
    const struct {
        Rows before;
        std::int32_t x, y;
        std::uint8_t index;
        Rows after;
        PixelRect changed;
    } cases[] = {
        {maze,
         1,
         1,
         2,
         {"1111111|0", "1222121|0", "1212121|0", "1212221|0", "1111121|0"},
         {1, 1, 6, 5}},
        {maze,
         6,
         4,
         4,
         {"4444444|0", "4000404|0", "4040404|0", "4040004|0", "4444404|0"},
         {0, 0, 7, 5}},
        {{"000|0", "010|0"}, 0, 0, 7, {"777|0", "717|0"}, {0, 0, 3, 2}},
        {corner, 0, 0, 3, {"3310", "3100", "1000", "0001"}, {0, 0, 2, 2}},
        {corner, 3, 3, 5, {"0010", "0100", "1000", "0005"}, {3, 3, 4, 4}},
        {corner, 2, 0, 1, corner, {}},
        {corner, 4, 0, 3, corner, {}},
        {corner, kMin, kMax, 3, corner, {}},
        {corner, 0, 0, 16, corner, {}},
    };
    for (const auto& c : cases) {
        ImportSlot image = imageFromRows(c.before);
        EXPECT_EQ(floodFill(image, c.x, c.y, c.index), c.changed) << c.x << ',' << c.y;
        EXPECT_EQ(rowsOf(image), c.after) << c.x << ',' << c.y;
    }
}

// One pixel: reads outside the image, or outside what its buffer holds, say so; writes
// there change nothing.
TEST(PixelEdit, SinglePixelsAreBoundsChecked) {
    ImportSlot image = imageFromRows({"123|4", "567|8"});
    EXPECT_EQ(pixelAt(image, 2, 1), 7);
    for (const auto& [x, y] : {std::pair(3, 0), {-1, 0}, {0, 2}, {0, -1}})
        EXPECT_EQ(pixelAt(image, x, y), std::nullopt) << x << ',' << y;
    EXPECT_TRUE(setPixel(image, 2, 0, 9));
    EXPECT_FALSE(setPixel(image, 2, 0, 9) || setPixel(image, 3, 0, 9) || setPixel(image, 0, 0, 16));
    image.pixels.resize(3);  // the second row is cut short
    EXPECT_FALSE(pixelAt(image, 0, 1) || setPixel(image, 0, 1, 9) ||
                 !floodFill(image, 0, 1, 9).empty());
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{0x21, 0x49, 0x65}));
}

}  // namespace
}  // namespace zt9::test
