#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <tuple>
#include <utility>

#include "document_fixtures.h"

namespace zt9::test {
namespace {

using EC = ElementConfig;
using GD = GeoDocument;
using FC = FieldCode;
constexpr std::int32_t kUntouched = 12345;  // `out` keeps this when the code is 0
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// A five-element font; element 2 stands near the bottom right corner of the picture.
GeoDocument fiveElements() {
    GeoBuilder builder = GeoBuilder::grid(5);
    builder.elements[2] = {240, 230, 10, 5, 40, 50, -7, 9};  // resize 40 x 50, display -7, 9
    GeoDocument doc;
    openFont(doc, builder.build());
    return doc;
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
        {&GD::restoreX, &EC::width, 100, 0, 100, 0, kMin, FC::width, kMax, 2},
        {&GD::restoreWidth, &EC::x, 200, 0, 10, 0, kMin, FC::x, kMax - 1, 2},
        {&GD::restoreHeight, &EC::y, 0, 200, 1, 10, kMin + 5, FC::y, kMax, 2},
        {&GD::setWidth, &EC::width, kMin, 0, 10, 0, 5, FC::width, kMax},
    };
    GeoDocument doc = fiveElements();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(&c - cases) + ": value " + std::to_string(c.value));
        doc.importSlots[0].imported = c.kind == 1;
        doc.modified = 0;
        const ElementConfig& config = doc.configs[0] = {c.x, c.y, c.width, c.height};
        std::int32_t out = kUntouched;
        EXPECT_EQ((doc.*c.op)(c.value, out), c.code);
        EXPECT_EQ(std::tuple(config.*c.field, out, doc.modified),
                  std::tuple(c.stored, c.code == FC::unchanged ? kUntouched : c.stored,
                             std::uint8_t{c.kind == 0}));
    }
}

TEST(ElementOps, SelectStepZoomAndResetStayWithinTheirLimits) {
    GeoDocument doc = fiveElements();
    std::int32_t out = kUntouched;
    EXPECT_EQ(doc.previousElement(), 0u);
    EXPECT_EQ(doc.selectElement(3, out), FieldCode::unchanged);
    EXPECT_EQ(doc.nextElement() + doc.nextElement(), 8u) << "3 to 4, then stays";
    for (std::int32_t wrong : {-1, 5}) {
        doc.previousElement();
        EXPECT_EQ(doc.selectElement(wrong, out), FieldCode::number);
        EXPECT_EQ(std::pair(out, doc.currentElement), std::pair(4, 4u)) << "the last one";
    }
    EXPECT_EQ(doc.zoomOut(), 1u);
    for (std::uint32_t zoom = 2; zoom <= 11; ++zoom)
        EXPECT_EQ(doc.zoomIn(), std::min(zoom, 10u));
    EXPECT_EQ(doc.modified, 0);

    // fileConfig and resetElementConfig give the loaded values.
    const ElementConfig loaded{240, 230, 10, 5, -7, 9, 40, 50, 0, 0, 0, 2};
    EXPECT_EQ(doc.configs[2], loaded);
    doc.currentElement = 2;
    doc.configs[2] = {100, 40, 20, 5, 0, 0, 0, 0, 0, 0, 0, 2};
    doc.modified = 0;
    std::uint8_t imported = 0;
    EXPECT_EQ(doc.fileConfig(imported), (ElementConfig{240, 230, 10, 5, -7, 9, 40, 50}));
    EXPECT_EQ(std::pair(imported, doc.configs[2].x), std::pair(std::uint8_t{0}, 100));
    EXPECT_EQ(doc.resetElementConfig(), loaded);
    EXPECT_EQ(std::pair(doc.configs[2], doc.modified), std::pair(loaded, std::uint8_t{0}));

    // An imported image of 31 x 21 pixels keeps its size; reset moves it to fit the picture.
    doc.importSlots[2] = {1, std::vector<std::uint8_t>(16 * 21, 0x21), {}, 31, 20};
    doc.configs[2] = {100, 40, 31, 20};
    imported = 1;
    EXPECT_EQ(doc.fileConfig(imported), (ElementConfig{240, 230, 31, 20, -7, 9, 32, 21}));
    EXPECT_EQ(imported, 1);
    EXPECT_EQ(doc.resetElementConfig(), (ElementConfig{224, 219, 31, 20, -7, 9, 32, 21}));
    EXPECT_FALSE(doc.resetImport());
    EXPECT_TRUE(doc.importSlots[2].imported == 0 && doc.importSlots[2].pixels.empty());
}

}  // namespace
}  // namespace zt9::test
