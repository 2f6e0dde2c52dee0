#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "document/geo_document.h"
#include "document_fixtures.h"
#include "support/geo_builder.h"

namespace zt9 {
namespace {

using test::GeoBuilder;

constexpr std::int32_t kUntouched = 12345;  // `out` keeps this when the code is 0

// A five-element font; element 2 stands near the bottom right corner of the picture.
class ElementOps : public ::testing::Test {
  protected:
    void SetUp() override {
        GeoBuilder builder = GeoBuilder::grid(5);
        test::ElementSpec& corner = builder.elements[2];
        corner = test::at(240, 230, 10, 5);
        corner.resizeWidth = 40;
        corner.resizeHeight = 50;
        corner.displayX = -7;
        corner.displayY = 9;
        ASSERT_EQ(test::tryOpen(doc, builder.build()), error{});
    }

    // Puts the current element at a known place, leaving the document unmodified.
    void place(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
        ElementConfig& config = doc.configs[doc.currentElement];
        config.x = x;
        config.y = y;
        config.width = width;
        config.height = height;
        doc.modified = 0;
    }

    ElementConfig& current() { return doc.configs[doc.currentElement]; }

    GeoDocument doc;
};

// --- Navigation ----------------------------------------------------------------------------

TEST_F(ElementOps, StepsStopAtBothEnds) {
    EXPECT_EQ(doc.previousElement(), 0u);
    for (std::uint32_t expected : {1u, 2u, 3u, 4u, 4u, 4u})
        EXPECT_EQ(doc.nextElement(), expected);
    EXPECT_EQ(doc.previousElement(), 3u);
    EXPECT_EQ(doc.modified, 0);
}

TEST_F(ElementOps, SelectingAMissingNumberSelectsTheLastElement) {
    std::int32_t out = kUntouched;
    EXPECT_EQ(doc.selectElement(3, out), FieldCode::unchanged);
    EXPECT_EQ(doc.currentElement, 3u);
    EXPECT_EQ(out, kUntouched);
    for (std::int32_t wrong : {5, -1, 1000, INT_MIN}) {
        doc.selectElement(0, out);
        out = kUntouched;
        EXPECT_EQ(doc.selectElement(wrong, out), FieldCode::number) << wrong;
        EXPECT_EQ(out, 4) << wrong;
        EXPECT_EQ(doc.currentElement, 4u) << wrong;
    }
    EXPECT_EQ(doc.modified, 0);
}

// --- Field operations ----------------------------------------------------------------------

using FieldOp = FieldCode (GeoDocument::*)(std::int32_t, std::int32_t&);

struct FieldCase {
    const char* name;
    FieldOp op;
    std::int32_t ElementConfig::*field;
    std::int32_t x, y, width, height;  // the element's place before the call
    std::int32_t value;
    FieldCode code;
    std::int32_t stored;  // the field afterwards; also `out` when the code is not 0
};

// Test names and failure reports show the case by its name.
void PrintTo(const FieldCase& c, std::ostream* os) {
    *os << c.name;
}

class FieldOperation : public ElementOps, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldOperation, StoresTheCorrectedValueAndMarksTheDocument) {
    const FieldCase& c = GetParam();
    place(c.x, c.y, c.width, c.height);
    std::int32_t out = kUntouched;
    EXPECT_EQ((doc.*c.op)(c.value, out), c.code);
    EXPECT_EQ(current().*c.field, c.stored);
    EXPECT_EQ(out, c.code == FieldCode::unchanged ? kUntouched : c.stored);
    EXPECT_EQ(doc.modified, 1);
}

using EC = ElementConfig;
using GD = GeoDocument;
using FC = FieldCode;
const FieldCase kFieldCases[] = {
    // x is kept even and x + width <= 255.
    {"XOddMadeEven", &GD::setX, &EC::x, 0, 0, 10, 0, 7, FC::x, 8},
    {"XEven", &GD::setX, &EC::x, 0, 0, 10, 0, 100, FC::unchanged, 100},
    {"XAtTheLimit", &GD::setX, &EC::x, 0, 0, 10, 0, 244, FC::unchanged, 244},
    {"XPastTheLimit", &GD::setX, &EC::x, 0, 0, 10, 0, 250, FC::x, 244},
    {"XOddPastTheLimit", &GD::setX, &EC::x, 0, 0, 10, 0, 251, FC::x, 244},
    {"XLimitWithOddWidth", &GD::setX, &EC::x, 0, 0, 9, 0, 250, FC::x, 246},
    {"XHuge", &GD::setX, &EC::x, 0, 0, 10, 0, INT_MAX, FC::x, 244},
    {"XMinusOneBecomesZero", &GD::setX, &EC::x, 50, 0, 10, 0, -1, FC::x, 0},
    {"XNegativeNeverStored", &GD::setX, &EC::x, 50, 0, 10, 0, -2, FC::x, 0},
    // width is at least 1 and x + width <= 255; a wrapped sum gives the lower limit.
    {"WidthZero", &GD::setWidth, &EC::width, 100, 0, 10, 0, 0, FC::width, 1},
    {"WidthPastTheLimit", &GD::setWidth, &EC::width, 100, 0, 10, 0, 200, FC::width, 155},
    {"WidthAtTheLimit", &GD::setWidth, &EC::width, 100, 0, 10, 0, 155, FC::unchanged, 155},
    {"WidthMinusOne", &GD::setWidth, &EC::width, 5, 0, 10, 0, -1, FC::width, 1},
    {"WidthHuge", &GD::setWidth, &EC::width, 0, 0, 10, 0, INT_MAX, FC::width, 255},
    // height has no lower limit (0 is one row) and y + height <= 239.
    {"HeightZero", &GD::setHeight, &EC::height, 0, 0, 10, 5, 0, FC::unchanged, 0},
    {"HeightPastTheLimit", &GD::setHeight, &EC::height, 0, 200, 10, 5, 100, FC::height, 39},
    {"HeightAtTheLimit", &GD::setHeight, &EC::height, 0, 200, 10, 5, 39, FC::unchanged, 39},
    {"HeightMinusOne", &GD::setHeight, &EC::height, 0, 5, 10, 5, -1, FC::height, 0},
    {"HeightFarBelowZero", &GD::setHeight, &EC::height, 0, 5, 10, 5, -300, FC::height, 234},
    // y + height <= 239.
    {"YAtTheLimit", &GD::setY, &EC::y, 0, 0, 10, 3, 236, FC::unchanged, 236},
    {"YPastTheLimit", &GD::setY, &EC::y, 0, 0, 10, 3, 237, FC::y, 236},
    {"YHuge", &GD::setY, &EC::y, 0, 0, 10, 3, 0x7FFFFFFF, FC::y, 236},
    {"YMinusOne", &GD::setY, &EC::y, 0, 100, 10, 3, -1, FC::y, 0},
    // Resize size: width 1 to 380, height at most 255.
    {"ResizeWidthAbove", &GD::setResizeWidth, &EC::resizeWidth, 0, 0, 1, 0, 381, FC::resizeWidth,
     380},
    {"ResizeWidthMax", &GD::setResizeWidth, &EC::resizeWidth, 0, 0, 1, 0, 380, FC::unchanged, 380},
    {"ResizeWidthZero", &GD::setResizeWidth, &EC::resizeWidth, 0, 0, 1, 0, 0, FC::resizeWidth, 1},
    {"ResizeWidthOne", &GD::setResizeWidth, &EC::resizeWidth, 0, 0, 1, 0, 1, FC::unchanged, 1},
    {"ResizeHeightAbove", &GD::setResizeHeight, &EC::resizeHeight, 0, 0, 1, 0, 256,
     FC::resizeHeight, 255},
    {"ResizeHeightZero", &GD::setResizeHeight, &EC::resizeHeight, 0, 0, 1, 0, 0, FC::unchanged, 0},
    {"ResizeHeightNegative", &GD::setResizeHeight, &EC::resizeHeight, 0, 0, 1, 0, -7, FC::unchanged,
     -7},
    // Display position: the low 16 bits, signed, within -255..255.
    {"DisplayXAbove", &GD::setDisplayX, &EC::displayX, 0, 0, 1, 0, 300, FC::displayX, 255},
    {"DisplayXBelow", &GD::setDisplayX, &EC::displayX, 0, 0, 1, 0, -300, FC::displayX, -255},
    {"DisplayXLowHalfMinusOne", &GD::setDisplayX, &EC::displayX, 0, 0, 1, 0, 65535, FC::unchanged,
     -1},
    {"DisplayXLowHalfTen", &GD::setDisplayX, &EC::displayX, 0, 0, 1, 0, 65546, FC::unchanged, 10},
    {"DisplayXEdge", &GD::setDisplayX, &EC::displayX, 0, 0, 1, 0, -255, FC::unchanged, -255},
    {"DisplayXLowHalfMostNegative", &GD::setDisplayX, &EC::displayX, 0, 0, 1, 0, 0x8000,
     FC::displayX, -255},
    {"DisplayYAbove", &GD::setDisplayY, &EC::displayY, 0, 0, 1, 0, 256, FC::displayY, 255},
    {"DisplayYBelow", &GD::setDisplayY, &EC::displayY, 0, 0, 1, 0, -256, FC::displayY, -255},
    {"DisplayYEdge", &GD::setDisplayY, &EC::displayY, 0, 0, 1, 0, 255, FC::unchanged, 255},
};

INSTANTIATE_TEST_SUITE_P(Limits, FieldOperation, ::testing::ValuesIn(kFieldCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(ElementOps, SettingAFieldToItsPresentValueStillMarks) {
    const struct {
        FieldOp op;
        std::int32_t ElementConfig::*field;
    } fields[] = {{&GD::setX, &EC::x},
                  {&GD::setY, &EC::y},
                  {&GD::setWidth, &EC::width},
                  {&GD::setHeight, &EC::height},
                  {&GD::setResizeWidth, &EC::resizeWidth},
                  {&GD::setResizeHeight, &EC::resizeHeight},
                  {&GD::setDisplayX, &EC::displayX},
                  {&GD::setDisplayY, &EC::displayY}};
    doc.nextElement();
    doc.nextElement();
    const ElementConfig before = current();
    for (const auto& f : fields) {
        doc.modified = 0;
        std::int32_t out = kUntouched;
        EXPECT_EQ((doc.*f.op)(before.*f.field, out), FieldCode::unchanged);
        EXPECT_EQ(doc.modified, 1);
    }
    EXPECT_EQ(current(), before);
}

TEST_F(ElementOps, SizeOfAnImportedElementIsTheSizeOfItsImage) {
    doc.importSlots[0].imported = 1;
    place(20, 30, 12, 7);
    std::int32_t out = kUntouched;
    EXPECT_EQ(doc.setWidth(50, out), FieldCode::width);
    EXPECT_EQ(out, 12);
    out = kUntouched;
    EXPECT_EQ(doc.setHeight(2, out), FieldCode::height);
    EXPECT_EQ(out, 7);
    EXPECT_EQ(current().width, 12);
    EXPECT_EQ(current().height, 7);
    EXPECT_EQ(doc.modified, 0);

    // The position is not tied to the image: it moves and marks as usual.
    EXPECT_EQ(doc.setX(40, out), FieldCode::unchanged);
    EXPECT_EQ(current().x, 40);
    EXPECT_EQ(doc.modified, 1);
}

// --- Restoring fields ----------------------------------------------------------------------

struct Rect {
    std::int32_t x, y, width, height;
};

TEST_F(ElementOps, RestoringAFieldMovesItsNeighbourWithoutMarking) {
    const struct {
        const char* name;
        FieldOp op;
        std::int32_t x, y, width, height, value;
        FieldCode code;
        Rect after;
    } cases[] = {
        {"width moves x, made even",
         &GD::restoreWidth,
         200,
         0,
         10,
         0,
         100,
         FC::x,
         {154, 0, 100, 0}},
        {"width that fits", &GD::restoreWidth, 200, 0, 10, 0, 55, FC::unchanged, {200, 0, 55, 0}},
        {"height moves y", &GD::restoreHeight, 0, 200, 1, 10, 100, FC::y, {0, 139, 1, 100}},
        {"x shrinks width", &GD::restoreX, 100, 0, 100, 0, 200, FC::width, {200, 0, 55, 0}},
        {"y shrinks height", &GD::restoreY, 0, 100, 1, 100, 200, FC::height, {0, 200, 1, 39}},
        {"y that fits", &GD::restoreY, 0, 100, 1, 39, 200, FC::unchanged, {0, 200, 1, 39}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        place(c.x, c.y, c.width, c.height);
        std::int32_t out = kUntouched;
        EXPECT_EQ((doc.*c.op)(c.value, out), c.code);
        EXPECT_EQ(current().x, c.after.x);
        EXPECT_EQ(current().y, c.after.y);
        EXPECT_EQ(current().width, c.after.width);
        EXPECT_EQ(current().height, c.after.height);
        const std::int32_t moved = c.code == FC::x        ? c.after.x
                                   : c.code == FC::y      ? c.after.y
                                   : c.code == FC::width  ? c.after.width
                                   : c.code == FC::height ? c.after.height
                                                          : kUntouched;
        EXPECT_EQ(out, moved);
        EXPECT_EQ(doc.modified, 0);
    }
}

// --- Reading and resetting the configuration ------------------------------------------------

class CornerElement : public ElementOps {
  protected:
    void SetUp() override {
        ElementOps::SetUp();
        std::int32_t out = 0;
        doc.selectElement(2, out);
        doc.setX(100, out);
        doc.setY(40, out);
        doc.setWidth(20, out);
        doc.setResizeWidth(7, out);
        doc.setDisplayY(-20, out);
        doc.setColorIndex(3);
        doc.modified = 0;
    }

    // The element stands for an imported image of 31 x 21 pixels.
    void importImage() {
        ImportSlot& slot = doc.importSlots[2];
        slot.imported = 1;
        slot.width = 31;
        slot.height = 20;
        slot.pixels.assign(16 * 21, 0x21);
        current().width = 31;
        current().height = 20;
    }
};

TEST_F(CornerElement, FileConfigGivesTheLoadedValues) {
    std::uint8_t imported = 0;
    const ElementConfig file = doc.fileConfig(imported);
    EXPECT_EQ(imported, 0);
    EXPECT_EQ(file.x, 240);
    EXPECT_EQ(file.y, 230);
    EXPECT_EQ(file.width, 10);
    EXPECT_EQ(file.height, 5);
    EXPECT_EQ(file.displayX, -7);
    EXPECT_EQ(file.displayY, 9);
    EXPECT_EQ(file.resizeWidth, 40);
    EXPECT_EQ(file.resizeHeight, 50);
    EXPECT_EQ(current().x, 100) << "reading changes nothing";
    EXPECT_EQ(doc.modified, 0);
}

TEST_F(CornerElement, FileConfigOfAnImportedElementKeepsTheImageSize) {
    importImage();
    std::uint8_t imported = 1;
    const ElementConfig file = doc.fileConfig(imported);
    EXPECT_EQ(imported, 1);
    EXPECT_EQ(file.x, 240);
    EXPECT_EQ(file.y, 230);
    EXPECT_EQ(file.width, 31);
    EXPECT_EQ(file.height, 20);
    EXPECT_EQ(file.displayX, -7);
    EXPECT_EQ(file.displayY, 9);
    EXPECT_EQ(file.resizeWidth, 32);
    EXPECT_EQ(file.resizeHeight, 21);

    std::uint8_t flag = 0;
    EXPECT_EQ(doc.currentConfig(flag), current());
    EXPECT_EQ(flag, 1);
}

TEST_F(CornerElement, ResetPutsBackTheFileValuesWithoutMarking) {
    const ElementConfig reset = doc.resetElementConfig();
    const ElementConfig expected{240, 230, 10, 5, -7, 9, 40, 50, 0, 0, 0, 3};
    EXPECT_EQ(reset, expected);
    EXPECT_EQ(current(), expected);
    EXPECT_EQ(doc.modified, 0);
}

TEST_F(CornerElement, ResetOfAnImportedElementFitsItsPlaceToTheImage) {
    importImage();
    const ElementConfig reset = doc.resetElementConfig();
    // x 240 + 31 > 255: 224 (255 - 31, made even); y 230 + 20 > 239: 219.
    const ElementConfig expected{224, 219, 31, 20, -7, 9, 32, 21, 0, 0, 0, 3};
    EXPECT_EQ(reset, expected);
    EXPECT_EQ(current(), expected);
    EXPECT_EQ(doc.modified, 1);
}

TEST_F(CornerElement, ResetImportDropsTheImageWithoutMarking) {
    importImage();
    EXPECT_FALSE(doc.resetImport());
    EXPECT_EQ(doc.importSlots[2].imported, 0);
    EXPECT_TRUE(doc.importSlots[2].pixels.empty());
    EXPECT_EQ(doc.modified, 0);
    EXPECT_EQ(doc.importSlots[1].imported, 0);
}

// --- Colour and zoom -----------------------------------------------------------------------

TEST_F(ElementOps, ZoomStaysWithinOneToTenAndNeverMarks) {
    EXPECT_EQ(doc.zoomOut(), 1u);
    for (std::uint32_t expected = 2; expected <= 10; ++expected)
        EXPECT_EQ(doc.zoomIn(), expected);
    EXPECT_EQ(doc.zoomIn(), 10u);
    EXPECT_EQ(doc.zoomOut(), 9u);
    doc.setZoom(3);
    EXPECT_EQ(doc.zoomIn(), 4u);
    doc.setColorIndex(2);
    EXPECT_EQ(current().colorIndex, 2);
    EXPECT_EQ(doc.modified, 0);
}

}  // namespace
}  // namespace zt9
