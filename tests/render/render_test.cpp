#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "render/draw.h"
#include "render/render.h"
#include "render/surface_bmp.h"
#include "support/test_util.h"

namespace zt9 {
namespace {

using Grid = std::vector<std::string>;
constexpr std::uint32_t kUntouched = 0xABCDEF;  // no drawing produces it

// Every colour stated by hand: the view's fixed colours and 15-bit file colours times 8.
// kColors[k] shows as kLetters[k], any other colour as '?'.
constexpr char kLetters[] = "s.kHrgbyABCDIJKMNOPQT?";
constexpr std::uint32_t kColors[] = {
    kUntouched, 0x7B3C52, 0x000000, 0xF400FD, 0x0000FF, 0x00FF00, 0xFF0000,   // s . k H r g b
    0x00FFFF,   0x0000F8, 0x00F800, 0xF80000, 0x000008, 0x101010, 0x181818,   // y A B C D I J
    0x000080,   0x800000, 0x000018, 0x001800, 0x112233, 0x445566, 0x778899};  // K M N O P Q T

// The letters of the surface from (x0, y0), each row as long as the row of `like`.
Grid seen(const Surface& surface, std::int64_t x0, std::int64_t y0, Grid like) {
    for (std::size_t r = 0; r < like.size(); ++r)
        for (std::size_t c = 0; c < like[r].size(); ++c)
            like[r][c] = kLetters[std::ranges::find(kColors, surface.pixel(x0 + std::int64_t(c),
                                                                           y0 + std::int64_t(r))) -
                                  std::begin(kColors)];
    return like;
}

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
    const Grid rows = {"12342011110001001230", "05140300110010000000", "00001100000000000000"};
    for (std::uint32_t i = 0; i < 60; ++i)
        font.setPixel(i % 20, i / 20, static_cast<std::uint8_t>(rows[i / 20][i % 20] - '0'));
    font.setPixel(254, 239, 1);
    font.setPixel(255, 239, 2);
    return test::openDocument(font);
}

// The changes the render cases make to the sample document.
constexpr auto noChange = [](GeoDocument&) {};
// Element 2 imported as a slot of width 3, height 1: rows ". Q T|1" and ". P T|1".
void import2(GeoDocument& d) {
    d.importSlots[2] = {1, {0x20, 0x13, 0x10, 0x13}, {0, 0x112233, 0x445566, 0x778899}, 3, 1};
}
// Element 2 as above but one row lower; element 4 a 255-wide slot at (254, 239).
void importBoth(GeoDocument& d) {
    import2(d);
    d.configs[2].y = 1;
    d.importSlots[4] = {1, std::vector<std::uint8_t>(128, 0x11), {0, 0x778899}, 255, 0};
    std::tie(d.configs[4].x, d.configs[4].y) = std::tuple(254, 239);
}
// Element 4 moved to (250, 238) with a stored size of 10 x 6 that runs off the picture and,
// from its third row on, past the end of the file.
void pastTheEdges(GeoDocument& d) {
    d.placeWords[4] = encodePlace(250, 238, 10, 5);
    takePlace(d.configs[4], d.placeWords[4]);
}
// Configured sizes smaller (2, 3) and larger (1) than stored; element 1's larger block moved
// over element 0's column 2; element 0 blue.
void resized(GeoDocument& d) {
    std::tie(d.configs[3].height, d.configs[2].width) = std::tuple(0, 1);
    d.configs[1] = {.x = 2, .width = 4, .height = 2, .colorIndex = 1};
    d.configs[0].colorIndex = 2;
}

Surface blank() {
    Surface surface;
    surface.fill(kUntouched);
    return surface;
}

// A case: its settings, the rows it expects and, once rendered, the window's state.
struct RenderCase {
    std::int32_t transparency;
    void (*change)(GeoDocument&);
    std::uint32_t current;
    Grid rows;
    GeoDocument document = sampleDocument();
    ViewState view = {};
    Surface viewSurface = blank(), pictureSurface = blank();

