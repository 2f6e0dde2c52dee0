// Reading BMP files through an element import: what is accepted and how it is decoded,
// every refusal, the fitting of the element, and a malformed-input sweep.

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <tuple>

#include "image_test_util.h"
#include "images/bmp_image.h"
#include "images/element_import.h"
#include "support/bmp_builder.h"
#include "support/temp_dir.h"

namespace zt9 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::BmpBuilder;

constexpr const char* kAccepted = "<accepted>";
constexpr const char* kNoSupport = "No support BMP format";
constexpr const char* kNotTransparent = "Last color in the palette is not a transparent";

// A two-element font; element 1 is current, at (x, y), loaded with display (-3, 2).
GeoDocument font(std::uint32_t x = 0, std::uint32_t y = 0) {
    test::GeoBuilder builder = test::GeoBuilder::grid(2);
    auto& e = builder.elements[1];
    std::tie(e.x, e.y, e.displayX, e.displayY) = std::tuple(x, y, -3, 2);
    GeoDocument doc = test::openDocument(builder);
    doc.currentElement = 1;
    return doc;
}

// Entry k is blue k, green 16 + k, red 32 + k; entry 15 is zero. 8-bit images get 256
// entries unless clrUsed is 16.
BmpBuilder image(std::int32_t w, std::int32_t h, std::uint16_t bits, std::uint32_t clrUsed = 0) {
    BmpBuilder b(w, h, bits);
    b.clrUsed = clrUsed;
    return b.withDistinctPalette(bits == 8 && clrUsed != 16 ? 256 : 16);
}

template <typename Source>
std::string import(GeoDocument& doc, const Source& file) {
    FieldCode xCode{}, yCode{};
    return test::outcome([&] { importElement(doc, xCode, yCode, file); });
}

const ImportSlot& importAccepted(GeoDocument& doc, const Bytes& file) {
    EXPECT_EQ(import(doc, file), kAccepted);
    return doc.importSlots[1];
}

auto slotState(const ImportSlot& s) {
    return std::tie(s.imported, s.pixels, s.colors, s.width, s.height);
}

// The outcome of the file from memory and from disk, where file size limits come first. A refusal
// leaves slot, configuration and `modified` as they were, for a fresh element and for one holding
// an earlier import.
void expectOutcome(const Bytes& file, const std::string& message) {
    test::TempDir dir;
    test::writeBytes(dir.file("i.bmp"), file);
    for (const bool earlier : {false, true}) {
        GeoDocument doc = font(8, 9);
        if (earlier)
            importAccepted(doc, image(5, 3, 8).build());
        const GeoDocument before = doc;
        EXPECT_EQ(import(doc, file), message);
        EXPECT_EQ(import(doc, dir.file("i.bmp")), message);
        if (message != kAccepted) {
            EXPECT_EQ(std::tie(doc.modified, doc.configs),
                      std::tie(before.modified, before.configs))
                << message;
            EXPECT_EQ(slotState(doc.importSlots[1]), slotState(before.importSlots[1])) << message;
        }
    }
}

