#pragma once

#include <filesystem>
#include <string_view>

namespace zt9 {

// Whether the text after the path's last dot is `extension` (upper case, without the dot),
// ignoring the case of the letters a to z. A path without a dot, or whose only dot is its
// first character, has no extension; a dot inside a folder name leaves a "\" after it, so
// such a path does not match.
bool hasExtension(const std::filesystem::path& path, std::string_view extension);

}  // namespace zt9
