#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "document/geo_document.h"
#include "document_fixtures.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"

namespace zt9 {
namespace {

using test::GeoBuilder;
using test::sameBytes;

struct Rect {
    std::uint32_t x, y, width, height;  // height = rows - 1
};

// A moved or resized element, or an imported image put at (x, y).
struct Change {
    std::size_t element;
    Rect to;
};
struct Import {
    std::size_t element;
    Rect to;  // width and height are the image's size
    std::vector<std::uint8_t> pixels;
    std::array<std::uint32_t, 16> colors;
};

// 5-bit level of an 8-bit channel: the smallest k with v <= 8 k, at most 31.
std::uint32_t level(std::uint32_t v) {
    std::uint32_t k = 0;
    while (8 * k < v)
        ++k;
    return std::min<std::uint32_t>(k, 31);
}

// The file a save should write, worked out byte by byte from the save rules. A rectangle
// covers (width + 1) / 2 bytes in each of its height + 1 rows, from byte (256 y + x) / 2 of
// the pixel area on, rows 128 bytes apart; no pixel write reaches the palette table.
class ExpectedSave {
  public:
    ExpectedSave(const GeoBuilder& font, std::vector<std::uint8_t> loaded)
        : font_(font), loaded_(loaded), bytes_(std::move(loaded)) {
        p_ = GeoBuilder::pictureOffsetFor(font.elements.size());
    }

    std::vector<std::uint8_t> apply(const std::vector<Change>& changes,
                                    const std::vector<Import>& imports) {
        // Every old place first, then moved and resized elements, then imported ones.
        for (const Change& c : changes)
            clear(loadedRect(c.element));
        for (const Import& i : imports)
            clear(loadedRect(i.element));
        for (const Change& c : changes) {
            const Rect from = loadedRect(c.element);
            putPlaceWord(c.element, c.to);
            clear(c.to);
            const std::uint32_t bytes = (std::min(from.width, c.to.width) + 1) / 2;
            const std::uint32_t rows = std::min(from.height, c.to.height) + 1;
            for (std::uint32_t r = 0; r < rows; ++r) {
                for (std::uint32_t b = 0; b < bytes; ++b)
                    putPixelByte(c.to, r, b, loaded_.at(pixelByte(from, r, b)));
            }
        }
        for (const Import& i : imports) {
            putPlaceWord(i.element, i.to);
            const std::uint32_t bytes = (i.to.width + 1) / 2;
            for (std::uint32_t r = 0; r <= i.to.height; ++r) {
                for (std::uint32_t b = 0; b < bytes; ++b)
                    putPixelByte(i.to, r, b, i.pixels.at(r * bytes + b));
            }
            const std::size_t colours = p_ + 30732 + 36 * i.element + 4;
            for (std::size_t k = 0; k < 16; ++k) {
                const std::uint32_t c = i.colors[k];
                const std::uint32_t packed =
                    level(c & 0xFF) | level((c >> 8) & 0xFF) << 5 | level((c >> 16) & 0xFF) << 10;
                bytes_.at(colours + 2 * k) = static_cast<std::uint8_t>(packed);
                bytes_.at(colours + 2 * k + 1) = static_cast<std::uint8_t>(packed >> 8);
            }
        }
        return bytes_;
    }

  private:
    Rect loadedRect(std::size_t element) const {
        const test::ElementSpec& e = font_.elements.at(element);
        return {e.x, e.y, e.width, e.height};
    }
    std::size_t pixelByte(Rect r, std::uint32_t row, std::uint32_t byte) const {
        return p_ + 12 + (256 * r.y + r.x) / 2 + 128 * row + byte;
    }
    void putPixelByte(Rect r, std::uint32_t row, std::uint32_t byte, std::uint8_t value) {
        const std::size_t at = pixelByte(r, row, byte);
        if (at < p_ + 30732)
            bytes_.at(at) = value;
    }
    void clear(Rect r) {
        for (std::uint32_t row = 0; row <= r.height; ++row) {
            for (std::uint32_t b = 0; b < (r.width + 1) / 2; ++b)
                putPixelByte(r, row, b, 0);
        }
    }
    void putPlaceWord(std::size_t element, Rect r) {
        const std::size_t at = 24 + 16 * element;
        bytes_.at(at) = static_cast<std::uint8_t>(r.x);
        bytes_.at(at + 1) = static_cast<std::uint8_t>(r.y);
        bytes_.at(at + 2) = static_cast<std::uint8_t>(r.width);
        bytes_.at(at + 3) = static_cast<std::uint8_t>(r.height);
    }

