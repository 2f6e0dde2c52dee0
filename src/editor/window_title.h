#pragma once

#include <filesystem>

namespace zt9 {

// The main window's title, as Windows editors write it: "mine.geo - ZT9 font editor" for
// the open font's file name, "*mine.geo - ZT9 font editor" while it has unsaved edits, and
// "ZT9 font editor" alone without a font (an empty path). The text is held as a path, in the
// platform's own file name encoding (UTF-16 on Windows), so the name keeps every character.
std::filesystem::path windowTitle(const std::filesystem::path& font, bool modified);

}  // namespace zt9
