#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "document_fixtures.h"
#include "support/temp_dir.h"

namespace zt9 {
namespace {

namespace fs = std::filesystem;
using test::GeoBuilder;
using test::geoError;

void putWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t k = 0; k < 4; ++k)
        bytes.at(at + k) = static_cast<std::uint8_t>(value >> (8 * k));
}

// Elements, and bytes after the palette table.
class RoundTrip : public ::testing::TestWithParam<std::pair<std::size_t, std::size_t>> {};

TEST_P(RoundTrip, UneditedFontIsSavedByteForByteUnderCyrillicNames) {
    const auto [elements, extra] = GetParam();
    GeoBuilder builder = GeoBuilder::grid(elements);
    for (std::size_t k = 0; k < extra; ++k)
        builder.extraBytes.push_back(static_cast<std::uint8_t>(0x5A ^ (k * 13)));
    test::TempDir dir;
    const fs::path source = dir.path() / fs::path(u8"шрифт.geo");
    const fs::path target = dir.path() / fs::path(u8"новый шрифт.geo");
    test::writeBytes(source, builder.build());
    test::writeBytes(target, std::vector<std::uint8_t>(40000, 1));  // replaced whole
    GeoDocument doc;
    ASSERT_EQ(test::caught([&] { doc.loadFile(source, false); }), error{});
    ASSERT_EQ(test::tryOpen(doc, doc.fileImage), error{});
    EXPECT_EQ(doc.elementCount, elements);
    EXPECT_EQ(doc.configs.back().colorIndex, static_cast<int>((elements - 1) % 4)) << "4 colours";
    doc.modified = 1;
    doc.saveFile(target);
    EXPECT_EQ(doc.modified, 0);
    EXPECT_TRUE(test::sameBytes(test::readBytes(target), builder.build()));
    EXPECT_EQ(dir.entries().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Fonts, RoundTrip,
                         ::testing::Values(std::pair{1, 100}, std::pair{2, 7}, std::pair{77, 333},
                                           std::pair{143, 0}));

TEST(LoadFile, RefusedFileLeavesTheOpenDocumentAsItWas) {
    test::TempDir dir;
    GeoDocument doc;
    ASSERT_EQ(test::tryOpen(doc, GeoBuilder::grid(3).build()), error{});
    std::int32_t out = 0;
    doc.nextElement();
    doc.setY(doc.configs[1].y + 1, out);
    GeoDocument before = doc;
    fs::create_directory(dir.file("folder"));
    const std::tuple<const char*, std::size_t, std::uint32_t, const char*> cases[] = {
        {"missing", 0, kCodeLoad, "File load error"},
        {"folder", 0, kCodeLoad, "File load error"},
        {"small", 30791, kCodeTooSmall, text::kGeoTooSmall},
        {"large", 38177, kCodeTooLarge, text::kGeoTooLarge},
        {"huge", 50000, kCodeTooLarge, text::kGeoTooLarge}};
    for (const auto& [name, size, code, shown] : cases) {
        if (size != 0)
            test::writeBytes(dir.file(name), std::vector<std::uint8_t>(size, 1));
        const error got = test::caught([&] { doc.loadFile(dir.file(name), true); });
        const auto fromMemory = [&] { doc.loadBytes(std::vector<std::uint8_t>(size), true); };
        EXPECT_TRUE(size == 0 || test::caught(fromMemory) == got);
        EXPECT_EQ(got, test::generalError(code, size == 0 ? "" : shown)) << name;
        EXPECT_EQ(test::shownText(got), shown);
        EXPECT_EQ(std::tuple(doc.fileSize, doc.currentElement, doc.modified),
                  std::tuple(before.fileSize, 1u, std::uint8_t{1}));
        EXPECT_TRUE(test::sameBytes(doc.buildSaveImage(), before.buildSaveImage())) << name;
    }
}

TEST(CheckHeader, DamagedHeaderIsRefusedAndNoDocumentStaysOpen) {
    // Three elements: P = 56 (at 4), the format byte at 60, the last number word at 44. One
    // element: P = 24, the format byte is the last of a 29-byte prefix; its palette entry is
    // at 30756 and needs 36 bytes.
    const std::size_t three = 30740 + 52 * 3;
    const std::tuple<std::size_t, std::uint32_t, std::size_t, std::uint32_t error::*> cases[] = {
        {0, 0x302E3176, three, &error::wrongType},
        {60, 2, three, &error::unsupported},
        {44, 143u << 24, three, &error::elementError},
        {4, 0xFFFFFFFF, three, &error::unsupported},
        {4, 0, three, &error::unsupported},
        {4, 11, three, &error::unsupported},
        {4, three - 4, three, &error::unsupported},
        {0, 0x76312E30, 3, &error::wrongType},
        {0, 0x76312E30, 28, &error::unsupported},
        {0, 0x76312E30, 29, &error::paletteError},
        {0, 0x76312E30, 24 + 30732 + 35, &error::paletteError}};
    for (const auto& [at, word, length, condition] : cases) {
        GeoDocument doc;
        ASSERT_EQ(test::tryOpen(doc, GeoBuilder::grid(2).build()), error{});
        doc.nextElement();
        doc.minFileSize = 0;
        std::vector<std::uint8_t> bytes = GeoBuilder::grid(length == three ? 3 : 1).build();
        putWord(bytes, at, word);
        bytes.resize(length);
        const error got = test::tryOpen(doc, bytes);
        EXPECT_EQ(got, geoError(condition)) << at << ": " << word << ", " << length;
        EXPECT_TRUE(length >= three || length < 29 ||
                    test::shownText(got) == "Element 0 palette color out of file");
        EXPECT_TRUE(doc.fileImage.empty() && doc.configs.empty() && doc.currentElement == 0);
    }
}

TEST(CheckHeader, AnyPictureOffsetIsHandledSafely) {
    // Many bytes of 1 let the format check pass for many P, so the element check and a save
    // with element 0 grown to the bottom run on whatever P points at, under sanitizers.
    GeoBuilder builder = GeoBuilder::grid(3);
    for (std::size_t k = 0; k < builder.pixels.size(); ++k)
        builder.pixels[k] = k % 4 == 0 ? 1 : static_cast<std::uint8_t>(k * 131 % 256);
    const std::vector<std::uint8_t> base = builder.build();
    const auto size = static_cast<std::uint32_t>(base.size());
    std::size_t opened = 0;  // P that pass every check
    for (std::uint32_t p = 0; p <= size + 16; p += (p < 80 || p + 80 > size) ? 1 : 37) {
        std::vector<std::uint8_t> bytes = base;
        putWord(bytes, 4, p);
        GeoDocument doc;
        const error got = test::tryOpen(doc, bytes);
        EXPECT_TRUE(got == geoError(&error::unsupported) || (p >= 12 && p + 5 <= size)) << p;
        if (got != error{}) {
            EXPECT_TRUE(doc.fileImage.empty()) << p;
            continue;
        }
        ++opened;
        std::int32_t out = 0;
        doc.setHeight(239, out);
        doc.setY(239, out);
        EXPECT_EQ(doc.buildSaveImage().size(), size);
    }
    EXPECT_GT(opened, 0u);
}

TEST(CheckElements, ElementMayEndExactlyAtThePaletteTable) {
    // Rows 236-239, columns 240-255 end exactly before the palette table; a 17th column does
    // not. No column means no bytes, whatever the height.
    GeoBuilder builder = GeoBuilder::grid(3);
    builder.elements[1] = test::at(240, 236, 16, 3);
    builder.elements[2] = test::at(0, 239, 0, 255);
    GeoDocument doc;
    EXPECT_EQ(test::tryOpen(doc, builder.build()), error{});
    builder.elements[1].width = 17;
    const error outside = test::tryOpen(doc, builder.build());
    EXPECT_EQ(outside, geoError(&error::elementError, 2, 1));
    EXPECT_EQ(test::shownText(outside), "Element 1 size out of picture");
    EXPECT_TRUE(doc.fileImage.empty() && doc.configs.empty());
}

}  // namespace
}  // namespace zt9