TEST(ImportRefusals, EachGivesItsMessageAndChangesNothing) {
    using Damage = void (*)(BmpBuilder&);
    const std::pair<Damage, const char*> cases[] = {
        {[](BmpBuilder& b) { b.truncateTo = 122; }, kAccepted},
        {[](BmpBuilder& b) { b.truncateTo = 121; }, text::kBmpTooSmall},  // would still read
        {[](BmpBuilder& b) { b = image(255, 240, 8), b.trailing = 2; }, kAccepted},  // 62520 bytes
        {[](BmpBuilder& b) { b = image(255, 240, 8), b.trailing = 3, b.type = 0; },
         text::kBmpTooLarge},  // checked before the header
        {[](BmpBuilder& b) { b.type = 0x4D43; }, "Has been opened not BMP file"},
        {[](BmpBuilder& b) { b.width = 256, b.height = 240; }, "Image width is too large"},
        {[](BmpBuilder& b) { b.width = 255, b.height = 241; }, "Image hight is too large"},
        {[](BmpBuilder& b) { b.width = 256, b.height = 241; }, "Image size is too large"},
        {[](BmpBuilder& b) { b.height = -4; }, "Image hight is too large"},  // top-down
        {[](BmpBuilder& b) { b.width = 256, b.bitCount = 24; }, "Image width is too large"},
        {[](BmpBuilder& b) { b.bitCount = 24; }, kNoSupport},
        {[](BmpBuilder& b) { b.clrUsed = 8; }, "Palette size is not 16 colors"},
        {[](BmpBuilder& b) { b.bitCount = 8, b.clrUsed = 8; },
         "Palette size is not 16 or 256 colors"},
        {[](BmpBuilder& b) { b.setEntry(15, 0, 0, 1); }, kNotTransparent},
        {[](BmpBuilder& b) { b.bitCount = 8, b.setEntry(15, 1, 0, 0); }, kNotTransparent},
        {[](BmpBuilder& b) { b.height = 0; }, kNoSupport},
        {[](BmpBuilder& b) { b.height = 0, b.clrUsed = 7; }, kNoSupport},
        {[](BmpBuilder& b) { b.width = 0; }, kNoSupport},
        {[](BmpBuilder& b) { b.compression = 1; }, kNoSupport},
        {[](BmpBuilder& b) { b.infoSize = 12; }, kNoSupport},
        {[](BmpBuilder& b) { b.infoSize = 0x7FFFFFFF; }, kNoSupport},
        {[](BmpBuilder& b) { b.offBits = 4001; }, kNoSupport},
    };
    for (const auto& [damage, message] : cases) {
        BmpBuilder b = image(4, 4, 4);
        b.trailing = 4000;    // keeps images without rows above the size limit
        b.truncateTo = 4000;  // and large ones below it
        damage(b);
        expectOutcome(b.build(), message);
    }
}

TEST(ImportRead, LayoutsOtherWritersProduceGiveTheSameElement) {
    using Layout = void (*)(BmpBuilder&);
    const Layout layouts[] = {
        [](BmpBuilder& b) { b.clrUsed = 16; },
        [](BmpBuilder& b) { b.infoSize = 108; },
        [](BmpBuilder& b) { b.infoSize = 124, b.gap = 6; },
        [](BmpBuilder& b) { b.gap = 6; },
        [](BmpBuilder& b) { b.offBits = 0; },  // overlaps the palette: right after it
        [](BmpBuilder& b) { b.sizeImage = 0; },
        [](BmpBuilder& b) { b.sizeImage = 1; },
        [](BmpBuilder& b) { b.sizeImage = 0xFFFFFFFF; },
        [](BmpBuilder& b) { b.truncateTo = 124; },  // ends in the top row: zeros follow
    };
    for (std::size_t i = 0; i < std::size(layouts); ++i) {
        BmpBuilder b = image(3, 2, 4);
        b.indices = {5, 2, 0, 0, 0, 14};
        layouts[i](b);
        GeoDocument doc = font();
        const ImportSlot& slot = importAccepted(doc, b.build());
        // Top row 5, 2, 0 -> 6, 3, 1; bottom row 0, 0, 14 -> 1, 1, 15; the padding nibble
        // of the odd width stays 0.
        EXPECT_EQ(slot.pixels, (Bytes{0x36, 0x01, 0x11, 0x0F})) << i;
        EXPECT_EQ(slot.colors[1], 0x001020u) << i;  // entry 0 as 0x00BBGGRR
    }
}

TEST(ImportRead, EightBitPixelsFollowThePaletteAndKeepTheLowNibbleOfValuePlusOne) {
    for (const std::uint32_t used : {16u, 0u, 256u}) {
        BmpBuilder b = image(5, 2, 8, used);
        b.indices = {15, 31, 255, 16, 0, 13};
        GeoDocument doc = font();
        // Top row 0, 0, 0, 1, 1; bottom row 14, 1, 1, 1, 1; padding of the odd width 0.
        EXPECT_EQ(importAccepted(doc, b.build()).pixels,
                  (Bytes{0x00, 0x10, 0x01, 0x1E, 0x11, 0x01}))
            << used;
    }
}

