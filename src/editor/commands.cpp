#include <algorithm>
#include <array>
#include <limits>

#include "editor/field_number.h"
#include "editor/main_window.h"
#include "editor/texts.h"
#include "resources/resource.h"

namespace zt9 {

namespace {

// The keyboard moves and resizes: which field the current value is read from, the step,
// and the document operation that takes the new value.
struct MoveKey {
    int id;
    int field;
    std::int32_t step;
    FieldCode (GeoDocument::*operation)(std::int32_t, std::int32_t&);
};
constexpr std::array kMoveKeys{
    MoveKey{IDM_MOVE_LEFT, IDC_POS_X, -2, &GeoDocument::setX},
    MoveKey{IDM_MOVE_RIGHT, IDC_POS_X, 2, &GeoDocument::setX},
    MoveKey{IDM_MOVE_UP, IDC_POS_Y, -1, &GeoDocument::setY},
    MoveKey{IDM_MOVE_DOWN, IDC_POS_Y, 1, &GeoDocument::setY},
    MoveKey{IDM_NARROWER, IDC_WIDTH, -1, &GeoDocument::setWidth},
    MoveKey{IDM_WIDER, IDC_WIDTH, 1, &GeoDocument::setWidth},
    MoveKey{IDM_LOWER, IDC_HEIGHT, -1, &GeoDocument::setHeight},
    MoveKey{IDM_HIGHER, IDC_HEIGHT, 1, &GeoDocument::setHeight},
};

}  // namespace

std::optional<int> MainWindow::askForFile(FileFilter filter, bool save, const char* title,
                                          const std::filesystem::path& proposed, int filterIndex) {
    const std::optional<FileChoice> choice = modal([&] {
        return screen_.chooseFile({.save = save,
                                   .filter = filter,
                                   .title = title == nullptr ? "" : title,
                                   .fileName = proposed,
                                   .filterIndex = filterIndex});
    });
    if (!choice)
        return std::nullopt;
    fileName = choice->fileName;
    return choice->filterIndex;
}

std::span<const CommandEntry> MainWindow::commands() {
    // Defined here, inside a member, so the table may name the private handlers.
    static constexpr std::array kCommands{
        CommandEntry{IDM_LOAD, false, &MainWindow::load},
        CommandEntry{IDM_SAVE, true, &MainWindow::save},
        CommandEntry{IDM_SAVE_AS, true, &MainWindow::saveAs},
        CommandEntry{IDM_NEXT_ELEMENT, true, &MainWindow::stepElement},
        CommandEntry{IDM_PREVIOUS_ELEMENT, true, &MainWindow::stepElement},
        CommandEntry{IDM_ZOOM_IN, true, &MainWindow::zoom},
        CommandEntry{IDM_ZOOM_OUT, true, &MainWindow::zoom},
        CommandEntry{IDM_FULL_PICTURE, false, &MainWindow::selectViewMode},
        CommandEntry{IDM_PICTURE_ELEMENT, false, &MainWindow::selectViewMode},
        CommandEntry{IDM_TOGGLE_VIEW, true, &MainWindow::toggleViewMode},
        CommandEntry{IDM_EXIT, false, &MainWindow::exit},
        CommandEntry{IDM_TRANSPARENCY, true, &MainWindow::toggleTransparency},
        CommandEntry{IDM_GRID, true, &MainWindow::toggleGrid},
        CommandEntry{IDM_MOVE_LEFT, true, &MainWindow::moveOrResize},
        CommandEntry{IDM_MOVE_UP, true, &MainWindow::moveOrResize},
        CommandEntry{IDM_MOVE_RIGHT, true, &MainWindow::moveOrResize},
        CommandEntry{IDM_MOVE_DOWN, true, &MainWindow::moveOrResize},
        CommandEntry{IDM_NARROWER, true, &MainWindow::moveOrResize},
        CommandEntry{IDM_LOWER, true, &MainWindow::moveOrResize},
        CommandEntry{IDM_WIDER, true, &MainWindow::moveOrResize},
        CommandEntry{IDM_HIGHER, true, &MainWindow::moveOrResize},
        CommandEntry{IDM_NEXT_COLOR, true, &MainWindow::nextColor},
        CommandEntry{IDM_RESET_CONFIG, true, &MainWindow::resetConfig},
        CommandEntry{IDM_IMPORT, true, &MainWindow::importImage},
        CommandEntry{IDM_EXPORT, true, &MainWindow::exportImage},
        CommandEntry{IDM_RESET_IMPORT, true, &MainWindow::resetImportCommand},
        CommandEntry{IDM_UNDO, true, &MainWindow::undoOrRedo},
        CommandEntry{IDM_REDO, true, &MainWindow::undoOrRedo},
        CommandEntry{IDM_TOOL_PENCIL, true, &MainWindow::chooseTool},
        CommandEntry{IDM_TOOL_FILL, true, &MainWindow::chooseTool},
        CommandEntry{IDM_TOOL_PICKER, true, &MainWindow::chooseTool},
        CommandEntry{IDM_COPY_IMAGE, true, &MainWindow::copyImage},
        CommandEntry{IDM_PASTE_IMAGE, true, &MainWindow::pasteImage},
        CommandEntry{IDM_ABOUT, false, &MainWindow::about},
    };
    return kCommands;
}

void MainWindow::command(int id, std::intptr_t param) {
    finishGesture();
    ++actionSerial_;
    const std::span<const CommandEntry> table = commands();
    const auto entry = std::find_if(table.begin(), table.end(),
                                    [id](const CommandEntry& e) { return e.id == id; });
    if (entry != table.end() && (!entry->needsDocument || view.documentLoaded != 0))
        (this->*entry->run)(id, param);
    // Every command that did not fail ends with a repaint of what it changed.
    showChanges();
}

void MainWindow::load(int /*id*/, std::intptr_t param) {
    if (!settleUnsavedEdits(text::kSaveCaption))
        return;
    if (param != 1 && !askForFile(FileFilter::geo, false, {}, fileName))
        return;
    // A file that cannot be read or has the wrong size leaves the open font as it was.
    document_.loadFile(fileName, view.documentLoaded != 0);
    // The open font is gone from here on, refused or not, and its steps with it.
    history_.clear(false);
    documentPath = fileName;
    if (const error refused = document_.checkHeader(); refused.domain != 0) {
        clearView();
        resetView();
        throw error(refused);
    }
    lastElementNumber = document_.parseElements();
    if (const error refused = document_.checkElements(); refused.domain != 0) {
        document_.closeDocument();
        clearView();
        resetView();
        throw error(refused);
    }
    screen_.setNumberRange(lastElementNumber & 0xFFFFu);
    if (view.documentLoaded == 0) {
        screen_.enablePanel(true);
        screen_.enableDocumentMenus(true);
    }
    view.documentLoaded = 1;
    panelConfig = document_.currentConfig(elementImported);
    resetView();
}

void MainWindow::save(int /*id*/, std::intptr_t /*param*/) {
    fileName = documentPath;
    document_.clearError();
    document_.saveFile(fileName);
    history_.markSaved();
}

void MainWindow::saveAs(int /*id*/, std::intptr_t /*param*/) {
    fileName = documentPath;
    if (!askForFile(FileFilter::geo, true, {}, fileName))
        return;
    document_.clearError();
    // The loaded font's path stays: a later "Save geo file" writes there again.
    document_.saveFile(fileName);
    history_.markSaved();
}

void MainWindow::stepElement(int id, std::intptr_t /*param*/) {
    if (id == IDM_NEXT_ELEMENT)
        document_.nextElement();
    else
        document_.previousElement();
    showCurrentElement();
}

void MainWindow::showCurrentElement() {
    writeField(IDC_NUMBER, static_cast<std::int32_t>(document_.currentElement));
    panelConfig = document_.currentConfig(elementImported);
    showElementInPanel();
    render();
}

void MainWindow::zoom(int id, std::intptr_t /*param*/) {
    // Only the stretch changes; the top-left picture pixel stays in the corner.
    const std::uint32_t zoom = id == IDM_ZOOM_IN ? document_.zoomIn() : document_.zoomOut();
    applyZoom(static_cast<std::int32_t>(zoom), {}, true);
}

void MainWindow::selectViewMode(int id, std::intptr_t /*param*/) {
    screen_.checkViewMode(id);
    view.viewMode = id == IDM_PICTURE_ELEMENT ? kPictureElement : kFullPicture;
    render();
}

void MainWindow::toggleViewMode(int /*id*/, std::intptr_t /*param*/) {
    view.viewMode = view.viewMode == kFullPicture ? kPictureElement : kFullPicture;
    screen_.checkViewMode(view.viewMode == kPictureElement ? IDM_PICTURE_ELEMENT
                                                           : IDM_FULL_PICTURE);
    render();
}

void MainWindow::toggleTransparency(int /*id*/, std::intptr_t /*param*/) {
    if (view.transparency == 1) {
        screen_.checkMenuItem(IDM_TRANSPARENCY, false);
        view.transparency = 0;
    } else {
        screen_.checkMenuItem(IDM_TRANSPARENCY, true);
        view.transparency += 1;
    }
    render();
}

void MainWindow::toggleGrid(int /*id*/, std::intptr_t /*param*/) {
    grid_ = !grid_;
    screen_.checkMenuItem(IDM_GRID, grid_);
}

void MainWindow::exit(int /*id*/, std::intptr_t /*param*/) {
    close();
}

void MainWindow::moveOrResize(int id, std::intptr_t /*param*/) {
    const auto* key = std::find_if(kMoveKeys.begin(), kMoveKeys.end(),
                                   [id](const MoveKey& k) { return k.id == id; });
    // The value the field shows is where the step starts; text that is not a number reads
    // as 0, and a decrease never goes below that.
    const std::int32_t shown = readFieldNumber(readField(key->field), false);
    requestedValue = shown;
    if (key->step < 0 && shown == 0)
        return;
    requestedValue = static_cast<std::int32_t>(std::min<std::int64_t>(
        std::int64_t{shown} + key->step, std::numeric_limits<std::int32_t>::max()));
    // A run of the same key on the same element is one step.
    edit(key->field, key->id, false, true,
         [&] { clampCode = (document_.*key->operation)(requestedValue, clampedValue); });
    showClamp(key->field);
}

void MainWindow::nextColor(int /*id*/, std::intptr_t /*param*/) {
    // Entries 0 to 3 follow each other in a ring; with no entry selected (-1) the first
    // press selects entry 0.
    const int selected = screen_.selectedColor();
    const int next = selected >= 0 && selected < 3 ? selected + 1 : 0;
    document_.setColorIndex(next);
    screen_.selectColor(next);
    if (view.viewMode == kPictureElement && view.transparency != 0)
        render();
}

void MainWindow::resetConfig(int /*id*/, std::intptr_t /*param*/) {
    resetElement();
}

void MainWindow::about(int /*id*/, std::intptr_t /*param*/) {
    modal([&] { screen_.showMessage(text::kAbout, text::kAboutCaption); });
}

}  // namespace zt9
