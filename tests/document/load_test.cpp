#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "document/geo_document.h"
#include "document_fixtures.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"

namespace zt9 {
namespace {

namespace fs = std::filesystem;
using test::GeoBuilder;
using test::shownText;
using test::tryOpen;

const std::string kTooLarge =
    "File size more than 38 \xCA"
    "b";
const std::string kTooSmall =
    "File size less than 31 \xCA"
    "b";

void putWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t k = 0; k < 4; ++k)
        bytes.at(at + k) = static_cast<std::uint8_t>(value >> (8 * k));
}

// --- Fonts that load -----------------------------------------------------------------------

struct RoundTripCase {
    const char* name;
    std::size_t elements;
    std::size_t extraBytes;
};

// Test names and failure reports show the case by its name.
void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, UneditedFontIsSavedByteForByte) {
    const RoundTripCase& c = GetParam();
    GeoBuilder builder = GeoBuilder::grid(c.elements);
    for (std::size_t k = 0; k < c.extraBytes; ++k)
        builder.extraBytes.push_back(static_cast<std::uint8_t>(0x5A ^ (k * 13)));
    const std::vector<std::uint8_t> bytes = builder.build();
    test::TempDir dir;
    test::writeBytes(dir.file("in.geo"), bytes);

    GeoDocument doc;
    ASSERT_EQ(tryOpen(doc, dir.file("in.geo")), error{});
    EXPECT_EQ(doc.elementCount, c.elements);
    EXPECT_EQ(doc.fileSize, bytes.size());
    EXPECT_EQ(doc.pictureOffset, 16 * c.elements + 8);
    doc.saveFile(dir.file("out.geo"));
    EXPECT_TRUE(test::sameBytes(test::readBytes(dir.file("out.geo")), bytes));
}

