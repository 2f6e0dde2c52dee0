#include "editor/main_window.h"

#include <new>
#include <utility>

#include "editor/texts.h"
#include "editor/window_title.h"
#include "render/render.h"
#include "resources/resource.h"

namespace zt9 {

MainWindow::MainWindow(GeoDocument& document, Screen& screen)
    // The window is created with the program's name as its title.
    : document_(document), screen_(screen), shownTitle_(windowTitle({}, false)) {}

ElementConfig MainWindow::clearedPanelConfig() {
    ElementConfig config;
    config.width = 1;
    config.resizeWidth = 1;
    return config;
}

// --- Failure frames ---------------------------------------------------------------------

void MainWindow::showCaught(const std::function<void()>& show) noexcept {
    try {
        modal(show);
    } catch (...) {
        // Not even the message box could be shown; the program goes on regardless.
    }
}

void MainWindow::frame(const std::function<void()>& handler) {
    ++frameDepth_;
    try {
        handler();
    } catch (const error& caught) {
        const std::optional<std::string> message = messageText(caught);
        if (message)
            showCaught([&] { screen_.showError(*message); });
        document_.clearError();
    } catch (...) {
        showCaught([&] { screen_.showError(text::kUnknown); });
    }
    --frameDepth_;
    if (frameDepth_ == 0) {
        runDeferred();
        showFontState();
    }
}

void MainWindow::quietFrame(const std::function<void()>& handler) {
    ++frameDepth_;
    try {
        handler();
        quietFailure_ = false;
    } catch (const error& caught) {
        noteQuietFailure(messageText(caught).value_or(text::kUnknown));
    } catch (...) {
        noteQuietFailure(text::kUnknown);
    }
    --frameDepth_;
    if (frameDepth_ == 0)
        runDeferred();
}

void MainWindow::noteQuietFailure(std::string message) noexcept {
    // One report per run of failures: while it is pending or shown, and until a handler
    // succeeds again, repeated failures of the same paint stay silent.
    if (quietFailure_)
        return;
    quietFailure_ = true;
    failureText_ = std::move(message);
    screen_.postFailureReport();
}

void MainWindow::reportFailure() {
    if (failureText_.empty())
        return;
    const std::string message = std::exchange(failureText_, {});
    modal([&] { screen_.showError(message); });
    document_.clearError();
}

void MainWindow::showFontState() noexcept {
    if (destroyed_)
        return;
    try {
        std::filesystem::path title =
            windowTitle(view.documentLoaded != 0 ? documentPath : std::filesystem::path(),
                        document_.isModified());
        if (title.native() != shownTitle_.native()) {
            screen_.setTitle(title);
            shownTitle_ = std::move(title);
        }
        showHistoryEntries();
        showStatusParts();
        showDrawState();
    } catch (...) {
        // No memory for the texts: the old ones stay until the next action.
    }
}

void MainWindow::runOrDefer(std::function<void()> action) {
    if (modalDepth_ > 0) {
        deferred_.push_back(std::move(action));
        return;
    }
    action();
}

void MainWindow::runDeferred() {
    if (runningDeferred_)
        return;
    runningDeferred_ = true;
    while (!deferred_.empty() && modalDepth_ == 0 && !destroyed_) {
        std::function<void()> action = std::move(deferred_.front());
        deferred_.pop_front();
        frame(action);
    }
    runningDeferred_ = false;
}

// --- Creation and closing -----------------------------------------------------------------

void MainWindow::createSurfaces() {
    try {
        viewSurface_ = std::make_unique<Surface>();
        pictureSurface_ = std::make_unique<Surface>();
        invalidatedSurface_ = std::make_unique<Surface>();
        viewSurface_->fill(kMarginGrey);
    } catch (const std::bad_alloc&) {
        viewSurface_.reset();
        pictureSurface_.reset();
        invalidatedSurface_.reset();
        modal([&] { screen_.showError(text::kNoSurfaceMemory); });
    }
}

bool MainWindow::settleUnsavedEdits(const char* caption) {
    if (!document_.isModified())
        return true;
    screen_.beep();
    if (!modal([&] { return screen_.askYesNo(text::kSaveChanges, caption); }))
        return true;
    savedFileName = fileName;
    // The save runs as its own command: a failure is shown there, and then the unsaved
    // edits stop the caller.
    frame([&] { command(IDM_SAVE, 0); });
    fileName = savedFileName;
    return !document_.isModified();
}

void MainWindow::close() {
    if (destroyed_)
        return;
    // A close that arrives while a dialog or message box of a command is open (the window's
    // close button stays usable there) waits until that command has finished.
    runOrDefer([this] {
        if (!destroyed_ && settleUnsavedEdits(text::kQuitCaption))
            screen_.destroyWindow();
    });
}

bool MainWindow::queryEndSession() {
    // With a command's dialog open there is no asking now: the session may end only when
    // nothing would be lost.
    if (modalDepth_ > 0)
        return !document_.isModified();
    return settleUnsavedEdits(text::kQuitCaption);
}

void MainWindow::windowDestroyed() {
    destroyed_ = true;
    deferred_.clear();
}

// --- View messages ------------------------------------------------------------------------

void MainWindow::render() {
    if (view.documentLoaded == 0 || !viewSurface_)
        return;
    renderView(document_, view, *viewSurface_, *pictureSurface_);
    ++frameVersion_;
    viewport_.setFrame(view.shownFrame);
    showScrollBars();
}

void MainWindow::compose() {
    if (view.documentLoaded == 0 || !viewSurface_)
        return;
    composeView(document_, view, *viewSurface_, *pictureSurface_);
    ++frameVersion_;
}

void MainWindow::renderAndInvalidate() {
    render();
    showChanges();
}

void MainWindow::clearView() {
    // The whole surface goes grey and nothing is shown, so no row of the closed font can
    // appear again when the window grows.
    if (viewSurface_)
        viewSurface_->fill(kMarginGrey);
    view.shownFrame = {};
    ++frameVersion_;
    viewport_.setFrame(view.shownFrame);
    showScrollBars();
    showChanges();
    if (view.documentLoaded != 0) {
        screen_.enablePanel(false);
        screen_.enableDocumentMenus(false);
    }
    panelConfig = clearedPanelConfig();
    view.documentLoaded = 0;
}

void MainWindow::resetView() {
    elementImported = 0;
    draw_.lastPainted.reset();  // a Shift+click line never starts in another font
    view.viewMode = kFullPicture;
    view.transparency = 1;
    writeField(IDC_NUMBER, 0);
    writeAllFields();
    screen_.selectColor(0);
    screen_.checkMenuItem(IDM_RESET_IMPORT, false);
    screen_.checkViewMode(IDM_FULL_PICTURE);
    screen_.checkMenuItem(IDM_TRANSPARENCY, true);
    // The document's zoom follows the view's; a font refused by its header check is never
    // closed, so its zoom would otherwise survive into the next load.
    applyZoom(1, {}, true);
    render();
    showChanges();
}

}  // namespace zt9
