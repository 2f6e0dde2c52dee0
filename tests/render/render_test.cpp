#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "render/render.h"
#include "render/surface_bmp.h"
#include "render_fixture.h"

namespace zt9 {
namespace {

using test::pixelsAre;
using test::colors::kSentinel;

// One main window's worth of render state over the sample font, both surfaces pre-filled
// with a colour no drawing produces, so untouched pixels show.
struct Window {
    GeoDocument document = test::openFont(test::sampleFont());
    ViewState view;
    Surface viewSurface;
    Surface pictureSurface;
    std::map<char, std::uint32_t> legend = test::sampleLegend();

    Window() {
        view.documentLoaded = 1;
        viewSurface.fill(kSentinel);
        pictureSurface.fill(kSentinel);
    }
    void render(std::uint8_t mode, std::int32_t transparency) {
        view.viewMode = mode;
        view.transparency = transparency;
        renderView(document, view, viewSurface, pictureSurface);
    }
};

ElementConfig frame(std::int32_t w, std::int32_t h) {
    ElementConfig config;
    config.width = w;
    config.height = h;
    return config;
}

// --- Full picture ----------------------------------------------------------------------

TEST(RenderFullPicture, ColouredBackgroundBlocksAndCurrentElementOnHighlight) {
    Window window;
    window.render(kFullPicture, 1);
    // Blocks: element 1 green, 2 blue, 3 yellow, 4 red (colorIndex 1, 2, 3, 0). Column 3 is
    // element 0's odd-width high nibble, never drawn. Index 0 shows the block below it.
    EXPECT_TRUE(pixelsAre(window.viewSurface, 0, 0,
                          {"ABC.Ig..Kb..yM..rN",  //
                           "HDA.gJ......My....",  //
                           ".................."},
                          window.legend));
    // The picture surface holds everything but the current element and its block.
    EXPECT_TRUE(pixelsAre(window.pictureSurface, 0, 0,
                          {"....Ig..Kb..yM..rN",  //
                           "....gJ......My...."},
                          window.legend));
    for (const Surface* surface : {&window.viewSurface, &window.pictureSurface}) {
        EXPECT_TRUE(pixelsAre(*surface, 252, 238, {"...", "..."}, window.legend));
    }
    EXPECT_EQ(window.view.shownFrame, frame(255, 239));
}

TEST(RenderFullPicture, TransparencyOffIsBlackWithoutBlocksButKeepsTheHighlight) {
    Window window;
    window.render(kFullPicture, 0);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 0, 0,
                          {"ABCkIkkkKkkkkMkkkN",  //
                           "HDAkkJkkkkkkMkkkkk"},
                          window.legend));
    EXPECT_TRUE(pixelsAre(window.pictureSurface, 0, 0,
                          {"kkkkIkkkKkkkkMkkkN",  //
                           "kkkkkJkkkkkkMkkkkk"},
                          window.legend));
    EXPECT_TRUE(pixelsAre(window.viewSurface, 253, 239, {"kk"}, window.legend));
}

TEST(RenderFullPicture, AnotherCurrentElementMovesTheHighlightAndColorIndexPicksBlocks) {
    Window window;
    window.document.currentElement = 3;
    window.document.configs[0].colorIndex = 2;  // blue
    window.document.configs[1].colorIndex = 3;  // yellow
    window.render(kFullPicture, 1);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 0, 0,
                          {"ABC.Iy..Kb..HM..rN",  //
                           "bDA.yJ......MH...."},
                          window.legend));
    EXPECT_TRUE(pixelsAre(window.pictureSurface, 12, 0, {"..", ".."}, window.legend));
}

TEST(RenderFullPicture, AllBlocksGoDownBeforeAnyElementsPixels) {
    Window window;
    // Element 3's block now covers element 1; element 1's pixels still show over it.
    window.document.configs[3].x = 4;
    window.render(kFullPicture, 1);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 4, 0,
                          {"IM..Kb......",  //
                           "MJ..........",  //
                           "............"},
                          window.legend));
}

TEST(RenderFullPicture, ConfiguredSizeLargerThanStoredDrawsOnlyTheStoredPixels) {
    Window window;
    window.document.configs[1].width = 4;   // stored 2: strays at (6, 0), (7, 0)
    window.document.configs[1].height = 2;  // stored 1: stray at (4, 2)
    window.render(kFullPicture, 1);
    EXPECT_TRUE(
        pixelsAre(window.viewSurface, 4, 0, {"Iggg", "gJgg", "gggg", "...."}, window.legend));
    window.render(kFullPicture, 0);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 4, 0, {"Ikkk", "kJkk", "kkkk"}, window.legend));
}

TEST(RenderFullPicture, ConfiguredSizeSmallerThanStoredCutsThePixels) {
    Window window;
    window.document.configs[3].width = 1;
    window.document.configs[3].height = 0;
    window.document.configs[0].width = 2;  // the current element is cut the same way
    window.render(kFullPicture, 1);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 0, 0,
                          {"AB..Ig..Kb..y...rN",  //
                           "HD..gJ............"},
                          window.legend));
}

