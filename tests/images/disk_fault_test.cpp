// Exports that the disk refuses: a read-only folder, a missing folder behind a file, a
// folder as the target, a full disk. Each must show "File save error", leave the document
// as it was, keep an existing target byte for byte and leave no temporary file behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "document/geo_document.h"
#include "errors/error.h"
#include "images/element_export.h"
#include "support/disk_faults.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"

#ifdef __linux__
#include <sys/stat.h>
#endif

namespace zt9 {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> entriesOf(const fs::path& folder) {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// The message an export shows, "<written>" when it succeeds; only "File save error" (code 2)
// counts as that message.
std::string exportOutcome(const GeoDocument& doc, int mode, const fs::path& target) {
    try {
        exportElement(doc, mode, target);
    } catch (const error& e) {
        error expected;
        expected.code = kCodeSave;
        const std::string shown = messageText(e).value_or("<no message>");
        return e == expected ? shown : "unexpected record: " + shown;
    }
    return "<written>";
}

// A font whose element 2 is 40 x 30, so an export is 1318 (8-bit) or 718 (4-bit) bytes;
// the document is edited, so an export that touched `modified` would show.
GeoDocument editedFont() {
    GeoDocument doc;
    openFont(doc, test::GeoBuilder::grid(3, 40, 29).build());
    std::int32_t out = 0;
    doc.selectElement(2, out);
    doc.setY(doc.configs[2].y + 1, out);
    return doc;
}

// Exports in both depths to `target`; both must fail and change nothing.
void expectRefusedExport(const fs::path& target, const fs::path& watched) {
    const std::vector<fs::path> entriesBefore = entriesOf(watched);
    std::vector<std::uint8_t> targetBefore;
    std::error_code ec;  // a link loop has no status
    const bool targetIsFile = fs::is_regular_file(target, ec);
    if (targetIsFile)
        targetBefore = test::readBytes(target);
    const GeoDocument doc = editedFont();
    for (const int mode : {kExport8bpp, kExport4bpp}) {
        SCOPED_TRACE(mode == kExport8bpp ? "8-bit" : "4-bit");
        EXPECT_EQ(exportOutcome(doc, mode, target), "File save error");
        EXPECT_EQ(entriesOf(watched), entriesBefore) << "no temporary file is left";
        if (targetIsFile) {
            EXPECT_EQ(test::readBytes(target), targetBefore);
        }
    }
    const GeoDocument untouched = editedFont();
    EXPECT_EQ(doc.modified, untouched.modified);
    EXPECT_EQ(doc.configs, untouched.configs);
    EXPECT_EQ(doc.currentElement, untouched.currentElement);
}

TEST(DiskFaultExport, ReadOnlyFolderRefusesANewImage) {
    test::TempDir dir;
    const fs::path folder = dir.file("images");
    fs::create_directory(folder);
    if (!test::makeFolderReadOnly(folder))
        GTEST_SKIP() << "this user may write into read-only folders (root?)";
    expectRefusedExport(folder / "element.bmp", folder);
    EXPECT_FALSE(fs::exists(folder / "element.bmp"));
}

TEST(DiskFaultExport, ReadOnlyFolderKeepsAnExistingImage) {
    test::TempDir dir;
    const fs::path folder = dir.file("images");
    fs::create_directory(folder);
    test::writeBytes(folder / "element.bmp", std::vector<std::uint8_t>(500, 0x24));
    if (!test::makeFolderReadOnly(folder))
        GTEST_SKIP() << "this user may write into read-only folders (root?)";
    expectRefusedExport(folder / "element.bmp", folder);
}

TEST(DiskFaultExport, FolderThatIsAFileRefusesEvenAnAdministrator) {
    test::TempDir dir;
    test::writeBytes(dir.file("images"), std::vector<std::uint8_t>(64, 0x11));
    expectRefusedExport(dir.file("images") / "element.bmp", dir.path());
    EXPECT_EQ(test::readBytes(dir.file("images")), std::vector<std::uint8_t>(64, 0x11));
}

TEST(DiskFaultExport, TargetThatIsAFolderKeepsTheFolder) {
    test::TempDir dir;
    fs::create_directory(dir.file("element.bmp"));
    test::writeBytes(dir.file("element.bmp") / "inside.txt", {1, 2, 3});
    expectRefusedExport(dir.file("element.bmp"), dir.path());
    EXPECT_EQ(entriesOf(dir.file("element.bmp")), std::vector<fs::path>{"inside.txt"});
}

TEST(ExportThroughLink, ReplacesTheImageTheLinkNamesAndKeepsTheLink) {
    test::TempDir dir;
    test::writeBytes(dir.file("real.bmp"), std::vector<std::uint8_t>(300, 0x66));
    std::error_code ec;
    fs::create_symlink("real.bmp", dir.file("link.bmp"), ec);
    if (ec)
        GTEST_SKIP() << "symbolic links cannot be made here";
    const GeoDocument doc = editedFont();
    exportElement(doc, kExport4bpp, dir.file("link.bmp"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.bmp")));
    EXPECT_EQ(test::readBytes(dir.file("real.bmp")), exportElementBytes(doc, kExport4bpp));
    EXPECT_EQ(entriesOf(dir.path()), (std::vector<fs::path>{"link.bmp", "real.bmp"}));
}

#ifdef __linux__

bool isCharacterDevice(const char* name) {
    struct stat info {};
    return stat(name, &info) == 0 && S_ISCHR(info.st_mode);
}

TEST(DiskFaultExport, DevFullIsASaveErrorAndStaysADevice) {
    if (!isCharacterDevice("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    const std::vector<fs::path> devBefore = entriesOf("/dev");
    const GeoDocument doc = editedFont();
    for (const int mode : {kExport8bpp, kExport4bpp}) {
        EXPECT_EQ(exportOutcome(doc, mode, "/dev/full"), "File save error");
    }
    // Restore a replaced device with: mknod -m 666 /dev/full c 1 7.
    EXPECT_TRUE(isCharacterDevice("/dev/full")) << "the export replaced /dev/full";
    EXPECT_EQ(entriesOf("/dev"), devBefore) << "no temporary file is left in /dev";
}

// Writes past a file size limit fail (EFBIG) part-way through, like writes onto a full disk.
TEST(DiskFaultExport, WriteFailingPartWayKeepsTheOldImage) {
    test::TempDir dir;
    const std::vector<std::uint8_t> old(200, 0x42);
    test::writeBytes(dir.file("element.bmp"), old);
    const GeoDocument doc = editedFont();
    for (const int mode : {kExport8bpp, kExport4bpp}) {
        std::string outcome;
        {
            test::FileSizeLimit limit(512);
            ASSERT_TRUE(limit.active());
            outcome = exportOutcome(doc, mode, dir.file("element.bmp"));
        }
        EXPECT_EQ(outcome, "File save error");
        EXPECT_EQ(test::readBytes(dir.file("element.bmp")), old);
        EXPECT_EQ(entriesOf(dir.path()), std::vector<fs::path>{"element.bmp"});
    }
    exportElement(doc, kExport8bpp, dir.file("element.bmp"));
    EXPECT_EQ(test::readBytes(dir.file("element.bmp")), exportElementBytes(doc, kExport8bpp));
}

TEST(DiskFaultExport, FullFilesystemKeepsTheOldImage) {
    test::TempDir dir;
    const int result = test::runOnSmallFilesystem(dir.path(), [](const fs::path& folder) {
        const std::vector<std::uint8_t> old(200, 0x42);
        test::writeBytes(folder / "element.bmp", old);
        if (test::fillFilesystem(folder / "filler") == 0)
            return 10;
        const GeoDocument doc = editedFont();
        for (const int mode : {kExport8bpp, kExport4bpp}) {
            if (exportOutcome(doc, mode, folder / "element.bmp") != "File save error") {
                return 11;
            }
            if (test::readBytes(folder / "element.bmp") != old)
                return 13;
            if (entriesOf(folder) != std::vector<fs::path>{"element.bmp", "filler"})
                return 14;
        }
        return 0;
    });
    if (result == test::kNoFullFilesystem)
        GTEST_SKIP() << "no small filesystem can be mounted here";
    EXPECT_EQ(result, 0) << "10 no filler written, 11 export not refused, 13 old image changed, "
                            "14 files left";
    EXPECT_TRUE(fs::is_empty(dir.path())) << "the mount stays private to the child";
}

#endif  // __linux__

}  // namespace
}  // namespace zt9
