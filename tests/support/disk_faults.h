#pragma once

// Writes that the disk refuses, run against every writer of files (a font save, an element
// export). A writer W is a type with static write(doc, path) and bytes(doc); a test file
// runs the suite for it with INSTANTIATE_TYPED_TEST_SUITE_P(Name, DiskFault, W).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "document/geo_document.h"
#include "errors/error.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"

#ifdef __linux__
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zt9::test {
namespace fs = std::filesystem;

// An edited font, so that a write clearing `modified` shows; its current element is
// 40 x 30, so that its export, like the font, outgrows the size limit below.
inline GeoDocument editedFont() {
    GeoDocument doc;
    openFont(doc, GeoBuilder::grid(3, 40, 29).build());
    std::int32_t out = 0;
    doc.selectElement(2, out);
    doc.setY(doc.configs[2].y + 1, out);
    return doc;
}

inline std::vector<fs::path> entriesOf(const fs::path& folder) {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// W writes to `target` while files may not grow past `sizeLimit` bytes (Linux, 0: no
// limit). The write must fail with "File save error" and change nothing: not `modified`,
// not an existing target, not the folder it would have put a temporary file in.
template <typename W>
void expectRefused(const fs::path& target, [[maybe_unused]] std::uintmax_t sizeLimit = 0) {
    const fs::path parent = target.parent_path();
    const fs::path folder = fs::is_directory(parent) ? parent : parent.parent_path();
    std::error_code ec;  // a link loop has no status
    const bool isFile = fs::is_regular_file(target, ec);
    const std::vector<std::uint8_t> old = isFile ? readBytes(target) : std::vector<std::uint8_t>{};
    const std::vector<fs::path> entries = entriesOf(folder);
    GeoDocument doc = editedFont();
    error got;
#ifdef __linux__
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limited{sizeLimit > 0 ? sizeLimit : saved.rlim_cur, saved.rlim_max};
    const sighandler_t handler = signal(SIGXFSZ, SIG_IGN);  // EFBIG instead, like ENOSPC
    setrlimit(RLIMIT_FSIZE, &limited);
#endif
    try {
        W::write(doc, target);
    } catch (const error& e) {
        got = e;
    }
#ifdef __linux__
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, handler);
#endif
    EXPECT_EQ(got, (error{.code = kCodeSave, .message = {}}));
    EXPECT_EQ(messageText(got), "File save error");
    EXPECT_EQ(doc.modified, 1) << "modified is kept";
    EXPECT_EQ(entriesOf(folder), entries) << "no temporary file is left";
    EXPECT_TRUE(!isFile || readBytes(target) == old) << "the old file is kept";
}

struct Fault {
    const char* name;
    fs::path (*setup)(const fs::path& dir);  // makes the fault in `dir`, returns the target
    std::uintmax_t sizeLimit = 0;
};

inline const Fault kFaults[] = {
    {"target is a folder",
     [](const fs::path& dir) {
         fs::create_directories(dir / "out" / "inside");
         return dir / "out";
     }},
    {"folder is a file",
     [](const fs::path& dir) {
         writeBytes(dir / "file", {1, 2, 3});
         return dir / "file" / "out";
     }},
    {"folder is missing", [](const fs::path& dir) { return dir / "missing" / "out"; }},
#ifdef __linux__
    {"write fails part-way",
     [](const fs::path& dir) {
         writeBytes(dir / "out", std::vector<std::uint8_t>(100, 0x42));
         return dir / "out";
     },
     512},
#endif
};

template <typename W>
class DiskFault : public ::testing::Test {};
TYPED_TEST_SUITE_P(DiskFault);

TYPED_TEST_P(DiskFault, RefusedWritesChangeNothing) {
    for (const Fault& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        TempDir dir;
        expectRefused<TypeParam>(fault.setup(dir.path()), fault.sizeLimit);
    }
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

// A link is followed, so the file it names is written and the link kept.
TYPED_TEST_P(DiskFault, LinksAreFollowedAndKept) {
    TempDir dir;
    writeBytes(dir.file("old"), {1, 2, 3});
    std::error_code ec;
    fs::create_symlink("old", dir.file("link"), ec);
    if (ec)
        GTEST_SKIP() << "symbolic links cannot be made here";
    fs::create_symlink("new", dir.file("dangling"));
    fs::create_symlink("loop", dir.file("loop"));
    expectRefused<TypeParam>(dir.file("loop"));
    GeoDocument doc = editedFont();
    const std::vector<std::uint8_t> bytes = TypeParam::bytes(doc);
    TypeParam::write(doc, dir.file("link"));
    TypeParam::write(doc, dir.file("dangling"));
    EXPECT_EQ(readBytes(dir.file("old")), bytes);
    EXPECT_EQ(readBytes(dir.file("new")), bytes);
    EXPECT_TRUE(fs::is_symlink(dir.file("link")) && fs::is_symlink(dir.file("dangling")));
    EXPECT_EQ(entriesOf(dir.path()),
              (std::vector<fs::path>{"dangling", "link", "loop", "new", "old"}));
}

// A device or pipe is written into, never replaced by a renamed file.
TYPED_TEST_P(DiskFault, DeviceAndPipeAreWrittenInPlace) {
#ifndef __linux__
    GTEST_SKIP() << "needs /dev/full and pipes";
#else
    ASSERT_TRUE(fs::is_character_file("/dev/full"));
    expectRefused<TypeParam>("/dev/full");
    // Were it replaced (root may write /dev): mknod -m 666 /dev/full c 1 7.
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
    // Open for reading first, so that the write does not wait; the bytes fit the pipe.
    const int reader = open(dir.file("pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    GeoDocument doc = editedFont();
    const std::vector<std::uint8_t> bytes = TypeParam::bytes(doc);
    TypeParam::write(doc, dir.file("pipe"));
    std::vector<std::uint8_t> received(bytes.size() + 1);
    received.resize(static_cast<std::size_t>(
        std::max<ssize_t>(0, read(reader, received.data(), received.size()))));
    close(reader);
    EXPECT_EQ(received, bytes);
    EXPECT_TRUE(fs::is_fifo(dir.file("pipe")));
#endif
}

REGISTER_TYPED_TEST_SUITE_P(DiskFault, RefusedWritesChangeNothing, ReadOnlyTargetsKeepTheOldFile,
                            LinksAreFollowedAndKept, DeviceAndPipeAreWrittenInPlace);

}  // namespace zt9::test
