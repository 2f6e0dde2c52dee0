// Reading BMP files through an element import: one table of accepted layouts and refusals,
// the fitting of the element, and every cut of a few files.

#include <gtest/gtest.h>

#include <sstream>

#include "images/bmp_image.h"
#include "images/import_fixtures.h"
#include "support/temp_dir.h"

namespace zt9::test {
namespace {

constexpr const char* kNotTransparent = "Last color in the palette is not a transparent";

// What an import into a copy of `before` does, on one line. Refused: the message, and
// "(changed)" when the slot, any configuration or `modified` changed. Accepted: the codes of
// x and y | `modified`, element 1's x, y, width, height, resize width and height, display x
// and y | its slot's flag, width, height, then in hex its first four pixel bytes and colour
// 1 (0x00BBGGRR), and "(size)" when the slot holds another number of bytes than its size
// needs.
template <typename Source>
std::string importState(const GeoDocument& before, const Source& file) {
    GeoDocument doc = before;
    FieldCode codes[2]{};
    std::string message = attempt(doc, [&] { importElement(doc, codes[0], codes[1], file); });
    if (message != kAccepted)
        return message;
    const ElementConfig& c = doc.configs[1];
    const ImportSlot& s = doc.importSlots[1];
    std::ostringstream out;
    out << listed(static_cast<int>(codes[0]), static_cast<int>(codes[1]), "|", doc.modified, c.x,
                  c.y, c.width, c.height, c.resizeWidth, c.resizeHeight, c.displayX, c.displayY,
                  "|", s.imported, s.width, s.height);
    for (std::size_t k = 0; k < 4 && k < s.pixels.size(); ++k)
        out << std::hex << int{s.pixels[k]} << ' ';
    out << std::hex << s.colors[1]
        << (s.pixels.size() == std::size_t{s.width + 1} / 2 * (s.height + 1) ? "" : " (size)");
    return out.str();
}

// A 3 x 2 4-bit image, top row 5, 2, 0 and bottom row 0, 0, 14, changed by each row, into
// element 1 at the odd x 11 and y 9 with an edited display x. Accepted, the element takes the
// image's size, the loaded display position and an even x that fits; its rows are 6, 3, 1
// and 1, 1, 15, the padding nibble of the odd width 0, and colour 1 is entry 0.
TEST(ImportTable, EachLayoutIsReadEachRefusalAndEveryCutChangesNothing) {
    constexpr const char* kFitted = "4 0 | 1 12 9 3 1 4 2 -3 2 | 1 3 1 36 1 11 f 1020";
    const std::pair<void (*)(Bmp&), const char*> rows[] = {
        // An offset into the palette means right after it; the image size field is not used.
        {[](Bmp& b) { b.infoSize = 108, b.offBits = 0, b.sizeImage = ~0u; }, kFitted},
        {[](Bmp& b) { b.bitCount = 8, b.clrUsed = 16, b.infoSize = 124, b.gap = 6; }, kFitted},
        // 256 entries; 8 bits keep the low nibble of value + 1.
        {[](Bmp& b) { b.bitCount = 8, b.sizeImage = 1, b.indices = {15, 31, 255, 16, 0, 13}; },
         "4 0 | 1 12 9 3 1 4 2 -3 2 | 1 3 1 0 0 11 e 1020"},
        {[](Bmp& b) { b.truncateTo = 122, b.offBits = 54, b.clrUsed = 16; },
         "4 0 | 1 12 9 3 1 4 2 -3 2 | 1 3 1 11 1 11 f 1020"},
        {[](Bmp& b) { b.truncateTo = 121; }, text::kBmpTooSmall},  // would still read
        {[](Bmp& b) { b = image(255, 240, 8), b.trailing = 2; },   // 62520 bytes; x and y fit
         "4 5 | 1 0 0 255 239 256 240 -3 2 | 1 255 239 11 11 11 11 1020"},
        // Too large is checked before the header.
        {[](Bmp& b) { b = image(255, 240, 8), b.trailing = 3, b.type = 0; }, text::kBmpTooLarge},
        {[](Bmp& b) { b.type = 0x4D43; }, "Has been opened not BMP file"},
        // The size comes before the depth.
        {[](Bmp& b) { b.width = 256, b.bitCount = 24; }, "Image width is too large"},
        {[](Bmp& b) { b.width = 255, b.height = 241; }, "Image hight is too large"},
        {[](Bmp& b) { b.width = 256, b.height = 241; }, "Image size is too large"},
        {[](Bmp& b) { b.height = -4; }, "Image hight is too large"},  // top-down
        {[](Bmp& b) { b.bitCount = 24; }, kNoSupport},
        {[](Bmp& b) { b.clrUsed = 8; }, "Palette size is not 16 colors"},
        {[](Bmp& b) { b.bitCount = 8, b.clrUsed = 8; }, "Palette size is not 16 or 256 colors"},
        {[](Bmp& b) { b.setEntry(15, 0, 0, 1); }, kNotTransparent},
        {[](Bmp& b) { b.bitCount = 8, b.setEntry(15, 1, 0, 0); }, kNotTransparent},
        {[](Bmp& b) { b.height = 0, b.clrUsed = 7; }, kNoSupport},  // before the palette
        {[](Bmp& b) { b.width = 0; }, kNoSupport},
        // Run-length encoding only for its own depth; bit fields, JPEG, PNG never.
        {[](Bmp& b) { b.compression = 1; }, kNoSupport},
        {[](Bmp& b) { b.bitCount = 8, b.compression = 2; }, kNoSupport},
        {[](Bmp& b) { b.bitCount = 8, b.compression = 3; }, kNoSupport},
        {[](Bmp& b) { b.compression = 4; }, kNoSupport},
        {[](Bmp& b) { b.infoSize = 12; }, kNoSupport},
        {[](Bmp& b) { b.infoSize = 0x7FFFFFFF; }, kNoSupport},
        {[](Bmp& b) { b.offBits = 4001; }, kNoSupport},
    };
    // Each row from memory and from disk (where the size limits come first), into an element
    // that holds an earlier import.
    GeoDocument doc = font(11, 9);
    doc.configs[1].displayX = 100;
    doc.importSlots[1] = {1, {0x21, 0x43}, {0, 0x123456}, 3, 0};
    TempDir dir;
    for (const auto& row : rows) {
        Bmp b = image(3, 2, 4);
        // Above the lower size limit, below the upper.
        b.indices = {5, 2, 0, 0, 0, 14}, b.trailing = 4000, b.truncateTo = 4000;
        row.first(b);
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        writeBytes(dir.file("i.bmp"), b.build());
        EXPECT_EQ(importState(doc, b.build()), row.second);
        EXPECT_EQ(importState(doc, dir.file("i.bmp")), row.second);
    }

    // Files, plain and run-length encoded, cut at every length (random damage is the BMP fuzz
    // target's part): a stream read agrees with a read of the same bytes, and an import refuses
    // without changes or fills the slot in the size it reports. The sanitizer build watches
    // every access.
    const GeoDocument base = font();
    // The 64 x 64 file is larger than one read chunk of a stream.
    for (const Bytes& seed :
         {image(7, 5, 4).setIndex(6, 4, 9).build(), picture(64, 64, 8).build(),
          picture(13, 9, 4).encoded().build(), picture(25, 9, 8).encoded().build()}) {
        for (auto end = seed.begin(); end <= seed.end(); ++end) {
            const Bytes file(seed.begin(), end);
            std::istringstream stream(std::string(file.begin(), file.end()));
            BmpImage read[2];  // from the stream, from the bytes
            std::int32_t size[2]{};
            std::uint16_t bits = 0;
            EXPECT_EQ(outcome([&] { read[0].read(stream, size[0], size[1], bits); }),
                      outcome([&] { read[1].read(file, size[0], size[1], bits); }));
            EXPECT_EQ(read[0].pixels, read[1].pixels);
            const std::string state = importState(base, file);
            EXPECT_FALSE(state.ends_with(")")) << state;
        }
    }
}

}  // namespace
}  // namespace zt9::test
