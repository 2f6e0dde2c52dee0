// Reading BMP files through an element import: one table of accepted layouts and refusals,
// the fitting of the element, and a malformed-input sweep.

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "images/bmp_image.h"
#include "images/import_fixtures.h"
#include "support/temp_dir.h"

namespace zt9 {
namespace {

using namespace test;
constexpr const char* kNotTransparent = "Last color in the palette is not a transparent";

// A 3 x 2 4-bit image, top row 5, 2, 0 and bottom row 0, 0, 14, changed by each row. Its
// element rows are 6, 3, 1 and 1, 1, 15, the padding nibble of the odd width 0.
TEST(ImportTable, EachLayoutIsReadAndEachRefusalGivesItsMessageAndChangesNothing) {
    struct Row {
        void (*change)(Bmp&);
        const char* message;
        Bytes pixels = {0x36, 0x01, 0x11, 0x0F};  // none: not checked
    };
    const Row rows[] = {
        {[](Bmp& b) { b.clrUsed = 16, b.infoSize = 108; }, kAccepted},
        {[](Bmp& b) { b.infoSize = 124, b.gap = 6; }, kAccepted},
        // An offset into the palette means right after it; the image size field is not used.
        {[](Bmp& b) { b.offBits = 0, b.sizeImage = 0xFFFFFFFF; }, kAccepted},
        {[](Bmp& b) { b.bitCount = 8, b.sizeImage = 1; }, kAccepted},  // 256 entries
        {[](Bmp& b) { b.bitCount = 8, b.clrUsed = 16; }, kAccepted},
        // 8 bits keep the low nibble of value + 1.
        {[](Bmp& b) { b.bitCount = 8, b.indices = {15, 31, 255, 16, 0, 13}; }, kAccepted,
         Bytes{0x00, 0x00, 0x11, 0x0E}},
        {[](Bmp& b) { b.truncateTo = 122; }, kAccepted, {0x11, 0x01, 0x11, 0x0F}},
        {[](Bmp& b) { b.truncateTo = 121; }, text::kBmpTooSmall},  // would still read
        {[](Bmp& b) { b = image(255, 240, 8), b.trailing = 2; }, kAccepted, {}},  // 62520
        // Too large is checked before the header.
        {[](Bmp& b) { b = image(255, 240, 8), b.trailing = 3, b.type = 0; }, text::kBmpTooLarge},
        {[](Bmp& b) { b.type = 0x4D43; }, "Has been opened not BMP file"},
        {[](Bmp& b) { b.width = 256, b.height = 240; }, "Image width is too large"},
        {[](Bmp& b) { b.width = 255, b.height = 241; }, "Image hight is too large"},
        {[](Bmp& b) { b.width = 256, b.height = 241; }, "Image size is too large"},
        {[](Bmp& b) { b.height = -4; }, "Image hight is too large"},  // top-down
        // The size comes before the depth.
        {[](Bmp& b) { b.width = 256, b.bitCount = 24; }, "Image width is too large"},
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
        {[](Bmp& b) { b.bitCount = 8, b.compression = 5; }, kNoSupport},
        {[](Bmp& b) { b.infoSize = 12; }, kNoSupport},
        {[](Bmp& b) { b.infoSize = 0x7FFFFFFF; }, kNoSupport},
        {[](Bmp& b) { b.offBits = 4001; }, kNoSupport},
    };
    // Each row's outcome from memory and from disk (where the size limits come first), for a
    // fresh element and one holding an earlier import. A refusal changes nothing; an
    // acceptance gives `pixels` (unless none) and colour 1 from entry 0 as 0x00BBGGRR.
    GeoDocument fresh = font(8, 9), earlier = fresh;
    ASSERT_EQ(import(earlier, image(5, 3, 8).build()), kAccepted);
    for (const Row& row : rows) {
        Bmp b = image(3, 2, 4);
        b.indices = {5, 2, 0, 0, 0, 14};
        b.trailing = 4000, b.truncateTo = 4000;  // above the lower size limit, below the upper
        row.change(b);
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        test::TempDir dir;
        test::writeBytes(dir.file("i.bmp"), b.build());
        for (const GeoDocument& before : {fresh, earlier}) {
            GeoDocument doc = before;
            EXPECT_EQ(import(doc, b.build()), row.message);
            EXPECT_EQ(import(doc, dir.file("i.bmp")), row.message);
            const ImportSlot& s = doc.importSlots[1];
            if (row.message != std::string(kAccepted)) {
                EXPECT_EQ(slotState(doc), slotState(before));
            } else if (!row.pixels.empty()) {
                EXPECT_EQ(std::tie(s.pixels, s.colors[1]), std::tuple(row.pixels, 0x001020u));
            }
        }
    }
}

// Width, height and resize values follow the image; the display position is the loaded
// one; x and y move to fit and x stays even. A reset then drops the import and keeps the
// configuration.
TEST(ImportFit, ElementTakesTheImageSizeAndAFittingPositionThatAResetKeeps) {
    using Case = std::tuple<std::uint32_t, std::uint32_t, int, int, int, int, FieldCode, FieldCode>;
    const Case cases[] = {{200, 0, 100, 2, 154, 0, FieldCode::x, FieldCode::unchanged},
                          {0, 200, 4, 50, 0, 190, FieldCode::unchanged, FieldCode::y},
                          {11, 0, 9, 2, 12, 0, FieldCode::x, FieldCode::unchanged}};
    for (const auto& [x, y, width, height, fittedX, fittedY, xCode, yCode] : cases) {
        GeoDocument doc = font(x, y);
        std::int32_t out = 0;
        doc.setDisplayX(100, out);  // an edit the import replaces by the loaded value
        doc.modified = 0;
        FieldCode gotX{}, gotY{};
        importElement(doc, gotX, gotY, image(width, height, 8).build());
        const ImportSlot& s = doc.importSlots[1];
        EXPECT_EQ(std::tie(doc.modified, s.imported), std::tuple(1, 1));
        doc.modified = 0;
        EXPECT_FALSE(doc.resetImport());  // drops the import and keeps the configuration
        const ElementConfig& c = doc.configs[1];
        EXPECT_EQ(std::tie(c.x, c.y, gotX, gotY), std::tie(fittedX, fittedY, xCode, yCode)) << x;
        EXPECT_EQ(std::tie(c.width, c.height, c.resizeWidth, c.resizeHeight, c.displayX, c.displayY,
                           doc.modified, s.imported, s.pixels),
                  std::tuple(width, height - 1, width + 1, height, -3, 2, 0, 0, Bytes{}));
    }
}

// Damaged files, plain and run-length encoded, cut at every length or with random values
// in the header or anywhere else. A stream read agrees with a read of the same bytes; an
// import refuses without changes or fills the slot in the size it reports. The sanitizer
// build watches every access.
TEST(ImportMalformed, EveryTruncationAndRandomDamage) {
    GeoDocument base = font();
    ASSERT_EQ(import(base, image(5, 3, 8).build()), kAccepted);
    const auto attempt = [&base](const Bytes& file) {
        std::istringstream stream(std::string(file.begin(), file.end()));
        BmpImage fromStream, fromBytes;
        std::int32_t w = 0, h = 0;
        std::uint16_t bits = 0;
        EXPECT_EQ(test::outcome([&] { fromStream.read(stream, w, h, bits); }),
                  test::outcome([&] { fromBytes.read(file, w, h, bits); }));
        EXPECT_EQ(fromStream.pixels, fromBytes.pixels);
        GeoDocument doc = base;
        const ImportSlot& s = doc.importSlots[1];
        if (import(doc, file) != kAccepted)
            EXPECT_EQ(slotState(doc), slotState(base));
        else
            EXPECT_EQ(s.pixels.size(), (s.width + 1) / 2 * (s.height + 1));
    };
    Bmp v5 = image(64, 64, 8);  // larger than one read chunk of a stream
    v5.infoSize = 124, v5.gap = 10;
    const Bytes seeds[] = {image(7, 5, 4).setIndex(6, 4, 9).build(),
                           image(9, 3, 8).setIndex(8, 2, 200).build(),
                           v5.setIndex(63, 0, 9).build(), picture(13, 9, 4).encoded().build(),
                           picture(25, 9, 8).encoded().build()};
    for (const Bytes& seed : seeds)
        for (auto end = seed.begin(); end <= seed.end(); ++end)
            attempt(Bytes(seed.begin(), end));
    const std::uint32_t edge[] = {0, 1, 8, 15, 16, 40, 124, 256, 1078, 0x80000000, 0xFFFFFFFF};
    std::mt19937 rng(20240601);
    for (int round = 0; round < 2000; ++round) {
        Bytes file = seeds[rng() % std::size(seeds)];
        for (auto edit = rng() % 3; edit < 3; ++edit) {  // 1 to 3 values, often in the header
            const std::size_t at = rng() % (rng() % 2 ? 120 : file.size() - 4);
            const std::size_t v = rng() % 2 ? edge[rng() % 11] : rng();
            for (std::size_t k = 0; k < (v > 255 ? 4u : 1u); ++k)
                file[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
        }
        attempt(file);
    }
}

}  // namespace
}  // namespace zt9
