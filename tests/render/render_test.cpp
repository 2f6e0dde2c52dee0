// Drawing: both views of a hand-made font as letter grids, and the surface operations under
// them (clipped writes, copies, the 24-bit BMP of a surface, the enlargement for the window).

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "document/pixel_edit.h"
#include "render/draw.h"
#include "render/render.h"
#include "render/surface_bmp.h"
#include "support/test_util.h"

namespace zt9 {
namespace {

constexpr std::uint32_t kUntouched = 0xABCDEF;  // no drawing produces it

// Every colour stated by hand: the view's fixed colours and 15-bit file colours times 8.
// kColors[k] shows as kLetters[k], any other colour as '?'.
constexpr char kLetters[] = "s.kHrgbyABCDIJKMNOPQT?";
constexpr std::uint32_t kColors[] = {
    kUntouched, 0x7B3C52, 0x000000, 0xF400FD, 0x0000FF, 0x00FF00, 0xFF0000,   // s . k H r g b
    0x00FFFF,   0x0000F8, 0x00F800, 0xF80000, 0x000008, 0x101010, 0x181818,   // y A B C D I J
    0x000080,   0x800000, 0x000018, 0x001800, 0x112233, 0x445566, 0x778899};  // K M N O P Q T

// `like`, whose rows '/' separates, with every other character replaced by `letter(x, y)`
// from (x0, y0) on.
std::string shaped(std::string like, std::int64_t x0, std::int64_t y0, auto letter) {
    std::int64_t x = x0;
    for (char& c : like)
        c = c == '/' ? (x = x0, ++y0, '/') : letter(x++, y0);
    return like;
}
// The letters of the surface from (x0, y0) in the shape of `like`.
std::string seen(const Surface& surface, std::int64_t x0, std::int64_t y0, std::string like) {
    return shaped(std::move(like), x0, y0, [&](std::int64_t x, std::int64_t y) {
        return kLetters[std::ranges::find(kColors, surface.pixel(x, y)) - std::begin(kColors)];
    });
}

struct Blank : Surface {
    Blank() { fill(kUntouched); }
};

// Five elements on row 0 (colorIndex i % 4 after loading: red, green, blue, yellow, red):
//   0: x 0,  w 3, h 1   row 0: 1 2 3|4  row 1: 0 5 1|4  (|: high nibble past the odd width)
//   1: x 4,  w 2, h 1   row 0: 2 0      row 1: 0 3      (its record announces 256 colours)
//   2: x 8,  w 2, h 0   row 0: 1 1
//   3: x 12, w 2, h 1   row 0: 0 1      row 1: 1 0
//   4: x 17, w 2, h 0   odd x: its byte holds columns 16-17 (1 2); column 18 holds a 3
// Strays outside every stored rectangle: (6-7, 0), (4-5, 2), (8-9, 1), (254-255, 239).
GeoDocument sampleDocument() {
    test::GeoBuilder font;
    font.elements = {
        {.x = 0, .width = 3, .height = 1, .colors = {0, 0x001F, 0x03E0, 0x7C00, 0x7FFF, 0x8001}},
        {.x = 4, .width = 2, .height = 1, .paletteFlags = 0, .colors = {0, 0x7FFF, 0x0842, 0x0C63}},
        {.x = 8, .width = 2, .height = 0, .colors = {0, 0x0010}},
        {.x = 12, .width = 2, .height = 1, .colors = {0, 0x4000}},
        {.x = 17, .width = 2, .height = 0, .colors = {0, 0x0003, 0x0060, 0x7FFF}}};
    const std::string rows = "123420111100010012300514030011001000000000001100000000000000";
    for (std::uint32_t i = 0; i < 60; ++i)
        font.setPixel(i % 20, i / 20, static_cast<std::uint8_t>(rows[i] - '0'));
    font.pixels.back() = 0x21;  // (254, 239) and (255, 239)
    return test::openDocument(font);
}

// The changes the render cases make to the sample document.
constexpr auto noChange = [](GeoDocument&) {};
// Element 2 imported as a slot of width 3, height 1, one row lower: rows ". Q T|1" and
// ". P T|1"; element 4 a 255-wide slot at (254, 239).
void imported(GeoDocument& d) {
    d.importSlots[2] = {1, {0x20, 0x13, 0x10, 0x13}, {0, 0x112233, 0x445566, 0x778899}, 3, 1};
    d.importSlots[4] = {1, std::vector<std::uint8_t>(128, 0x11), {0, 0x778899}, 255, 0};
    std::tie(d.configs[2].y, d.configs[4].x, d.configs[4].y) = std::tuple(1, 254, 239);
}
// Configured sizes smaller (2, 3) and larger (1) than stored; element 1's larger block moved
// over element 0's column 2; element 0 blue. Element 4 moved to (250, 238) with a stored
// size of 10 x 6 that runs off the picture and, from its third row on, past the end of the
// file.
void resized(GeoDocument& d) {
    d.configs[0].colorIndex = 2, d.configs[2].width = 1, d.configs[3].height = 0;
    d.configs[1] = {.x = 2, .width = 4, .height = 2, .colorIndex = 1};
    takePlace(d.configs[4], d.placeWords[4] = encodePlace(250, 238, 10, 5));
}

// A case: its settings and the letters it expects of the view from (0, 0) and, in Full
// picture, of the picture surface from (0, 0) and of the view from (250, 237), or in Picture
// Element the colour indices under the view from (0, 0); once rendered, the window's state.
struct RenderCase {
    std::int32_t transparency;
    void (*change)(GeoDocument&);
    std::uint32_t current;
    std::string view, picture{}, corner{}, indices{};
    GeoDocument document = sampleDocument();
    ViewState state = {};
    Blank viewSurface{}, pictureSurface{};