TEST(RenderFullPicture, ImportedElementsDrawInTheirOwnSizeAtTheConfiguredPlace) {
    Window window;
    ImportSlot& slot = window.document.importSlots[2];
    slot.imported = 1;
    slot.width = 3;   // configured width stays 2
    slot.height = 1;  // configured height stays 0
    // Row 0: 0 2 3 | 5, row 1: 0 1 5 | 5 (| = high nibble of the odd width's last byte).
    slot.pixels = {0x20, 0x53, 0x10, 0x55};
    slot.colors[1] = 0x112233;
    slot.colors[2] = 0x445566;
    slot.colors[3] = 0x778899;
    slot.colors[5] = 0xAABBCC;
    window.legend.insert({{'P', 0x112233}, {'Q', 0x445566}, {'R', 0x778899}, {'T', 0xAABBCC}});

    window.render(kFullPicture, 1);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 8, 0, {"bQR.", ".PT."}, window.legend));

    window.document.currentElement = 2;
    window.render(kFullPicture, 1);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 8, 0, {"HQR.", ".PT."}, window.legend));
    EXPECT_TRUE(pixelsAre(window.pictureSurface, 8, 0, {"....", "...."}, window.legend));

    window.viewSurface.fill(kSentinel);
    window.render(kPictureElement, 1);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 0, 0, {"bQRs", "sPTs"}, window.legend));
    EXPECT_EQ(window.view.shownFrame, window.document.configs[2]);
}

// --- Picture Element ---------------------------------------------------------------------

TEST(RenderPictureElement, CurrentElementAloneOnItsBlock) {
    Window window;
    window.render(kPictureElement, 1);
    // Column 3, the high nibble of the odd width's last byte, stays untouched.
    EXPECT_TRUE(pixelsAre(window.viewSurface, 0, 0, {"ABCs", "rDAs", "ssss"}, window.legend));
    EXPECT_EQ(window.view.shownFrame, window.document.configs[0]);
    EXPECT_EQ(window.pictureSurface.data()[0], kSentinel);  // not touched in this mode

    window.render(kPictureElement, 0);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 0, 0, {"ABCs", "kDAs"}, window.legend));

    window.document.currentElement = 3;
    window.render(kPictureElement, 1);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 0, 0, {"yM", "My"}, window.legend));
}

TEST(RenderPictureElement, StoredSizeIsDrawnWhateverTheConfiguredSize) {
    Window window;
    window.document.currentElement = 1;
    window.document.configs[1].width = 4;
    window.document.configs[1].height = 2;
    window.render(kPictureElement, 1);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 0, 0, {"Iggg", "gJgg", "gggg"}, window.legend));
    EXPECT_EQ(window.view.shownFrame.width, 4);
    EXPECT_EQ(window.view.shownFrame.height, 2);

    window.viewSurface.fill(kSentinel);
    window.document.currentElement = 3;
    window.document.configs[3].width = 1;
    window.document.configs[3].height = 0;
    window.render(kPictureElement, 1);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 0, 0, {"yMs", "Mss"}, window.legend));
    EXPECT_EQ(window.view.shownFrame, window.document.configs[3]);
}

TEST(RenderPictureElement, HeightZeroDrawsOneRow) {
    Window window;
    window.document.currentElement = 2;  // stray pixel right below it at (9, 1)
    window.render(kPictureElement, 1);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 0, 0, {"Kbs", "sss"}, window.legend));
    EXPECT_EQ(window.view.shownFrame.height, 0);
}

// --- No document, whole fonts -------------------------------------------------------------

TEST(RenderView, NothingIsDrawnWithoutADocument) {
    for (const std::uint8_t mode : {kFullPicture, kPictureElement}) {
        Window window;
        window.view.documentLoaded = 0;
        window.render(mode, 1);
        for (const Surface* surface : {&window.viewSurface, &window.pictureSurface}) {
            for (const std::uint32_t p : surface->data())
                ASSERT_EQ(p, kSentinel);
        }
        EXPECT_EQ(window.view.shownFrame, ElementConfig{});
    }
    // A closed document draws no element even if a caller forgets the flag.
    Window window;
    window.document.closeDocument();
    window.render(kFullPicture, 1);
    EXPECT_TRUE(pixelsAre(window.viewSurface, 0, 0, {"....", "...."}, window.legend));
}

TEST(RenderView, FullFontRendersAndCanBeSavedForALook) {
    GeoDocument document = test::openFont(test::GeoBuilder::grid(143, 16, 12));
    ViewState view;
    view.documentLoaded = 1;
    Surface viewSurface;
    Surface pictureSurface;
    renderView(document, view, viewSurface, pictureSurface);
    // Element 0's top-left pixel is 0 (on the highlight); element 1 starts at x 16 with
    // index 3 of its palette: 15-bit red 7, green 4, blue 28.
    EXPECT_EQ(viewSurface.pixel(0, 0), 0xF400FDu);
    EXPECT_EQ(viewSurface.pixel(16, 0), 0xE02038u);
    EXPECT_EQ(pictureSurface.pixel(16, 0), 0xE02038u);
    // Elements fill 15 per row of 13 pixel rows; below the tenth row is background.
    EXPECT_EQ(viewSurface.pixel(0, 130), 0x7B3C52u);

    if (const char* dump = std::getenv("ZT9_RENDER_DUMP_DIR")) {
        const std::filesystem::path folder = dump;
        EXPECT_TRUE(saveSurfaceBmp(folder / "full_picture.bmp", viewSurface));
        document.currentElement = 20;
        view.viewMode = kPictureElement;
        renderView(document, view, viewSurface, pictureSurface);
        EXPECT_TRUE(saveSurfaceBmp(folder / "picture_element.bmp", viewSurface,
                                   view.shownFrame.width, view.shownFrame.height + 1));
    }
}

}  // namespace
}  // namespace zt9