    const GeoBuilder& font_;
    const std::vector<std::uint8_t> loaded_;
    std::vector<std::uint8_t> bytes_;
    std::uint32_t p_ = 0;
};

// Opens a font, applies changes and imports to it, and saves it.
class SaveTest : public ::testing::Test {
  protected:
    void open(GeoBuilder font) {
        font_ = std::move(font);
        loaded_ = font_.build();
        ASSERT_EQ(test::tryOpen(doc, loaded_), error{});
    }
    void apply(const std::vector<Change>& changes, const std::vector<Import>& imports) {
        for (const Change& c : changes) {
            ElementConfig& config = doc.configs.at(c.element);
            config.x = static_cast<std::int32_t>(c.to.x);
            config.y = static_cast<std::int32_t>(c.to.y);
            config.width = static_cast<std::int32_t>(c.to.width);
            config.height = static_cast<std::int32_t>(c.to.height);
        }
        for (const Import& i : imports) {
            ImportSlot& slot = doc.importSlots.at(i.element);
            slot.imported = 1;
            slot.pixels = i.pixels;
            slot.colors = i.colors;
            slot.width = i.to.width;
            slot.height = i.to.height;
            ElementConfig& config = doc.configs.at(i.element);
            config.x = static_cast<std::int32_t>(i.to.x);
            config.y = static_cast<std::int32_t>(i.to.y);
            config.width = static_cast<std::int32_t>(i.to.width);
            config.height = static_cast<std::int32_t>(i.to.height);
        }
        doc.modified = 1;
    }
    std::vector<std::uint8_t> save() {
        doc.saveFile(dir.file("saved.geo"));
        return test::readBytes(dir.file("saved.geo"));
    }
    std::vector<std::uint8_t> expected(const std::vector<Change>& changes,
                                       const std::vector<Import>& imports = {}) {
        return ExpectedSave(font_, loaded_).apply(changes, imports);
    }
    std::uint8_t pixel(const std::vector<std::uint8_t>& file, std::uint32_t x,
                       std::uint32_t y) const {
        return test::geoPixel(file, doc.pictureOffset, x, y);
    }
    std::uint8_t loadedPixel(std::uint32_t x, std::uint32_t y) const { return font_.pixel(x, y); }

