#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <utility>
#include <vector>

#include "document_fixtures.h"
#include "support/temp_dir.h"

namespace zt9::test {
namespace {

namespace fs = std::filesystem;

void putWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t k = 0; k < 4; ++k)
        bytes.at(at + k) = static_cast<std::uint8_t>(value >> (8 * k));
}

TEST(LoadFile, UneditedFontIsSavedByteForByteUnderCyrillicNames) {
    // Elements, and bytes after the palette table.
    const std::pair<std::size_t, std::size_t> fonts[] = {{1, 100}, {2, 7}, {77, 333}, {143, 0}};
    for (const auto& [elements, extra] : fonts) {
        SCOPED_TRACE(elements);
        GeoBuilder builder = GeoBuilder::grid(elements);
        builder.extraBytes.assign(extra, 0x5A);
        TempDir dir;
        const fs::path source = dir.path() / fs::path(u8"шрифт.geo");
        const fs::path target = dir.path() / fs::path(u8"новый шрифт.geo");
        writeBytes(source, builder.build());
        writeBytes(target, std::vector<std::uint8_t>(40000, 1));  // replaced whole
        GeoDocument doc;
        ASSERT_EQ(caught([&] { doc.loadFile(source, false); }), error{});
        ASSERT_EQ(tryOpen(doc, doc.fileImage), error{});
        EXPECT_EQ(doc.elementCount, elements);
        EXPECT_EQ(doc.configs.back().colorIndex, static_cast<int>((elements - 1) % 4));
        doc.modified = 1;
        doc.saveFile(target);
        EXPECT_TRUE(sameBytes(readBytes(target), builder.build()));
        EXPECT_EQ(std::pair(doc.modified, dir.entries().size()),
                  std::pair(std::uint8_t{0}, std::size_t{2}));
    }
}

TEST(LoadFile, RefusedFileLeavesTheOpenDocumentAsItWas) {
    TempDir dir;
    GeoDocument doc;
    ASSERT_EQ(tryOpen(doc, GeoBuilder::grid(3).build()), error{});
    std::int32_t out = 0;
    doc.nextElement();
    doc.setY(doc.configs[1].y + 1, out);
    const std::vector<std::uint8_t> before = doc.buildSaveImage();
    fs::create_directory(dir.file("folder"));
    const std::tuple<const char*, std::size_t, std::uint32_t, const char*> cases[] = {
        {"missing", 0, kCodeLoad, "File load error"},
        {"folder", 0, kCodeLoad, "File load error"},
        {"small", 30791, kCodeTooSmall, text::kGeoTooSmall},
        {"large", 38177, kCodeTooLarge, text::kGeoTooLarge},
        {"huge", 50000, kCodeTooLarge, text::kGeoTooLarge}};
    for (const auto& [name, size, code, shown] : cases) {
        if (size != 0)
            writeBytes(dir.file(name), std::vector<std::uint8_t>(size, 1));
        const error got = caught([&] { doc.loadFile(dir.file(name), true); });
        EXPECT_TRUE(size == 0 ||
                    caught([&] { doc.loadBytes(std::vector<std::uint8_t>(size), true); }) == got);
        EXPECT_EQ(got, (error{.code = code, .message = size == 0 ? "" : shown})) << name;
        EXPECT_EQ(messageText(got), shown);
        EXPECT_EQ(std::tuple(doc.fileSize, doc.currentElement, doc.modified),
                  std::tuple(before.size(), 1u, std::uint8_t{1}));
        EXPECT_TRUE(sameBytes(doc.buildSaveImage(), before)) << name;
    }
}

