// Saves that the disk refuses: a read-only folder, a missing folder behind a file, a
// folder as the target, a full disk. Each must show "File save error", keep `modified`,
// keep an existing target byte for byte and leave no temporary file behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "document/geo_document.h"
#include "errors/error.h"
#include "support/disk_faults.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"

#ifdef __linux__
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zt9 {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> sorted(std::vector<fs::path> names) {
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<fs::path> entriesOf(const fs::path& folder) {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    return sorted(names);
}

// Equal images, or a failure naming the sizes and the first differing offset.
::testing::AssertionResult sameBytes(const std::vector<std::uint8_t>& actual,
                                     const std::vector<std::uint8_t>& expected) {
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << "size " << actual.size() << ", expected " << expected.size();
    }
    const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin());
    if (a == actual.end())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "first difference at byte " << (a - actual.begin());
}

std::vector<std::uint8_t> fontBytes() {
    return test::GeoBuilder::grid(5).build();
}

// An open font; `edited` moves element 1 so that the save has something to write.
GeoDocument openTestFont(bool edited) {
    GeoDocument doc;
    openFont(doc, fontBytes());
    if (edited) {
        std::int32_t out = 0;
        doc.selectElement(1, out);
        doc.setX(doc.configs[1].x + 2, out);
    }
    return doc;
}

// The record a save raises, or a note that it did not raise.
std::string saveOutcome(GeoDocument& doc, const fs::path& target) {
    try {
        doc.saveFile(target);
    } catch (const error& e) {
        error expected;
        expected.code = kCodeSave;
        const std::string shown = messageText(e).value_or("<no message>");
        return e == expected ? shown : "unexpected record: " + shown;
    }
    return "<saved>";
}

// Saves an unedited and an edited font to `target`, both of which must fail. The folder
// `watched` must keep its entries and `target`, when it is a file, its bytes.
void expectRefusedSave(const fs::path& target, const fs::path& watched) {
    const std::vector<fs::path> entriesBefore = entriesOf(watched);
    std::vector<std::uint8_t> targetBefore;
    std::error_code ec;  // a link loop has no status
    const bool targetIsFile = fs::is_regular_file(target, ec);
    if (targetIsFile)
        targetBefore = test::readBytes(target);
    for (const bool edited : {false, true}) {
        SCOPED_TRACE(edited ? "edited font" : "unedited font");
        GeoDocument doc = openTestFont(edited);
        const std::uint8_t modifiedBefore = doc.modified;
        EXPECT_EQ(saveOutcome(doc, target), "File save error");
        EXPECT_EQ(doc.modified, modifiedBefore);
        EXPECT_EQ(entriesOf(watched), entriesBefore) << "no temporary file is left";
        if (targetIsFile) {
            EXPECT_TRUE(sameBytes(test::readBytes(target), targetBefore));
        }
    }
}

TEST(DiskFaultSave, ReadOnlyFolderRefusesANewFont) {
    test::TempDir dir;
    const fs::path folder = dir.file("fonts");
    fs::create_directory(folder);
    if (!test::makeFolderReadOnly(folder))
        GTEST_SKIP() << "this user may write into read-only folders (root?)";
    expectRefusedSave(folder / "font.geo", folder);
    EXPECT_FALSE(fs::exists(folder / "font.geo"));
}

TEST(DiskFaultSave, ReadOnlyFolderKeepsAnExistingFont) {
    test::TempDir dir;
    const fs::path folder = dir.file("fonts");
    fs::create_directory(folder);
    // The font itself stays writable: only the temporary file beside it cannot be made.
    test::writeBytes(folder / "font.geo", std::vector<std::uint8_t>(30800, 0x3C));
    if (!test::makeFolderReadOnly(folder))
        GTEST_SKIP() << "this user may write into read-only folders (root?)";
    expectRefusedSave(folder / "font.geo", folder);
}

// A folder that cannot exist because a file has its name stops root as well.
TEST(DiskFaultSave, FolderThatIsAFileRefusesEvenAnAdministrator) {
    test::TempDir dir;
    test::writeBytes(dir.file("fonts"), std::vector<std::uint8_t>(100, 0x11));
    expectRefusedSave(dir.file("fonts") / "font.geo", dir.path());
    EXPECT_EQ(test::readBytes(dir.file("fonts")), std::vector<std::uint8_t>(100, 0x11));
}