INSTANTIATE_TEST_SUITE_P(Fonts, RoundTrip,
                         ::testing::Values(RoundTripCase{"OneElementWithExtraBytes", 1, 100},
                                           RoundTripCase{"TwoElementsWithExtraBytes", 2, 7},
                                           RoundTripCase{"SeventySevenWithExtraBytes", 77, 333},
                                           RoundTripCase{"FullFont", 143, 0}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ParseElements, DecodesEveryTableEntry) {
    GeoBuilder builder = GeoBuilder::grid(3);
    test::ElementSpec& spec = builder.elements[1];
    spec = test::at(30, 40, 7, 9);
    spec.resizeWidth = 300;
    spec.resizeHeight = 65535;
    spec.displayX = -255;
    spec.displayY = -32768;
    spec.numberLow = 0xFEDCBA;
    GeoDocument doc;
    doc.loadBytes(builder.build(), false);
    ASSERT_EQ(doc.checkHeader(), error{});
    EXPECT_EQ(doc.parseElements(), 2u);
    EXPECT_EQ(doc.readCursor, 3u + 4 * 3);
    EXPECT_EQ(doc.paletteOffset, 56u + 30732);

    const ElementConfig expected{30, 40, 7, 9, -255, -32768, 300, 65535, 0, 0, 0, 1};
    EXPECT_EQ(doc.configs[1], expected);
    EXPECT_EQ(doc.numberWords[1], 0x01FEDCBAu);
    EXPECT_EQ(doc.resizeWords[1], 0xFFFF012Cu);
    EXPECT_EQ(doc.displayWords[1], 0x8000FF01u);
    EXPECT_EQ(doc.placeWords[1], 0x0907281Eu);
    for (const ImportSlot& slot : doc.importSlots) {
        EXPECT_EQ(slot.imported, 0);
        EXPECT_TRUE(slot.pixels.empty());
    }
    EXPECT_EQ(doc.checkElements(), error{});
    EXPECT_EQ(doc.currentElement, 0u);
}

TEST(ParseElements, ColorIndexCyclesThroughTheFourColours) {
    GeoDocument doc;
    ASSERT_EQ(tryOpen(doc, GeoBuilder::grid(6).build()), error{});
    const std::int32_t expected[] = {0, 1, 2, 3, 0, 1};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(doc.configs[i].colorIndex, expected[i]) << "element " << i;
}

TEST(CheckHeader, ElementCountComesFromTheLastNumberWord) {
    GeoBuilder full = GeoBuilder::grid(143);
    full.lastNumber = 142;
    GeoDocument doc;
    ASSERT_EQ(tryOpen(doc, full.build()), error{});
    EXPECT_EQ(doc.elementCount, 143u);
    EXPECT_EQ(doc.fileSize, 38176u);
    EXPECT_EQ(doc.pictureOffset, 2296u);

    // The count is not taken from P: a last number of 1 in a three-entry table gives two.
    GeoBuilder three = GeoBuilder::grid(3);
    three.lastNumber = 1;
    ASSERT_EQ(tryOpen(doc, three.build(), true), error{});
    EXPECT_EQ(doc.elementCount, 2u);
}

// --- Refused sizes -------------------------------------------------------------------------

struct RefusedFile {
    const char* name;
    std::function<void(const fs::path&)> make;
    error expected;
};

std::vector<RefusedFile> refusedFiles() {
    const auto sized = [](std::size_t size) {
        return [size](const fs::path& file) {
            std::vector<std::uint8_t> bytes = GeoBuilder::grid(1).build();
            bytes.resize(size, 0x77);
            test::writeBytes(file, bytes);
        };
    };
    return {
        {"missing", [](const fs::path&) {}, test::generalError(kCodeLoad)},
        {"folder", [](const fs::path& file) { fs::create_directory(file); },
         test::generalError(kCodeLoad)},
        {"oneByteTooSmall", sized(30791), test::generalError(kCodeTooSmall, kTooSmall)},
        {"empty", sized(0), test::generalError(kCodeTooSmall, kTooSmall)},
        {"oneByteTooLarge", sized(38177), test::generalError(kCodeTooLarge, kTooLarge)},
        {"fiftyThousandBytes", sized(50000), test::generalError(kCodeTooLarge, kTooLarge)},
    };
}

TEST(LoadFile, RefusedFileGivesItsRecordAndLeavesTheOpenDocumentAsItWas) {
    test::TempDir dir;
    const std::vector<std::uint8_t> original = GeoBuilder::grid(3).build();
    test::writeBytes(dir.file("open.geo"), original);
    GeoDocument doc;
    ASSERT_EQ(tryOpen(doc, dir.file("open.geo")), error{});
    std::int32_t out = 0;
    doc.nextElement();
    ASSERT_EQ(doc.setY(doc.configs[1].y + 1, out), FieldCode::unchanged);
    const GeoDocument before = doc;

    for (const RefusedFile& refused : refusedFiles()) {
        SCOPED_TRACE(refused.name);
        const fs::path file = dir.file(std::string(refused.name) + ".geo");
        refused.make(file);
        const error got = tryOpen(doc, file, true);
        EXPECT_EQ(got, refused.expected);
        EXPECT_EQ(shownText(got), refused.expected.code == kCodeLoad ? "File load error"
                                                                     : refused.expected.message);
        EXPECT_EQ(doc.fileSize, before.fileSize);
        EXPECT_EQ(doc.elementCount, before.elementCount);
        EXPECT_EQ(doc.currentElement, 1u);
        EXPECT_EQ(doc.modified, 1);
        EXPECT_EQ(doc.fileImage, before.fileImage);
        EXPECT_EQ(doc.placeWords, before.placeWords);
        EXPECT_EQ(doc.configs, before.configs);
        doc.clearError();
    }

    // A later save still writes the old document, at the old size, with its edit.
    doc.saveFile(dir.file("saved.geo"));
    const std::vector<std::uint8_t> saved = test::readBytes(dir.file("saved.geo"));
    ASSERT_EQ(saved.size(), original.size());
    EXPECT_EQ(saved[24 + 16 + 1], original[24 + 16 + 1] + 1) << "y of element 1";
}

TEST(LoadFile, ShortReadIsALoadErrorAndLeavesTheOpenDocumentAsItWas) {
    // Kernel attribute files report a size of a page but hold only a few bytes, which makes
    // a real short read; the document's lower limit is lowered so the size check passes.
    fs::path shortFile;
    for (const char* candidate : {"/sys/kernel/mm/transparent_hugepage/enabled",
                                  "/sys/kernel/profiling", "/sys/power/state"}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec) && fs::file_size(candidate, ec) > 0 && !ec &&
            test::readBytes(candidate).size() < fs::file_size(candidate)) {
            shortFile = candidate;
            break;
        }
    }
    if (shortFile.empty())
        GTEST_SKIP() << "no file here reports more bytes than it holds";

    GeoDocument doc;
    const std::vector<std::uint8_t> original = GeoBuilder::grid(2).build();
    ASSERT_EQ(tryOpen(doc, original), error{});
    doc.minFileSize = 1;
    EXPECT_EQ(tryOpen(doc, shortFile, true), test::generalError(kCodeLoad));
    EXPECT_EQ(doc.fileImage, original);
    EXPECT_EQ(doc.fileSize, original.size());
    EXPECT_EQ(doc.elementCount, 2u);
}

// --- Header and element checks -------------------------------------------------------------

struct HeaderCase {
    const char* name;
    std::function<void(GeoBuilder&)> damage;
    error expected;
    const char* text;
};

// Test names and failure reports show the case by its name.
void PrintTo(const HeaderCase& c, std::ostream* os) {
    *os << c.name;
}

