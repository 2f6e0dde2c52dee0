#include "errors/error.h"

#include <gtest/gtest.h>

namespace zt9 {
namespace {

TEST(MessageText, EachRecordShowsTheTextOfItsHighestCondition) {
    // Fields: domain, code, wrongType, unsupported, paletteError, notTransparent, sizeError,
    // elementError, elementIndex, message; domain 1 is BMP, 2 GEO. Going down, each row
    // of a domain sets one more condition of a higher priority; the element numbers also show
    // formatDecimal at work. \312 (0xCA) is the Cyrillic capital Ka, code page 1251.
    const std::pair<error, const char*> cases[] = {
        {{1, 0, 0, 0, 3, 0, 4, 0, 0, ""}, "<none>"},
        {{1, 0, 0, 0, 3, 1, 4, 0, 0, ""}, "Last color in the palette is not a transparent"},
        {{1, 0, 0, 0, 3, 1, 3, 0, 0, ""}, "Image hight is too large"},
        {{1, 0, 0, 0, 3, 1, 2, 0, 0, ""}, "Image width is too large"},
        {{1, 0, 0, 0, 3, 1, 1, 0, 0, ""}, "Image size is too large"},
        {{1, 0, 0, 0, 2, 1, 1, 0, 0, ""}, "Palette size is not 16 or 256 colors"},
        {{1, 0, 0, 0, 1, 1, 1, 0, 0, ""}, "Palette size is not 16 colors"},
        {{1, 0, 0, 1, 1, 1, 1, 0, 0, ""}, "No support BMP format"},
        {{1, 0, 1, 1, 1, 1, 1, 0, 0, ""}, "Has been opened not BMP file"},
        {{2, 0, 0, 0, 0, 0, 1, 0, 12, ""}, "<none>"},
        {{2, 0, 0, 0, 7, 0, 1, 0, 1000, ""}, "Element 1000 palette color out of file"},
        {{2, 0, 0, 0, 7, 0, 1, 2, 1000, ""}, "Element 1000 size out of picture"},
        {{2, 0, 0, 0, 7, 0, 1, 1, 12, ""}, "Too much elements"},
        {{2, 0, 0, 1, 7, 0, 1, 1, 12, ""}, "No support GEO format"},
        {{2, 0, 1, 1, 7, 0, 1, 1, 12, ""}, "Has been opened not GEO file"},
        {{2, 0, 0, 0, 0, 0, 0, 2, -3, ""}, "Element -3 size out of picture"},
        {{2, 0, 0, 0, 0, 0, 0, 2, INT32_MAX, ""}, "Element 2147483647 size out of picture"},
        {{2, 0, 0, 0, 0, 0, 0, 2, INT32_MIN, ""}, "Element -2147483648 size out of picture"},
        // The conditions have no meaning outside the BMP and GEO domains.
        {{0, 1, 1, 0, 1, 0, 0, 0, 0, ""}, "File load error"},
        {{5, 2, 1, 0, 1, 0, 0, 0, 0, "x"}, "File save error"},
        {{-1, 0, 1, 0, 1, 0, 0, 0, 0, "x"}, "Unknow error"},
        {{3, 7, 1, 0, 1, 0, 0, 0, 0, "x"}, "Unknow error"},
        {{-1, 4, 1, 0, 1, 0, 0, 0, 0, text::kGeoTooSmall}, "File size less than 31 \312b"},
        {{0, 3, 0, 0, 0, 0, 0, 0, 0, text::kBmpTooLarge}, "File size more than 61 \312b"},
        {{0, 4, 0, 0, 0, 0, 0, 0, 0, text::kBmpTooSmall}, "File size less than 122 b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messageText(c.first).value_or("<none>"), c.second) << "row " << &c - cases;
}

}  // namespace
}  // namespace zt9