TEST(CheckHeader, DamagedHeaderIsRefusedAndNoDocumentStaysOpen) {
    // Rows: offset and word written, length kept. Three elements (n bytes): P = 56 at 4, the
    // format byte at 60, the last number word at 44; P 30892 is n - 4. One element: P = 24, the
    // format byte is the last of a 29-byte prefix; its palette entry is at 30756 and needs 36
    // bytes, one more than 30791 leaves.
    const std::size_t n = 30740 + 52 * 3;
    const std::uint32_t sign = 0x76312E30;  // the right signature
    const auto wrong = &error::wrongType, no = &error::unsupported;
    const auto many = &error::elementError, color = &error::paletteError;
    const std::tuple<std::size_t, std::uint32_t, std::size_t, std::uint32_t error::*> cases[] = {
        {0, 0x302E3176, n, wrong}, {60, 2, n, no},         {44, 0x8F000000, n, many},
        {4, 0xFFFFFFFF, n, no},    {4, 0, n, no},          {4, 11, n, no},
        {4, 30892, n, no},         {0, sign, 3, wrong},    {0, sign, 28, no},
        {0, sign, 29, color},      {0, sign, 30791, color}};
    for (const auto& [at, word, length, condition] : cases) {
        GeoDocument doc;
        ASSERT_EQ(tryOpen(doc, GeoBuilder::grid(2).build()), error{});
        doc.nextElement();
        doc.minFileSize = 0;
        std::vector<std::uint8_t> bytes = GeoBuilder::grid(length == n ? 3 : 1).build();
        putWord(bytes, at, word);
        bytes.resize(length);
        const error got = tryOpen(doc, bytes);
        EXPECT_EQ(got, geoError(condition)) << at << ": " << word << ", " << length;
        EXPECT_TRUE(length >= n || length < 29 ||
                    messageText(got) == "Element 0 palette color out of file");
        EXPECT_TRUE(doc.fileImage.empty() && doc.configs.empty() && doc.currentElement == 0);
    }
}

TEST(CheckHeader, AnyPictureOffsetIsHandledSafely) {
    // Many bytes of 1 let the format check pass for many P, so the element check and a save
    // with element 0 grown to the bottom run on whatever P points at, under sanitizers.
    GeoBuilder builder = GeoBuilder::grid(3);
    builder.extraBytes = {1};  // an odd size: the format byte of P = size - 4 lies inside
    for (std::size_t k = 0; k < builder.pixels.size(); ++k)
        builder.pixels[k] = k % 4 == 0 ? 1 : static_cast<std::uint8_t>(k * 131 % 256);
    const std::vector<std::uint8_t> base = builder.build();
    const auto size = static_cast<std::uint32_t>(base.size());
    for (std::uint32_t p = 0; p <= size + 16; p += (p < 80 || p + 80 > size) ? 1 : 37) {
        std::vector<std::uint8_t> bytes = base;
        putWord(bytes, 4, p);
        GeoDocument doc;
        const error got = tryOpen(doc, bytes);
        EXPECT_TRUE(got == geoError(&error::unsupported) || (p >= 12 && p + 5 <= size)) << p;
        EXPECT_TRUE(got == error{} || doc.fileImage.empty()) << p;
        EXPECT_TRUE(p != 56 || got == error{}) << "the right P opens";
        if (got != error{})
            continue;
        std::int32_t out = 0;
        doc.setHeight(239, out);
        doc.setY(239, out);
        EXPECT_EQ(doc.buildSaveImage().size(), size);
    }
}

TEST(CheckElements, ElementMayEndExactlyAtThePaletteTable) {
    // Rows 236-239, columns 240-255 end exactly before the palette table; a 17th column does
    // not. No column means no bytes, whatever the height.
    GeoBuilder builder = GeoBuilder::grid(3);
    builder.elements[1] = {240, 236, 16, 3};
    builder.elements[2] = {0, 239, 0, 255};
    GeoDocument doc;
    EXPECT_EQ(tryOpen(doc, builder.build()), error{});
    builder.elements[1].width = 17;
    const error outside = tryOpen(doc, builder.build());
    EXPECT_EQ(outside,
              (error{.domain = kDomainGeo, .elementError = 2, .elementIndex = 1, .message = {}}));
    EXPECT_EQ(messageText(outside), "Element 1 size out of picture");
    EXPECT_TRUE(doc.fileImage.empty() && doc.configs.empty());
}

}  // namespace
}  // namespace zt9::test
