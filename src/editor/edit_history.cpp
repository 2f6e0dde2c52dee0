// Edits as steps of the history, Undo and Redo, and the Edit menu entries that name them.
#include <algorithm>
#include <utility>

#include "editor/main_window.h"
#include "resources/resource.h"

namespace zt9 {

void MainWindow::edit(int action, int mergeKey, bool withImage, bool keepsEmptyMark,
                      const std::function<void()>& change) {
    finishGesture();
    History::Before before = History::snapshot(document_, document_.currentElement, withImage);
    // The element rules set the mark; cleared first, it tells whether this edit set it.
    document_.modified = 0;
    const auto settle = [&] {
        const bool marked = document_.isModified();
        const bool changed =
            history_.record(document_, std::move(before), action, mergeKey, actionSerial_);
        if (!changed && marked && keepsEmptyMark)
            history_.noteMarkedWithoutChange();
        document_.modified = history_.modified() ? 1 : 0;
    };
    try {
        change();
    } catch (...) {
        settle();
        throw;
    }
    settle();
}

void MainWindow::beginGesture(int action, bool withImage) {
    finishGesture();
    gesture_ = Gesture{History::snapshot(document_, document_.currentElement, withImage), action};
    ++actionSerial_;
}

void MainWindow::finishGesture() {
    if (!gesture_)
        return;
    Gesture gesture = std::move(*gesture_);
    gesture_.reset();
    history_.record(document_, std::move(gesture.before), gesture.action, 0, actionSerial_);
    document_.modified = history_.modified() ? 1 : 0;
}

void MainWindow::cancelGesture() {
    if (!gesture_)
        return;
    History::restore(document_, gesture_->before);
    gesture_.reset();
    document_.modified = history_.modified() ? 1 : 0;
}

void MainWindow::undoOrRedo(int id, std::intptr_t /*param*/) {
    const std::optional<std::uint32_t> element =
        id == IDM_UNDO ? history_.undo(document_) : history_.redo(document_);
    document_.modified = history_.modified() ? 1 : 0;
    if (!element)
        return;
    // The element that changed back becomes the current one, shown whole in the panel.
    document_.currentElement = *element;
    showCurrentElement();
}

std::string MainWindow::stepText(const History::Label& label) {
    // Actions named by their own words; the panel's fields by their names.
    static constexpr std::pair<int, const char*> kNamed[] = {
        {IDM_IMPORT, "import into"},     {IDM_RESET_IMPORT, "reset import of"},
        {IDC_RESET_ELEMENT, "reset of"}, {IDM_TOOL_PENCIL, "pencil on"},
        {IDM_TOOL_FILL, "fill of"},      {STEP_DRAG_MOVE, "move of"},
        {STEP_DRAG_RESIZE, "resize of"}, {IDM_PASTE_IMAGE, "paste into"}};
    const auto* named =
        std::ranges::find(kNamed, label.action, &std::pair<int, const char*>::first);
    std::string text;
    if (named != std::ranges::end(kNamed)) {
        text = named->second;
    } else if (label.action >= kColorAction && label.action < kColorAction + kPaletteEntries) {
        text = "colour " + std::to_string(label.action - kColorAction) + " of";
    } else if (const char* name = fieldName(label.action)) {
        text = label.action >= IDC_RESET_ELEMENT ? "reset of " : "";
        text.append(name).append(" of");
    } else {
        text = "edit of";
    }
    return text.append(" element ").append(std::to_string(label.element));
}

void MainWindow::showHistoryEntries() {
    // A menu entry is only touched when its text or state changes.
    const auto show = [&](int id, const char* verb, const std::optional<History::Label>& step,
                          const char* key, std::string& shown) {
        std::string text = verb;
        if (step)
            text.append(" ").append(stepText(*step));
        text.append(" [").append(key).append("]");
        if (text + (step ? "" : "~") == shown)
            return;
        screen_.setMenuItem(id, text, step.has_value());
        shown = text + (step ? "" : "~");
    };
    const bool open = view.documentLoaded != 0;
    show(IDM_UNDO, "Undo", open ? history_.nextUndo() : std::nullopt, "Ctrl+Z", shownUndo_);
    show(IDM_REDO, "Redo", open ? history_.nextRedo() : std::nullopt, "Ctrl+Y", shownRedo_);
}

}  // namespace zt9