class HeaderFailure : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderFailure, IsRefusedWithItsRecordAndNoDocumentStaysOpen) {
    const HeaderCase& c = GetParam();
    GeoDocument doc;
    ASSERT_EQ(tryOpen(doc, GeoBuilder::grid(2).build()), error{});
    GeoBuilder damaged = GeoBuilder::grid(3);
    c.damage(damaged);

    const error got = tryOpen(doc, damaged.build(), true);
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(shownText(got), c.text);
    EXPECT_TRUE(doc.fileImage.empty()) << "the file image is released";
    EXPECT_EQ(doc.elementCount, 0u);
    EXPECT_TRUE(doc.configs.empty()) << "the previous document was closed";
}

const HeaderCase kHeaderCases[] = {
    {"SignatureBytesReversed", [](GeoBuilder& b) { b.signature = 0x302E3176; },
     test::geoError(&error::wrongType), "Has been opened not GEO file"},
    {"FormatByteTwo", [](GeoBuilder& b) { b.pictureLead[0] = 2; },
     test::geoError(&error::unsupported), "No support GEO format"},
    {"LastNumber143", [](GeoBuilder& b) { b.lastNumber = 143; },
     test::geoError(&error::elementError), "Too much elements"},
    {"LastNumber255", [](GeoBuilder& b) { b.lastNumber = 255; },
     test::geoError(&error::elementError), "Too much elements"},
    {"PictureOffsetAllOnes", [](GeoBuilder& b) { b.pictureOffset = 0xFFFFFFFF; },
     test::geoError(&error::unsupported), "No support GEO format"},
    {"PictureOffsetZero", [](GeoBuilder& b) { b.pictureOffset = 0; },
     test::geoError(&error::unsupported), "No support GEO format"},
    {"PictureOffsetEleven", [](GeoBuilder& b) { b.pictureOffset = 11; },
     test::geoError(&error::unsupported), "No support GEO format"},
    {"PictureOffsetPastTheEnd", [](GeoBuilder& b) { b.pictureOffset = 30740 + 52 * 3 - 4; },
     test::geoError(&error::unsupported), "No support GEO format"},
};

