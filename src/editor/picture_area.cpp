// The picture area: its room in the window, the pointer over it, wheels, scroll bars and
// zoom, and the repaint requests that follow them.
#include <algorithm>
#include <cstdlib>

#include "editor/main_window.h"

namespace zt9 {
namespace {

constexpr std::int64_t kWheelLines = 3;  // scroll lines a notch moves, as the platform's default

}  // namespace

void MainWindow::setPictureRoom(std::int64_t width, std::int64_t height, std::int32_t barWidth,
                                std::int32_t barHeight) {
    viewport_.setRoom(width, height, barWidth, barHeight);
    showScrollBars();
    showChanges();
}

void MainWindow::pointerMoved(std::optional<WindowPoint> point) {
    pointer_ = point;
    showPointerState();
}

void MainWindow::wheel(const WheelTurn& turn) {
    pointer_ = turn.pointer;
    if (turn.control && !turn.sideways) {
        // Whole notches only, each one step of Ctrl+Up or Ctrl+Down; ten reach either end.
        const std::int64_t notches = wheelZoom_.add(turn.delta);
        if (notches == 0 || view.documentLoaded == 0)
            return;
        for (std::int64_t i = std::min<std::int64_t>(std::abs(notches), kMaxZoom); i > 0; --i)
            notches > 0 ? document_.zoomIn() : document_.zoomOut();
        applyZoom(static_cast<std::int32_t>(document_.zoom), turn.pointer, true);
    } else {
        const bool across = turn.sideways || turn.shift;
        const std::int64_t notches = (across ? wheelAcross_ : wheelDown_).add(turn.delta);
        // The wheel turned away from the user shows what lies above (Shift: to the left);
        // the horizontal wheel pushed right shows what lies to the right.
        const std::int64_t lines = (turn.sideways ? notches : -notches) * kWheelLines;
        viewport_.scrollLines(across ? lines : 0, across ? 0 : lines);
        showScrollBars();
    }
    showChanges();
    showPointerState();
}

void MainWindow::scrollBarMoved(ScrollAxis axis, ScrollAction action, std::int64_t position) {
    viewport_.scroll(axis, action, position);
    showScrollBars();
    showChanges();
    showPointerState();
}

void MainWindow::applyZoom(std::int32_t zoom, WindowPoint anchor, bool moveSlider) {
    view.viewZoom = zoom;
    document_.setZoom(static_cast<std::uint32_t>(zoom));
    if (moveSlider)
        screen_.setScale(zoom);
    viewport_.zoomAbout(zoom, anchor);
    showScrollBars();
}

void MainWindow::showScrollBars() {
    const ScrollBar across = viewport_.horizontal();
    const ScrollBar down = viewport_.vertical();
    if (across == shownAcross_ && down == shownDown_)
        return;
    shownAcross_ = across;
    shownDown_ = down;
    screen_.showScrollBars(across, down);
}

void MainWindow::showChanges() {
    const PaintPlan plan = paintPlan();
    if (!viewSurface_ || !invalidatedSurface_ || plan != invalidatedPlan_) {
        screen_.invalidate();
        invalidatedPlan_ = plan;
        if (viewSurface_ && invalidatedSurface_)
            *invalidatedSurface_ = *viewSurface_;
        return;
    }
    // The same picture in the same place: only the blocks of pixels that changed.
    const PixelRect changed =
        changedArea(*viewSurface_, *invalidatedSurface_, {0, 0, plan.columns, plan.rows});
    if (changed.empty())
        return;
    if (const PixelRect area = viewport_.visibleWindowRect(changed); !area.empty())
        screen_.invalidateRect(area);
    *invalidatedSurface_ = *viewSurface_;
}

}  // namespace zt9