    void render(std::uint8_t mode, std::uint8_t loaded = 1) {
        state = {.viewMode = mode, .transparency = transparency, .documentLoaded = loaded};
        document.currentElement = current;
        change(document);
        renderView(document, state, viewSurface, pictureSurface);
    }
};

// Full picture draws the picture without the current element, then that element on its
// highlight block; Picture Element draws the current element's stored pixels on a block of
// its configured size and leaves the picture surface alone. Without a document neither
// draws anything.
TEST(Render, BothViewsOfTheSampleFont) {
    std::vector<RenderCase> full = {
        // Without transparency: a black background and no blocks, but the highlight.
        {0, noChange, 0, "ABCkIkkkKKkkkMkkkNOk/HDAkkJkkkkkkMkkkkkkk/kkkkkkkkkkkkkkkkkkkk",
         "kkkkIkkkKKkkkMkkkNOk/kkkkkJkkkkkkMkkkkkkk/kkkkkkkkkkkkkkkkkkkk", "kkkkk/kkkkk/kkkkk"},
        // Blocks of the configured size; element 4's block and pixels cut at both edges.
        {1, resized, 3, "ABIggg..K...HM....../bDAJgg............../..gggg..............",
         "ABIggg..K.........../bDAJgg............../..gggg..............", "...../rrrrr/rrrrN"},
        // Imported slots in their own size, element 4's cut after one pixel.
        {1, imported, 0, "ABC.Ig......yM....../HDA.gJ..bQT.My....../.........PT.........",
         "....Ig......yM....../....gJ..bQT.My....../.........PT.........", "...../...../....T"},
    };
    for (RenderCase& c : full) {
        c.render(kFullPicture);
        EXPECT_EQ(seen(c.viewSurface, 0, 0, c.view), c.view);
        EXPECT_EQ(seen(c.pictureSurface, 0, 0, c.picture), c.picture);
        EXPECT_EQ(seen(c.viewSurface, 250, 237, c.corner), c.corner);
        EXPECT_EQ(c.state.shownFrame, (ElementConfig{.width = 255, .height = 239}));
    }
    // Odd width: column 3 untouched; configured larger, then lower; height 0; odd stored x;
    // past the picture and the file.
    std::vector<RenderCase> alone = {
        {1, noChange, 0, "ABCs/rDAs/ssss", {}, {}, "123-/051-/----"},
        {0, noChange, 0, "ABCs/kDAs/ssss"},
        {1, resized, 1, "Igggs/gJggs/ggggs/sssss", {}, {}, "20---/03---/-----"},
        {1, resized, 3, "yMs/Mss/sss"},
        {1, noChange, 2, "KKs/sss"},
        {1, noChange, 4, "NOs/sss", {}, {}, "12-/---"},
        {1, imported, 2, "bQTs/sPTs/ssss", {}, {}, "023-/013-/----"},
        {1, resized, 4, "rrrrrrrrrrs/rrrrNO"},
    };
    for (RenderCase& c : alone) {
        c.render(c.current % 2 == 0 ? kFullPicture : kPictureElement, 0);  // no document
        EXPECT_TRUE(std::ranges::equal(c.viewSurface.data(), Blank().data()) &&
                    c.state.shownFrame == ElementConfig{});
        c.render(kPictureElement);
        EXPECT_EQ(seen(c.viewSurface, 0, 0, c.view), c.view);
        EXPECT_EQ(c.state.shownFrame, c.document.configs[c.current]) << c.view;
        EXPECT_TRUE(std::ranges::equal(c.pictureSurface.data(), Blank().data())) << c.view;
        // The colour index under each pixel as the view draws it ('-': none of the element).
        const auto index = [&](std::int64_t x, std::int64_t y) {
            const std::optional<std::uint8_t> i = elementPixelIndex(c.document, x, y);
            return i ? "0123456789ABCDEF"[*i] : '-';
        };
        EXPECT_EQ(shaped(c.indices, 0, 0, index), c.indices);
    }
    const GeoDocument doc = sampleDocument();  // palette records start at a multiple of 4
    for (const std::uint32_t skew : {0u, 2u, 3u})
        EXPECT_EQ(expandPalette(doc.fileImage, doc.paletteOffset + skew, 0)[5], 0x000008u) << skew;
}

// Writes are clipped, with 64-bit coordinates that never wrap into the surface; a copy
// takes the top-left corner; the BMP of a surface has its rows bottom-up, blue, green, red,
// padded to 4 bytes; the enlargement for the window makes zoom x zoom blocks in DIB order
// (red and blue exchanged) and writes nothing into too small a target.
// Drawing again only the pixels a line changed gives what drawing the element whole gives:
// an odd-width image on a larger block, with either background.
TEST(Render, RedrawingTheAreaAnEditChangedMatchesDrawingTheElementWhole) {
    std::mt19937 random(18);
    const auto at = [&] { return static_cast<std::int32_t>(random() % 8) - 2; };
    for (const bool transparency : {true, false}) {
        GeoDocument document = sampleDocument();
        imported(document);
        document.currentElement = 2;
        std::tie(document.configs[2].width, document.configs[2].height) = std::pair(5, 3);
        Blank partial, whole;
        drawElementAlone(document, partial, transparency);
        for (int i = 0; i < 60; ++i) {
            const auto index = static_cast<std::uint8_t>(i % 4);
            redrawElementArea(document, partial, transparency,
                              drawLine(document.importSlots[2], at(), at(), at(), at(), index));
            drawElementAlone(document, whole, transparency);
            ASSERT_TRUE(std::ranges::equal(partial.data(), whole.data())) << i;
        }
    }
}

TEST(RenderSurface, ClippedWritesCopiesBmpRowsAndEnlargedBlocks) {
    constexpr std::int64_t kWrap = std::int64_t{1} << 32;
    Blank surface;
    const std::int64_t outside[][2] = {{-1, 0},    {255, 1},       {0, 240},      {0, -1},
                                       {kWrap, 0}, {3 - kWrap, 0}, {INT64_MIN, 0}};
    for (const auto& [x, y] : outside)
        surface.set(x, y, 0x0000FF);
    surface.fillRect(INT64_MIN, 0, INT64_MAX, 1, 0x0000FF);
    surface.fillRect(-2, 1, 4, 1, 0x0000FF);       // columns 0-1
    surface.fillRect(-9, 100, 300, 1, 0x0000FF);   // the whole row
    surface.fillRect(252, 238, 10, 10, 0x0000FF);  // 3 x 2
    EXPECT_EQ(std::ranges::count(surface.data(), 0x0000FFu), 263);
    EXPECT_EQ(seen(surface, 0, 0, "sss/rrs/sss") + seen(surface, 251, 237, "ssss/srrr/srrr"),
              "sss/rrs/sssssss/srrr/srrr");

    Blank view;
    view.copyRect(surface, 253, 239);
    EXPECT_EQ(seen(view, 251, 237, "sss/srs/sss"), "sss/srs/sss");
    view.copyRect(surface, 1000, 1000);
    EXPECT_TRUE(std::ranges::equal(view.data(), surface.data()));
    EXPECT_EQ(dibPixels(view).back(), 0xFF0000u);

    // The 24-bit BMP of the top-left 1 x 2 pixels: 62 bytes, pixels at 54; 1 x 2, 1 plane,
    // 24 bits, 8 bytes of rows, 72 dpi; row 1 (red) first, blue-green-red padded to 4 bytes,
    // then row 0 (untouched).
    std::vector<std::uint8_t> bmp = {'B', 'M', 62, 0, 0, 0, 0, 0, 0,    0,    54, 0, 0,    0,   40,
                                     0,   0,   0,  1, 0, 0, 0, 2, 0,    0,    0,  1, 0,    24,  0,
                                     0,   0,   0,  0, 8, 0, 0, 0, 0x13, 0x0B, 0,  0, 0x13, 0x0B};
    bmp.resize(54);
    bmp.insert(bmp.end(), {0, 0, 0xFF, 0, 0xAB, 0xCD, 0xEF, 0});
    EXPECT_EQ(surfaceBmp(surface, 1, 2), bmp);

    // Enlarged three times into rows of 800 pixels: each pixel a 3 x 3 block, the rest of
    // each row untouched.
    surface.set(1, 0, 0x00FF00);
    surface.set(254, 239, 0x112233);
    std::vector<std::uint32_t> out(std::size_t{800} * 720, 7);
    std::vector<std::uint32_t> enlarged = out;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::uint32_t c = surface.pixel(std::int64_t(i % 800 / 3), std::int64_t(i / 2400));
        enlarged[i] = i % 800 < 765 ? (c & 0x00FF00) | (c & 0xFF) << 16 | c >> 16 : 7;
    }
    ASSERT_TRUE(enlargeIntoDib(surface, 999, 999, 3, out, 800));  // sizes cut to the surface
    // A target one pixel short, a stride narrower than the picture, a zoom out of 1..10.
    EXPECT_FALSE(enlargeIntoDib(surface, 255, 240, 3, std::span(out).first(719 * 800 + 764), 800) ||
                 enlargeIntoDib(surface, 255, 240, 3, out, 764) ||
                 enlargeIntoDib(surface, 1, 1, 11, out, 800));
    EXPECT_EQ(out, enlarged);

