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

}  // namespace

bool writeFileReplacing(const fs::path& fileName, std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    const fs::file_status targetStatus = fs::status(fileName, ec);
    const bool targetExists = fs::exists(targetStatus);
    if (fs::is_directory(targetStatus))
        return false;
    if (targetExists) {
        // Opening for update neither creates nor truncates: it only proves the target may
        // be written, so a read-only font is refused as before rather than replaced.
        std::fstream probe(fileName, std::ios::in | std::ios::out | std::ios::binary);
        if (!probe)
            return false;
    }
    const fs::path temporary = temporaryNameFor(fileName);
    if (temporary.empty())
        return false;
    if (!writeAll(temporary, bytes)) {
        fs::remove(temporary, ec);
        return false;
    }
    if (targetExists)
        fs::permissions(temporary, targetStatus.permissions(), ec);
    fs::rename(temporary, fileName, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

}  // namespace zt9
