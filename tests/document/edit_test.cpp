#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "support/test_util.h"

namespace zt9::test {
namespace {

using EC = ElementConfig;
using GD = GeoDocument;
using FC = FieldCode;
constexpr std::int32_t kUntouched = 12345;  // `out` keeps this when the code is 0

// A five-element font; element 2 stands near the bottom right corner of the picture.
GeoDocument fiveElements() {
    GeoBuilder builder = GeoBuilder::grid(5);
    builder.elements[2] = {240, 230, 10, 5, 40, 50, -7, 9};  // resize 40 x 50, display -7, 9
    return openDocument(builder);
}

TEST(ElementOps, FieldOperationsStoreTheCorrectedValueAndMark) {
    const struct {
        FieldCode (GeoDocument::*op)(std::int32_t, std::int32_t&);
        std::int32_t ElementConfig::*field;
        std::int32_t x, y, width, height, value;
        FieldCode code;
        std::int32_t stored;  // also `out` when the code is not 0
        int kind = 0;         // 1: the element is imported; 2: restoring, which moves a neighbour
    } cases[] = {
        {&GD::setX, &EC::x, 0, 0, 10, 0, 7, FC::x, 8},
        {&GD::setX, &EC::x, 0, 0, 10, 0, 251, FC::x, 244},
        {&GD::setX, &EC::x, 50, 0, 10, 0, -2, FC::x, 0},
        {&GD::setWidth, &EC::width, 100, 0, 10, 0, 0, FC::width, 1},
        {&GD::setWidth, &EC::width, 100, 0, 10, 0, 155, FC::unchanged, 155},
        {&GD::setWidth, &EC::width, 100, 0, 10, 0, 200, FC::width, 155},
        {&GD::setWidth, &EC::width, 100, 0, 10, 0, 50, FC::width, 10, 1},
        {&GD::setHeight, &EC::height, 0, 0, 10, 5, 0, FC::unchanged, 0},
        {&GD::setHeight, &EC::height, 0, 200, 10, 5, 100, FC::height, 39},
        {&GD::setHeight, &EC::height, 0, 5, 10, 5, -1, FC::height, 0},
        {&GD::setY, &EC::y, 0, 0, 10, 3, 0x7FFFFFFF, FC::y, 236},
        {&GD::setY, &EC::y, 0, 100, 10, 3, -1, FC::y, 0},
        {&GD::setResizeWidth, &EC::resizeWidth, 0, 0, 1, 0, 381, FC::resizeWidth, 380},
        {&GD::setResizeWidth, &EC::resizeWidth, 0, 0, 1, 0, 0, FC::resizeWidth, 1},
        {&GD::setResizeHeight, &EC::resizeHeight, 0, 0, 1, 0, 256, FC::resizeHeight, 255},
        {&GD::setDisplayX, &EC::displayX, 0, 0, 1, 0, 256, FC::displayX, 255},
        {&GD::setDisplayX, &EC::displayX, 0, 0, 1, 0, 65535, FC::unchanged, -1},
        {&GD::setDisplayX, &EC::displayX, 0, 0, 1, 0, 0x8000, FC::displayX, -255},
        {&GD::setDisplayY, &EC::displayY, 0, 0, 1, 0, -256, FC::displayY, -255},
        {&GD::restoreWidth, &EC::x, 200, 0, 10, 0, 100, FC::x, 154, 2},  // made even
        {&GD::restoreHeight, &EC::y, 0, 200, 1, 10, 100, FC::y, 139, 2},
        {&GD::restoreX, &EC::width, 100, 0, 100, 0, 200, FC::width, 55, 2},
        {&GD::restoreY, &EC::height, 0, 100, 1, 100, 200, FC::height, 39, 2},
        {&GD::restoreY, &EC::height, 0, 100, 1, 39, 200, FC::unchanged, 39, 2},
        // Values far below zero: the moved neighbour stays at the largest value, no overflow.
        {&GD::restoreX, &EC::width, 100, 0, 100, 0, INT32_MIN, FC::width, INT32_MAX, 2},
        {&GD::restoreWidth, &EC::x, 200, 0, 10, 0, INT32_MIN, FC::x, INT32_MAX - 1, 2},
        {&GD::restoreHeight, &EC::y, 0, 200, 1, 10, INT32_MIN + 5, FC::y, INT32_MAX, 2},
        {&GD::setWidth, &EC::width, INT32_MIN, 0, 10, 0, 5, FC::width, INT32_MAX},
    };
    GeoDocument doc = fiveElements();
    for (const auto& c : cases) {
        std::tie(doc.importSlots[0].imported, doc.modified) = std::pair(c.kind == 1, 0);
        const ElementConfig& config = doc.configs[0] = {c.x, c.y, c.width, c.height};
        std::int32_t out = kUntouched;
        EXPECT_EQ((std::tuple{(doc.*c.op)(c.value, out), config.*c.field, out, doc.modified}),
                  std::tuple(c.code, c.stored, c.code == FC::unchanged ? kUntouched : c.stored,
                             std::uint8_t{c.kind == 0}))
            << "row " << &c - cases;
    }
}

TEST(ElementOps, SelectStepZoomAndResetStayWithinTheirLimits) {
    GeoDocument doc = fiveElements();
    std::int32_t out = kUntouched;
    // Steps stop at both ends; a number out of range selects the last element and says so.
    // Zoom stays within 1..10. (A braced list is evaluated in order; a copy such as int{out}
    // keeps the value of its moment.)
    EXPECT_EQ(
        (std::tuple{doc.previousElement(), doc.selectElement(3, out), doc.nextElement(),
                    doc.nextElement(), int{out}, doc.selectElement(-1, out), int{out},
                    doc.previousElement(), doc.selectElement(5, out), doc.currentElement,
                    doc.zoomOut()}),
        std::tuple(0u, FC::unchanged, 4u, 4u, kUntouched, FC::number, 4, 3u, FC::number, 4u, 1u));
    for (std::uint32_t zoom = 2; zoom <= 11; ++zoom)
        EXPECT_EQ(doc.zoomIn(), std::min(zoom, 10u));

    // fileConfig and resetElementConfig give the loaded values, without marking the document.
    const ElementConfig loaded{240, 230, 10, 5, -7, 9, 40, 50, 0, 0, 0, 2};
    EXPECT_EQ(doc.configs[2], loaded);
    doc.currentElement = 2;
    doc.configs[2] = {100, 40, 20, 5, 0, 0, 0, 0, 0, 0, 0, 2};
    std::uint8_t imported = 0;
    EXPECT_EQ((std::tuple{doc.fileConfig(imported), int{imported}, int{doc.configs[2].x},
                          doc.resetElementConfig(), doc.configs[2], doc.modified}),
              std::tuple(EC{240, 230, 10, 5, -7, 9, 40, 50}, 0, 100, loaded, loaded, 0));

    // An imported image of 31 x 21 pixels keeps its size; reset moves it to fit the picture.
    doc.importSlots[2] = {1, Bytes(std::size_t{16} * 21, 0x21), {}, 31, 20};
    doc.configs[2] = {100, 40, 31, 20};
    imported = 1;
    EXPECT_EQ((std::tuple{doc.fileConfig(imported), int{imported}, doc.resetElementConfig(),
                          doc.resetImport(), doc.importSlots[2].pixels.size()}),
              std::tuple(EC{240, 230, 31, 20, -7, 9, 32, 21}, 1,
                         EC{224, 219, 31, 20, -7, 9, 32, 21}, false, 0u));
}

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

// Colour k of an imported image and the 15-bit word a save writes for it: levels are eighths
// rounded up, at most 31. From k = 4 on, red 8k, green 16k and blue 8k give k * 0x441.
constexpr std::uint32_t kColors[4][2] = {
    {0, 0}, {0x0008FF, 0x003F}, {0xF98109, 0x7E22}, {0x000801, 0x0021}};
std::uint32_t color(std::size_t k, bool saved) {
    return k < 4 ? kColors[k][saved] : static_cast<std::uint32_t>(k) * (saved ? 0x441 : 0x081008);
}

ImportSlot importOf(Rect r) {
    ImportSlot slot{
        1, Bytes(std::size_t{(r.width + 1u) / 2} * (r.height + 1u)), {}, r.width, r.height};
    for (std::size_t k = 0; k < slot.pixels.size(); ++k)
        slot.pixels[k] = static_cast<std::uint8_t>(k * 37 + 5) | 0x11;
    for (std::size_t k = 0; k < 16; ++k)
        slot.colors[k] = color(k, false);
    return slot;
}

// The file a save should write, worked out byte by byte from the save rules. A rectangle
// covers (width + 1) / 2 bytes of each of its height + 1 rows, from byte (256 y + x) / 2 of
// the pixels on, rows 128 bytes apart; no pixel write reaches the palette table. All old
// places are cleared first; then moved and resized elements in element order, each zero
// where its loaded pixels do not reach; then imported ones with their colours. Element 0's
// resize width (at 16) is 380 and its display y (at 22) -3 in every case.
Bytes expectedSave(const Bytes& loaded, std::vector<Edit> edits) {
    Bytes out = loaded;
    const std::size_t p = loaded[4] + 256u * loaded[5];
    auto byteAt = [&](Rect r, std::size_t row, std::size_t b) {
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
    std::ranges::stable_sort(edits, {},
                             [](const Edit& e) { return std::pair(e.imported, e.element); });
    for (const Edit& e : edits) {
        std::memcpy(&out[24 + 16 * e.element], &e.to, 4);
        const Bytes pixels = importOf(e.to).pixels;
        fill(e.to, [&](std::uint32_t row, std::uint32_t b) {
            const bool loadedByte = row <= e.from.height && b < (e.from.width + 1u) / 2;
            return e.imported   ? pixels[row * ((e.to.width + 1u) / 2) + b]
                   : loadedByte ? loaded[byteAt(e.from, row, b)]
                                : std::uint8_t{0};
        });
        for (std::size_t k = 0; k < 32 && e.imported; ++k)
            out[p + 30736 + 36 * e.element + k] =
                static_cast<std::uint8_t>(color(k / 2, true) >> (k % 2 * 8));
    }
    std::tie(out[16], out[17], out[22], out[23]) = std::tuple(0x7C, 1, 0xFD, 0xFF);
    return out;
}

// A font whose elements stand where given, each painted with its own pattern, over
// a background with no 0 pixel: every byte a save clears or moves by mistake shows.
GeoBuilder fontOf(std::vector<ElementLayout> elements) {
    GeoBuilder builder{std::move(elements)};
    for (std::size_t k = 0; k < builder.pixels.size(); ++k)
        builder.pixels[k] = static_cast<std::uint8_t>(((k * 7 + 3) % 15 + 1) * 0x11);
    for (std::size_t i = 0; i < builder.elements.size(); ++i)
        builder.paintPattern(i);
    return builder;
}

TEST(Save, EditsChangeOnlyTheBytesTheRulesName) {
    const GeoBuilder three = fontOf({{0, 10, 10, 5}, {10, 20, 10, 5}, {24, 20, 10, 5}});
    // An entry read from the picture: element 1's display word is the first pixel bytes.
    GeoBuilder tableInPicture{{{40, 5, 8, 0}}};
    tableInPicture.paintPattern(0);
    tableInPicture.lastNumber = 2;
    tableInPicture.extraBytes.assign(72, 0x3C);
    const std::pair<GeoBuilder, std::vector<Edit>> cases[] = {
        {three, {{1, {12, 20, 10, 5}}}},                               // moved
        {three, {{1, {10, 20, 9, 5}}}},                                // narrower
        {three, {{1, {10, 20, 11, 5}}}},                               // wider
        {three, {{1, {10, 20, 10, 6}}}},                               // higher
        {three, {{1, {10, 20, 10, 4}}}},                               // lower
        {three, {{1, {40, 50, 6, 9}}, {2, {40, 48, 14, 2}}}},          // overlapping: 2 wins
        {three, {{0, {10, 20, 10, 5}}, {1, {80, 0, 10, 5}}}},          // onto the other's old place
        {three, {{1, {100, 50, 10, 5}}, {0, {100, 50, 6, 2}, true}}},  // imported after all
        {three, {{1, {0, 0, 10, 3}, true}}},  // import: place word, rows, colours
        // A grown element's zero fill erases a lower element's bytes.
        {fontOf({{0, 0, 10, 5}, {44, 50, 4, 5}}), {{0, {50, 50, 10, 5}}, {1, {44, 50, 10, 5}}}},
        {fontOf({{250, 0, 20, 3}}), {{0, {250, 236, 20, 3}}}},  // stops at the palette
        {tableInPicture, {{0, {0, 0, 8, 0}}}},
    };
    for (const auto& [font, edits] : cases) {
        GeoDocument doc = openDocument(font);
        for (const Edit& e : edits) {
            takePlace(doc.configs[e.element], encodePlace(e.to.x, e.to.y, e.to.width, e.to.height));
            if (e.imported)
                doc.importSlots[e.element] = importOf(e.to);
        }
        std::tie(doc.configs[0].resizeWidth, doc.configs[0].displayY) = std::pair(380, -3);
        const Bytes expected = expectedSave(font.build(), edits), saved = doc.buildSaveImage();
        EXPECT_TRUE(saved == expected && doc.buildSaveImage() == saved)  // saved twice
            << "case " << &font - &cases[0].first << ", first difference at "
            << std::ranges::mismatch(saved, expected).in1 - saved.begin();
    }
}

}  // namespace
}  // namespace zt9::test
