#include "editor/picture_viewport.h"

#include <algorithm>

namespace zt9 {
namespace {

// Far beyond any window or picture, yet small enough that no product below can overflow.
constexpr std::int64_t kFar = std::int64_t{1} << 40;

std::int64_t limited(std::int64_t value) {
    return std::clamp(value, -kFar, kFar);
}

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return value % divisor != 0 && value < 0 ? quotient - 1 : quotient;
}

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    const PixelRect both{std::max(a.left, b.left), std::max(a.top, b.top),
                         std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return both.empty() ? PixelRect{} : both;
}

}  // namespace

void PictureViewport::setRoom(std::int64_t width, std::int64_t height, std::int32_t barWidth,
                              std::int32_t barHeight) {
    roomWidth_ = std::clamp<std::int64_t>(width, 0, kFar);
    roomHeight_ = std::clamp<std::int64_t>(height, 0, kFar);
    barWidth_ = std::max(barWidth, 0);
    barHeight_ = std::max(barHeight, 0);
    relayout();
}

void PictureViewport::setFrame(const ElementConfig& shownFrame) {
    columns_ = std::clamp(shownFrame.width, 0, kSurfaceWidth);
    rows_ = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{shownFrame.height} + 1, 0, kSurfaceHeight));
    originX_ = shownFrame.x;
    originY_ = shownFrame.y;
    relayout();
}

void PictureViewport::relayout() {
    // A bar takes room from the other direction, so one bar can make the other necessary.
    const std::int64_t width = pictureWidth();
    const std::int64_t height = pictureHeight();
    acrossBar_ = width > roomWidth_;
    downBar_ = height > roomHeight_ - (acrossBar_ ? barHeight_ : 0);
    acrossBar_ = width > roomWidth_ - (downBar_ ? barWidth_ : 0);
    downBar_ = height > roomHeight_ - (acrossBar_ ? barHeight_ : 0);
    viewWidth_ = std::max<std::int64_t>(roomWidth_ - (downBar_ ? barWidth_ : 0), 0);
    viewHeight_ = std::max<std::int64_t>(roomHeight_ - (acrossBar_ ? barHeight_ : 0), 0);
    scrollTo(scrollX_, scrollY_);
}

void PictureViewport::zoomAbout(std::int32_t zoom, WindowPoint anchor) {
    const std::int32_t before = zoom_;
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    // The anchor's place inside its enlarged pixel scales with the pixel, so the same
    // picture pixel lies under the anchor at the new zoom.
    const auto keep = [&](std::int64_t at, std::int64_t scrolled) {
        const std::int64_t enlarged = limited(at) + scrolled;
        const std::int64_t pixel = floorDivide(enlarged, before);
        const std::int64_t inside = enlarged - pixel * before;
        return pixel * zoom_ + inside * zoom_ / before - limited(at);
    };
    const std::int64_t x = keep(anchor.x, scrollX_);
    const std::int64_t y = keep(anchor.y, scrollY_);
    relayout();
    scrollTo(x, y);
}

void PictureViewport::scrollTo(std::int64_t x, std::int64_t y) {
    scrollX_ =
        std::clamp<std::int64_t>(x, 0, std::max<std::int64_t>(pictureWidth() - viewWidth_, 0));
    scrollY_ =
        std::clamp<std::int64_t>(y, 0, std::max<std::int64_t>(pictureHeight() - viewHeight_, 0));
}

void PictureViewport::scroll(ScrollAxis axis, ScrollAction action, std::int64_t position) {
    const bool across = axis == ScrollAxis::across;
    const std::int64_t now = across ? scrollX_ : scrollY_;
    const std::int64_t page = across ? viewWidth_ : viewHeight_;
    const std::int64_t to = [&] {
        switch (action) {
            case ScrollAction::lineBack:
                return now - lineStep();
            case ScrollAction::lineForward:
                return now + lineStep();
            case ScrollAction::pageBack:
                return now - page;
            case ScrollAction::pageForward:
                return now + page;
            case ScrollAction::to:
                return limited(position);
            case ScrollAction::start:
                return std::int64_t{0};
            case ScrollAction::end:
                return kFar;
        }
        return now;
    }();
    scrollTo(across ? to : scrollX_, across ? scrollY_ : to);
}

void PictureViewport::scrollLines(std::int64_t across, std::int64_t down) {
    // A whole picture is a few hundred lines at most: more only pins the position.
    constexpr std::int64_t kManyLines = 1 << 20;
    scrollTo(scrollX_ + std::clamp(across, -kManyLines, kManyLines) * lineStep(),
             scrollY_ + std::clamp(down, -kManyLines, kManyLines) * lineStep());
}

std::int64_t PictureViewport::lineStep() const {
    return std::int64_t{zoom_} * ((16 + zoom_ - 1) / zoom_);
}

ScrollBar PictureViewport::horizontal() const {
    if (!acrossBar_)
        return {};
    return {true, pictureWidth(), viewWidth_, scrollX_, {0, viewHeight_, viewWidth_, roomHeight_}};
}

ScrollBar PictureViewport::vertical() const {
    if (!downBar_)
        return {};
    return {true, pictureHeight(), viewHeight_, scrollY_, {viewWidth_, 0, roomWidth_, viewHeight_}};
}

PicturePixel PictureViewport::pixelAt(WindowPoint point) const {
    PicturePixel pixel;
    pixel.column = floorDivide(limited(point.x) + scrollX_, zoom_);
    pixel.row = floorDivide(limited(point.y) + scrollY_, zoom_);
    pixel.x = pixel.column + originX_;
    pixel.y = pixel.row + originY_;
    pixel.inFrame =
        pixel.column >= 0 && pixel.column < columns_ && pixel.row >= 0 && pixel.row < rows_;
    pixel.inView = point.x >= 0 && point.x < viewWidth_ && point.y >= 0 && point.y < viewHeight_;
    return pixel;
}

PixelRect PictureViewport::windowRectOf(std::int64_t x, std::int64_t y) const {
    const std::int64_t left = (limited(x) - originX_) * zoom_ - scrollX_;
    const std::int64_t top = (limited(y) - originY_) * zoom_ - scrollY_;
    return {left, top, left + zoom_, top + zoom_};
}

PixelRect PictureViewport::visibleWindowRect(const PixelRect& frame) const {
    const PixelRect enlarged{
        limited(frame.left) * zoom_ - scrollX_, limited(frame.top) * zoom_ - scrollY_,
        limited(frame.right) * zoom_ - scrollX_, limited(frame.bottom) * zoom_ - scrollY_};
    return intersect(enlarged, paintPlan(false).picture);
}

PaintPlan PictureViewport::paintPlan(bool gridOn) const {
    PaintPlan plan;
    const std::int64_t shownWidth =
        std::clamp<std::int64_t>(pictureWidth() - scrollX_, 0, viewWidth_);
    const std::int64_t shownHeight =
        std::clamp<std::int64_t>(pictureHeight() - scrollY_, 0, viewHeight_);
    plan.picture = {0, 0, shownWidth, shownHeight};
    plan.sourceX = scrollX_;
    plan.sourceY = scrollY_;
    plan.rightMargin = {shownWidth, 0, viewWidth_, viewHeight_};
    plan.bottomMargin = {0, shownHeight, shownWidth, viewHeight_};
    if (acrossBar_ && downBar_)
        plan.corner = {viewWidth_, viewHeight_, roomWidth_, roomHeight_};
    plan.columns = columns_;
    plan.rows = rows_;
    plan.zoom = zoom_;
    plan.grid = gridOn && zoom_ >= kGridMinZoom;
    return plan;
}

}  // namespace zt9