// Width, height and resize values follow the image; the display position is the loaded
// one; x and y move to fit and x stays even.
TEST(ImportFit, ElementTakesTheImageSizeAndAFittingPosition) {
    using Case = std::tuple<std::uint32_t, std::uint32_t, int, int, int, int, FieldCode, FieldCode>;
    const Case cases[] = {{200, 0, 100, 2, 154, 0, FieldCode::x, FieldCode::unchanged},
                          {0, 200, 4, 50, 0, 190, FieldCode::unchanged, FieldCode::y},
                          {11, 0, 4, 2, 12, 0, FieldCode::x, FieldCode::unchanged}};
    for (const auto& [x, y, width, height, fittedX, fittedY, xCode, yCode] : cases) {
        GeoDocument doc = font(x, y);
        std::int32_t out = 0;
        doc.setDisplayX(100, out);  // an edit the import replaces by the loaded value
        doc.modified = 0;
        FieldCode gotX{}, gotY{};
        importElement(doc, gotX, gotY, image(width, height, 8).build());
        const ElementConfig& c = doc.configs[1];
        EXPECT_EQ(std::tie(c.x, c.y, gotX, gotY), std::tie(fittedX, fittedY, xCode, yCode)) << x;
        EXPECT_EQ(
            std::tie(c.width, c.height, c.resizeWidth, c.resizeHeight, c.displayX, c.displayY),
            std::tuple(width, height - 1, width + 1, height, -3, 2));
        const ImportSlot& slot = doc.importSlots[1];
        EXPECT_EQ(std::tuple(slot.imported, slot.width, slot.height, doc.modified),
                  std::tuple(1, width, height - 1, 1));
    }
}

TEST(ImportSlotLife, SecondImportReplacesTheFirstAndResetDropsIt) {
    GeoDocument doc = font();
    importAccepted(doc, image(9, 3, 8).build());
    const ImportSlot& slot = importAccepted(doc, image(2, 1, 4).build());
    EXPECT_EQ(std::tie(slot.width, slot.height, slot.pixels), std::tuple(2u, 0u, Bytes{0x11}));
    const ElementConfig imported = doc.configs[1];
    doc.modified = 0;
    EXPECT_FALSE(doc.resetImport());
    EXPECT_EQ(std::tie(slot.imported, slot.pixels, doc.modified), std::tuple(0, Bytes{}, 0));
    EXPECT_EQ(doc.configs[1], imported);
}

// Damaged files, cut at every length or with random header values. A direct read from a
// stream takes any length and may decode at either depth; an import refuses the file
// without changes or agrees with the read. The sanitizer build watches every access.
TEST(ImportMalformed, EveryTruncationAndRandomHeaderDamage) {
    GeoDocument base = font();
    importAccepted(base, image(5, 3, 8).build());
    const auto attempt = [&base](const Bytes& file) {
        std::istringstream stream(std::string(file.begin(), file.end()));
        BmpImage bmp;
        std::int32_t w = 0, h = 0;
        std::uint16_t bits = 0;
        Bytes four, eight;
        std::array<std::uint32_t, 16> colors{};
        try {
            bmp.read(stream, w, h, bits);
            bmp.decode4bpp(four, colors);
            bmp.decode8bpp(eight, colors);
        } catch (const error&) {
        }
        GeoDocument doc = base;
        if (import(doc, file) == kAccepted) {
            EXPECT_EQ(doc.importSlots[1].pixels, bits == 4 ? four : eight);
        } else {
            EXPECT_EQ(slotState(doc.importSlots[1]), slotState(base.importSlots[1]));
            EXPECT_EQ(doc.configs, base.configs);
        }
    };
    BmpBuilder v5 = image(64, 64, 8);  // larger than one read chunk of a stream
    v5.infoSize = 124;
    v5.gap = 10;
    const Bytes seeds[] = {image(7, 5, 4).setIndex(6, 4, 9).build(),
                           image(9, 3, 8, 16).setIndex(8, 2, 200).build(),
                           v5.setIndex(63, 0, 9).build()};
    for (const Bytes& seed : seeds) {
        for (std::size_t size = 0; size <= seed.size(); ++size)
            attempt(Bytes(seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(size)));
    }
    const std::uint32_t values[] = {0, 1, 8, 15, 16, 40, 124, 256, 1078, 0x80000000, 0xFFFFFFFF};
    std::mt19937 engine(20240601);
    const auto random = [&engine] { return static_cast<std::uint32_t>(engine()); };
    for (int round = 0; round < 2000; ++round) {
        Bytes file = seeds[random() % std::size(seeds)];
        for (std::uint32_t edit = random() % 3; edit < 3; ++edit) {
            const std::size_t at = random() % 120;
            const std::uint32_t v = random() % 2 ? values[random() % std::size(values)] : random();
            for (std::size_t k = 0; k < (v > 255 ? 4u : 1u); ++k)
                file[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
        }
        attempt(file);
    }
}

}  // namespace
}  // namespace zt9
