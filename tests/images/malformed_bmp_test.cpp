#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "image_test_util.h"
#include "images/element_import.h"
#include "support/bmp_builder.h"

namespace zt9 {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<Bytes> seeds() {
    std::vector<Bytes> list;
    list.push_back(test::BmpBuilder(1, 1, 4).withDistinctPalette().build());
    list.push_back(test::BmpBuilder(7, 5, 4).withDistinctPalette().setIndex(6, 4, 9).build());
    test::BmpBuilder eight(9, 3, 8);
    eight.clrUsed = 16;
    list.push_back(eight.withDistinctPalette().setIndex(8, 2, 200).build());
    test::BmpBuilder v5(5, 4, 8);
    v5.infoSize = 124;
    v5.gap = 10;
    list.push_back(v5.withDistinctPalette(256).build());
    return list;
}

// Imports the file into a document whose element already holds an import; a refusal must
// leave it exactly as it was, an acceptance must leave a consistent slot.
void importChecked(const GeoDocument& base, const Bytes& file, const std::string& label) {
    GeoDocument doc = base;
    FieldCode xCode{}, yCode{};
    try {
        importElement(doc, xCode, yCode, file);
    } catch (const error&) {
        test::expectSameImportState(base, doc);
        return;
    }
    const ImportSlot& slot = doc.importSlots[doc.currentElement];
    ASSERT_LE(slot.width, 255u) << label;
    ASSERT_LE(slot.height, 239u) << label;
    ASSERT_GE(slot.width, 1u) << label;
    ASSERT_EQ(slot.pixels.size(), (slot.width + 1) / 2 * (slot.height + 1)) << label;
}

GeoDocument baseDocument() {
    GeoDocument doc = test::openDocument(test::GeoBuilder::grid(2));
    FieldCode xCode{}, yCode{};
    importElement(doc, xCode, yCode, seeds()[1]);
    doc.modified = 0;
    return doc;
}

TEST(MalformedBmp, EveryTruncation) {
    const GeoDocument base = baseDocument();
    for (const Bytes& seed : seeds()) {
        for (std::size_t size = 0; size <= seed.size(); ++size) {
            const Bytes cut(seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(size));
            BmpImage bmp;
            std::int32_t w = 0, h = 0;
            std::uint16_t bits = 0;
            try {
                bmp.read(cut, w, h, bits);
            } catch (const error&) {
            }
            if (size >= kImportMinBytes)
                importChecked(base, cut, "cut " + std::to_string(size));
        }
    }
}

TEST(MalformedBmp, RandomHeaderDamage) {
    const GeoDocument base = baseDocument();
    const std::uint32_t interesting[] = {
        0,   1,   4,   8,   12,  15,   16,         40,         54,         108,
        118, 124, 255, 256, 257, 1078, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFF00};
    std::mt19937 random(20240601);
    const std::vector<Bytes> list = seeds();
    for (int round = 0; round < 3000; ++round) {
        Bytes file = list[random() % list.size()];
        const int edits = 1 + static_cast<int>(random() % 3);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % std::min<std::size_t>(file.size(), 150);
            if (random() % 2 == 0) {
                file[at] = static_cast<std::uint8_t>(random());
            } else {
                const std::uint32_t v = interesting[random() % std::size(interesting)];
                for (std::size_t k = 0; k < 4 && at + k < file.size(); ++k)
                    file[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
            }
        }
        if (random() % 4 == 0)
            file.resize(std::max<std::size_t>(kImportMinBytes, random() % file.size()));
        importChecked(base, file, "round " + std::to_string(round));
        std::istringstream stream(std::string(file.begin(), file.end()));
        BmpImage bmp;
        std::int32_t w = 0, h = 0;
        std::uint16_t bits = 0;
        try {
            bmp.read(stream, w, h, bits);
            std::vector<std::uint8_t> pixels;
            std::array<std::uint32_t, 16> colors{};
            bmp.decode4bpp(pixels, colors);  // the wrong depth must be safe too
            bmp.decode8bpp(pixels, colors);
        } catch (const error&) {
        }
    }
}

}  // namespace
}  // namespace zt9
