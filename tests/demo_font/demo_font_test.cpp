// The demo font as the editor sees it: it passes the editor's load checks with one element
// per character, its glyphs lie apart inside the picture in visible colours of several
// palettes and heights, and the program and the build write exactly makeDemoFont's bytes.

#include <gtest/gtest.h>

#include <set>

#include "demo_font/demo_font.h"
#include "document/geo_document.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace zt9::test {

TEST(DemoFont, HasOneVisibleElementPerCharacterApartInsideThePictureAndIsWrittenAsMade) {
    GeoDocument doc;
    EXPECT_EQ(openFont(doc, demo::makeDemoFont()) + 1, demo::kDemoCharacters.size());
    std::vector<int> grid;  // the picture (from P + 12) row by row; -1 where an element was
    for (auto at = doc.fileImage.begin() + doc.pictureOffset + 12; grid.size() < 61440; ++at)
        grid.insert(grid.end(), {*at & 15, *at >> 4});
    std::set<std::string> glyphs;
    std::set<std::string> palettes;
    std::set<int> heights;
    std::size_t displaced = 0;
    for (std::uint32_t i = 0; i < doc.elementCount; ++i) {
        SCOPED_TRACE(testing::Message() << "element " << i);
        const ElementConfig& e = doc.configs[i];
        // Its palette record of 36 bytes: a flags word, then colour k in bytes 4 + 2k, 5 + 2k.
        const auto record = doc.fileImage.begin() + std::ptrdiff_t{doc.paletteOffset + 36 * i};
        const auto visible = [&](int k) { return (record[4 + 2 * k] | record[5 + 2 * k]) != 0; };
        // Inside the picture at an even x, resized by one, 16 colours of which 0 is blank.
        EXPECT_TRUE(e.x % 2 == 0 && e.x + e.width <= 255 && e.y + e.height <= 239 &&
                    e.resizeWidth == e.width + 1 && e.resizeHeight == e.height + 1 &&
                    *record == 0x1A && !visible(0));
        std::string glyph(1, static_cast<char>(e.width));
        for (int y = e.y; y <= e.y + e.height; ++y) {
            for (int x = e.x; x < e.x + e.width + e.width % 2; ++x) {  // odd width: whole bytes
                const int value = std::exchange(grid.at(std::size_t(y) * 256 + std::size_t(x)), -1);
                glyph.push_back(static_cast<char>(value));
                // -1: another element's; the pad nibble of an odd width is blank.
                EXPECT_TRUE(value == 0 || (value > 0 && x < e.x + e.width && visible(value)));
            }
        }
        EXPECT_NE(glyph.find_first_not_of('\0', 1), std::string::npos);  // some ink
        glyphs.insert(glyph), palettes.emplace(record + 4, record + 36), heights.insert(e.height);
        displaced += e.displayX != 0 || e.displayY != 0;
    }
    // Only blank pixels are left outside the elements, and no two characters look alike.
    EXPECT_EQ(std::set(grid.begin(), grid.end()), std::set({-1, 0}));
    EXPECT_EQ(glyphs.size(), doc.elementCount);
    EXPECT_TRUE(palettes.size() >= 3 && heights.size() >= 3 && displaced > 0);

    // The build and the program, each a process of its own, write the same bytes.
    EXPECT_EQ(readBytes(DEMO_FONT_PATH), doc.fileImage);
    TempDir dir;
    const fs::path font = dir.file(u8"демо шрифт.geo");
    for (const auto& [arguments, status, message] :
         {std::tuple(std::vector{font}, 0, ""),
          {std::vector{dir.file("missing") / "demo.geo"}, 1, "make_demo_font: cannot write"},
          {std::vector<fs::path>{}, 2, "usage: make_demo_font OUT.geo"}}) {
        const auto [got, out, err] = runProgram(GENERATOR_PATH, arguments, dir.path());
        EXPECT_TRUE(got == status && err.find(message) != std::string::npos) << got << err;
    }
    EXPECT_EQ(readBytes(font), demo::makeDemoFont());  // and so does a second call
}

}  // namespace zt9::test
