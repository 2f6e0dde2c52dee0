// Import, Export, Reset import and dropped files.
#include "editor/dropped_files.h"
#include "editor/editor_fixture.h"
#include "images/element_export.h"
#include "support/bmp_builder.h"

namespace zt9::test {
namespace {

using Log = std::vector<std::string>;

std::vector<std::uint8_t> glyph(std::int32_t width, std::int32_t height) {
    BmpBuilder image(width, height, 8);
    image.clrUsed = 16;
    image.withDistinctPalette();
    for (std::int32_t i = 0; i < width * height; ++i)
        image.setIndex(static_cast<std::uint32_t>(i % width), static_cast<std::uint32_t>(i / width),
                       static_cast<std::uint8_t>(i % 15));
    return image.build();
}

class ImageCommands : public EditorTest {
  protected:
    std::filesystem::path writeBmp(const std::string& name,
                                   const std::vector<std::uint8_t>& bytes) {
        writeBytes(dir.file(name), bytes);
        return dir.file(name);
    }
    void importThroughDialog(const std::filesystem::path& bmp) {
        screen.fileAnswers.emplace_back(FileChoice{bmp, 1});
        run(IDM_IMPORT);
    }
};

TEST_F(ImageCommands, ImportShowsTheImageSizeAndMovesPositionOnlyWhenTheFitMovedIt) {
    GeoBuilder font = GeoBuilder::grid(3);
    font.elements[1].x = 250;  // a 9-wide image cannot stay there
    open(writeFont("font.geo", font));
    importThroughDialog(writeBmp("a.bmp", glyph(9, 3)));
    const FileDialog& dialog = screen.dialogs.back();
    EXPECT_FALSE(dialog.save);
    EXPECT_EQ(dialog.filter, FileFilter::importBmp);
    EXPECT_EQ(dialog.title, "Import geo element");
    EXPECT_EQ(dialog.fileName, "geo element 0.bmp");
    EXPECT_TRUE(screen.checked[IDM_RESET_IMPORT]);
    EXPECT_EQ(field(IDC_WIDTH), "9");
    EXPECT_EQ(field(IDC_HEIGHT), "2");
    EXPECT_EQ(field(IDC_RESIZE_WIDTH), "10");
    EXPECT_EQ(field(IDC_DISPLAY_X), "-3");
    EXPECT_TRUE(document.isModified());
    screen.fields[IDC_POS_X] = "untouched";
    screen.fields[IDC_POS_Y] = "untouched";
    importThroughDialog(dir.file("a.bmp"));  // fits at x 0: Position X is left alone
    EXPECT_EQ(field(IDC_POS_X), "untouched");

    run(IDM_NEXT_ELEMENT);
    EXPECT_FALSE(screen.checked[IDM_RESET_IMPORT]);
    EXPECT_EQ(screen.dialogs.size(), 3u);
    screen.fields[IDC_POS_Y] = "untouched";
    importThroughDialog(dir.file("a.bmp"));
    EXPECT_EQ(screen.dialogs.back().fileName, "geo element 1.bmp");
    EXPECT_EQ(field(IDC_POS_X), "246");  // 255 - 9, made even
    EXPECT_EQ(field(IDC_POS_Y), "untouched");
    // Cancelled with an image shown: the panel is refreshed, x and y are not touched.
    screen.fields[IDC_POS_X] = "untouched";
    screen.fields[IDC_WIDTH] = "typed";
    run(IDM_IMPORT);
    EXPECT_EQ(field(IDC_WIDTH), "9");
    EXPECT_EQ(field(IDC_POS_X), "untouched");
}

TEST_F(ImageCommands, ARefusedImageChangesNothingAndSaysWhy) {
    openGrid();
    importThroughDialog(writeBmp("first.bmp", glyph(4, 4)));
    run(IDM_SAVE);
    BmpBuilder notTransparent(3, 3, 4);
    notTransparent.withDistinctPalette().setEntry(15, 255, 0, 0);
    BmpBuilder wide(256, 2, 8);
    wide.clrUsed = 16;
    const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> refusals = {
        {std::vector<std::uint8_t>(200, 'x'), "Has been opened not BMP file"},
        {wide.build(), "Image width is too large"},
        {notTransparent.build(), "Last color in the palette is not a transparent"},
        {std::vector<std::uint8_t>(100, 0), "File size less than 122 b"},
    };
    const ElementConfig before = document.configs[0];
    const std::map<int, std::string> fields = screen.fields;
    const std::uint64_t frames = window.frameVersion();
    for (const auto& [bytes, message] : refusals) {
        takeLog();
        importThroughDialog(writeBmp("bad.bmp", bytes));
        EXPECT_EQ(takeLog(), (Log{"open dialog", "error: " + message}));
    }
    EXPECT_EQ(document.configs[0], before);
    EXPECT_EQ(document.importSlots[0].width, 4u);
    EXPECT_EQ(screen.fields, fields);
    EXPECT_TRUE(screen.checked[IDM_RESET_IMPORT]);
    EXPECT_EQ(window.frameVersion(), frames);
    EXPECT_FALSE(document.isModified());
}

TEST_F(ImageCommands, ExportRemembersTheChosenDepthWhateverDialogRanBetween) {
    const std::filesystem::path font = openGrid();
    run(IDM_NEXT_ELEMENT);
    screen.fileAnswers.emplace_back(FileChoice{dir.file("e.bmp"), 2});
    run(IDM_EXPORT);
    const FileDialog first = screen.dialogs.back();
    EXPECT_TRUE(first.save);
    EXPECT_EQ(first.filter, FileFilter::exportBmp);
    EXPECT_EQ(first.title, "Export geo element");
    EXPECT_EQ(first.fileName, "geo element 1.bmp");
    EXPECT_EQ(first.filterIndex, 1);
    EXPECT_EQ(readBytes(dir.file("e.bmp")), exportElementBytes(document, kExport4bpp));

    run(IDM_IMPORT);  // cancelled
    screen.yesNoAnswers = {false};
    open(font);
    screen.fileAnswers.emplace_back(FileChoice{dir.file("e8.bmp"), 1});
    run(IDM_EXPORT);
    EXPECT_EQ(screen.dialogs.back().filterIndex, 2);
    EXPECT_EQ(readBytes(dir.file("e8.bmp")), exportElementBytes(document, kExport8bpp));
    EXPECT_FALSE(document.isModified());

    // A failed export says so and leaves an existing file as it was.
    std::filesystem::create_directory(dir.file("folder.bmp"));
    takeLog();
    screen.fileAnswers.emplace_back(FileChoice{dir.file("folder.bmp"), 1});
    run(IDM_EXPORT);
    EXPECT_EQ(takeLog(), (Log{"save dialog", "error: File save error"}));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.bmp")));
}

TEST_F(ImageCommands, ResetImportMarksTheFontOnlyWhenItRemovesAnImage) {
    openGrid();
    run(IDM_RESET_IMPORT);
    EXPECT_FALSE(document.isModified());
    EXPECT_FALSE(screen.checked[IDM_RESET_IMPORT]);
    importThroughDialog(writeBmp("a.bmp", glyph(5, 5)));
    run(IDM_SAVE);
    const std::uint64_t frames = window.frameVersion();
    run(IDM_RESET_IMPORT);
    EXPECT_TRUE(document.isModified());
    EXPECT_FALSE(screen.checked[IDM_RESET_IMPORT]);
    EXPECT_EQ(window.elementImported, 0);
    EXPECT_EQ(document.importSlots[0].imported, 0);
    EXPECT_GT(window.frameVersion(), frames);
}

TEST(DroppedFiles, OnlyTheLastExtensionCountsWhateverItsCase) {
    for (const char* path : {"FONT.geo", "font.GEO", "dir/Font.Geo", "a.b.geo"})
        EXPECT_TRUE(hasExtension(path, "GEO")) << path;
    for (const char* path :
         {"font.geo.bak", "font.geox", "font", "fonts.v1/font", ".geo", "x.ge", "picture.bmp"})
        EXPECT_FALSE(hasExtension(path, "GEO")) << path;
    EXPECT_TRUE(hasExtension("glyph.Bmp", "BMP"));
}

TEST_F(ImageCommands, DropsLoadAndImportInTheirOrderAndWaitForAnOpenCommand) {
    const std::filesystem::path three = writeFont("three.GEO", GeoBuilder::grid(3));
    const std::filesystem::path five = writeFont("five.geo", GeoBuilder::grid(5));
    writeBytes(dir.file("bad.geo"), std::vector<std::uint8_t>(31000, 7));
    const std::filesystem::path bmp = writeBmp("glyph.BMP", glyph(4, 2));
    writeBytes(dir.file("notes.txt"), {1, 2, 3});

    // No font yet: a BMP is not imported but stays the dialogs' file name.
    window.dropFiles({bmp, dir.file("notes.txt"), dir.file("noextension")});
    EXPECT_EQ(window.view.documentLoaded, 0);
    EXPECT_EQ(window.fileName, bmp);

    window.dropFiles({three, bmp});  // loaded, then its element 0 imported
    EXPECT_EQ(document.elementCount, 3u);
    EXPECT_EQ(document.importSlots[0].imported, 1);
    EXPECT_EQ(window.documentPath, three);

    // Two fonts with unsaved edits: one question, the second font stays.
    takeLog();
    window.dropFiles({five, three});
    EXPECT_EQ(takeLog(), (Log{"beep", "ask Save: Save changes?"}));
    EXPECT_EQ(window.documentPath, three);

    // A font refused by its checks leaves no font for the BMP after it.
    window.dropFiles({dir.file("bad.geo"), bmp});
    EXPECT_EQ(takeLog(), Log{"error: Has been opened not GEO file"});
    EXPECT_EQ(window.view.documentLoaded, 0);

    // A drop while "Save changes?" is open waits until that load has finished.
    window.dropFiles({three});
    run(IDM_MOVE_DOWN);
    screen.duringNextModal = [&] { window.dropFiles({bmp}); };
    screen.fileAnswers.emplace_back(FileChoice{five, 1});
    run(IDM_LOAD);
    EXPECT_EQ(document.elementCount, 5u);
    EXPECT_EQ(document.importSlots[0].imported, 1);  // imported into the new font
}

}  // namespace
}  // namespace zt9::test
