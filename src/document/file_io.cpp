#include "document/file_io.h"

#include <fstream>
#include <string>
#include <system_error>

#include "document/geo_document.h"

namespace zt9 {
namespace fs = std::filesystem;

std::int64_t streamSize(std::istream& stream) {
    stream.seekg(0, std::ios::end);
    const std::streamoff size = stream.tellg();
    stream.seekg(0, std::ios::beg);
    return stream ? static_cast<std::int64_t>(size) : -1;
}

LimitedRead readFileLimited(const fs::path& fileName, std::uint64_t minSize,
                            std::uint64_t maxSize) {
    LimitedRead result;
    std::error_code ec;
    if (fs::is_directory(fileName, ec))
        return result;
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return result;
    const std::int64_t size = streamSize(in);
    if (size < 0)
        return result;
    const auto unsignedSize = static_cast<std::uint64_t>(size);
    if (unsignedSize > maxSize) {
        result.status = LimitedRead::Status::tooLarge;
        return result;
    }
    if (unsignedSize < minSize) {
        result.status = LimitedRead::Status::tooSmall;
        return result;
    }
    // The size is at most maxSize, so this allocation is bounded by the caller's limit.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(unsignedSize));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size()))
        return result;
    result.status = LimitedRead::Status::ok;
    result.bytes = std::move(bytes);
    return result;
}

namespace {

// A name beside the target that no file has yet.
fs::path temporaryNameFor(const fs::path& target) {
    std::error_code ec;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        fs::path candidate = target;
        candidate += ".tmp" + std::to_string(attempt);
        if (!fs::exists(candidate, ec) && !ec)
            return candidate;
    }
    return {};
}

bool writeAll(const fs::path& fileName, std::span<const std::uint8_t> bytes) {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

// The file a chain of symbolic links names (it need not exist yet), so that a save through
// a link replaces the font it points to and keeps the link. Empty for a loop.
fs::path followLinks(fs::path path) {
    std::error_code ec;
    for (int hop = 0; hop < 40; ++hop) {
        if (!fs::is_symlink(fs::symlink_status(path, ec)))
            return path;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec)
            return {};
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return {};
}

}  // namespace

bool writeFileReplacing(const fs::path& fileName, std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    const fs::path target = followLinks(fileName);
    if (target.empty())
        return false;
    const fs::file_status targetStatus = fs::status(target, ec);
    const bool targetExists = fs::exists(targetStatus);
    if (fs::is_directory(targetStatus))
        return false;
    if (targetExists && !fs::is_regular_file(targetStatus)) {
        // A device or pipe cannot be replaced by renaming (as root that would put a plain
        // file in place of the device node): write into it and report what the write says.
        return writeAll(target, bytes);
    }
    if (targetExists) {
        // Opening for update neither creates nor truncates: it only proves the target may
        // be written, so a read-only font is refused as before rather than replaced.
        std::fstream probe(target, std::ios::in | std::ios::out | std::ios::binary);
        if (!probe)
            return false;
    }
    const fs::path temporary = temporaryNameFor(target);
    if (temporary.empty())
        return false;
    if (!writeAll(temporary, bytes)) {
        fs::remove(temporary, ec);
        return false;
    }
    if (targetExists)
        fs::permissions(temporary, targetStatus.permissions(), ec);
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

}  // namespace zt9
