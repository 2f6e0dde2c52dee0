#include "errors/error.h"

#include <gtest/gtest.h>

namespace zt9 {
namespace {

error bmp() {
    error e;
    e.domain = kDomainBmp;
    return e;
}

error geo() {
    error e;
    e.domain = kDomainGeo;
    return e;
}

TEST(MessageText, BmpConditionsInPriorityOrder) {
    error e = bmp();
    EXPECT_EQ(messageText(e), std::nullopt);
    e.notTransparent = 1;
    EXPECT_EQ(messageText(e), "Last color in the palette is not a transparent");
    e.sizeError = 3;
    EXPECT_EQ(messageText(e), "Image hight is too large");
    e.sizeError = 2;
    EXPECT_EQ(messageText(e), "Image width is too large");
    e.sizeError = 1;
    EXPECT_EQ(messageText(e), "Image size is too large");
    e.paletteError = 2;
    EXPECT_EQ(messageText(e), "Palette size is not 16 or 256 colors");
    e.paletteError = 1;
    EXPECT_EQ(messageText(e), "Palette size is not 16 colors");
    e.unsupported = 1;
    EXPECT_EQ(messageText(e), "No support BMP format");
    e.wrongType = 1;
    EXPECT_EQ(messageText(e), "Has been opened not BMP file");
}

TEST(MessageText, BmpUnknownSizeOrPaletteValuesShowNothing) {
    error e = bmp();
    e.sizeError = 4;
    e.paletteError = 3;
    EXPECT_EQ(messageText(e), std::nullopt);
}

TEST(MessageText, GeoConditionsInPriorityOrder) {
    error e = geo();
    EXPECT_EQ(messageText(e), std::nullopt);
    e.elementIndex = 12;
    e.paletteError = 1;
    EXPECT_EQ(messageText(e), "Element 12 palette color out of file");
    e.elementError = 2;
    EXPECT_EQ(messageText(e), "Element 12 size out of picture");
    e.elementError = 1;
    EXPECT_EQ(messageText(e), "Too much elements");
    e.unsupported = 1;
    EXPECT_EQ(messageText(e), "No support GEO format");
    e.wrongType = 1;
    EXPECT_EQ(messageText(e), "Has been opened not GEO file");
}

TEST(MessageText, ElementNumberStandsBetweenTheTwoBlanks) {
    error e = geo();
    e.elementError = 2;
    e.elementIndex = 0;
    EXPECT_EQ(messageText(e), "Element 0 size out of picture");
    e.elementIndex = -3;
    EXPECT_EQ(messageText(e), "Element -3 size out of picture");
    e.elementError = 0;
    e.paletteError = 7;
    e.elementIndex = 142;
    EXPECT_EQ(messageText(e), "Element 142 palette color out of file");
}

TEST(MessageText, GeneralCodesAndUnknownDomains) {
    for (std::int32_t domain : {0, 5, -1, 3}) {
        error e;
        e.domain = domain;
        e.code = kCodeLoad;
        EXPECT_EQ(messageText(e), "File load error") << domain;
        e.code = kCodeSave;
        EXPECT_EQ(messageText(e), "File save error") << domain;
        e.code = 0;
        EXPECT_EQ(messageText(e), "Unknow error") << domain;
        e.code = 7;
        EXPECT_EQ(messageText(e), "Unknow error") << domain;
    }
}

TEST(MessageText, SizeCodesShowTheirMessageEvenWhenEmpty) {
    error e;
    e.code = kCodeTooLarge;
    EXPECT_EQ(messageText(e), "");
    e.message = text::kGeoTooLarge;
    EXPECT_EQ(messageText(e),
              "File size more than 38 \xCA"
              "b");
    e.code = kCodeTooSmall;
    e.message = text::kBmpTooSmall;
    EXPECT_EQ(messageText(e), "File size less than 122 b");
}

TEST(MessageText, SizeTextsHoldTheCyrillicKaAsOneCp1251Byte) {
    const std::string texts[] = {text::kGeoTooLarge, text::kGeoTooSmall, text::kBmpTooLarge};
    for (const std::string& t : texts) {
        ASSERT_EQ(t.size(), 25u) << t;
        EXPECT_EQ(static_cast<unsigned char>(t[23]), 0xCAu);
        EXPECT_EQ(t[24], 'b');
    }
}

TEST(FormatDecimal, WritesSignAndDigitsWithoutGrouping) {
    EXPECT_EQ(formatDecimal(0), "0");
    EXPECT_EQ(formatDecimal(-45), "-45");
    EXPECT_EQ(formatDecimal(1000), "1000");
    EXPECT_EQ(formatDecimal(7), "7");
    EXPECT_EQ(formatDecimal(2147483647), "2147483647");
    EXPECT_EQ(formatDecimal(-2147483647 - 1), "-2147483648");
}

}  // namespace
}  // namespace zt9