    test::TempDir dir;
    GeoDocument doc;
    GeoBuilder font_;
    std::vector<std::uint8_t> loaded_;
};

Import imageOf(std::size_t element, Rect to, std::uint8_t seed) {
    Import i{element, to, {}, {}};
    i.pixels.resize(std::size_t{(to.width + 1) / 2} * (to.height + 1));
    for (std::size_t k = 0; k < i.pixels.size(); ++k)
        i.pixels[k] = static_cast<std::uint8_t>(seed + 17 * k) | 0x11;
    for (std::size_t k = 0; k < 16; ++k)
        i.colors[k] = static_cast<std::uint32_t>((seed + 40 * k) * 0x010307) & 0xFFFFFF;
    return i;
}

// --- One element moved or resized ---------------------------------------------------------

struct EditCase {
    const char* name;
    Rect to;  // element 1 stands at (10, 20), 10 wide, 6 rows
};

// Test names and failure reports show the case by its name.
void PrintTo(const EditCase& c, std::ostream* os) {
    *os << c.name;
}

class OneEdit : public SaveTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(OneEdit, ChangesOnlyTheBytesTheRulesName) {
    open(test::fontOf({test::at(0, 10, 10, 5), test::at(10, 20, 10, 5), test::at(24, 20, 10, 5)}));
    const std::vector<Change> changes{{1, GetParam().to}};
    apply(changes, {});
    EXPECT_TRUE(sameBytes(save(), expected(changes)));
    EXPECT_EQ(doc.modified, 0);
}

const EditCase kEditCases[] = {
    {"MovedTwoColumnsRight", {12, 20, 10, 5}},
    {"MovedFarAway", {100, 100, 10, 5}},
    {"MovedOntoItsOwnOldPlace", {14, 23, 10, 5}},
    {"MovedOntoANeighbour", {20, 17, 10, 5}},
    {"Narrower", {10, 20, 8, 5}},
    {"NarrowerToAnOddWidth", {10, 20, 9, 5}},
    {"Wider", {10, 20, 12, 5}},
    {"WiderToAnOddWidth", {10, 20, 11, 5}},
    {"Higher", {10, 20, 10, 6}},
    {"Lower", {10, 20, 10, 4}},
    {"OneRow", {10, 20, 10, 0}},
    {"MovedNarrowerAndHigher", {40, 50, 6, 9}},
    {"MovedWiderAndLower", {40, 50, 14, 2}},
};

INSTANTIATE_TEST_SUITE_P(Edits, OneEdit, ::testing::ValuesIn(kEditCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(SaveTest, MovedAndResizedElementsKeepTheOverlappingPixels) {
    open(test::fontOf({test::at(10, 20, 10, 5), test::at(40, 20, 10, 5), test::at(70, 20, 10, 5),
                       test::at(100, 20, 10, 5)}));
    apply({{0, {12, 20, 10, 5}}, {1, {40, 20, 8, 5}}, {2, {70, 20, 12, 6}}, {3, {100, 20, 10, 4}}},
          {});
    const std::vector<std::uint8_t> saved = save();
    for (std::uint32_t r = 0; r <= 6; ++r) {
        for (std::uint32_t c = 0; c < 12; ++c) {
            SCOPED_TRACE("row " + std::to_string(r) + " column " + std::to_string(c));
            const std::uint32_t y = 20 + r;
            // Moved by two columns: same pixels, the two columns left behind are empty.
            if (r <= 5 && c < 10) {
                EXPECT_EQ(pixel(saved, 12 + c, y), loadedPixel(10 + c, y));
            }
            if (r <= 5 && c < 2) {
                EXPECT_EQ(pixel(saved, 10 + c, y), 0);
            }
            // Narrowed from 10 to 8: columns 8 and 9 become empty.
            if (r <= 5 && c < 10) {
                EXPECT_EQ(pixel(saved, 40 + c, y), c < 8 ? loadedPixel(40 + c, y) : 0);
            }
            // Widened to 12 and one row higher: two empty columns and an empty last row.
            EXPECT_EQ(pixel(saved, 70 + c, y), r < 6 && c < 10 ? loadedPixel(70 + c, y) : 0);
            // One row lower: the old last row becomes empty.
            if (r <= 5 && c < 10) {
                EXPECT_EQ(pixel(saved, 100 + c, y), r < 5 ? loadedPixel(100 + c, y) : 0);
            }
        }
    }
    EXPECT_EQ(saved[24], 12) << "x of element 0's place word";
    EXPECT_EQ(saved[24 + 16 + 2], 8) << "width of element 1";
    EXPECT_EQ(saved[24 + 32 + 2], 12) << "width of element 2";
    EXPECT_EQ(saved[24 + 32 + 3], 6) << "height of element 2";
    EXPECT_EQ(saved[24 + 48 + 3], 4) << "height of element 3";
}

TEST_F(SaveTest, SaveRecordsHowEachElementChanged) {
    open(test::fontOf({test::at(0, 0, 10, 5), test::at(20, 0, 10, 5), test::at(40, 0, 10, 5)}));
    apply({{0, {2, 0, 12, 4}}, {1, {20, 0, 8, 6}}}, {});
    save();
    const struct {
        std::int32_t moved, widthChange, heightChange;
    } expected[] = {{1, 2, 1}, {0, 1, 2}, {0, 0, 0}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(doc.configs[i].moved, expected[i].moved) << i;
        EXPECT_EQ(doc.configs[i].widthChange, expected[i].widthChange) << i;
        EXPECT_EQ(doc.configs[i].heightChange, expected[i].heightChange) << i;
    }
    EXPECT_TRUE(sameBytes(doc.fileImage, loaded_)) << "the loaded image is kept";
    EXPECT_EQ(doc.placeWords[0], 0x050A0000u) << "the loaded words are kept";
}

// --- Overlaps ------------------------------------------------------------------------------

TEST_F(SaveTest, AllOldPlacesAreClearedBeforeAnythingIsWritten) {
    // Element 0 moves onto element 1's old place; clearing that place later would lose it.
    open(test::fontOf({test::at(0, 0, 8, 3), test::at(40, 0, 8, 3)}));
    const std::vector<Change> changes{{0, {40, 0, 8, 3}}, {1, {80, 0, 8, 3}}};
    apply(changes, {});
    const std::vector<std::uint8_t> saved = save();
    EXPECT_TRUE(sameBytes(saved, expected(changes)));
    for (std::uint32_t c = 0; c < 8; ++c)
        EXPECT_EQ(pixel(saved, 40 + c, 2), loadedPixel(c, 2)) << c;
}

TEST_F(SaveTest, HigherElementWinsWhereMovedElementsOverlap) {
    open(test::fontOf({test::at(0, 0, 8, 3), test::at(40, 0, 8, 3)}));
    const std::vector<Change> changes{{0, {100, 50, 8, 3}}, {1, {104, 51, 8, 3}}};
    apply(changes, {});
    const std::vector<std::uint8_t> saved = save();
    EXPECT_TRUE(sameBytes(saved, expected(changes)));
    EXPECT_EQ(pixel(saved, 105, 51), loadedPixel(41, 0));
}

TEST_F(SaveTest, ImportedElementIsWrittenAfterEveryMovedOne) {
    // Element 0 is imported where element 1 (a higher number) moves to.
    open(test::fontOf({test::at(0, 0, 8, 3), test::at(40, 0, 8, 3)}));
    const std::vector<Change> changes{{1, {100, 50, 8, 3}}};
    const std::vector<Import> imports{imageOf(0, {100, 50, 6, 2}, 3)};
    apply(changes, imports);
    const std::vector<std::uint8_t> saved = save();
    EXPECT_TRUE(sameBytes(saved, expected(changes, imports)));
    EXPECT_EQ(saved[doc.pictureOffset + 12 + 50 * 128 + 50], imports[0].pixels[0]);
}

TEST_F(SaveTest, ZeroFillOfAGrownElementErasesWhatALowerElementWrote) {
    // Element 0 moves to columns 50-59; element 1 grows from 4 to 10 columns at 44, so its
    // empty new columns 48-53 cover the first four columns of element 0.
    open(test::fontOf({test::at(0, 0, 10, 5), test::at(44, 50, 4, 5)}));
    const std::vector<Change> changes{{0, {50, 50, 10, 5}}, {1, {44, 50, 10, 5}}};
    apply(changes, {});
    const std::vector<std::uint8_t> saved = save();
    EXPECT_TRUE(sameBytes(saved, expected(changes)));
    for (std::uint32_t r = 0; r <= 5; ++r) {
        EXPECT_EQ(pixel(saved, 50, 50 + r), 0);
        EXPECT_EQ(pixel(saved, 53, 50 + r), 0);
        EXPECT_EQ(pixel(saved, 54, 50 + r), loadedPixel(4, r));
    }
}

TEST_F(SaveTest, UnchangedNeighbourLosesTheBytesItSharesWithAClearedPlace) {
    // Element 0 is 9 wide, so its last byte also holds column 69, the first of element 1's.
    open(test::fontOf({test::at(60, 0, 9, 3), test::at(68, 0, 4, 3)}));
    const std::vector<Change> changes{{0, {60, 100, 9, 3}}};
    apply(changes, {});
    const std::vector<std::uint8_t> saved = save();
    EXPECT_TRUE(sameBytes(saved, expected(changes)));
    EXPECT_EQ(pixel(saved, 69, 1), 0);
    EXPECT_EQ(pixel(saved, 70, 1), loadedPixel(70, 1));
}

// --- Imported images -----------------------------------------------------------------------

TEST_F(SaveTest, ImportedImageReplacesPixelsPlaceAndColours) {
    open(test::fontOf({test::at(20, 20, 6, 3), test::at(40, 20, 6, 3)}));
    Import image = imageOf(1, {0, 0, 10, 3}, 9);
    image.colors[0] = 0x000000;
    image.colors[1] = 0x0008FF;  // red 255, green 8, blue 0
    image.colors[2] = 0xFFFFFF;
    image.colors[3] = 0x091001;  // red 1, green 16, blue 9
    const std::vector<Import> imports{image};
    apply({}, imports);
    const std::vector<std::uint8_t> saved = save();
    EXPECT_TRUE(sameBytes(saved, expected({}, imports)));

    const std::uint32_t p = doc.pictureOffset;
    EXPECT_EQ(saved[40], 0);  // place word: x 0, y 0, width 10, height 3
    EXPECT_EQ(saved[41], 0);
    EXPECT_EQ(saved[42], 10);
    EXPECT_EQ(saved[43], 3);
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t b = 0; b < 5; ++b)
            EXPECT_EQ(saved[p + 12 + 128 * r + b], image.pixels[5 * r + b]) << r << "," << b;
        EXPECT_EQ(saved[p + 12 + 128 * r + 5], loaded_[p + 12 + 128 * r + 5]) << r;
    }
    const std::size_t entry = p + 30732 + 36;
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_EQ(saved[entry + k], loaded_[entry + k]) << "palette flags";
    const std::uint16_t colours[] = {0x0000, 0x003F, 0x7FFF, 0x0841};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(saved[entry + 4 + 2 * k] | saved[entry + 5 + 2 * k] << 8, colours[k]) << k;
    }
    EXPECT_EQ(doc.importSlots[1].imported, 1) << "the element stays imported";
}

TEST(ColorLevel5, RoundsUpToEighthsAndStopsAt31) {
    EXPECT_EQ(colorLevel5(0), 0u);
    for (std::uint32_t v = 1; v <= 8; ++v)
        EXPECT_EQ(colorLevel5(v), 1u) << v;
    const struct {
        std::uint32_t channel, level;
    } cases[] = {{9, 2}, {16, 2}, {17, 3}, {128, 16}, {129, 17}, {240, 30}, {241, 31}, {248, 31}};
    for (const auto& c : cases)
        EXPECT_EQ(colorLevel5(c.channel), c.level) << c.channel;
    for (std::uint32_t v = 249; v <= 255; ++v)
        EXPECT_EQ(colorLevel5(v), 31u) << v;
}

TEST(PackColors15, WritesSixteenLittleEndianWordsWithBit15Clear) {
    std::array<std::uint32_t, 16> colors{};
    colors[0] = 0xFF00FF;   // 31 | 0 | 31 << 10
    colors[15] = 0x00FF00;  // 31 << 5
    std::vector<std::uint8_t> out(40, 0xEE);
    packColors15(colors, out, 3);
    EXPECT_EQ(out[2], 0xEE);
    EXPECT_EQ(out[3], 0x1F);
    EXPECT_EQ(out[4], 0x7C);
    EXPECT_EQ(out[5], 0x00);
    EXPECT_EQ(out[6], 0x00);
    EXPECT_EQ(out[33], 0xE0);
    EXPECT_EQ(out[34], 0x03);
    EXPECT_EQ(out[35], 0xEE);
}

// --- Table words ---------------------------------------------------------------------------

TEST_F(SaveTest, DisplayAndResizeWordsAreWrittenOnlyWhenChanged) {
    open(test::fontOf({test::at(0, 0, 6, 3), test::at(10, 0, 6, 3), test::at(20, 0, 6, 3)}));
    std::int32_t out = 0;
    doc.selectElement(1, out);
    doc.setDisplayX(-3, out);
    doc.nextElement();
    doc.setResizeWidth(380, out);
    doc.setResizeHeight(0, out);
    std::vector<std::uint8_t> expectedBytes = loaded_;
    expectedBytes[16 + 16 + 4] = 0xFD;  // element 1, display word bits 0-15: -3
    expectedBytes[16 + 16 + 5] = 0xFF;
    expectedBytes[16 + 32 + 0] = 0x7C;  // element 2, resize word: width 380, height 0
    expectedBytes[16 + 32 + 1] = 0x01;
    expectedBytes[16 + 32 + 2] = 0x00;
    expectedBytes[16 + 32 + 3] = 0x00;
    EXPECT_TRUE(sameBytes(save(), expectedBytes));
}

TEST_F(SaveTest, ColourAndZoomAreNotSaved) {
    open(test::fontOf({test::at(0, 0, 6, 3), test::at(10, 0, 6, 3)}));
    doc.setColorIndex(2);
    doc.zoomIn();
    doc.setZoom(7);
    EXPECT_TRUE(sameBytes(save(), loaded_));
}

TEST_F(SaveTest, SavingTwiceWritesTheSameBytes) {
    open(test::fontOf({test::at(0, 0, 6, 3), test::at(10, 0, 6, 3), test::at(20, 0, 6, 3)}));
    const std::vector<Change> changes{{0, {30, 40, 8, 5}}, {2, {10, 2, 4, 3}}};
    const std::vector<Import> imports{imageOf(1, {60, 60, 7, 2}, 5)};
    apply(changes, imports);
    const std::vector<std::uint8_t> first = save();
    EXPECT_TRUE(sameBytes(first, expected(changes, imports)));
    EXPECT_TRUE(sameBytes(save(), first));
}

// --- Rectangles that run past the picture --------------------------------------------------

TEST_F(SaveTest, PixelWritesStopAtThePaletteTable) {
    // 20 columns from column 250 run on into the next row. Moved down to the last rows,
    // the last row would reach 7 bytes into the palette table.
    GeoBuilder font = test::fontOf({test::at(250, 0, 20, 3)});
    font.extraBytes.assign(50, 0x3C);
    open(font);
    std::int32_t out = 0;
    EXPECT_EQ(doc.setY(239, out), FieldCode::y);
    EXPECT_EQ(out, 236);
    const std::vector<std::uint8_t> saved = save();
    EXPECT_TRUE(sameBytes(saved, expected({{0, {250, 236, 20, 3}}})));
    const std::size_t palette = doc.pictureOffset + 30732;
    EXPECT_TRUE(sameBytes(test::tail(saved, palette), test::tail(loaded_, palette)));
    // The part that fits is written: row 239 holds the first 3 bytes of the last row.
    for (std::size_t b = 0; b < 3; ++b)
        EXPECT_EQ(saved[palette - 3 + b], loaded_[palette - 30720 + 3 * 128 + 125 + b]);
}

TEST_F(SaveTest, ImportedPixelWritesStopAtThePaletteTable) {
    GeoBuilder font = test::fontOf({test::at(0, 0, 6, 3)});
    open(font);
    const std::vector<Import> imports{imageOf(0, {250, 237, 20, 2}, 1)};
    apply({}, imports);
    const std::vector<std::uint8_t> saved = save();
    EXPECT_TRUE(sameBytes(saved, expected({}, imports)));
    const std::size_t palette = doc.pictureOffset + 30732;
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_EQ(saved[palette + k], loaded_[palette + k]) << "palette flags";
}

}  // namespace
}  // namespace zt9
