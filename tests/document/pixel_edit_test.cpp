// Lines, fills and single pixels on an element's own image, against grids of hex digits.

#include <gtest/gtest.h>

#include "document/pixel_edit.h"
#include "support/pixel_rows.h"

namespace zt9::test {
namespace {

constexpr std::int32_t kMin = INT32_MIN;
constexpr std::int32_t kMax = INT32_MAX;
using Case =
    std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::string, PixelRect>;

// On a 7 x 4 image with pads f: gap-free, both ends, halfway points forward, far-outside
// ends walked only inside, pads never reached. Drawn again, or with index 16, nothing.
TEST(PixelEdit, LinesLeaveNoGapsAndStayInsideTheImage) {
    const std::string blank = "0000000f/0000000f/0000000f/0000000f";
    for (const auto& [x0, y0, x1, y1, rows, changed] :
         {Case{0, 0, 6, 2, "1100000f/0011100f/0000011f/0000000f", {0, 0, 7, 3}},
          Case{1, 3, 2, 0, "0010000f/0010000f/0100000f/0100000f", {1, 0, 3, 4}},
          Case{3, 2, 3, 2, "0000000f/0000000f/0001000f/0000000f", {3, 2, 4, 3}},
          Case{-2000, -1000, 2000, 1000, "1000000f/0110000f/0001100f/0000011f", {0, 0, 7, 4}},
          Case{kMin, kMin, kMax, kMax, "1000000f/0100000f/0010000f/0001000f", {0, 0, 4, 4}},
          Case{kMax, 2, kMin, 2, "0000000f/0000000f/1111111f/0000000f", {0, 2, 7, 3}},
          Case{-5, 0, 0, -5, blank, {}}}) {
        ImportSlot image = imageFromRows(7, blank);
        EXPECT_EQ(drawLine(image, x0, y0, x1, y1, 1), changed) << rows;
        EXPECT_TRUE(drawLine(image, x0, y0, x1, y1, 1).empty());
        EXPECT_TRUE(drawLine(image, x0, y0, x1, y1, 16).empty());
        EXPECT_EQ(rowsOf(image), rows);
    }
}

// Fills take 4-connected areas through odd shapes (width, x, y, index, before and after),
// never across a diagonal, never into a pad that holds the area's index. Reads outside the
// image, or past what its buffer holds, say so; writes there, fills from there, with index 16
// or of the same index do nothing.
TEST(PixelEdit, FillsTakeTheFourConnectedAreaAndOutsideOrUnchangedPixelsWriteNothing) {
    const std::string maze = "11111110/10001010/10101010/10100010/11111010";
    for (const auto& [width, x, y, index, rows, changed] :
         {Case{7, 1, 1, 2, maze + "|11111110/12221210/12121210/12122210/11111210", {1, 1, 6, 5}},
          Case{7, 6, 4, 4, maze + "|44444440/40004040/40404040/40400040/44444040", {0, 0, 7, 5}},
          Case{3, 0, 0, 7, "0000/0100|7770/7170", {0, 0, 3, 2}},
          Case{4, 0, 0, 3, "0010/0100/1000/0001|3310/3100/1000/0001", {0, 0, 2, 2}},
          Case{4, 3, 3, 5, "0010/0100/1000/0001|0010/0100/1000/0005", {3, 3, 4, 4}}}) {
        const std::size_t bar = rows.find('|');
        ImportSlot image = imageFromRows(static_cast<std::uint32_t>(width), rows.substr(0, bar));
        EXPECT_EQ(floodFill(image, x, y, static_cast<std::uint8_t>(index)), changed) << rows;
        EXPECT_EQ(rowsOf(image), rows.substr(bar + 1));
    }
    ImportSlot image = imageFromRows(3, "1234/5678");
    EXPECT_EQ(pixelAt(image, 2, 1), 7);
    EXPECT_TRUE(setPixel(image, 2, 0, 9));
    EXPECT_FALSE(setPixel(image, 2, 0, 9) || setPixel(image, 0, 0, 16) ||
                 !floodFill(image, 0, 0, 1).empty() || !floodFill(image, 1, 0, 16).empty());
    image.pixels.resize(3);  // the second row is cut short
    for (const auto& [x, y] : {std::pair(3, 0), {-1, 0}, {0, 1}, {0, -1}, {kMin, kMax}})
        EXPECT_FALSE(pixelAt(image, x, y) || setPixel(image, x, y, 9) ||
                     !floodFill(image, x, y, 9).empty());
    EXPECT_EQ(rowsOf(image), "1294/56");
}

}  // namespace
}  // namespace zt9::test