TEST(DiskFaultSave, TargetThatIsAFolderKeepsTheFolder) {
    test::TempDir dir;
    fs::create_directory(dir.file("font.geo"));
    test::writeBytes(dir.file("font.geo") / "inside.txt", {1, 2, 3});
    expectRefusedSave(dir.file("font.geo"), dir.path());
    EXPECT_TRUE(fs::is_directory(dir.file("font.geo")));
    EXPECT_EQ(entriesOf(dir.file("font.geo")), std::vector<fs::path>{"inside.txt"});
}

// --- Links ---------------------------------------------------------------------------------

// False when this system cannot make symbolic links (Wine, Windows without the privilege).
bool makeLink(const fs::path& to, const fs::path& link) {
    std::error_code ec;
    fs::create_symlink(to, link, ec);
    return !ec;
}

TEST(SaveThroughLink, ReplacesTheFontTheLinkNamesAndKeepsTheLink) {
    test::TempDir dir;
    fs::create_directory(dir.file("real"));
    test::writeBytes(dir.file("real") / "font.geo", std::vector<std::uint8_t>(30792, 0x77));
    if (!makeLink(fs::path("real") / "font.geo", dir.file("link.geo")))
        GTEST_SKIP() << "symbolic links cannot be made here";
    GeoDocument doc = openTestFont(true);
    doc.saveFile(dir.file("link.geo"));
    EXPECT_EQ(doc.modified, 0);
    EXPECT_TRUE(fs::is_symlink(dir.file("link.geo")));
    EXPECT_EQ(fs::read_symlink(dir.file("link.geo")), fs::path("real") / "font.geo");
    EXPECT_TRUE(sameBytes(test::readBytes(dir.file("real") / "font.geo"), doc.buildSaveImage()));
    EXPECT_EQ(entriesOf(dir.file("real")), std::vector<fs::path>{"font.geo"});
    EXPECT_EQ(entriesOf(dir.path()), (std::vector<fs::path>{"link.geo", "real"}));
}

