#pragma once

#include <string_view>
#include <vector>

namespace zt9::demo {

// One glyph of our pixel font. Every row has the glyph's width; '#' is ink and '.' blank.
// Row 0 is the top of the 7-row character cell; row 7, where present, holds descenders.
struct Glyph {
    char character = 0;
    std::vector<std::string_view> rows;
};

// The glyph drawn for `character`; throws std::out_of_range when the font has none.
const Glyph& glyphFor(char character);

}  // namespace zt9::demo