INSTANTIATE_TEST_SUITE_P(Damage, HeaderFailure, ::testing::ValuesIn(kHeaderCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(CheckHeader, FormatByteMayBeTheLastByteOfTheFile) {
    // P + 5 equal to the file size is the largest P whose format byte lies inside.
    std::vector<std::uint8_t> bytes = GeoBuilder::grid(1).build();
    ASSERT_EQ(bytes.size(), 30792u);
    const std::uint32_t p = 30792 - 5;
    putWord(bytes, 4, p);
    bytes[(p + 4) & ~3u] = 1;         // format byte, read from its word's first byte
    bytes[((p - 12) & ~3u) + 3] = 0;  // last number 0: one element
    GeoDocument doc;
    EXPECT_EQ(tryOpen(doc, bytes), test::geoError(&error::paletteError, 1, 0));

    putWord(bytes, 4, p + 1);
    EXPECT_EQ(tryOpen(doc, bytes), test::geoError(&error::unsupported));
    EXPECT_TRUE(doc.fileImage.empty());
}

TEST(CheckHeader, TruncatedImageIsRefusedWithoutReadingPastIt) {
    // With the size limits lowered, every prefix of a font reaches the header check.
    const std::vector<std::uint8_t> full = GeoBuilder::grid(1).build();
    for (std::size_t length = 0; length <= 64; ++length) {
        SCOPED_TRACE(length);
        GeoDocument doc;
        doc.minFileSize = 0;
        const error got = tryOpen(doc, test::head(full, length));
        if (length < 4) {
            EXPECT_EQ(got, test::geoError(&error::wrongType));
        } else if (length < 24 + 5) {
            EXPECT_EQ(got, test::geoError(&error::unsupported));
        } else {
            // The header fits (P = 24); the first palette entry does not.
            EXPECT_EQ(got, test::geoError(&error::paletteError, 1, 0));
        }
        EXPECT_TRUE(doc.fileImage.empty());
    }
}

TEST(CheckHeader, AnyPictureOffsetIsHandledSafely) {
    // Many bytes of 1 let the format check pass for many P, so the table decoding, the
    // element check and a save with every element pushed to the picture's corner run on
    // whatever P points at. The sanitizers watch for any read or write outside a buffer.
    GeoBuilder builder = GeoBuilder::grid(3);
    for (std::size_t k = 0; k < builder.pixels.size(); ++k)
        builder.pixels[k] = k % 4 == 0 ? 1 : static_cast<std::uint8_t>(k * 131 % 256);
    const std::vector<std::uint8_t> base = builder.build();
    const auto size = static_cast<std::uint32_t>(base.size());
    std::size_t opened = 0;
    for (std::uint32_t p = 0; p <= size + 16; p += (p < 80 || p + 80 > size) ? 1 : 37) {
        SCOPED_TRACE(p);
        std::vector<std::uint8_t> bytes = base;
        putWord(bytes, 4, p);
        GeoDocument doc;
        const error got = tryOpen(doc, bytes);
        if (p < 12 || p + 5 > size) {
            EXPECT_EQ(got, test::geoError(&error::unsupported));
        }
        if (got.domain != 0) {
            EXPECT_TRUE(doc.fileImage.empty());
            continue;
        }
        ++opened;
        for (std::uint32_t i = 0; i < doc.elementCount; ++i) {
            std::int32_t out = 0;
            doc.selectElement(static_cast<std::int32_t>(i), out);
            doc.setX(254, out);
            doc.setY(239, out);
            doc.setHeight(239, out);
        }
        EXPECT_EQ(doc.buildSaveImage().size(), size);
    }
    EXPECT_GT(opened, 0u) << "some P must reach the element check and the save";
}

TEST(CheckElements, PaletteTableCutShortNamesTheFirstEntryThatDoesNotFit) {
    const std::vector<std::uint8_t> full = GeoBuilder::grid(5).build();
    const std::size_t palette = 88 + 30732;
    const struct {
        std::size_t size;
        std::int32_t element;
    } cuts[] = {{palette + 36 * 2 + 10, 2}, {palette + 36 * 3, 3}, {palette + 36 * 5 - 1, 4}};
    for (const auto& cut : cuts) {
        SCOPED_TRACE(cut.size);
        GeoDocument doc;
        const error got = tryOpen(doc, test::head(full, cut.size));
        EXPECT_EQ(got, test::geoError(&error::paletteError, 1, cut.element));
        EXPECT_EQ(shownText(got),
                  "Element " + std::to_string(cut.element) + " palette color out of file");
    }
}

TEST(CheckElements, ElementMayEndExactlyAtThePaletteTable) {
    // Rows 236 to 239, columns 240 to 255: the last byte is the last byte before the
    // palette table. One column more puts one byte into it.
    GeoBuilder builder = GeoBuilder::grid(3);
    builder.elements[1] = test::at(240, 236, 16, 3);
    GeoDocument doc;
    EXPECT_EQ(tryOpen(doc, builder.build()), error{});

    builder.elements[1].width = 17;
    const error got = tryOpen(doc, builder.build(), true);
    EXPECT_EQ(got, test::geoError(&error::elementError, 2, 1));
    EXPECT_EQ(shownText(got), "Element 1 size out of picture");
    EXPECT_TRUE(doc.fileImage.empty());
}

TEST(CheckElements, OnlyBytesBeforeThePaletteTableAreRequired) {
    GeoBuilder builder = GeoBuilder::grid(3);
    builder.elements[0] = test::at(250, 10, 20, 5);  // runs past column 255 into the next row
    builder.elements[2] = test::at(0, 239, 0, 255);  // no columns, so no bytes at all
    GeoDocument doc;
    EXPECT_EQ(tryOpen(doc, builder.build()), error{});

    builder.elements[2].width = 2;  // now 256 rows of one byte reach far past the picture
    EXPECT_EQ(tryOpen(doc, builder.build(), true), test::geoError(&error::elementError, 2, 2));
}

TEST(CloseDocument, ReleasesEverythingButKeepsTheFileSizeAndLimits) {
    GeoDocument doc;
    const std::vector<std::uint8_t> bytes = GeoBuilder::grid(4).build();
    ASSERT_EQ(tryOpen(doc, bytes), error{});
    doc.nextElement();
    doc.zoomIn();
    doc.importSlots[1].imported = 1;
    doc.importSlots[1].pixels.assign(8, 3);
    doc.lastError.code = kCodeSave;
    EXPECT_TRUE(doc.closeDocument());

    EXPECT_EQ(doc.fileSize, bytes.size());
    EXPECT_EQ(doc.elementCount, 0u);
    EXPECT_EQ(doc.readCursor, 1u);
    EXPECT_EQ(doc.pictureOffset, 0u);
    EXPECT_EQ(doc.zoom, 1u);
    EXPECT_EQ(doc.currentElement, 0u);
    EXPECT_EQ(doc.paletteOffset, 0u);
    EXPECT_EQ(doc.lastError, error{});
    EXPECT_TRUE(doc.fileImage.empty());
    EXPECT_TRUE(doc.placeWords.empty());
    EXPECT_TRUE(doc.configs.empty());
    EXPECT_TRUE(doc.importSlots.empty());
    EXPECT_EQ(doc.maxFileSize, 38176u);
    EXPECT_EQ(doc.minFileSize, 30792u);
}

}  // namespace
}  // namespace zt9