    void render(std::uint8_t mode, std::uint8_t loaded = 1) {
        view = {.viewMode = mode, .transparency = transparency, .documentLoaded = loaded};
        document.currentElement = current;
        change(document);
        renderView(document, view, viewSurface, pictureSurface);
    }
};

TEST(RenderFullPicture, PictureWithoutCurrentElementThenCurrentOnHighlight) {
    // Each row: view columns 0-19 of rows 0-2, the picture surface's, and the view's columns
    // 250-254 of rows 237-239.
    std::vector<RenderCase> cases = {
        {1, noChange, 0,
         Grid{"ABC.Ig..KK..yM...NO. ....Ig..KK..yM...NO. .....",
              "HDA.gJ......My...... ....gJ......My...... .....",
              ".................... .................... ....."}},
        {0, noChange, 0,
         Grid{"ABCkIkkkKKkkkMkkkNOk kkkkIkkkKKkkkMkkkNOk kkkkk",
              "HDAkkJkkkkkkMkkkkkkk kkkkkJkkkkkkMkkkkkkk kkkkk",
              "kkkkkkkkkkkkkkkkkkkk kkkkkkkkkkkkkkkkkkkk kkkkk"}},
        {1, resized, 3,
         Grid{"ABIggg..K...HM...NO. ABIggg..K........NO. .....",
              "bDAJgg.............. bDAJgg.............. .....",
              "..gggg.............. ..gggg.............. ....."}},
        {1, importBoth, 0,
         Grid{"ABC.Ig......yM...... ....Ig......yM...... .....",
              "HDA.gJ..bQT.My...... ....gJ..bQT.My...... .....",
              ".........PT......... .........PT......... ....T"}},
        {1, pastTheEdges, 0,
         Grid{"ABC.Ig..KK..yM...... ....Ig..KK..yM...... .....",
              "HDA.gJ......My...... ....gJ......My...... rrrrr",
              ".................... .................... rrrrN"}},
    };
    for (RenderCase& c : cases) {
        SCOPED_TRACE(c.rows[0]);
        c.render(kFullPicture);
        const Grid view = seen(c.viewSurface, 0, 0, Grid(3, std::string(20, ' ')));
        const Grid picture = seen(c.pictureSurface, 0, 0, view);
        const Grid corner = seen(c.viewSurface, 250, 237, Grid(3, "....."));
        for (std::size_t r = 0; r < 3; ++r)
            EXPECT_EQ(view[r] + " " + picture[r] + " " + corner[r], c.rows[r]);
        EXPECT_EQ(c.view.shownFrame, (ElementConfig{.width = 255, .height = 239}));
    }
    const GeoDocument doc = sampleDocument();  // palette records start at a multiple of 4
    for (const std::uint32_t skew : {0u, 2u, 3u})
        EXPECT_EQ(expandPalette(doc.fileImage, doc.paletteOffset + skew, 0)[5], 0x000008u) << skew;
}

TEST(RenderPictureElement, StoredPixelsOnABlockOfTheConfiguredSize) {
    std::vector<RenderCase> cases = {
        {1, noChange, 0, {"ABCs", "rDAs", "ssss"}},  // odd width: column 3 untouched
        {0, noChange, 0, {"ABCs", "kDAs", "ssss"}},
        {1, resized, 1, {"Igggs", "gJggs", "ggggs", "sssss"}},  // configured larger
        {1, resized, 3, {"yMs", "Mss", "sss"}},                 // configured lower
        {1, noChange, 2, {"KKs", "sss"}},                       // height 0
        {1, noChange, 4, {"NOs", "sss"}},                       // odd stored x
        {1, import2, 2, {"bQTs", "sPTs", "ssss"}},
        {1, pastTheEdges, 4, {"rrrrrrrrrrs", "rrrrNO"}},
    };
    for (RenderCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases.data());
        RenderCase none = c;  // no document loaded: nothing is drawn in either mode
        none.render(c.current % 2 == 0 ? kFullPicture : kPictureElement, 0);
        EXPECT_TRUE(std::ranges::equal(none.viewSurface.data(), blank().data()) &&
                    std::ranges::equal(none.pictureSurface.data(), blank().data()) &&
                    none.view.shownFrame == ElementConfig{});
        c.render(kPictureElement);
        EXPECT_EQ(seen(c.viewSurface, 0, 0, c.rows), c.rows);
        EXPECT_EQ(c.view.shownFrame, c.document.configs[c.current]);
        EXPECT_TRUE(std::ranges::equal(c.pictureSurface.data(), blank().data()));
    }
}

