#pragma once

#include <cstdint>
#include <filesystem>
#include <set>
#include <vector>

namespace zt9::test {

// Everything in a folder, for checking that no temporary file was left.
std::set<std::filesystem::path> entriesOf(const std::filesystem::path& folder);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::filesystem::path& name) const { return path_ / name; }
    std::set<std::filesystem::path> entries() const { return entriesOf(path_); }

  private:
    std::filesystem::path path_;
};

void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readBytes(const std::filesystem::path& file);

}  // namespace zt9::test
