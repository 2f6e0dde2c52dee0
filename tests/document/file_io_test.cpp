#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "document/file_io.h"
#include "document/geo_document.h"
#include "document_fixtures.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"

namespace zt9 {
namespace {

namespace fs = std::filesystem;
using Status = LimitedRead::Status;

std::vector<std::uint8_t> bytesOf(std::size_t size, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t k = 0; k < size; ++k)
        bytes[k] = static_cast<std::uint8_t>(seed + 31 * k);
    return bytes;
}

std::vector<fs::path> sorted(std::vector<fs::path> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Takes write permission away; false when that does not stop this process from writing
// (an administrator or root may write read-only files).
bool makeReadOnly(const fs::path& file) {
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::ofstream probe(file, std::ios::binary | std::ios::app);
    return !probe.is_open();
}

TEST(StreamSize, MeasuresAndRewinds) {
    std::istringstream stream(std::string(1234, 'a') + "z");
    EXPECT_EQ(streamSize(stream), 1235);
    EXPECT_EQ(stream.get(), 'a');
}

TEST(ReadFileLimited, AcceptsSizesWithinTheLimitsInclusive) {
    test::TempDir dir;
    const struct {
        std::size_t size;
        Status status;
    } cases[] = {{9, Status::tooSmall}, {10, Status::ok}, {20, Status::ok}, {21, Status::tooLarge}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const std::vector<std::uint8_t> bytes = bytesOf(c.size, 7);
        test::writeBytes(dir.file("f.bin"), bytes);
        const LimitedRead read = readFileLimited(dir.file("f.bin"), 10, 20);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.bytes, c.status == Status::ok ? bytes : std::vector<std::uint8_t>{});
    }
}

TEST(ReadFileLimited, MissingFileAndFolderCannotBeRead) {
    test::TempDir dir;
    fs::create_directory(dir.file("folder"));
    EXPECT_EQ(readFileLimited(dir.file("missing"), 0, 100).status, Status::cannotRead);
    EXPECT_EQ(readFileLimited(dir.file("folder"), 0, 100).status, Status::cannotRead);
}

TEST(WriteFileReplacing, CreatesOrReplacesTheWholeFile) {
    test::TempDir dir;
    const fs::path target = dir.file("font.geo");
    ASSERT_TRUE(writeFileReplacing(target, bytesOf(100, 1)));
    EXPECT_EQ(test::readBytes(target), bytesOf(100, 1));
    // A shorter image replaces a longer file completely.
    ASSERT_TRUE(writeFileReplacing(target, bytesOf(40, 2)));
    EXPECT_EQ(test::readBytes(target), bytesOf(40, 2));
    EXPECT_EQ(dir.entries(), std::vector<fs::path>{"font.geo"});
}

TEST(WriteFileReplacing, LeavesAnUnrelatedFileWithATemporaryLookingNameAlone) {
    test::TempDir dir;
    const fs::path target = dir.file("font.geo");
    test::writeBytes(dir.file("font.geo.tmp0"), bytesOf(10, 3));
    ASSERT_TRUE(writeFileReplacing(target, bytesOf(50, 4)));
    EXPECT_EQ(test::readBytes(target), bytesOf(50, 4));
    EXPECT_EQ(test::readBytes(dir.file("font.geo.tmp0")), bytesOf(10, 3));
    EXPECT_EQ(sorted(dir.entries()), (std::vector<fs::path>{"font.geo", "font.geo.tmp0"}));
}

// --- Failed saves --------------------------------------------------------------------------

struct SaveTarget {
    const char* name;
    // Prepares the folder and returns the target; false in `usable` skips the case here.
    std::function<fs::path(const test::TempDir&, bool& usable)> make;
};

// Test names and failure reports show the case by its name.
void PrintTo(const SaveTarget& c, std::ostream* os) {
    *os << c.name;
}

class FailedSave : public ::testing::TestWithParam<SaveTarget> {};

TEST_P(FailedSave, RaisesSaveErrorAndLeavesTheTargetAndTheDocument) {
    test::TempDir dir;
    bool usable = true;
    const fs::path target = GetParam().make(dir, usable);
    if (!usable)
        GTEST_SKIP() << "read-only files are writable for this user";
    const std::vector<fs::path> entriesBefore = sorted(dir.entries());
    std::vector<std::uint8_t> targetBefore;
    if (fs::is_regular_file(target))
        targetBefore = test::readBytes(target);

    GeoDocument doc;
    ASSERT_EQ(test::tryOpen(doc, test::GeoBuilder::grid(3).build()), error{});
    std::int32_t out = 0;
    doc.setX(20, out);
    error got;
    try {
        doc.saveFile(target);
        FAIL() << "the save must fail";
    } catch (const error& e) {
        got = e;
    }
    EXPECT_EQ(got, test::generalError(kCodeSave));
    EXPECT_EQ(test::shownText(got), "File save error");
    EXPECT_EQ(doc.modified, 1);
    EXPECT_EQ(sorted(dir.entries()), entriesBefore) << "no temporary file is left";
    if (!targetBefore.empty()) {
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(test::readBytes(target), targetBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FailedSave,
    ::testing::Values(SaveTarget{"Folder",
                                 [](const test::TempDir& dir, bool&) {
                                     fs::create_directory(dir.file("font.geo"));
                                     return dir.file("font.geo");
                                 }},
                      SaveTarget{"MissingFolder",
                                 [](const test::TempDir& dir, bool&) {
                                     return dir.file("no") / "font.geo";
                                 }},
                      SaveTarget{"ReadOnlyFile",
                                 [](const test::TempDir& dir, bool& usable) {
                                     test::writeBytes(dir.file("font.geo"), bytesOf(30792, 5));
                                     usable = makeReadOnly(dir.file("font.geo"));
                                     return dir.file("font.geo");
                                 }}),
    [](const auto& param) { return std::string(param.param.name); });

// --- File names ----------------------------------------------------------------------------

TEST(FileNames, FontWithACyrillicNameLoadsAndSaves) {
    test::TempDir dir;
    const fs::path source = dir.path() / fs::path(u8"шрифт.geo");
    const fs::path target = dir.path() / fs::path(u8"новый шрифт.geo");
    const std::vector<std::uint8_t> bytes = test::GeoBuilder::grid(4).build();
    test::writeBytes(source, bytes);

    GeoDocument doc;
    ASSERT_EQ(test::tryOpen(doc, source), error{});
    EXPECT_EQ(doc.elementCount, 4u);
    std::int32_t out = 0;
    doc.setY(30, out);
    doc.saveFile(target);
    const std::vector<std::uint8_t> saved = test::readBytes(target);
    ASSERT_EQ(saved.size(), bytes.size());
    EXPECT_EQ(saved[25], 30) << "y of element 0";
    EXPECT_EQ(test::readBytes(source), bytes);
    EXPECT_EQ(dir.entries().size(), 2u);
}

}  // namespace
}  // namespace zt9
