// Load, save, save as, closing, dropped files and the failure frames: the questions asked,
// each failure's message and the state it leaves.
#include <stdexcept>

#include "editor/texts.h"
#include "editor_fixture.h"

namespace zt9::test {

const std::string kAsk = "beep; ask Save: Save changes?; ", kSaveError = "error: File save error;";

TEST_F(EditorTest, EachRefusedLoadLeavesTheStateItNamesAndTheTitleFollowsTheFont) {
    write("big.geo", std::vector<std::uint8_t>(40000, 1));
    write("not.geo", std::vector<std::uint8_t>(31000, 7));
    write("outside.geo", GeoBuilder::grid(2, 254, 120).build());  // element 1 below row 239
    // The file, its message, and whether the open font is closed or stays as it was (and
    // with it the title).
    const std::vector<std::tuple<std::string, std::string, bool>> refusals = {
        {"missing.geo", "File load error", false},
        {"big.geo", "File size more than 38 \312b", false},  // \312: Cyrillic Ka
        {"not.geo", "Has been opened not GEO file", true},
        {"outside.geo", "Element 1 size out of picture", true}};
    for (const auto& [file, message, closes] : refusals) {
        const std::filesystem::path font = openGrid();
        act(IDM_NEXT_ELEMENT);
        EXPECT_EQ(step(IDM_LOAD, file),
                  "open geo1 /grid.geo; error: " + message +
                      (closes ? "; DX0 DY0 H0 N0 RH0 RW1 W1 X0 c0 d0 p0 draw" : ";"));
        EXPECT_TRUE(document.lastError == error{} && (closes || window.documentPath == font));
        EXPECT_EQ(titles.back(), closes ? "ZT9 font editor" : "grid.geo - ZT9 font editor");
        // A closed font takes no more keys, and no row of it may show again.
        EXPECT_EQ(step(IDM_NEXT_ELEMENT), closes ? "" : "DX-1 DY0 N2 X12 c2 draw");
        const auto grey = [](std::uint32_t p) { return p == kMarginGrey; };
        EXPECT_EQ(std::ranges::all_of(window.viewSurface()->data(), grey) &&
                      window.view.shownFrame == ElementConfig{},
                  closes);
    }
    // Each action and the titles it sets: none when the text stays the same.
    const std::string title = "grid.geo - ZT9 font editor";
    const std::vector<std::tuple<int, std::string, std::vector<std::string>>> steps = {
        {IDM_LOAD, "grid.geo", {title}}, {IDC_POS_X, "9", {"*" + title}},
        {IDM_MOVE_RIGHT, "", {}},        {IDM_SAVE_AS, "copy.geo", {title}},
        {IDM_NEXT_ELEMENT, "", {}},      {IDM_MOVE_DOWN, "", {"*" + title}},
        {IDM_SAVE, "", {title}},         {IDM_LOAD, "grid.geo", {}}};
    for (const auto& [id, name, set] : steps)
        EXPECT_EQ((titles.clear(), act(id, name), titles), set) << id << " " << name;
}

TEST_F(EditorTest, SaveAsWritesACopyAFailedSaveStopsALoadAndClosingAsksOnlyAboutEdits) {
    const std::filesystem::path font = openGrid(), copy = dir.file("copy.geo"),
                                other = write("other.geo", GeoBuilder::grid(5).build());
    EXPECT_EQ(step(IDM_MOVE_RIGHT), "X2 draw *");
    EXPECT_EQ(step(IDM_SAVE_AS), "save geo1 /grid.geo; *");  // cancelled
    EXPECT_EQ(step(IDM_SAVE_AS, "copy.geo"), "save geo1 /grid.geo;");
    EXPECT_EQ(step(IDM_MOVE_RIGHT), "X4 draw *");
    // Loading over the edits, Yes: they are saved where the font came from, then it loads.
    answers = "y";
    EXPECT_EQ(step(IDM_LOAD, "other.geo"), kAsk + "open geo1 /copy.geo; #4 X0 draw");
    EXPECT_EQ(std::tuple(readBytes(font).at(24), readBytes(copy).at(24)), std::tuple(4, 2));  // x
    std::filesystem::remove(other), std::filesystem::create_directory(other);  // unwritable now
    act(IDM_MOVE_RIGHT);
    const int repaints = invalidations;
    EXPECT_EQ(step(IDM_SAVE), kSaveError + " *");
    EXPECT_EQ(invalidations, repaints);  // a failed command skips its repaint
    // Yes, and the save fails: the load gives up; No, and the dialog is cancelled; No.
    answers = "ynn";
    EXPECT_EQ(step(IDM_LOAD, "grid.geo"), kAsk + kSaveError + " *");
    EXPECT_EQ(step(IDM_LOAD), kAsk + "open geo1 /other.geo; *");
    EXPECT_EQ(step(IDM_LOAD, "grid.geo"), kAsk + "open geo1 /other.geo; #2 X4 draw");
    // Closing asks only about unsaved edits and waits for an open command.
    openGrid();  // grid.geo again
    const std::string ask = "beep; ask Quit: Save changes?; ";
    // The session may end exactly when closing would.
    EXPECT_TRUE(window.queryEndSession());
    EXPECT_EQ(step(IDM_EXIT), "destroy;");  // nothing to ask
    act(IDM_MOVE_DOWN);
    EXPECT_TRUE(window.queryEndSession());
    EXPECT_EQ(step(IDM_EXIT), ask + ask + "destroy; *");  // No, and No again
    answers = "y";
    EXPECT_EQ(step(IDM_EXIT), ask + "destroy;");  // Yes: saved
    act(IDM_MOVE_DOWN);
    std::filesystem::remove(font), std::filesystem::create_directory(font);
    answers = "yy";
    EXPECT_FALSE(window.queryEndSession());
    EXPECT_EQ(step(IDM_EXIT), ask + kSaveError + " " + ask + kSaveError + " *");
    // Closed, and asked to end the session, while "Save changes?" of a load is open: the
    // session may not end with the edits unsaved, and the close waits for the load's end.
    duringNextModal = [&] {
        EXPECT_FALSE(window.queryEndSession());
        window.frame([&] { window.close(); });
    };
    write("four.geo", GeoBuilder::grid(4).build());
    EXPECT_EQ(step(IDM_LOAD, "four.geo"), kAsk + "open geo1 /grid.geo; destroy; #3 Y0 draw");
    window.windowDestroyed();  // nothing runs any more
    EXPECT_EQ(step([&] { window.frame([&] { window.close(); }); }), "");
}

TEST_F(EditorTest, FramesShowFailuresOnceFontlessCommandsChangeNothingAndDropsKeepOrder) {
    error save, silent;
    save.code = kCodeSave;
    silent.domain = kDomainGeo;  // names no condition
    document.lastError = save;
    window.frame([] { throw std::runtime_error("boom"); });
    EXPECT_EQ(document.lastError, save);  // not an `error`: the record stays
    window.frame([&] { throw silent; });
    EXPECT_EQ(document.lastError, error{});
    // A failure inside the message box's own loop is shown by its own frame.
    duringNextModal = [&] { window.frame([] { throw std::bad_alloc(); }); };
    window.frame([&] { throw save; });
    // Nothing modal inside a paint: one report for a run of failures, shown once.
    window.quietFrame([&] { throw save; });
    window.quietFrame([] { throw std::runtime_error("again"); });
    window.frame([&] { window.reportFailure(); });
    window.frame([&] { window.reportFailure(); });
    window.quietFrame([] {});
    window.quietFrame([] { throw std::bad_alloc(); });
    window.frame([&] { window.reportFailure(); });
    EXPECT_EQ(step([] {}), "error: Unknow error; " + kSaveError + " error: Unknow error; report; " +
                               kSaveError + " report; error: Unknow error;");
    // Without a font, commands change nothing shown and the panel does nothing.
    for (const int id : {IDC_WIDTH, IDC_WIDTH_ARROWS, IDC_RESET_ELEMENT})
        act(id, "3");
    window.colorChosen(2);
    // Load, the view modes, Exit and About do what they do; nothing shown changes, so
    // nothing needs a repaint.
    for (const CommandEntry& entry : MainWindow::commands())
        act(entry.id);
    EXPECT_EQ(invalidations, 0);
    EXPECT_EQ(step([] {}),
              "open geo1 /; destroy; message About...: " + std::string(text::kAbout) + ";");
    EXPECT_EQ(shown, (std::map<std::string, std::string>{{"W", "3"}, {"c", "-1"}, {"v", "1"}}));
    // Drops load and import in their order and wait for an open command.
    const std::filesystem::path three = write("three.GEO", GeoBuilder::grid(3).build()),
                                five = write("v1.5.Geo", GeoBuilder::grid(5).build()),
                                bad = write("bad.geo", std::vector<std::uint8_t>(31000, 7)),
                                bmp = write("a.BMP",
                                            BmpBuilder(4, 2, 4).withDistinctPalette().build());
    const auto drop = [&](std::vector<std::filesystem::path> paths) {
        return step([&] { window.dropFiles(paths); });
    };
    // No font yet: a BMP is not imported but stays the dialogs' file name. Only the last
    // extension counts, and a name that is nothing but one has none.
    EXPECT_EQ(drop({bmp, write("a.txt", {1}), dir.file("a"), "a.geo.bak", "a.geox", "v1.2/a",
                    ".geo", "a.ge"}),
              "");
    EXPECT_EQ(window.fileName, bmp);
    EXPECT_EQ(drop({three, bmp}),
              "#2 DX-3 DY-2 H1 N0 RH2 RW5 W4 X0 Y0 c0 d1 p1 r1 t1 v0 z1 draw *");
    // Two fonts over these edits: one question, answered No, and the second font stays.
    EXPECT_EQ(drop({three, five}), kAsk + "#4 H4 RH5 RW7 W6 r0 draw");
    EXPECT_EQ(window.documentPath, five);
    // A font refused by its checks leaves no font for the BMP after it.
    EXPECT_EQ(drop({bad, bmp}),
              "error: Has been opened not GEO file; DX0 DY0 H0 RH0 RW1 W1 d0 p0 draw");
    // A drop while "Save changes?" is open waits until that load has finished.
    window.dropFiles({three});
    act(IDM_MOVE_DOWN);
    duringNextModal = [&] { window.dropFiles({bmp}); };
    EXPECT_EQ(step(IDM_LOAD, "v1.5.Geo"),
              kAsk + "open geo1 /three.GEO; #4 H1 RH2 RW5 W4 Y0 r1 draw *");
}

}  // namespace zt9::test
