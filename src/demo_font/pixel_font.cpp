#include "demo_font/pixel_font.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace zt9::demo {
namespace {

// The font as drawn: blocks separated by an empty line, each a line of labels followed by
// the glyphs' rows side by side. Glyphs are as wide as they need, so "I" and "1" are narrow.
constexpr std::string_view kSheet = R"(
0     1   2     3     4     5     6
.###. .#. .###. ##### ...#. ##### ..##.
#...# ##. #...# ...#. ..##. #.... .#...
#..## .#. ....# ..#.. .#.#. ####. #....
#.#.# .#. ...#. ...#. #..#. ....# ####.
##..# .#. ..#.. ....# ##### ....# #...#
#...# .#. .#... #...# ...#. #...# #...#
.###. ### ##### .###. ...#. .###. .###.

7     8     9     A     B     C     D
##### .###. .###. .###. ####. .###. ####.
....# #...# #...# #...# #...# #...# #...#
...#. #...# #...# #...# #...# #.... #...#
..#.. .###. .#### ##### ####. #.... #...#
.#... #...# ....# #...# #...# #.... #...#
.#... #...# ...#. #...# #...# #...# #...#
.#... .###. .##.. #...# ####. .###. ####.

E     F     G     H     I   J    K
##### ##### .###. #...# ### ..## #...#
#.... #.... #...# #...# .#. ...# #..#.
#.... #.... #.... #...# .#. ...# #.#..
####. ####. #.### ##### .#. ...# ##...
#.... #.... #...# #...# .#. ...# #.#..
#.... #.... #...# #...# .#. #..# #..#.
##### #.... .#### #...# ### .##. #...#

L    M     N     O     P     Q     R
#... #...# #...# .###. ####. .###. ####.
#... ##.## #...# #...# #...# #...# #...#
#... #.#.# ##..# #...# #...# #...# #...#
#... #.#.# #.#.# #...# ####. #...# ####.
#... #...# #..## #...# #.... #.#.# #.#..
#... #...# #...# #...# #.... #..#. #..#.
#### #...# #...# .###. #.... .##.# #...#

S     T     U     V     W     X     Y
.#### ##### #...# #...# #...# #...# #...#
#.... ..#.. #...# #...# #...# #...# #...#
#.... ..#.. #...# #...# #...# .#.#. .#.#.
.###. ..#.. #...# #...# #.#.# ..#.. ..#..
....# ..#.. #...# #...# #.#.# .#.#. ..#..
....# ..#.. #...# .#.#. #.#.# #...# ..#..
####. ..#.. .###. ..#.. .#.#. #...# ..#..

Z     ! ?     .  ,  -    :
##### # .###. .. .. .... ..
....# # #...# .. .. .... ..
...#. # ....# .. .. .... ##
..#.. # ...#. .. .. #### ##
.#... # ..#.. .. .. .... ..
#.... . ..... ## ## .... ##
##### # ..#.. ## ## .... ##
..... . ..... .. .# .... ..
)";

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(separator), text.size());
        if (end > 0 || separator == '\n')
            parts.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return parts;
}

std::vector<Glyph> parseSheet() {
    std::vector<Glyph> glyphs;
    std::size_t blockStart = 0;  // index in `glyphs` of the current block's first glyph
    bool atLabels = true;
    for (const std::string_view line : split(kSheet.substr(1), '\n')) {
        const std::vector<std::string_view> words = split(line, ' ');
        if (words.empty()) {
            atLabels = true;
            continue;
        }
        if (atLabels) {
            blockStart = glyphs.size();
            for (const std::string_view label : words)
                glyphs.push_back({.character = label.at(0), .rows = {}});
            atLabels = false;
            continue;
        }
        if (words.size() != glyphs.size() - blockStart)
            throw std::logic_error("pixel font: a row does not match its labels");
        for (std::size_t k = 0; k < words.size(); ++k) {
            Glyph& glyph = glyphs[blockStart + k];
            if (!glyph.rows.empty() && glyph.rows.front().size() != words[k].size())
                throw std::logic_error(std::string("pixel font: ragged glyph ") + glyph.character);
            glyph.rows.push_back(words[k]);
        }
    }
    return glyphs;
}

}  // namespace

const Glyph& glyphFor(char character) {
    static const std::vector<Glyph> glyphs = parseSheet();
    const auto found = std::find_if(glyphs.begin(), glyphs.end(), [&](const Glyph& glyph) {
        return glyph.character == character;
    });
    if (found == glyphs.end())
        throw std::out_of_range(std::string("pixel font: no glyph for ") + character);
    return *found;
}

}  // namespace zt9::demo
