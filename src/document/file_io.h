#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace zt9 {

// Whole-file reading with size limits checked before anything is read, and writing that
// never leaves a half-written file in place of an existing one.

struct LimitedRead {
    enum class Status { ok, cannotRead, tooLarge, tooSmall };
    Status status = Status::cannotRead;
    std::vector<std::uint8_t> bytes;
};

// Opens the file, measures it, refuses sizes outside [minSize, maxSize] and reads it whole.
// A file that cannot be opened, is a folder, or ends before its measured size is cannotRead.
LimitedRead readFileLimited(const std::filesystem::path& fileName, std::uint64_t minSize,
                            std::uint64_t maxSize);

// Writes the bytes to a temporary file beside the target and then replaces the target.
// Returns false, with the target untouched and no temporary file left, when the target
// cannot be written (a folder, read-only) or any step of the write fails. A symbolic link
// is followed, so the file it names is replaced and the link kept; an existing target that
// is not a regular file (a device, a pipe) is written directly.
bool writeFileReplacing(const std::filesystem::path& fileName, std::span<const std::uint8_t> bytes);

}  // namespace zt9
