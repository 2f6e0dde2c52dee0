#pragma once

#include <string>
#include <string_view>

namespace zt9::ui {

// The program's texts are code page 1251 bytes; the window shows them as UTF-16 converted
// from that code page explicitly, so they read right whatever the system's ANSI code page.
std::wstring fromCodePage1251(std::string_view text);
// The status bar's texts are the editor's own and need the multiplication sign, which code
// page 1251 lacks: they are UTF-8.
std::wstring fromUtf8(std::string_view text);

// A field's text as the editor reads it: ASCII kept, anything else as '?', which no number
// contains.
std::string asciiText(std::wstring_view text);

}  // namespace zt9::ui
