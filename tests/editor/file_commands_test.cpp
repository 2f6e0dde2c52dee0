// Load, save, save as and closing: the questions asked, each failure's message and the
// state it leaves.
#include <algorithm>

#include "editor/editor_fixture.h"
#include "editor/texts.h"
#include "render/view_state.h"
#include "support/test_util.h"

namespace zt9::test {
namespace {

using Log = std::vector<std::string>;

std::uint8_t savedX(const std::filesystem::path& font, std::size_t element) {
    return readBytes(font).at(12 + 16 * element + 12);
}

TEST_F(EditorTest, LoadShowsTheFirstElementInFullPictureAndEnablesTheDocumentCommands) {
    const std::filesystem::path font = openGrid();
    ASSERT_EQ(screen.dialogs.size(), 1u);
    EXPECT_FALSE(screen.dialogs[0].save);
    EXPECT_EQ(screen.dialogs[0].filter, FileFilter::geo);
    EXPECT_EQ(screen.dialogs[0].title, "");
    EXPECT_EQ(window.documentPath, font);
    EXPECT_TRUE(screen.documentMenus && screen.panel);
    EXPECT_EQ(screen.numberRange, 2u);
    const std::map<int, std::string> expected = {
        {IDC_NUMBER, "0"},        {IDC_WIDTH, "6"},      {IDC_HEIGHT, "4"},
        {IDC_POS_X, "0"},         {IDC_POS_Y, "0"},      {IDC_RESIZE_WIDTH, "7"},
        {IDC_RESIZE_HEIGHT, "5"}, {IDC_DISPLAY_X, "-3"}, {IDC_DISPLAY_Y, "-2"}};
    EXPECT_EQ(screen.fields, expected);
    EXPECT_EQ(screen.color, 0);
    EXPECT_EQ(screen.viewModeItem, IDM_FULL_PICTURE);
    EXPECT_TRUE(screen.checked[IDM_TRANSPARENCY]);
    EXPECT_FALSE(screen.checked[IDM_RESET_IMPORT]);
    EXPECT_EQ(screen.scale, 1);
    EXPECT_EQ(window.view.shownFrame.width, 255);
    EXPECT_EQ(window.view.shownFrame.height, 239);
    EXPECT_EQ(window.viewSurface()->pixel(254, 239), kPictureBackground);
    EXPECT_EQ(window.viewSurface()->pixel(0, 0), kHighlightColor);  // element 0's index-0 pixel
    EXPECT_EQ(takeLog(), Log{"open dialog"});
}

struct Refusal {
    const char* name;
    std::function<std::vector<std::uint8_t>()> bytes;  // none: the file does not exist
    std::string message;
    bool closesTheOpenFont;
};

TEST_F(EditorTest, RefusedLoadsShowTheirMessageAndLeaveTheStateTheyName) {
    const std::vector<Refusal> refusals = {
        {"missing.geo", nullptr, "File load error", false},
        {"large.geo", [] { return std::vector<std::uint8_t>(38177, 0); }, text::kGeoTooLarge,
         false},
        {"not.geo",
         [] {
             GeoBuilder font = GeoBuilder::grid(2);
             font.signature = 0x302E3176;
             return font.build();
         },
         "Has been opened not GEO file", true},
        {"outside.geo",
         [] {
             GeoBuilder font = GeoBuilder::grid(2);
             font.elements[1].y = 239;
             return font.build();
         },
         "Element 1 size out of picture", true},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        const std::filesystem::path good = openGrid();
        run(IDM_NEXT_ELEMENT);
        const std::filesystem::path bad = dir.file(refusal.name);
        if (refusal.bytes)
            writeBytes(bad, refusal.bytes());
        takeLog();
        open(bad);
        EXPECT_EQ(takeLog(), (Log{"open dialog", "error: " + refusal.message}));
        EXPECT_EQ(document.lastError, error{});
        const bool loaded = !refusal.closesTheOpenFont;
        EXPECT_EQ(window.view.documentLoaded, loaded ? 1 : 0);
        EXPECT_EQ(screen.documentMenus, loaded);
        EXPECT_EQ(screen.panel, loaded);
        EXPECT_EQ(document.elementCount, loaded ? 3u : 0u);
        if (loaded) {
            // The open font stays as it was, current element included.
            EXPECT_EQ(document.currentElement, 1u);
            EXPECT_EQ(window.documentPath, good);
            continue;
        }
        // No row of the closed font may show again: all grey, nothing shown, cleared fields.
        EXPECT_EQ(window.view.shownFrame, ElementConfig{});
        EXPECT_TRUE(std::ranges::all_of(window.viewSurface()->data(),
                                        [](std::uint32_t p) { return p == kMarginGrey; }));
        EXPECT_EQ(field(IDC_WIDTH), "1");
        EXPECT_EQ(field(IDC_NUMBER), "0");
        // Keys that need a document do nothing now.
        run(IDM_NEXT_ELEMENT);
        EXPECT_EQ(field(IDC_NUMBER), "0");
    }
}

TEST_F(EditorTest, LoadOverUnsavedEditsAsksFirstAndGivesUpWhenTheSaveFails) {
    const std::filesystem::path other = writeFont("other.geo", GeoBuilder::grid(5));
    struct Case {
        bool yes;
        bool saveFails;
        Log log;
        bool loadsOther;
    };
    const std::vector<Case> cases = {
        {true, false, {"beep", "ask Save: Save changes?", "open dialog"}, true},
        {true, true, {"beep", "ask Save: Save changes?", "error: File save error"}, false},
        {false, false, {"beep", "ask Save: Save changes?", "open dialog"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log.back() + (c.yes ? " after yes" : " after no"));
        const std::filesystem::path folder = dir.file(c.saveFails ? "gone" : "kept");
        std::filesystem::create_directories(folder);
        const std::filesystem::path font = folder / "font.geo";
        writeBytes(font, GeoBuilder::grid(3).build());
        open(font);
        run(IDM_MOVE_RIGHT);  // x 0 -> 2
        if (c.saveFails)
            std::filesystem::remove_all(folder);
        takeLog();
        screen.yesNoAnswers = {c.yes};
        open(other);
        EXPECT_EQ(takeLog(), c.log);
        EXPECT_EQ(document.elementCount, c.loadsOther ? 5u : 3u);
        EXPECT_EQ(document.isModified(), !c.loadsOther);
        if (!c.saveFails) {
            EXPECT_EQ(savedX(font, 0), c.yes ? 2 : 0);
        }
        screen.fileAnswers.clear();
    }
}

TEST_F(EditorTest, CancelledDialogsChangeNothing) {
    const std::filesystem::path font = openGrid();
    run(IDM_MOVE_DOWN);
    const std::vector<std::uint8_t> before = readBytes(font);
    run(IDM_LOAD);     // "Save changes?" answered No, then the dialog is cancelled
    run(IDM_SAVE_AS);  // cancelled
    EXPECT_EQ(takeLog(), (Log{"open dialog", "beep", "ask Save: Save changes?", "open dialog",
                              "save dialog"}));
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.elementCount, 3u);
    EXPECT_EQ(readBytes(font), before);
}

TEST_F(EditorTest, SaveAsWritesTheNewFileAndSaveStillWritesTheLoadedOne) {
    const std::filesystem::path font = openGrid();
    const std::filesystem::path copy = dir.file("copy.geo");
    run(IDM_MOVE_RIGHT);
    screen.fileAnswers.emplace_back(FileChoice{copy, 1});
    run(IDM_SAVE_AS);
    ASSERT_EQ(screen.dialogs.size(), 2u);
    EXPECT_TRUE(screen.dialogs[1].save);
    EXPECT_EQ(screen.dialogs[1].filter, FileFilter::geo);
    EXPECT_EQ(screen.dialogs[1].fileName, font);  // opens on the loaded font's name
    EXPECT_EQ(savedX(copy, 0), 2);
    EXPECT_EQ(savedX(font, 0), 0);
    EXPECT_FALSE(document.isModified());

    run(IDM_MOVE_RIGHT);
    run(IDM_SAVE);
    EXPECT_EQ(savedX(font, 0), 4);
    EXPECT_EQ(savedX(copy, 0), 2);
    EXPECT_EQ(window.documentPath, font);
}

TEST_F(EditorTest, FailedSaveKeepsTheEditsAndSaysSo) {
    std::filesystem::create_directories(dir.file("folder"));
    const std::filesystem::path font = dir.file("folder") / "font.geo";
    writeBytes(font, GeoBuilder::grid(3).build());
    open(font);
    run(IDM_MOVE_RIGHT);
    std::filesystem::remove_all(dir.file("folder"));
    takeLog();
    const int repaints = screen.invalidations;
    run(IDM_SAVE);
    EXPECT_EQ(takeLog(), Log{"error: File save error"});
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.lastError, error{});
    EXPECT_EQ(screen.invalidations, repaints);  // a failed command skips its repaint
}

TEST_F(EditorTest, ClosingAsksOnlyAboutUnsavedEditsAndStaysOpenWhenTheSaveFails) {
    struct Case {
        bool edit;
        bool yes;
        bool saveFails;
        Log log;
    };
    const Log ask = {"beep", "ask Quit: Save changes?"};
    const std::vector<Case> cases = {
        {false, false, false, {"destroy"}},
        {true, false, false, {"beep", "ask Quit: Save changes?", "destroy"}},
        {true, true, false, {"beep", "ask Quit: Save changes?", "destroy"}},
        {true, true, true, {"beep", "ask Quit: Save changes?", "error: File save error"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log.back());
        GeoDocument doc;
        RecordingScreen rec;
        MainWindow main(doc, rec);
        main.createSurfaces();
        const std::filesystem::path font = dir.file("close.geo");
        writeBytes(font, GeoBuilder::grid(2).build());
        rec.fileAnswers.emplace_back(FileChoice{font, 1});
        main.frame([&] { main.command(IDM_LOAD, 0); });
        if (c.edit)
            main.frame([&] { main.command(IDM_MOVE_DOWN, 0); });
        if (c.saveFails)
            std::filesystem::remove(font), std::filesystem::create_directory(font);
        rec.log.clear();
        rec.yesNoAnswers = {c.yes};
        main.frame([&] { main.command(IDM_EXIT, 0); });
        EXPECT_EQ(rec.log, c.log);
        if (c.yes && !c.saveFails) {
            EXPECT_EQ(readBytes(font).at(12 + 13), 1);  // y 0 -> 1 saved
        }
        // The session may end exactly when closing would.
        rec.log.clear();
        rec.yesNoAnswers = {c.yes};
        EXPECT_EQ(main.queryEndSession(), !c.saveFails);
        std::filesystem::remove_all(font);
    }
}

TEST_F(EditorTest, CloseArrivingDuringAQuestionWaitsUntilTheCommandHasFinished) {
    openGrid();
    run(IDM_MOVE_DOWN);
    const std::filesystem::path other = writeFont("other.geo", GeoBuilder::grid(4));
    screen.yesNoAnswers = {false};
    screen.fileAnswers.emplace_back(FileChoice{other, 1});
    // The window's close button is clicked while "Save changes?" is on screen.
    screen.duringNextModal = [&] { window.frame([&] { window.close(); }); };
    takeLog();
    run(IDM_LOAD);
    // The load ran to its end first; the new font has no edits, so closing asks nothing.
    EXPECT_EQ(takeLog(), (Log{"beep", "ask Save: Save changes?", "open dialog", "destroy"}));
    EXPECT_EQ(document.elementCount, 4u);
    // Once the window is gone nothing deferred runs any more.
    window.windowDestroyed();
    window.frame([&] { window.close(); });
    EXPECT_EQ(takeLog(), Log{});
}

TEST_F(EditorTest, CommandsThatNeedAFontOnlyRepaintWithoutOne) {
    for (const CommandEntry& entry : MainWindow::commands()) {
        if (!entry.needsDocument)
            continue;
        SCOPED_TRACE(entry.id);
        const int repaints = screen.invalidations;
        run(entry.id);
        EXPECT_EQ(screen.invalidations, repaints + 1);
        EXPECT_EQ(takeLog(), Log{});
        EXPECT_TRUE(screen.fields.empty());
        EXPECT_EQ(window.view.viewZoom, 1);
        EXPECT_EQ(window.view.transparency, 1);
        EXPECT_EQ(window.view.viewMode, kFullPicture);
    }
    run(IDM_ABOUT);
    EXPECT_EQ(takeLog(), Log{std::string("message About...: ") + text::kAbout});
}

}  // namespace
}  // namespace zt9::test