TEST(SaveThroughLink, DanglingLinkCreatesTheFileItNames) {
    test::TempDir dir;
    if (!makeLink("new.geo", dir.file("link.geo")))
        GTEST_SKIP() << "symbolic links cannot be made here";
    GeoDocument doc = openTestFont(false);
    doc.saveFile(dir.file("link.geo"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.geo")));
    EXPECT_TRUE(sameBytes(test::readBytes(dir.file("new.geo")), fontBytes()));
    EXPECT_EQ(entriesOf(dir.path()), (std::vector<fs::path>{"link.geo", "new.geo"}));
}

TEST(SaveThroughLink, LinkLoopAndLinkToAFolderAreSaveErrors) {
    test::TempDir dir;
    if (!makeLink("b.geo", dir.file("a.geo")) || !makeLink("a.geo", dir.file("b.geo")))
        GTEST_SKIP() << "symbolic links cannot be made here";
    expectRefusedSave(dir.file("a.geo"), dir.path());
    EXPECT_TRUE(fs::is_symlink(dir.file("a.geo")));

    fs::create_directory(dir.file("folder"));
    ASSERT_TRUE(makeLink("folder", dir.file("c.geo")));
    expectRefusedSave(dir.file("c.geo"), dir.path());
    EXPECT_TRUE(fs::is_symlink(dir.file("c.geo")));
    EXPECT_TRUE(fs::is_empty(dir.file("folder")));
}

#ifdef __linux__

// --- Full disks and other files (Linux) ----------------------------------------------------

bool isCharacterDevice(const char* name) {
    struct stat info {};
    return stat(name, &info) == 0 && S_ISCHR(info.st_mode);
}

TEST(DiskFaultSave, DevFullIsASaveErrorAndStaysADevice) {
    if (!isCharacterDevice("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    const std::vector<fs::path> devBefore = entriesOf("/dev");
    for (const bool edited : {false, true}) {
        GeoDocument doc = openTestFont(edited);
        const std::uint8_t modifiedBefore = doc.modified;
        EXPECT_EQ(saveOutcome(doc, "/dev/full"), "File save error");
        EXPECT_EQ(doc.modified, modifiedBefore);
    }
    // A rename onto the name would have put a plain file where the device was (root may
    // write /dev); restore it with: mknod -m 666 /dev/full c 1 7.
    EXPECT_TRUE(isCharacterDevice("/dev/full")) << "the save replaced /dev/full";
    EXPECT_EQ(entriesOf("/dev"), devBefore) << "no temporary file is left in /dev";
}

TEST(DiskFaultSave, LinkToDevFullIsASaveError) {
    if (!isCharacterDevice("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    test::TempDir dir;
    ASSERT_TRUE(makeLink("/dev/full", dir.file("font.geo")));
    expectRefusedSave(dir.file("font.geo"), dir.path());
    EXPECT_TRUE(fs::is_symlink(dir.file("font.geo")));
    EXPECT_TRUE(isCharacterDevice("/dev/full"));
}

// A pipe cannot be replaced by a rename either: the save writes into it.
TEST(SaveIntoPipe, WritesTheImageIntoThePipeAndKeepsIt) {
    test::TempDir dir;
    const fs::path pipe = dir.file("font.geo");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // The read end is open before the save, so the save's open does not wait; the image is
    // smaller than the pipe's buffer, so its write does not wait either.
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    GeoDocument doc = openTestFont(true);
    const std::vector<std::uint8_t> expected = doc.buildSaveImage();
    doc.saveFile(pipe);
    EXPECT_EQ(doc.modified, 0);
    std::vector<std::uint8_t> received;
    std::array<std::uint8_t, 4096> buffer{};
    // Non-blocking: with no writer left the read ends at once, whatever the save did.
    for (ssize_t n = 0; (n = read(reader, buffer.data(), buffer.size())) > 0;)
        received.insert(received.end(), buffer.begin(), buffer.begin() + n);
    close(reader);
    EXPECT_TRUE(sameBytes(received, expected));
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(entriesOf(dir.path()), std::vector<fs::path>{"font.geo"});
}

// Writes past a file size limit fail (EFBIG) part-way through, like writes onto a full disk.
TEST(DiskFaultSave, WriteFailingPartWayKeepsTheOldFont) {
    test::TempDir dir;
    const std::vector<std::uint8_t> old(30792, 0x42);
    test::writeBytes(dir.file("font.geo"), old);
    for (const bool edited : {false, true}) {
        GeoDocument doc = openTestFont(edited);
        const std::uint8_t modifiedBefore = doc.modified;
        std::string outcome;
        {
            test::FileSizeLimit limit(4096);
            ASSERT_TRUE(limit.active());
            outcome = saveOutcome(doc, dir.file("font.geo"));
        }
        EXPECT_EQ(outcome, "File save error");
        EXPECT_EQ(doc.modified, modifiedBefore);
        EXPECT_TRUE(sameBytes(test::readBytes(dir.file("font.geo")), old));
        EXPECT_EQ(entriesOf(dir.path()), std::vector<fs::path>{"font.geo"});
    }
    // The limit is gone again: the same save now succeeds.
    GeoDocument doc = openTestFont(true);
    doc.saveFile(dir.file("font.geo"));
    EXPECT_TRUE(sameBytes(test::readBytes(dir.file("font.geo")), doc.buildSaveImage()));
}

// A real full filesystem: a 64 KiB tmpfs in a private mount namespace, filled up after the
// old font was written. Skipped where the system allows no such mount.
TEST(DiskFaultSave, FullFilesystemKeepsTheOldFont) {
    test::TempDir dir;
    const int result = test::runOnSmallFilesystem(dir.path(), [](const fs::path& folder) {
        const std::vector<std::uint8_t> old(30792, 0x42);
        test::writeBytes(folder / "font.geo", old);
        if (test::fillFilesystem(folder / "filler") == 0)
            return 10;
        for (const bool edited : {false, true}) {
            GeoDocument doc = openTestFont(edited);
            const std::uint8_t modifiedBefore = doc.modified;
            if (saveOutcome(doc, folder / "font.geo") != "File save error")
                return 11;
            if (doc.modified != modifiedBefore)
                return 12;
            if (test::readBytes(folder / "font.geo") != old)
                return 13;
            if (entriesOf(folder) != std::vector<fs::path>{"filler", "font.geo"})
                return 14;
        }
        return 0;
    });
    if (result == test::kNoFullFilesystem)
        GTEST_SKIP() << "no small filesystem can be mounted here";
    EXPECT_EQ(result, 0) << "10 no filler written, 11 save not refused, 12 modified changed, "
                            "13 old font changed, 14 files left";
    EXPECT_TRUE(fs::is_empty(dir.path())) << "the mount stays private to the child";
}

#endif  // __linux__

}  // namespace
}  // namespace zt9
