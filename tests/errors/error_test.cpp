#include "errors/error.h"

#include <gtest/gtest.h>

namespace zt9 {
namespace {

// Each row sets one more condition on the record built so far; the text of the condition
// with the highest priority must show.
struct Step {
    std::uint32_t error::*field;
    std::uint32_t value;
    const char* text;
};

void expectPriority(std::int32_t domain, std::initializer_list<Step> steps) {
    error e{.domain = domain, .elementIndex = 12, .message = {}};
    for (const Step& s : steps) {
        e.*s.field = s.value;
        const auto shown = s.text ? std::optional<std::string>(s.text) : std::nullopt;
        EXPECT_EQ(messageText(e), shown) << domain << " " << shown.value_or("nothing");
    }
}

TEST(MessageText, ConditionsShowInPriorityOrder) {
    expectPriority(kDomainBmp,
                   {{&error::sizeError, 4, nullptr},
                    {&error::paletteError, 3, nullptr},
                    {&error::notTransparent, 1, "Last color in the palette is not a transparent"},
                    {&error::sizeError, 3, "Image hight is too large"},
                    {&error::sizeError, 2, "Image width is too large"},
                    {&error::sizeError, 1, "Image size is too large"},
                    {&error::paletteError, 2, "Palette size is not 16 or 256 colors"},
                    {&error::paletteError, 1, "Palette size is not 16 colors"},
                    {&error::unsupported, 1, "No support BMP format"},
                    {&error::wrongType, 1, "Has been opened not BMP file"}});
    expectPriority(kDomainGeo, {{&error::sizeError, 1, nullptr},
                                {&error::paletteError, 7, "Element 12 palette color out of file"},
                                {&error::elementError, 2, "Element 12 size out of picture"},
                                {&error::elementError, 1, "Too much elements"},
                                {&error::unsupported, 1, "No support GEO format"},
                                {&error::wrongType, 1, "Has been opened not GEO file"}});
}

TEST(MessageText, ElementNumberStandsBetweenTheTwoBlanks) {
    for (std::int32_t index : {0, -3, 12}) {
        const error e{
            .domain = kDomainGeo, .elementError = 2, .elementIndex = index, .message = {}};
        EXPECT_EQ(messageText(e), "Element " + std::to_string(index) + " size out of picture");
    }
}

TEST(MessageText, GeneralCodesInAnyOtherDomain) {
    for (std::int32_t domain : {0, 5, -1, 3}) {
        std::string shown;
        for (std::uint32_t code : {1u, 2u, 0u, 7u, 3u, 4u}) {
            // The conditions have no meaning outside the BMP and GEO domains.
            const error e{.domain = domain,
                          .code = code,
                          .wrongType = 1,
                          .paletteError = 1,
                          .message = code == 3 ? "size text" : ""};
            shown += messageText(e).value_or("<none>") + "|";
        }
        EXPECT_EQ(shown, "File load error|File save error|Unknow error|Unknow error|size text||")
            << domain;
    }
}

TEST(MessageText, SizeTextsHoldTheCyrillicKaAsOneCp1251Byte) {
    const std::string ka = "\xCA";
    EXPECT_EQ(text::kGeoTooLarge, "File size more than 38 " + ka + "b");
    EXPECT_EQ(text::kGeoTooSmall, "File size less than 31 " + ka + "b");
    EXPECT_EQ(text::kBmpTooLarge, "File size more than 61 " + ka + "b");
    EXPECT_EQ(text::kBmpTooSmall, std::string("File size less than 122 b"));
}

TEST(FormatDecimal, WritesSignAndDigitsWithoutGrouping) {
    std::string shown;
    for (std::int32_t value : {0, -45, 1000, 2147483647, -2147483647 - 1})
        shown += formatDecimal(value) + " ";
    EXPECT_EQ(shown, "0 -45 1000 2147483647 -2147483648 ");
}

}  // namespace
}  // namespace zt9
