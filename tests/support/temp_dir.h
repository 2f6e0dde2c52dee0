#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace zt9::test {
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Everything in a folder, for checking that no temporary file was left.
inline std::set<fs::path> entriesOf(const fs::path& folder) {
    return {fs::directory_iterator(folder), {}};
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        do  // a name another test program took already is passed over
            path_ = fs::temp_directory_path() /
                    ("zt9-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        while (!fs::create_directory(path_));
    }
    ~TempDir() {
        std::error_code ec;  // a test may have taken write permission away: give it back first
        for (const auto& entry : fs::recursive_directory_iterator(path_, ec))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& path() const { return path_; }
    fs::path file(const fs::path& name) const { return path_ / name; }
    std::set<fs::path> entries() const { return entriesOf(path_); }

  private:
    fs::path path_;
};

inline void writeBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot write test file");
}

inline std::vector<std::uint8_t> readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read test file");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace zt9::test
