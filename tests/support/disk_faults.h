#pragma once

// Writes that the disk refuses, run against every writer of files (a font save, an element
// export). A writer W has static write(doc, path) and bytes(doc); a test file runs the suite
// for it with INSTANTIATE_TYPED_TEST_SUITE_P(Name, DiskFault, W).

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

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
    GeoDocument doc = openDocument(GeoBuilder::grid(3, 40, 29));
    std::tie(doc.currentElement, doc.modified) = std::tuple(2u, std::uint8_t{1});
    return doc;
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
    const Bytes old = fs::is_regular_file(target, ec) ? readBytes(target) : Bytes{};
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
    // The message, `modified`, the folder (no temporary file left) and an old file, kept.
    EXPECT_EQ(
        std::tuple(got, doc.modified, entriesOf(folder), old.empty() ? old : readBytes(target)),
        std::tuple("File save error", 1, entries, old));
}

template <typename W>
class DiskFault : public ::testing::Test {};
TYPED_TEST_SUITE_P(DiskFault);

// A folder, a file as the folder, a missing folder, a read-only folder and file, and on Linux
// a write that fails part-way, a link loop and a full disk are refused. A link is followed
// (the file it names written, the link kept), and a pipe written into, never replaced by a
// renamed file (its reader would then get nothing).
TYPED_TEST_P(DiskFault, RefusedWritesChangeNothingLinksAndPipesAreWrittenThrough) {
    TempDir dir;
    fs::create_directories(dir.file("folder") / "inside");
    fs::create_directory(dir.file("ro"));
    writeBytes(dir.file("file"), Bytes(100, 0x42));
    writeBytes(dir.file("ro") / "out", {1, 2, 3});
    writeBytes(dir.file("locked"), {4, 5, 6});
    fs::permissions(dir.file("ro"), static_cast<fs::perms>(0555));
    fs::permissions(dir.file("locked"), fs::perms::owner_read);
    for (const char* target : {"folder", "file/out", "missing/out"})
        expectRefused<TypeParam>(dir.file(target));
    if (!std::ofstream(dir.file("ro") / "probe").is_open()) {  // root may write into them
        expectRefused<TypeParam>(dir.file("ro") / "out");
        expectRefused<TypeParam>(dir.file("locked"));
    }
#ifdef __linux__
    expectRefused<TypeParam>(dir.file("file"), 512);  // the write fails part-way
    fs::create_symlink("loop", dir.file("loop"));
    expectRefused<TypeParam>(dir.file("loop"));
    expectRefused<TypeParam>("/dev/full");  // written into: the disk is full
    // Were it replaced (root may write /dev): mknod -m 666 /dev/full c 1 7.
    EXPECT_TRUE(fs::is_character_file("/dev/full"));

    TempDir links;
    writeBytes(links.file("old"), {1, 2, 3});
    fs::create_symlink("old", links.file("link"));
    fs::create_symlink("new", links.file("dangling"));
    ASSERT_EQ(mkfifo(links.file("pipe").c_str(), 0600), 0);
    // Open for reading first, so that the write does not wait; the bytes fit the pipe.
    const int reader = open(links.file("pipe").c_str(), O_RDONLY | O_NONBLOCK);
    GeoDocument doc = editedFont();
    const Bytes bytes = TypeParam::bytes(doc);
    for (const char* target : {"pipe", "link", "dangling"})
        TypeParam::write(doc, links.file(target));
    Bytes received(bytes.size() + 1);
    received.resize(static_cast<std::size_t>(read(reader, received.data(), received.size())));
    close(reader);
    // What each target got, and no temporary file left beside them.
    EXPECT_EQ(std::tuple(received, readBytes(links.file("old")), readBytes(links.file("new")),
                         entriesOf(links.path()).size()),
              std::tuple(bytes, bytes, bytes, 5u));
#endif
}

REGISTER_TYPED_TEST_SUITE_P(DiskFault, RefusedWritesChangeNothingLinksAndPipesAreWrittenThrough);

}  // namespace zt9::test
