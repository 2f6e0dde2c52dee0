// Files written whole or not at all: every write the disk refuses changes nothing and leaves
// no temporary file; links are followed and pipes written into.

#include <gtest/gtest.h>

#include <fstream>

#include "document/file_io.h"
#include "support/temp_dir.h"

#ifdef __linux__
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

namespace zt9::test {
namespace {

// A small file stays in the stream's buffer, so its write fails only when it is closed (an
// element export); a large one fails while it is written (a font save).
constexpr std::size_t kSmall = 700;
constexpr std::size_t kLarge = 40000;

// Both writes to `target` while files may not grow past `sizeLimit` bytes (Linux, 0: no
// limit) are refused and change nothing: not an existing target, not the folder it would
// have put a temporary file in.
void expectRefused(const fs::path& target, [[maybe_unused]] std::uintmax_t sizeLimit = 0) {
    SCOPED_TRACE(target);
    const fs::path parent = target.parent_path();
    const fs::path folder = fs::is_directory(parent) ? parent : parent.parent_path();
    std::error_code ec;  // a link loop has no status
    const Bytes old = fs::is_regular_file(target, ec) ? readBytes(target) : Bytes{};
    const std::set<fs::path> entries = entriesOf(folder);
#ifdef __linux__
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limited{sizeLimit > 0 ? sizeLimit : saved.rlim_cur, saved.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);  // EFBIG instead, like ENOSPC
    setrlimit(RLIMIT_FSIZE, &limited);
#endif
    const bool written = writeFileReplacing(target, Bytes(kSmall, 0x11)) ||
                         writeFileReplacing(target, Bytes(kLarge, 0x22));
#ifdef __linux__
    setrlimit(RLIMIT_FSIZE, &saved);
#endif
    EXPECT_EQ(std::tuple(written, entriesOf(folder), old.empty() ? old : readBytes(target)),
              std::tuple(false, entries, old));
}

TEST(FileWrite, RefusedWritesChangeNothingLinksAndPipesAreWrittenThrough) {
    TempDir dir;
    fs::create_directories(dir.file("folder") / "inside");
    fs::create_directory(dir.file("ro"));
    writeBytes(dir.file("file"), Bytes(100, 0x42));
    writeBytes(dir.file("ro") / "out", {1, 2, 3});
    writeBytes(dir.file("locked"), {4, 5, 6});
    fs::permissions(dir.file("ro"), static_cast<fs::perms>(0555));
    fs::permissions(dir.file("locked"), fs::perms::owner_read);
    // A folder, a file as the folder, a missing folder, a read-only folder and file.
    for (const char* target : {"folder", "file/out", "missing/out"})
        expectRefused(dir.file(target));
    if (!std::ofstream(dir.file("ro") / "probe").is_open()) {  // root may write into them
        expectRefused(dir.file("ro") / "out");
        expectRefused(dir.file("locked"));
    }
#ifdef __linux__
    expectRefused(dir.file("file"), 512);  // the write fails part-way
    fs::create_symlink("loop", dir.file("loop"));
    expectRefused(dir.file("loop"));
    expectRefused("/dev/full");  // written into: the disk is full
    // Were it replaced (root may write /dev): mknod -m 666 /dev/full c 1 7.
    EXPECT_TRUE(fs::is_character_file("/dev/full"));

    // A link is followed (the file it names written, the link kept), and a pipe written into,
    // never replaced by a renamed file (its reader would then get nothing).
    TempDir links;
    writeBytes(links.file("old"), {1, 2, 3});
    fs::create_symlink("old", links.file("link"));
    fs::create_symlink("new", links.file("dangling"));
    ASSERT_EQ(mkfifo(links.file("pipe").c_str(), 0600), 0);
    // Open for reading first, so that the write does not wait; the bytes fit the pipe.
    const int reader = open(links.file("pipe").c_str(), O_RDONLY | O_NONBLOCK);
    const Bytes bytes(kSmall, 0x11);
    for (const char* target : {"pipe", "link", "dangling"})
        EXPECT_TRUE(writeFileReplacing(links.file(target), bytes)) << target;
    Bytes received(bytes.size() + 1);
    received.resize(static_cast<std::size_t>(read(reader, received.data(), received.size())));
    close(reader);
    // What each target got, and no temporary file left beside them.
    EXPECT_EQ(std::tuple(received, readBytes(links.file("old")), readBytes(links.file("new")),
                         entriesOf(links.path()).size()),
              std::tuple(bytes, bytes, bytes, 5u));
#endif
}

}  // namespace
}  // namespace zt9::test
