#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/test_util.h"

namespace zt9::test {
namespace {

TEST(LoadFile, RefusedFilesAndHeadersKeepTheOpenFontAndAnyPictureOffsetIsSafe) {
    TempDir dir;
    fs::create_directory(dir.file("folder"));
    const char *load = "File load error", *small = text::kGeoTooSmall, *large = text::kGeoTooLarge;
    const std::tuple<const char*, std::size_t, const char*> refused[] = {
        {"missing", 0, load},    {"folder", 0, load},     {"tiny", 1, small},
        {"small", 30791, small}, {"large", 38177, large}, {"huge", 50000, large}};
    for (const auto& [name, size, shown] : refused)
        if (size != 0)
            writeBytes(dir.file(name), Bytes(size, 1));
    // Elements and bytes after the palette table: the smallest and the largest size allowed.
    const std::pair<unsigned, unsigned> fonts[] = {{1, 0}, {2, 7}, {77, 333}, {143, 0}};
    for (const auto& [elements, extra] : fonts) {
        GeoBuilder builder = GeoBuilder::grid(elements);
        builder.extraBytes.assign(extra, 0x5A);
        const fs::path source = dir.file(u8"шрифт.geo"), target = dir.file(u8"новый шрифт.geo");
        writeBytes(source, builder.build());
        writeBytes(target, Bytes(40000, 1));  // replaced whole
        GeoDocument doc;
        ASSERT_EQ(outcome([&] { openFont(doc, source); }), "<accepted>") << elements;
        std::tie(doc.currentElement, doc.modified) = std::pair(elements - 1, std::uint8_t{1});
        // A refused save keeps the mark, as the loop below shows.
        ASSERT_EQ(outcome([&] { doc.saveFile(dir.file("folder")); }), "File save error");
        for (const auto& [name, size, shown] : refused) {
            // The same bytes from memory are refused the same way; the open font stays.
            const std::string fromBytes =
                size == 0 ? shown : outcome([&, size = size] { doc.loadBytes(Bytes(size), true); });
            ASSERT_EQ((std::tuple{outcome([&, file = dir.file(name)] { doc.loadFile(file, true); }),
                                  fromBytes, doc.currentElement, doc.modified,
                                  doc.fileImage == builder.build()}),
                      std::tuple(shown, shown, elements - 1, 1, true))
                << name;
        }
        doc.saveFile(target);
        EXPECT_EQ(std::tuple(doc.elementCount, doc.configs.back().colorIndex, doc.modified,
                             readBytes(target) == builder.build(), dir.entries().size()),
                  std::tuple(elements, static_cast<int>((elements - 1) % 4), 0, true, 7u));
    }

    // Rows: offset and word written, length kept. Three elements (n bytes): P = 56 at 4, the
    // format byte at 60, the last number word at 44, place words at 24 + 16 i; P 30892 is n - 4;
    // the palette table at 30788. One element: P = 24, the format byte is the last of a 29-byte
    // prefix; its palette entry is at 30756 and needs 36 bytes, one more than 30791 leaves.
    // Last rows: element 1 at (240, 236), 16 x 4, ends at the palette table, a 17th column
    // reaches it; element 2 at (0, 239) with no column has no bytes, whatever its height.
    const std::size_t n = 30740 + 52 * 3;
    const std::uint32_t sign = 0x76312E30;  // the right signature
    const char *wrong = "Has been opened not GEO file", *no = "No support GEO format",
               *many = "Too much elements", *color = "Element 0 palette color out of file",
               *color3 = "Element 3 palette color out of file",
               *outside = "Element 1 size out of picture", *ok = "<accepted>";
    const std::tuple<std::size_t, std::uint32_t, std::size_t, std::string> cases[] = {
        {0, 0x302E3176, n, wrong},   {60, 2, n, no},          {44, 0x8F000000, n, many},
        {4, 0xFFFFFFFF, n, no},      {4, 0, n, no},           {4, 11, n, no},
        {4, 30892, n, no},           {0, sign, 3, wrong},     {0, sign, 28, no},
        {0, sign, 29, color},        {0, sign, 30791, color}, {0, 0x76322E30, n, wrong},
        {44, 0x03000000, n, color3}, {40, 0x0310ECF0, n, ok}, {40, 0x0311ECF0, n, outside},
        {56, 0xFF00EF00, n, ok}};
    for (const auto& [at, word, length, shown] : cases) {  // no document stays open
        GeoDocument doc = openDocument(GeoBuilder::grid(2), 1);
        doc.minFileSize = 0;
        Bytes bytes = GeoBuilder::grid(length == n ? 3 : 1).build();
        putLE(bytes, at, word);
        bytes.resize(length);
        EXPECT_EQ((std::tuple{outcome([&] { openFont(doc, bytes); }), doc.fileImage.empty(),
                              doc.configs.size(), doc.currentElement}),
                  std::tuple(shown, shown != ok, shown != ok ? 0u : 3u, 0u))
            << at << ": " << word << ", " << length;
    }
    // Any P. Many bytes of 1 let the format check pass for many P, so the element check and a
    // save with element 0 grown to the bottom run on whatever P points at, under sanitizers.
    // The first number word's low byte is 1 too, for P just below 12.
    GeoBuilder builder = GeoBuilder::grid(3);
    builder.elements[0].numberLow = 1;
    builder.extraBytes = {1};  // an odd size: the format byte of P = size - 4 lies inside
    for (std::size_t k = 0; k < builder.pixels.size(); ++k)
        builder.pixels[k] = k % 4 == 0 ? 1 : static_cast<std::uint8_t>(k * 131 % 256);
    const Bytes base = builder.build();
    const auto size = static_cast<std::uint32_t>(base.size());
    for (std::uint32_t p = 0; p <= size + 16; p += (p < 80 || p + 80 > size) ? 1 : 37) {
        Bytes bytes = base;
        putLE(bytes, 4, p);
        GeoDocument doc;
        const std::string got = outcome([&] { openFont(doc, bytes); });
        EXPECT_TRUE((got == no || (p >= 12 && p + 5 <= size)) &&
                    (got == ok) != doc.fileImage.empty() && (p != 56 || got == ok))
            << p << ": " << got;
        if (got != ok)
            continue;
        doc.configs[0].height = 239;  // from row 0 to the bottom
        EXPECT_EQ(doc.buildSaveImage().size(), size) << p;
    }
}

}  // namespace
}  // namespace zt9::test
