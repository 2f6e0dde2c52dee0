#include <gtest/gtest.h>

#include "render/draw.h"
#include "render/render.h"
#include "render_fixture.h"

namespace zt9 {
namespace {

using test::pixelsAre;
using test::colors::kSentinel;

// Two elements: element 0 parked at the bottom-left (the current one), element 1 as given.
test::GeoBuilder twoElements(test::ElementSpec second) {
    test::GeoBuilder font;
    test::ElementSpec parked;
    parked.x = 0;
    parked.y = 230;
    parked.width = 2;
    parked.height = 0;
    font.elements = {parked, second};
    return font;
}

Surface sentinelSurface() {
    Surface surface;
    surface.fill(kSentinel);
    return surface;
}

// --- Palettes ------------------------------------------------------------------------------

TEST(RenderPalette, FifteenBitColoursExpandByEightWithBit15Ignored) {
    test::ElementSpec second;
    second.paletteFlags = 0x00;  // announces 256 colours
    second.colors[1] = 0x7FFF;
    second.colors[15] = 0x0001;
    test::GeoBuilder font = twoElements(second);
    font.elements[0].colors[1] = 0x001F;   // red 31
    font.elements[0].colors[2] = 0x03E0;   // green 31
    font.elements[0].colors[3] = 0x7C00;   // blue 31
    font.elements[0].colors[4] = 0xFFFF;   // all 31, bit 15 set
    font.elements[0].colors[15] = 0x8421;  // 1, 1, 1, bit 15 set
    const GeoDocument document = test::openFont(font);

    const Palette16 first = expandPalette(document.fileImage, document.paletteOffset, 0);
    EXPECT_EQ(first[0], 0u);
    EXPECT_EQ(first[1], 0x0000F8u);
    EXPECT_EQ(first[2], 0x00F800u);
    EXPECT_EQ(first[3], 0xF80000u);
    EXPECT_EQ(first[4], 0xF8F8F8u);
    EXPECT_EQ(first[15], 0x080808u);
    // A record announcing 256 colours gives its first 16 the same way.
    const Palette16 wide = expandPalette(document.fileImage, document.paletteOffset, 1);
    EXPECT_EQ(wide[1], 0xF8F8F8u);
    EXPECT_EQ(wide[15], 0x000008u);
    // The record address is rounded down to a multiple of 4.
    EXPECT_EQ(expandPalette(document.fileImage, document.paletteOffset + 2, 0), first);
    // A record past the end of the image reads as zeros instead of outside it.
    EXPECT_EQ(expandPalette(document.fileImage, document.paletteOffset, 5000), Palette16{});
}

TEST(RenderPalette, ElementsOfEitherAnnouncementDrawWithTheirFirstSixteenColours) {
    for (const std::uint32_t flags : {0x02u, 0x08u, 0x10u, 0x00u}) {
        test::ElementSpec second;
        second.x = 10;
        second.y = 10;
        second.width = 2;
        second.height = 0;
        second.paletteFlags = flags;
        second.colors[15] = 0x0C21;  // red 1, green 1, blue 3
        test::GeoBuilder font = twoElements(second);
        font.setPixel(10, 10, 15);
        GeoDocument document = test::openFont(font);
        Surface surface;
        drawPicture(document, surface, true);
        EXPECT_EQ(surface.pixel(10, 10), 0x180808u) << "flags " << flags;
    }
}

// --- Plotting rules ------------------------------------------------------------------------

TEST(RenderPlot, BlocksCoverHeightPlusOneRows) {
    Surface surface = sentinelSurface();
    fillBlock(surface, 1, 1, 2, 0, 0x123456);
    fillBlock(surface, 5, 1, 2, -1, 0x123456);  // no rows
    fillBlock(surface, 8, 1, 0, 3, 0x123456);   // no columns
    EXPECT_TRUE(pixelsAre(surface, 0, 0, {"ssssssssssss", "sBBsssssssss", "ssssssssssss"},
                          {{'s', kSentinel}, {'B', 0x123456}}));
}

TEST(RenderPlot, FileReadingStopsAtTheEndOfTheImage) {
    Surface surface = sentinelSurface();
    Palette16 palette{};
    palette[1] = 0x111111;
    palette[2] = 0x222222;
    const std::vector<std::uint8_t> image = {0x21, 0x12, 0x21};  // 1.5 rows of 4 pixels
    plotFileElement(surface, image, 0, 0, 4, 3, 0, 0, palette);
    EXPECT_TRUE(pixelsAre(surface, 0, 0, {"1221", "12ss", "ssss"},
                          {{'s', kSentinel}, {'1', 0x111111}, {'2', 0x222222}}));
    plotFileElement(surface, image, 0, 5, 4, 0, 3, 0, palette);  // offset at the end
    plotFileElement(surface, image, 0, 5, 4, 0, 1u << 31, 0, palette);
    EXPECT_TRUE(pixelsAre(surface, 0, 5, {"ssss"}, {{'s', kSentinel}}));
}

TEST(RenderPlot, RowsCutAtBothSurfaceEdgesKeepTheirColumns) {
    Palette16 palette{};
    std::map<char, std::uint32_t> legend = {{'s', kSentinel}};
    for (std::uint32_t k = 1; k < 16; ++k) {
        palette[k] = 0x010101u * k;
        legend[static_cast<char>('0' + k)] = 0x010101u * k;
    }
    // Pixels 1..7 and an 8th in the high nibble of the last byte, outside the odd width.
    const std::vector<std::uint8_t> image = {0x21, 0x43, 0x65, 0x87};
    Surface surface = sentinelSurface();
    plotFileElement(surface, image, -3, 0, 7, 0, 0, 0, palette);
    plotFileElement(surface, image, -4, 1, 7, 0, 0, 0, palette);
    plotFileElement(surface, image, 250, 2, 7, 0, 0, 0, palette);
    plotFileElement(surface, image, 249, 3, 7, 0, 0, 0, palette);
    EXPECT_TRUE(pixelsAre(surface, 0, 0, {"4567s", "567ss"}, legend));
    EXPECT_TRUE(pixelsAre(surface, 248, 2, {"ss12345", "s123456"}, legend));
    EXPECT_TRUE(pixelsAre(surface, 0, 3, {"s"}, legend));  // nothing wrapped
    EXPECT_TRUE(pixelsAre(surface, 0, 4, {"s"}, legend));
}

TEST(RenderPlot, OddStoredXReadsFromTheColumnBefore) {
    test::ElementSpec second;
    second.x = 21;  // byte 10 holds columns 20 and 21
    second.y = 3;
    second.width = 2;
    second.height = 0;
    second.colors[1] = 0x001F;
    second.colors[2] = 0x03E0;
    second.colors[3] = 0x7C00;
    test::GeoBuilder font = twoElements(second);
    font.setPixel(20, 3, 1);
    font.setPixel(21, 3, 2);
    font.setPixel(22, 3, 3);
    GeoDocument document = test::openFont(font);
    const std::map<char, std::uint32_t> legend = {
        {'.', 0x7B3C52}, {'A', 0x0000F8}, {'B', 0x00F800}, {'s', kSentinel}};

    Surface surface;
    drawPicture(document, surface, true);
    EXPECT_TRUE(pixelsAre(surface, 20, 3, {".AB."}, legend));

    document.currentElement = 1;
    Surface alone = sentinelSurface();
    drawElementAlone(document, alone, true);
    EXPECT_TRUE(pixelsAre(alone, 0, 0, {"ABs"}, legend));
}

// --- Bad input -----------------------------------------------------------------------------

TEST(RenderBadInput, LoadedElementPastColumn255IsCutNotWrapped) {
    test::ElementSpec second;
    second.x = 250;  // columns 250..259: the last four bytes' pixels are the next row's start
    second.y = 100;
    second.width = 10;
    second.height = 1;
    second.colors[1] = 0x001F;
    second.colors[2] = 0x03E0;
    test::GeoBuilder font = twoElements(second);
    for (std::uint32_t row = 100; row <= 101; ++row) {
        for (std::uint32_t x = 250; x <= 255; ++x)
            font.setPixel(x, row, 1);
        for (std::uint32_t x = 0; x <= 3; ++x)
            font.setPixel(x, row + 1, 2);
    }
    GeoDocument document = test::openFont(font);  // the loader accepts it
    const std::map<char, std::uint32_t> legend = {{'k', 0}, {'A', 0x0000F8}};

    Surface surface;
    drawPicture(document, surface, false);
    EXPECT_TRUE(pixelsAre(surface, 250, 100, {"AAAAA", "AAAAA", "kkkkk"}, legend));
    EXPECT_TRUE(pixelsAre(surface, 0, 100, {"kkkk", "kkkk", "kkkk"}, legend));

    document.currentElement = 1;
    Surface view;
    drawElementInPlace(document, view);
    EXPECT_EQ(view.pixel(254, 101), 0x0000F8u);
    EXPECT_EQ(view.pixel(0, 101), 0u);
    EXPECT_EQ(view.pixel(0, 102), 0u);
}

TEST(RenderBadInput, ElementPastRow239ReadsNothingOutsideTheImage) {
    test::ElementSpec second;
    second.x = 250;
    second.y = 238;
    second.width = 6;
    second.height = 1;
    second.colors[1] = 0x001F;
    test::GeoBuilder font = twoElements(second);
    for (std::uint32_t x = 250; x <= 255; ++x) {
        font.setPixel(x, 238, 1);
        font.setPixel(x, 239, 1);
    }
    GeoDocument document = test::openFont(font);
    // Grow it past the last row as an unchecked table would: rows 240 to 243 lie in and
    // beyond the palettes, past the end of the image.
    document.placeWords[1] = encodePlace(250, 238, 6, 5);
    document.configs[1].height = 5;
    const std::map<char, std::uint32_t> legend = {
        {'A', 0x0000F8}, {'g', 0x00FF00}, {'s', kSentinel}};

    Surface surface = sentinelSurface();
    drawPicture(document, surface, true);
    EXPECT_TRUE(pixelsAre(surface, 250, 238, {"AAAAA", "AAAAA"}, legend));

    document.currentElement = 1;
    Surface alone = sentinelSurface();
    drawElementAlone(document, alone, true);  // green block of 6 x 6 under 2 stored rows
    EXPECT_TRUE(pixelsAre(alone, 0, 0, {"AAAAAAs", "AAAAAAs", "ggggggs", "ggggggs"}, legend));
    EXPECT_TRUE(pixelsAre(alone, 0, 5, {"ggggggs", "sssssss"}, legend));
}

TEST(RenderBadInput, NegativeConfiguredPlaceIsCutWithoutWrapping) {
    GeoDocument document = test::openFont(test::sampleFont());
    document.configs[2].x = -1;  // element 2: pixels 1 0, blue block
    document.configs[2].y = 1;
    Surface surface;
    drawPicture(document, surface, true);
    EXPECT_EQ(surface.pixel(0, 1), 0xFF0000u);    // the block's visible column
    EXPECT_EQ(surface.pixel(254, 0), 0x7B3C52u);  // nothing wrapped into the row above
    EXPECT_EQ(surface.pixel(8, 0), 0x7B3C52u);    // nothing left at the stored place
}

TEST(RenderBadInput, ImportedSlotAtX254WithWidth255IsClipped) {
    GeoDocument document = test::openFont(test::sampleFont());
    ImportSlot& slot = document.importSlots[4];
    slot.imported = 1;
    slot.width = 255;
    slot.height = 0;
    slot.pixels.assign(128, 0x11);
    slot.colors[1] = 0x123456;
    document.configs[4].x = 254;
    Surface surface;
    drawPicture(document, surface, true);
    EXPECT_EQ(surface.pixel(254, 0), 0x123456u);
    EXPECT_EQ(surface.pixel(253, 0), 0x7B3C52u);
    EXPECT_EQ(surface.pixel(0, 1), 0x7B3C52u);  // no wrap into the next row
}

TEST(RenderBadInput, ImportedSlotShorterThanItsSizeDrawsOnlyItsBytes) {
    GeoDocument document = test::openFont(test::sampleFont());
    ImportSlot& slot = document.importSlots[3];  // element 3: x 12, yellow 2 x 2 block
    slot.imported = 1;
    slot.width = 4;
    slot.height = 3;
    slot.pixels = {0x11, 0x11, 0x01};  // needs 8 bytes
    slot.colors[1] = 0x123456;
    Surface surface;
    drawPicture(document, surface, true);
    EXPECT_TRUE(pixelsAre(surface, 12, 0, {"TTTT", "Ty..", "....", "...."},
                          {{'T', 0x123456}, {'y', 0x00FFFF}, {'.', 0x7B3C52}}));
}

}  // namespace
}  // namespace zt9