    // With the grid at zoom 4: a line down the first column of every block but the leftmost
    // and along the first row of every block but the topmost, half as bright, or 0x40
    // brighter where every channel is below 0x40 (c). DIB order: 0x00RRGGBB.
    Blank small;
    small.set(0, 0, 0x000000), small.set(1, 0, 0x105030);  // a, b
    small.set(0, 1, 0x103020), small.set(1, 1, 0xFF0000);  // c, d
    const auto [a, b, bl, c, cl, d, dl] =
        std::array<std::uint32_t, 7>{0, 0x305010, 0x182808, 0x203010, 0x607050, 0x0000FF, 0x00007F};
    std::vector<std::uint32_t> grid(64, 7);
    ASSERT_TRUE(enlargeIntoDib(small, 2, 2, 4, grid, 8, true));
    std::vector<std::uint32_t> lines;
    for (int row = 0; row < 8; ++row)
        for (const std::uint32_t p : row < 4    ? std::vector{a, a, a, a, bl, b, b, b}
                                     : row == 4 ? std::vector{cl, cl, cl, cl, dl, dl, dl, dl}
                                                : std::vector{c, c, c, c, dl, d, d, d})
            lines.push_back(p);
    EXPECT_EQ(grid, lines);
    // One block again, at its place, leaving the rest as it was; the area cut to the surface.
    std::fill(grid.begin(), grid.end(), 7);
    ASSERT_TRUE(enlargeAreaIntoDib(small, {1, 1, 2, 2}, 4, false, grid, 8) &&
                enlargeAreaIntoDib(small, {INT64_MIN, INT64_MIN, 1, 1}, 4, false, grid, 8));
    for (std::size_t i = 0; i < 64; ++i)
        lines[i] = i % 8 < 4 && i < 32 ? a : i % 8 >= 4 && i >= 32 ? d : 7;
    EXPECT_EQ(grid, lines);

    // The smallest rectangle around the differences, looked for only inside `within`.
    Blank other;
    other.set(3, 4, 1), other.set(10, 2, 1);
    EXPECT_EQ(changedArea(Blank(), other, {INT64_MIN, INT64_MIN, INT64_MAX, INT64_MAX}),
              (PixelRect{3, 2, 11, 5}));
    EXPECT_EQ(changedArea(Blank(), other, {0, 0, 10, 240}), (PixelRect{3, 4, 4, 5}));
    EXPECT_TRUE(changedArea(Blank(), other, {4, 0, 10, 240}).empty());
}

}  // namespace
}  // namespace zt9
