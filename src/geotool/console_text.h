#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zt9::geotool {

// The core keeps its texts as code page 1251 bytes, as the editor shows them in its message
// boxes; a terminal wants UTF-8. ASCII passes unchanged; the one byte without a character
// (0x98) becomes U+FFFD.
std::string utf8FromCp1251(std::string_view text);

// A path as UTF-8 text, for messages and for reading options. On POSIX the native bytes are
// taken as they are; on Windows the UTF-16 name is converted.
std::string displayPath(const std::filesystem::path& path);

}  // namespace zt9::geotool
