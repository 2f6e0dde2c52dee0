#pragma once

// Writes that the disk refuses, run against every writer of files (a font save, an element
// export). A writer W has static write(doc, path) and bytes(doc); a test file runs the suite
// for it with INSTANTIATE_TYPED_TEST_SUITE_P(Name, DiskFault, W).

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "support/temp_dir.h"
#include "support/test_util.h"

#ifdef __linux__
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zt9::test {
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A font marked edited, so that a write clearing `modified` shows; its current element is
// 40 x 30, so that its export, like the font, outgrows the 512-byte size limit below.
inline GeoDocument editedFont() {
    GeoDocument doc;
    openFont(doc, GeoBuilder::grid(3, 40, 29).build());
    doc.currentElement = 2;
    doc.modified = 1;
    return doc;
}

inline std::set<fs::path> entriesOf(const fs::path& folder) {
    return std::set<fs::path>(fs::directory_iterator(folder), {});
}

// Writes the edited font to `target` with W and returns the bytes it should have written.
template <typename W>
Bytes writeFont(const fs::path& target) {
    GeoDocument doc = editedFont();
    W::write(doc, target);
    return W::bytes(doc);
}

// W writes to `target` while files may not grow past `sizeLimit` bytes (Linux, 0: no limit).
// The write must fail with "File save error" and change nothing: not `modified`, not an
// existing target, not the folder it would have put a temporary file in.
template <typename W>
void expectRefused(const fs::path& target, [[maybe_unused]] std::uintmax_t sizeLimit = 0) {
    SCOPED_TRACE(target);
    const fs::path parent = target.parent_path();
    const fs::path folder = fs::is_directory(parent) ? parent : parent.parent_path();
    std::error_code ec;  // a link loop has no status
    const bool isFile = fs::is_regular_file(target, ec);
    const Bytes old = isFile ? readBytes(target) : Bytes{};
    const std::set<fs::path> entries = entriesOf(folder);
    GeoDocument doc = editedFont();
#ifdef __linux__
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limited{sizeLimit > 0 ? sizeLimit : saved.rlim_cur, saved.rlim_max};
    signal(SIGXFSZ, SIG_IGN);  // EFBIG instead, like ENOSPC
    setrlimit(RLIMIT_FSIZE, &limited);
#endif
    const std::string got = outcome([&] { W::write(doc, target); });
#ifdef __linux__
    setrlimit(RLIMIT_FSIZE, &saved);
#endif
    EXPECT_EQ(got, "File save error");
    EXPECT_EQ(doc.modified, 1) << "modified is kept";
    EXPECT_EQ(entriesOf(folder), entries) << "no temporary file is left";
    EXPECT_TRUE(!isFile || readBytes(target) == old) << "the old file is kept";
}

template <typename W>
class DiskFault : public ::testing::Test {};
TYPED_TEST_SUITE_P(DiskFault);

TYPED_TEST_P(DiskFault, RefusedWritesChangeNothing) {
    TempDir dir;
    fs::create_directories(dir.file("folder") / "inside");
    writeBytes(dir.file("file"), Bytes(100, 0x42));
    expectRefused<TypeParam>(dir.file("folder"));
    expectRefused<TypeParam>(dir.file("file") / "out");  // its folder is a file
    expectRefused<TypeParam>(dir.file("missing") / "out");
#ifdef __linux__
    expectRefused<TypeParam>(dir.file("file"), 512);  // the write fails part-way
    fs::create_symlink("loop", dir.file("loop"));
    expectRefused<TypeParam>(dir.file("loop"));
    expectRefused<TypeParam>("/dev/full");  // written into: the disk is full
    // Were it replaced (root may write /dev): mknod -m 666 /dev/full c 1 7.
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
#endif
}

TYPED_TEST_P(DiskFault, ReadOnlyTargetsKeepTheOldFile) {
    TempDir dir;
    fs::create_directory(dir.file("ro"));
    writeBytes(dir.file("ro") / "out", {1, 2, 3});
    writeBytes(dir.file("locked"), {4, 5, 6});
    fs::permissions(dir.file("ro"), static_cast<fs::perms>(0555));
    fs::permissions(dir.file("locked"), fs::perms::owner_read);
    if (std::ofstream(dir.file("ro") / "probe").is_open())
        GTEST_SKIP() << "this user may write into read-only folders and files (root?)";
    expectRefused<TypeParam>(dir.file("ro") / "out");
    expectRefused<TypeParam>(dir.file("locked"));
}

// A link is followed (the file it names written, the link kept), and a pipe written into,
// never replaced by a renamed file (its reader would then get nothing).
TYPED_TEST_P(DiskFault, LinksAndPipesAreWrittenThrough) {
#ifndef __linux__
    GTEST_SKIP() << "needs symbolic links and pipes";
#else
    TempDir dir;
    writeBytes(dir.file("old"), {1, 2, 3});
    fs::create_symlink("old", dir.file("link"));
    fs::create_symlink("new", dir.file("dangling"));
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
    // Open for reading first, so that the write does not wait; the bytes fit the pipe.
    const int reader = open(dir.file("pipe").c_str(), O_RDONLY | O_NONBLOCK);
    const Bytes bytes = writeFont<TypeParam>(dir.file("pipe"));
    Bytes received(bytes.size() + 1);
    received.resize(static_cast<std::size_t>(read(reader, received.data(), received.size())));
    close(reader);
    EXPECT_EQ(received, bytes);
    EXPECT_EQ(writeFont<TypeParam>(dir.file("link")), bytes);
    EXPECT_EQ(writeFont<TypeParam>(dir.file("dangling")), bytes);
    EXPECT_EQ(readBytes(dir.file("old")), bytes);
    EXPECT_EQ(readBytes(dir.file("new")), bytes);
    EXPECT_EQ(entriesOf(dir.path()).size(), 5u) << "no temporary file is left";
#endif
}

REGISTER_TYPED_TEST_SUITE_P(DiskFault, RefusedWritesChangeNothing, ReadOnlyTargetsKeepTheOldFile,
                            LinksAndPipesAreWrittenThrough);

}  // namespace zt9::test
