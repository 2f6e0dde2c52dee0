#pragma once

// Disk faults for the save and export tests: folders this process may not write, a file
// size limit that makes writes fail the way a full disk does, and a small full filesystem
// in a private mount namespace where the system allows one.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#ifdef __linux__
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zt9::test {

// Takes write permission away from a folder; false when that does not stop this process
// from creating files in it (root, or a system without such permissions).
inline bool makeFolderReadOnly(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const fs::path probe = folder / "write-probe";
    bool created = false;
    {
        std::ofstream out(probe, std::ios::binary);
        created = out.is_open();
    }
    if (created) {
        std::error_code ec;
        fs::remove(probe, ec);
    }
    return !created;
}

#ifdef __linux__

// While alive, files of this process cannot grow past `bytes`: a write beyond fails with
// EFBIG instead of raising SIGXFSZ, as a write onto a full disk fails with ENOSPC.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return active_; }

  private:
    rlimit saved_{};
    sighandler_t previousHandler_ = SIG_DFL;
    bool active_ = false;
};

// Result of runOnFullFilesystem: the body's own result, or that no filesystem could be made.
inline constexpr int kNoFullFilesystem = 77;

namespace detail {
inline bool writeProcFile(const char* name, const std::string& text) {
    std::ofstream out(name);
    out << text;
    out.close();
    return !out.fail();
}

// A private mount namespace, as an unprivileged user through a user namespace.
inline bool enterPrivateMountNamespace() {
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0) {
        writeProcFile("/proc/self/setgroups", "deny");
        if (!writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
            return false;
        }
    } else if (unshare(CLONE_NEWNS) != 0) {
        return false;
    }
    // Nothing mounted here may reach the parent's namespace.
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}
}  // namespace detail

// Runs `body` in a child process that sees a 64 KiB tmpfs mounted on `folder`, and returns
// the body's result (0 for success), or kNoFullFilesystem when the system allows no such
// mount. The mount disappears with the child; the caller's `folder` stays as it was.
inline int runOnSmallFilesystem(const std::filesystem::path& folder,
                                const std::function<int(const std::filesystem::path&)>& body) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return kNoFullFilesystem;
    if (child == 0) {
        if (!detail::enterPrivateMountNamespace() ||
            mount("zt9-full", folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
            _exit(kNoFullFilesystem);
        }
        const int result = body(folder);
        std::fflush(nullptr);
        _exit(result);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Fills the filesystem of `folder` with one file until a write fails; returns its size.
inline std::uintmax_t fillFilesystem(const std::filesystem::path& filler) {
    std::FILE* out = std::fopen(filler.c_str(), "wb");
    if (out == nullptr)
        return 0;
    std::setvbuf(out, nullptr, _IONBF, 0);
    const std::vector<char> block(512, '\x5A');
    std::uintmax_t written = 0;
    while (std::fwrite(block.data(), 1, block.size(), out) == block.size())
        written += block.size();
    std::fclose(out);
    return written;
}

#endif  // __linux__

}  // namespace zt9::test
