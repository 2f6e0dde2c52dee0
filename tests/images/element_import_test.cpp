#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "image_test_util.h"
#include "images/element_import.h"
#include "support/bmp_builder.h"
#include "support/temp_dir.h"

namespace zt9 {
namespace {

using test::BmpBuilder;
using Bytes = std::vector<std::uint8_t>;

// A two-element font whose element 1 sits at (x, y) with the given size; element 1 is
// current.
GeoDocument documentWithElement(std::uint32_t x, std::uint32_t y, std::uint32_t width = 6,
                                std::uint32_t height = 4) {
    test::GeoBuilder builder = test::GeoBuilder::grid(2, 6, 4);
    test::ElementSpec& e = builder.elements[1];
    e.x = x;
    e.y = y;
    e.width = width;
    e.height = height;
    e.displayX = -3;
    e.displayY = 2;
    GeoDocument doc = test::openDocument(builder);
    doc.currentElement = 1;
    return doc;
}

Bytes smallImage(std::int32_t w = 3, std::int32_t h = 2, std::uint16_t bits = 4) {
    return BmpBuilder(w, h, bits).withDistinctPalette().setIndex(0, 0, 4).build();
}

std::string importOutcome(GeoDocument& doc, const Bytes& bytes) {
    FieldCode xCode{}, yCode{};
    return test::outcome([&] { importElement(doc, xCode, yCode, bytes); });
}

// --- File size limits -------------------------------------------------------------------

TEST(ImportLimits, SmallestImageIsExactly122Bytes) {
    const Bytes file = BmpBuilder(1, 1, 4).withDistinctPalette().build();
    ASSERT_EQ(file.size(), 122u);
    GeoDocument doc = documentWithElement(0, 100);
    EXPECT_EQ(importOutcome(doc, file), test::kAccepted);
    GeoDocument short1 = documentWithElement(0, 100);
    EXPECT_EQ(importOutcome(short1, Bytes(file.begin(), file.end() - 1)), text::kBmpTooSmall);
    EXPECT_EQ(short1.lastError.code, kCodeTooSmall);
}

TEST(ImportLimits, LargestSizePassesAndOneMoreByteFailsBeforeTheHeader) {
    BmpBuilder full(255, 240, 8);
    full.withDistinctPalette(256);
    full.trailing = 2;
    Bytes file = full.build();
    ASSERT_EQ(file.size(), 62520u);
    GeoDocument doc = documentWithElement(0, 0);
    EXPECT_EQ(importOutcome(doc, file), test::kAccepted);
    file.push_back(0);
    file[0] = 'X';  // would be "not BMP" if the header were looked at
    GeoDocument big = documentWithElement(0, 0);
    EXPECT_EQ(importOutcome(big, file), text::kBmpTooLarge);
    EXPECT_EQ(big.lastError.code, kCodeTooLarge);
    EXPECT_NE(std::string(text::kBmpTooLarge).find('\xCA'), std::string::npos);
}

TEST(ImportLimits, FullEightBitImageIsAccepted) {
    const Bytes file = BmpBuilder(255, 240, 8).withDistinctPalette(256).build();
    ASSERT_EQ(file.size(), 54u + 1024u + 256u * 240u);
    GeoDocument doc = documentWithElement(0, 0);
    FieldCode xCode{}, yCode{};
    EXPECT_TRUE(importElement(doc, xCode, yCode, file));
    EXPECT_EQ(doc.configs[1].width, 255);
    EXPECT_EQ(doc.configs[1].height, 239);
    EXPECT_EQ(doc.importSlots[1].pixels.size(), 128u * 240u);
}

TEST(ImportFromFile, ReadsTheFileAndAppliesTheSameLimits) {
    test::TempDir dir;
    test::writeBytes(dir.file("ok.bmp"), smallImage());
    test::writeBytes(dir.file("small.bmp"), Bytes(121, 'B'));
    test::writeBytes(dir.file("big.bmp"), Bytes(62521, 'B'));
    std::filesystem::create_directory(dir.file("folder.bmp"));
    FieldCode xCode{}, yCode{};
    GeoDocument doc = documentWithElement(0, 0);
    EXPECT_TRUE(importElement(doc, xCode, yCode, dir.file("ok.bmp")));
    EXPECT_EQ(doc.importSlots[1].width, 3u);

    for (const auto& [name, message] :
         {std::pair{"small.bmp", text::kBmpTooSmall}, std::pair{"big.bmp", text::kBmpTooLarge},
          std::pair{"missing.bmp", "File load error"},
          std::pair{"folder.bmp", "File load error"}}) {
        GeoDocument fresh = documentWithElement(0, 0);
        const GeoDocument before = fresh;
        EXPECT_EQ(test::outcome([&] { importElement(fresh, xCode, yCode, dir.file(name)); }),
                  message)
            << name;
        test::expectSameImportState(before, fresh);
    }
}

// --- Fitting the element -----------------------------------------------------------------

TEST(ImportFit, SetsSizeResizeAndLoadedDisplayPosition) {
    GeoDocument doc = documentWithElement(20, 30);
    std::int32_t out = 0;
    doc.setDisplayX(100, out);  // an edit the import puts back to the loaded value
    doc.modified = 0;
    FieldCode xCode{}, yCode{};
    ASSERT_TRUE(importElement(doc, xCode, yCode, smallImage(10, 6, 8)));
    const ElementConfig& c = doc.configs[1];
    EXPECT_EQ(c.width, 10);
    EXPECT_EQ(c.height, 5);
    EXPECT_EQ(c.resizeWidth, 11);
    EXPECT_EQ(c.resizeHeight, 6);
    EXPECT_EQ(c.displayX, -3);
    EXPECT_EQ(c.displayY, 2);
    EXPECT_EQ(c.x, 20);
    EXPECT_EQ(c.y, 30);
    EXPECT_EQ(xCode, FieldCode::unchanged);
    EXPECT_EQ(yCode, FieldCode::unchanged);
    EXPECT_EQ(doc.modified, 1);
    const ImportSlot& slot = doc.importSlots[1];
    EXPECT_EQ(slot.imported, 1);
    EXPECT_EQ(slot.width, 10u);
    EXPECT_EQ(slot.height, 5u);
    EXPECT_EQ(slot.pixels.size(), 5u * 6u);
    EXPECT_EQ(slot.colors[1], 0x001020u);
    EXPECT_EQ(doc.importSlots[0].imported, 0);  // only the current element
}

TEST(ImportFit, WideImageMovesXLeftAndEven) {
    GeoDocument doc = documentWithElement(200, 0);
    FieldCode xCode{}, yCode{};
    importElement(doc, xCode, yCode, smallImage(100, 2, 8));
    EXPECT_EQ(doc.configs[1].x, 154);
    EXPECT_EQ(xCode, FieldCode::x);
    EXPECT_EQ(yCode, FieldCode::unchanged);
}

TEST(ImportFit, HighImageMovesYUp) {
    GeoDocument doc = documentWithElement(0, 200, 6, 4);
    FieldCode xCode{}, yCode{};
    importElement(doc, xCode, yCode, smallImage(4, 50, 4));
    EXPECT_EQ(doc.configs[1].y, 190);
    EXPECT_EQ(yCode, FieldCode::y);
    EXPECT_EQ(xCode, FieldCode::unchanged);
}

TEST(ImportFit, OddXIsMadeEvenEvenWhenTheImageFits) {
    GeoDocument doc = documentWithElement(11, 0);
    FieldCode xCode{}, yCode{};
    importElement(doc, xCode, yCode, smallImage(4, 2, 4));
    EXPECT_EQ(doc.configs[1].x, 12);
    EXPECT_EQ(xCode, FieldCode::x);
}

TEST(ImportSlotLife, SecondImportReplacesTheFirst) {
    GeoDocument doc = documentWithElement(0, 0);
    FieldCode xCode{}, yCode{};
    importElement(doc, xCode, yCode, smallImage(9, 3, 8));
    importElement(doc, xCode, yCode, BmpBuilder(2, 1, 4).withDistinctPalette().build());
    EXPECT_EQ(doc.importSlots[1].width, 2u);
    EXPECT_EQ(doc.importSlots[1].height, 0u);
    EXPECT_EQ(doc.importSlots[1].pixels, Bytes{0x11});
    EXPECT_EQ(doc.configs[1].width, 2);
}

TEST(ImportSlotLife, ResetImportKeepsTheImportedConfiguration) {
    GeoDocument doc = documentWithElement(0, 0);
    FieldCode xCode{}, yCode{};
    importElement(doc, xCode, yCode, smallImage(9, 3, 8));
    const ElementConfig imported = doc.configs[1];
    doc.modified = 0;
    EXPECT_FALSE(doc.resetImport());
    EXPECT_EQ(doc.importSlots[1].imported, 0);
    EXPECT_TRUE(doc.importSlots[1].pixels.empty());
    EXPECT_EQ(doc.configs[1], imported);
    EXPECT_EQ(doc.modified, 0);
    const GeoDocument before = doc;
    EXPECT_FALSE(doc.resetImport());  // nothing imported: nothing changes
    test::expectSameImportState(before, doc);
}

// --- Refusals change nothing ---------------------------------------------------------------

struct Refusal {
    const char* name;
    Bytes file;
    std::string message;
};

std::vector<Refusal> refusals() {
    std::vector<Refusal> list;
    auto add = [&](const char* name, BmpBuilder b, std::string message) {
        b.withDistinctPalette(b.bitCount == 8 ? 256 : 16);
        b.trailing += 16;  // keeps images without rows above the size limit
        if (!b.truncateTo)
            b.truncateTo = 4000;  // and huge ones below it
        if (std::string(name) == "entry 15")
            b.setEntry(15, 0, 0, 1);
        list.push_back({name, b.build(), std::move(message)});
    };
    BmpBuilder b(4, 4, 4);
    add("fine", b, test::kAccepted);
    b.type = 0x4D43;
    add("signature", b, test::kNotBmp);
    add("wide and high", BmpBuilder(256, 241, 8), test::kTooLarge);
    add("wide", BmpBuilder(256, 2, 8), test::kTooWide);
    add("high", BmpBuilder(2, 241, 4), test::kTooHigh);
    add("top-down", BmpBuilder(2, -2, 4), test::kTooHigh);
    add("depth", BmpBuilder(2, 2, 24), test::kNoSupport);
    add("height 0", BmpBuilder(2, 0, 4), test::kNoSupport);
    add("width 0", BmpBuilder(0, 2, 8), test::kNoSupport);
    b = BmpBuilder(4, 4, 8);
    b.compression = 1;
    add("compressed", b, test::kNoSupport);
    b = BmpBuilder(4, 4, 4);
    b.offBits = 100000;
    add("offset outside", b, test::kNoSupport);
    b = BmpBuilder(4, 4, 4);
    b.infoSize = 0x7FFFFFFF;
    add("info header outside", b, test::kNoSupport);
    b = BmpBuilder(4, 4, 4);
    b.clrUsed = 2;
    b.paletteEntries = 16;
    add("palette 4", b, test::kPalette16);
    b = BmpBuilder(4, 4, 8);
    b.clrUsed = 100;
    b.paletteEntries = 256;
    add("palette 8", b, test::kPalette16or256);
    add("entry 15", BmpBuilder(4, 4, 8), test::kNotTransparent);
    list.push_back({"too small", Bytes(121, 'B'), text::kBmpTooSmall});
    list.push_back({"too large", Bytes(62521, 'B'), text::kBmpTooLarge});
    return list;
}

TEST(ImportRefusals, EachGivesItsMessageAndChangesNothing) {
    for (const Refusal& r : refusals()) {
        // A fresh element, and one that already shows an earlier import.
        for (bool earlier : {false, true}) {
            GeoDocument doc = documentWithElement(7, 9);
            if (earlier) {
                FieldCode xCode{}, yCode{};
                importElement(doc, xCode, yCode, smallImage(5, 3, 8));
            }
            const GeoDocument before = doc;
            EXPECT_EQ(importOutcome(doc, r.file), r.message) << r.name;
            if (r.message != test::kAccepted)
                test::expectSameImportState(before, doc);
        }
    }
}

TEST(ImportRefusals, BmpChecksRaiseTheImagesRecordNotTheDocuments) {
    GeoDocument doc = documentWithElement(0, 0);
    FieldCode xCode{}, yCode{};
    try {
        importElement(doc, xCode, yCode, BmpBuilder(2, 2, 24).build());
        FAIL() << "accepted";
    } catch (const error& e) {
        error expected;
        expected.domain = kDomainBmp;
        expected.unsupported = 1;
        EXPECT_EQ(e, expected);
    }
    EXPECT_EQ(doc.lastError, error{});
}

TEST(ImportRefusals, NoOpenElementIsALogicError) {
    GeoDocument empty;
    FieldCode xCode{}, yCode{};
    EXPECT_THROW(importElement(empty, xCode, yCode, smallImage()), std::logic_error);
}

}  // namespace
}  // namespace zt9
