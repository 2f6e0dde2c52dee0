#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "document_fixtures.h"

namespace zt9::test {
namespace {

struct Rect {
    std::uint8_t x, y, width, height;  // the bytes of a place word; height = rows - 1
};
// Element `element` moved or resized to `to`, or given an imported image of that size at `to`.
struct Edit {
    std::size_t element;
    Rect to;
    bool imported = false;
    Rect from{};  // filled in by expectedSave
};

// An imported image of r's size. Colour k has red 8k, green 16k and blue 8k, exact 5-bit
// levels saved as k * 0x441; colour 1 is red 255, green 8, blue 0, saved as 0x003F.
ImportSlot importOf(Rect r) {
    ImportSlot slot{
        1, std::vector<std::uint8_t>((r.width + 1u) / 2 * (r.height + 1u)), {}, r.width, r.height};
    for (std::size_t k = 0; k < slot.pixels.size(); ++k)
        slot.pixels[k] = static_cast<std::uint8_t>(k * 37 + 5) | 0x11;
    for (std::uint32_t k = 0; k < 16; ++k)
        slot.colors[k] = k == 1 ? 0x0008FF : k * 0x081008;
    return slot;
}

// The file a save should write, worked out byte by byte from the save rules. A rectangle
// covers (width + 1) / 2 bytes of each of its height + 1 rows, from byte (256 y + x) / 2 of
// the pixels on, rows 128 bytes apart; no pixel write reaches the palette table. All old
// places are cleared first; then moved and resized elements in element order, each zero
// where its loaded pixels do not reach; then imported ones.
std::vector<std::uint8_t> expectedSave(const std::vector<std::uint8_t>& loaded,
                                       std::vector<Edit> edits) {
    std::vector<std::uint8_t> out = loaded;
    const std::size_t p = loaded[4] + 256u * loaded[5];
    auto byteAt = [&](Rect r, std::uint32_t row, std::uint32_t b) {
        return p + 12 + (256u * r.y + r.x) / 2 + 128 * row + b;
    };
    auto fill = [&](Rect r, auto value) {
        for (std::uint32_t row = 0; row <= r.height; ++row)
            for (std::uint32_t b = 0; b < (r.width + 1u) / 2 && byteAt(r, row, b) < p + 30732; ++b)
                out[byteAt(r, row, b)] = value(row, b);
    };
    for (Edit& e : edits) {
        std::memcpy(&e.from, &loaded[24 + 16 * e.element], 4);
        fill(e.from, [](auto, auto) { return std::uint8_t{0}; });
    }
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
        return std::pair(a.imported, a.element) < std::pair(b.imported, b.element);
    });
    for (const Edit& e : edits) {
        std::memcpy(&out[24 + 16 * e.element], &e.to, 4);
        const std::vector<std::uint8_t> pixels = importOf(e.to).pixels;
        fill(e.to, [&](std::uint32_t row, std::uint32_t b) {
            if (e.imported)
                return pixels[row * ((e.to.width + 1u) / 2) + b];
            const bool loadedByte = row <= e.from.height && b < (e.from.width + 1u) / 2;
            return loadedByte ? loaded[byteAt(e.from, row, b)] : std::uint8_t{0};
        });
        for (std::size_t k = 0; k < 16 && e.imported; ++k) {
            const std::size_t at = p + 30732 + 36 * e.element + 4 + 2 * k;
            const std::size_t packed = k == 1 ? 0x3F : k * 0x441;
            std::tie(out[at], out[at + 1]) = std::pair(packed & 0xFF, packed >> 8);
        }
    }
    return out;
}

TEST(Save, EditsChangeOnlyTheBytesTheRulesName) {
    const GeoBuilder three = fontOf({{0, 10, 10, 5}, {10, 20, 10, 5}, {24, 20, 10, 5}});
    const GeoBuilder two = fontOf({{0, 0, 8, 3}, {40, 0, 8, 3}});
    // An entry read from the picture: element 1's display word is the first pixel bytes.
    GeoBuilder tableInPicture;
    tableInPicture.elements = {{40, 5, 8, 0}};
    tableInPicture.paintPattern(0);
    tableInPicture.lastNumber = 2;
    tableInPicture.extraBytes.assign(72, 0x3C);
    const std::pair<GeoBuilder, std::vector<Edit>> cases[] = {
        {three, {{1, {12, 20, 10, 5}}}},                            // moved
        {three, {{1, {10, 20, 9, 5}}}},                             // narrower
        {three, {{1, {10, 20, 11, 5}}}},                            // wider
        {three, {{1, {10, 20, 10, 6}}}},                            // higher
        {three, {{1, {10, 20, 10, 4}}}},                            // lower
        {three, {{1, {40, 50, 6, 9}}, {2, {40, 48, 14, 2}}}},       // overlapping: 2 wins
        {two, {{0, {40, 0, 8, 3}}, {1, {80, 0, 8, 3}}}},            // onto the other's old place
        {two, {{1, {100, 50, 8, 3}}, {0, {100, 50, 6, 2}, true}}},  // imported after all
        {two, {{1, {0, 0, 10, 3}, true}}},  // import: place word, rows, colours
        // A grown element's zero fill erases a lower element's bytes.
        {fontOf({{0, 0, 10, 5}, {44, 50, 4, 5}}), {{0, {50, 50, 10, 5}}, {1, {44, 50, 10, 5}}}},
        {fontOf({{250, 0, 20, 3}}), {{0, {250, 236, 20, 3}}}},  // stops at the palette
        {tableInPicture, {{0, {0, 0, 8, 0}}}},
    };
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        SCOPED_TRACE("case " + std::to_string(c));
        const auto& [font, edits] = cases[c];
        GeoDocument doc;
        ASSERT_EQ(tryOpen(doc, font.build()), error{});
        for (const Edit& e : edits) {
            takePlace(doc.configs[e.element], encodePlace(e.to.x, e.to.y, e.to.width, e.to.height));
            if (e.imported)
                doc.importSlots[e.element] = importOf(e.to);
        }
        const std::vector<std::uint8_t> expected = expectedSave(font.build(), edits);
        EXPECT_NE(expected, font.build());
        EXPECT_TRUE(sameBytes(doc.buildSaveImage(), expected));
        EXPECT_TRUE(sameBytes(doc.buildSaveImage(), expected)) << "saved again";
    }
}

TEST(Save, TableWordsAreWrittenOnlyWhenChanged) {
    std::vector<std::uint8_t> expected = GeoBuilder::grid(3).build();
    GeoDocument doc;
    ASSERT_EQ(tryOpen(doc, expected), error{});
    std::int32_t out = 0;
    doc.setDisplayY(doc.configs[0].displayY, out);  // the value it has
    doc.selectElement(1, out);
    doc.setDisplayX(-3, out);
    doc.setResizeWidth(380, out);
    // Element 1's entry starts at 28: resize width 380 at 32, display x -3 at 36.
    std::tie(expected[32], expected[33], expected[36], expected[37]) =
        std::tuple(0x7C, 1, 0xFD, 0xFF);
    EXPECT_TRUE(sameBytes(doc.buildSaveImage(), expected));
}

TEST(Save, ColorLevel5RoundsUpToEighthsAndStopsAt31) {
    const std::uint32_t levels[][2] = {{0, 0}, {1, 1}, {8, 1}, {9, 2}, {129, 17}, {249, 31}};
    for (const auto& [channel, level] : levels)
        EXPECT_EQ(colorLevel5(channel), level) << channel;
}

}  // namespace
}  // namespace zt9::test