TEST(RenderSurface, WritesAreClippedCopiesTakeTheTopLeftAndBmpRowsGoBottomUp) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kWrap = std::int64_t{1} << 32;
    Surface surface = blank();
    const std::int64_t outside[][2] = {{-1, 0},    {255, 0},       {0, 240}, {0, -1},
                                       {kWrap, 0}, {3 - kWrap, 0}, {kMin, 0}};
    for (const auto& [x, y] : outside)
        surface.set(x, y, 0x0000FF);
    surface.fillRect(kMin, 0, std::numeric_limits<std::int64_t>::max(), 1, 0x0000FF);
    surface.fillRect(-2, 1, 4, 1, 0x0000FF);       // columns 0-1
    surface.fillRect(252, 238, 10, 10, 0x0000FF);  // 3 x 2
    EXPECT_EQ(std::ranges::count(surface.data(), 0x0000FFu), 8);
    EXPECT_EQ(seen(surface, 0, 0, Grid(2, "   ")), (Grid{"sss", "rrs"}));
    EXPECT_EQ(seen(surface, 251, 237, Grid(3, "    ")), (Grid{"ssss", "srrr", "srrr"}));

    Surface view = blank();
    view.copyRect(surface, 253, 239);
    EXPECT_EQ(seen(view, 251, 237, Grid(3, "   ")), (Grid{"sss", "srs", "sss"}));
    view.copyRect(surface, 1000, 1000);
    EXPECT_EQ(std::ranges::count(view.data(), 0x0000FFu), 8);
    EXPECT_EQ(dibPixels(view).back(), 0xFF0000u);  // red and blue exchanged

    std::vector<std::uint8_t> bmp = surfaceBmp(surface, 3, 2);
    ASSERT_EQ(bmp.size(), 78u);
    std::fill(bmp.begin() + 38, bmp.begin() + 54, 0);  // resolution and colour counts unchecked
    // 78 bytes, pixels at 54; 3 x 2, 1 plane, 24 bits, 24 bytes of rows: row 1 (red, red,
    // untouched) first, blue-green-red, 9 bytes padded to 12; then row 0 (untouched).
    std::vector<std::uint8_t> want = {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                      3,   0,   0,  0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0,  0, 24};
    want.resize(54);
    want.insert(want.end(), {0,    0,    0xFF, 0,    0,    0xFF, 0xAB, 0xCD, 0xEF, 0, 0, 0,
                             0xAB, 0xCD, 0xEF, 0xAB, 0xCD, 0xEF, 0xAB, 0xCD, 0xEF, 0, 0, 0});
    EXPECT_EQ(bmp, want);
}

TEST(RenderSurface, EnlargingMakesZoomBlocksInDibOrderAndRefusesTooSmallTargets) {
    Surface surface = blank();
    surface.set(0, 0, 0x0000FF);
    surface.set(1, 1, 0x00FF00);
    surface.set(254, 239, 0x112233);
    std::vector<std::uint32_t> out(4 * 7, 7);  // 4 rows of stride 7
    ASSERT_TRUE(enlargeIntoDib(surface, 2, 2, 2, out, 7));
    const std::uint32_t u = 0xEFCDAB;  // kUntouched with red and blue exchanged
    const std::vector<std::uint32_t> want = {
        0xFF0000, 0xFF0000, u,        u, 7, 7, 7, 0xFF0000, 0xFF0000, u,        u, 7, 7, 7, u,
        u,        0x00FF00, 0x00FF00, 7, 7, 7, u, u,        0x00FF00, 0x00FF00, 7, 7, 7};
    EXPECT_EQ(out, want);
    // Sizes beyond the surface are cut to it; the last pixel lands in the last block.
    std::vector<std::uint32_t> whole(std::size_t{255 * 3} * 240 * 3);
    ASSERT_TRUE(enlargeIntoDib(surface, 999, 999, 3, whole, 255 * 3));
    EXPECT_EQ(whole.back(), 0x332211u);
    EXPECT_EQ(whole[whole.size() - 3 * 255 * 3 + 255 * 3 - 3], 0x332211u);
    // Too small a target, a stride narrower than the picture, or a zoom out of 1..10.
    const std::vector<std::uint32_t> before = out;
    EXPECT_FALSE(enlargeIntoDib(surface, 2, 3, 2, out, 7));
    EXPECT_FALSE(enlargeIntoDib(surface, 4, 1, 2, out, 7));
    EXPECT_FALSE(enlargeIntoDib(surface, 1, 1, 11, out, 7));
    EXPECT_EQ(out, before);
}

}  // namespace
}  // namespace zt9
