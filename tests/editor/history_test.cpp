// Undo and redo through the editor's commands: random edit sequences against the font's save
// images, merging of held keys and arrow clicks, the save point, imports and the Edit menu.
#include <random>

#include "editor_fixture.h"
#include "support/test_util.h"

namespace zt9::test {
namespace {

const std::vector<int> kArrows = {
    IDC_WIDTH_ARROWS,        IDC_HEIGHT_ARROWS,        IDC_POS_X_ARROWS,     IDC_POS_Y_ARROWS,
    IDC_RESIZE_WIDTH_ARROWS, IDC_RESIZE_HEIGHT_ARROWS, IDC_DISPLAY_X_ARROWS, IDC_DISPLAY_Y_ARROWS};
const std::vector<int> kCommands = {
    IDM_MOVE_LEFT, IDM_MOVE_RIGHT, IDM_MOVE_UP,         IDM_MOVE_DOWN,    IDM_NARROWER,
    IDM_WIDER,     IDM_LOWER,      IDM_HIGHER,          IDM_RESET_CONFIG, IDM_RESET_IMPORT,
    IDM_UNDO,      IDM_REDO,       IDM_NEXT_ELEMENT,    IDM_TOGGLE_VIEW,  IDM_TRANSPARENCY,
    IDM_ZOOM_IN,   IDM_NEXT_COLOR, IDM_PREVIOUS_ELEMENT};

class HistoryTest : public EditorTest {
  protected:
    // The Edit menu's two entries.
    std::string entries() { return menuTexts[IDM_UNDO] + " | " + menuTexts[IDM_REDO]; }
    // Undoes (redoes) every step; each one must show its element in the panel, current.
    int walk(int id) {
        const auto next = [&] {
            return id == IDM_UNDO ? window.history().nextUndo() : window.history().nextRedo();
        };
        int steps = 0;
        for (; next(); ++steps) {
            const std::uint32_t element = next()->element;
            act(id);
            const ElementConfig& c = document.configs[element];
            EXPECT_TRUE(document.currentElement == element &&
                        shown["N"] == std::to_string(element) && showsStored() && c.x >= 0 &&
                        c.y >= 0 && c.x + c.width <= 255 && c.y + c.height <= 239);
        }
        return steps;
    }
};

TEST_F(HistoryTest, RandomEditsUndoToTheLoadedBytesAndRedoToTheEditedOnes) {
    GeoBuilder font = GeoBuilder::grid(20, 9, 6);
    font.elements[3] = GeoBuilder::layoutAt(246, 233, 9, 6);  // at the bottom-right corner
    write("a.bmp", BmpBuilder(9, 3, 4).withDistinctPalette().build());
    write("b.bmp", BmpBuilder(14, 7, 8).withDistinctPalette().setIndex(2, 2, 5).build());
    write("bad.bmp", BmpBuilder(256, 2, 4).withDistinctPalette().build());
    // Typed texts; the arrows only ever stand at the first eight.
    const std::vector<std::string> values = {"0",   "1",   "2",  "7",    "30",         "120",
                                             "250", "254", "-9", "4000", "99999999999"};
    std::mt19937 random(20261207);
    const auto pick = [&](const auto& list) { return list[random() % list.size()]; };
    int checkedMarks = 0;
    for (int round = 0; round < 60; ++round) {
        openGrid(font);
        const std::vector<std::uint8_t> loaded = document.buildSaveImage();
        bool emptyEdit = false;  // an edit that saved nothing new may mark the font
        for (int i = 0; i < 3 + round % 10 * 5; ++i) {  // short runs too: more stay clean
            const std::vector<std::uint8_t> before = document.buildSaveImage();
            // Edits of values may mark the font without changing it; resets, undo, redo
            // and the view never do.
            bool mayMark = true;
            const int kind = static_cast<int>(random() % 6);
            if (kind == 0) {
                // Any field but Number, the first by id.
                act(std::next(kNames.begin(), static_cast<int>(1 + random() % 8))->first,
                    pick(values));
            } else if (kind == 1) {
                act(pick(kArrows), values[random() % 8]);
            } else if (kind == 2) {
                act(IDC_RESET_ELEMENT + static_cast<int>(random() % 9));
                mayMark = false;
            } else if (kind == 3) {
                const std::string file = std::array{"a.bmp", "b.bmp", "bad.bmp"}[random() % 3];
                act(IDM_IMPORT, file), log.clear();
                mayMark = file != "bad.bmp";  // refused
            } else {
                const int id = pick(kCommands);
                // Several presses in a row, as a key held down gives them.
                for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n)
                    act(id);
                mayMark = id <= IDM_HIGHER && id >= IDM_MOVE_LEFT;
            }
            emptyEdit = emptyEdit || (mayMark && document.buildSaveImage() == before);
        }
        walk(IDM_REDO);  // the sequence may end after an undo
        const std::vector<std::uint8_t> edited = document.buildSaveImage();
        const bool editedMark = document.isModified();
        const int undone = walk(IDM_UNDO);
        EXPECT_EQ(document.buildSaveImage(), loaded) << "round " << round;
        if (!emptyEdit) {
            ++checkedMarks;
            EXPECT_FALSE(document.isModified()) << "round " << round;
        }
        const int redone = walk(IDM_REDO);  // before the rest is read
        EXPECT_EQ(listed(redone, document.buildSaveImage() == edited, document.isModified(),
                         menuTexts[IDM_UNDO].substr(0, 1), menuTexts[IDM_REDO]),
                  listed(undone, true, editedMark, undone > 0 ? "U" : "~", "~Redo [Ctrl+Y]"))
            << "round " << round;
    }
    EXPECT_GT(checkedMarks, 5);
}

TEST_F(HistoryTest, HeldKeysArrowClicksAndDragsMergeAndAnythingBetweenStartsANewStep) {
    openGrid();
    for (int i = 0; i < 30; ++i)
        act(IDM_MOVE_DOWN);
    EXPECT_EQ(entries(), "Undo Position Y of element 0 [Ctrl+Z] | ~Redo [Ctrl+Y]");
    EXPECT_EQ(step(IDM_UNDO), "Y0 draw");  // all thirty at once
    EXPECT_EQ(entries(), "~Undo [Ctrl+Z] | Redo Position Y of element 0 [Ctrl+Y]");
    EXPECT_EQ(step(IDM_REDO), "Y30 draw *");
    // Alternating keys, another key or a non-edit between, or another element: new steps.
    for (const int id : {IDM_MOVE_RIGHT, IDM_MOVE_LEFT, IDM_MOVE_RIGHT, IDM_ZOOM_IN, IDM_MOVE_RIGHT,
                         IDM_WIDER, IDM_WIDER, IDM_NEXT_ELEMENT, IDM_WIDER})
        act(id);
    EXPECT_EQ(listed(window.history().size(), menuTexts[IDM_UNDO]),
              "7 Undo Width of element 1 [Ctrl+Z] ");
    EXPECT_EQ(step(IDM_UNDO), "W6 draw *");
    EXPECT_EQ(step(IDM_UNDO), "DX-3 DY-2 N0 X4 Y30 c0 draw *");  // both Wider at once
    EXPECT_EQ(document.configs[0].width, 6);
    // Arrow clicks on one field merge, also up and back down, which leaves no step at all.
    act(IDM_NEXT_ELEMENT);
    const std::size_t steps = window.history().size();
    for (const char* position : {"2", "3", "2", "1"})
        act(IDC_HEIGHT_ARROWS, position);
    EXPECT_EQ(step(IDC_HEIGHT_ARROWS, "4"), "draw *");  // back where it was: no step left
    EXPECT_EQ(window.history().size(), steps - 2);      // and the two undone ones are gone
    EXPECT_EQ(entries(), "Undo Position X of element 0 [Ctrl+Z] | ~Redo [Ctrl+Y]");
    // A typical move step is small.
    EXPECT_LT(window.history().memoryUsed() / window.history().size(), 200u);
    // A drag is one step, a cancelled one leaves nothing and a command ends it.
    openGrid();
    std::int32_t out = 0;
    window.beginGesture(IDC_POS_Y, false);
    for (std::int32_t y = 1; y < 8; ++y)
        document.setY(y, out);
    window.frame([&] { window.finishGesture(); });  // as the button's release arrives
    EXPECT_EQ(listed(window.history().size(), document.isModified(), menuTexts[IDM_UNDO]),
              "1 1 Undo Position Y of element 0 [Ctrl+Z] ");
    window.beginGesture(IDC_POS_X, true);
    document.setX(40, out);
    document.importSlots[0].imported = 1;
    window.cancelGesture();  // Escape: back where it started
    EXPECT_EQ(
        listed(document.configs[0].x, document.importSlots[0].imported, window.history().size()),
        "0 0 1 ");
    window.beginGesture(IDC_POS_X, false);
    document.setX(0, out);  // stores the same value: nothing to record, nothing marked
    window.finishGesture();
    act(IDM_UNDO);
    EXPECT_FALSE(document.isModified());
    window.beginGesture(IDC_POS_X, false);
    document.setX(10, out);
    act(IDM_MOVE_DOWN);  // ends the drag as its own step first
    EXPECT_EQ(listed(window.history().size(), menuTexts[IDM_UNDO]),
              "2 Undo Position Y of element 0 [Ctrl+Z] ");
    act(IDM_UNDO);
    EXPECT_EQ(menuTexts[IDM_UNDO], "Undo Position X of element 0 [Ctrl+Z]");
}

TEST_F(HistoryTest, TheSavePointDecidesTheMarkAndImportsAndResetsComeBackWithTheirImage) {
    const std::filesystem::path font = openGrid();
    act(IDM_MOVE_RIGHT), act(IDM_SAVE), act(IDC_DISPLAY_X, "9");
    EXPECT_EQ(step(IDM_UNDO), "DX-3 draw");  // back at the save: nothing unsaved
    EXPECT_EQ(titles.back(), "grid.geo - ZT9 font editor");
    EXPECT_EQ(step(IDM_EXIT), "destroy;");
    EXPECT_EQ(step(IDM_UNDO), "X0 draw *");  // behind the save
    EXPECT_EQ(titles.back(), "*grid.geo - ZT9 font editor");
    EXPECT_EQ(step(IDM_REDO), "X2 draw");
    EXPECT_EQ(step(IDM_REDO), "DX9 draw *");
    // An edit that stores the same value marks the font, and undo does not take that back.
    act(IDM_UNDO);
    EXPECT_EQ(step(IDC_POS_X, "2"), "draw *");
    EXPECT_EQ(menuTexts[IDM_REDO], "Redo Display pos X of element 0 [Ctrl+Y]");  // no new step
    answers = "n";
    EXPECT_EQ(step(IDM_EXIT), "beep; ask Quit: Save changes?; destroy; *");
    // A new edit after an undo cuts the undone steps off, the save point with them.
    act(IDM_UNDO), act(IDM_MOVE_DOWN);
    EXPECT_EQ(listed(menuTexts[IDM_REDO], window.history().size()), "~Redo [Ctrl+Y] 1 ");
    EXPECT_EQ(step(IDM_UNDO), "Y0 draw *");  // the saved state is out of reach now
    EXPECT_EQ(readBytes(font).at(24), 2);    // x as saved
    // Loading clears the history; a load refused before the font is touched keeps it.
    act(IDM_REDO);
    act(IDM_LOAD, "missing.geo");  // not saved first: the answer is No
    EXPECT_EQ(menuTexts[IDM_UNDO], "Undo Position Y of element 0 [Ctrl+Z]");
    write("not.geo", std::vector<std::uint8_t>(31000, 7));
    act(IDM_LOAD, "not.geo"), log.clear();
    EXPECT_EQ(listed(entries(), window.history().size()), "~Undo [Ctrl+Z] | ~Redo [Ctrl+Y] 0 ");
    EXPECT_EQ(step(IDM_UNDO), "");  // without a font: nothing but the repaint
    act(IDM_MOVE_RIGHT), act(IDM_LOAD, "grid.geo");
    EXPECT_EQ(listed(window.history().size(), document.isModified(), menuTexts[IDM_UNDO]),
              "0 0 ~Undo [Ctrl+Z] ");
    // Imports and resets come back with their image and check mark.
    openGrid();
    write("a.bmp", BmpBuilder(9, 3, 4).withDistinctPalette().build());
    write("wide.bmp", BmpBuilder(256, 2, 4).withDistinctPalette().build());
    act(IDM_NEXT_ELEMENT);
    const ImportSlot none = document.importSlots[1];
    act(IDM_IMPORT, "a.bmp");
    const ImportSlot imported = document.importSlots[1];
    const std::vector<std::uint8_t> withImage = document.buildSaveImage();
    // The refused import and the reset that changes nothing leave no step.
    act(IDM_IMPORT, "wide.bmp"), act(IDM_RESET_IMPORT), act(IDM_PREVIOUS_ELEMENT);
    act(IDC_RESET_POS_X), log.clear();
    EXPECT_EQ(menuTexts[IDM_UNDO], "Undo reset import of element 1 [Ctrl+Z]");
    EXPECT_EQ(step(IDM_UNDO), "DX-2 DY-1 H2 N1 RH3 RW10 W9 X6 c1 r1 draw *");
    EXPECT_TRUE(document.importSlots[1] == imported && document.buildSaveImage() == withImage);
    EXPECT_EQ(menuTexts[IDM_UNDO], "Undo import into element 1 [Ctrl+Z]");
    EXPECT_EQ(step(IDM_UNDO), "H4 RH5 RW7 W6 r0 draw");
    EXPECT_TRUE(document.importSlots[1] == none);
    EXPECT_EQ(menuTexts[IDM_REDO], "Redo import into element 1 [Ctrl+Y]");
    // Reset Config finds nothing more to reset after Reset X.
    act(IDM_REDO), act(IDM_NEXT_ELEMENT), act(IDC_POS_X, "40"), act(IDC_RESET_POS_X);
    act(IDM_RESET_CONFIG);
    EXPECT_EQ(menuTexts[IDM_UNDO], "Undo reset of Position X of element 2 [Ctrl+Z]");
    act(IDC_HEIGHT, "9"), act(IDM_RESET_CONFIG);
    EXPECT_EQ(menuTexts[IDM_UNDO], "Undo reset of element 2 [Ctrl+Z]");
}

}  // namespace
}  // namespace zt9::test
