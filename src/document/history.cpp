#include "document/history.h"

#include <utility>

namespace zt9 {
namespace {

// The configuration values a save writes back; the rest is scratch or display.
void copySavedValues(const ElementConfig& from, ElementConfig& to) {
    to.x = from.x;
    to.y = from.y;
    to.width = from.width;
    to.height = from.height;
    to.displayX = from.displayX;
    to.displayY = from.displayY;
    to.resizeWidth = from.resizeWidth;
    to.resizeHeight = from.resizeHeight;
}

bool sameSavedValues(const ElementConfig& a, const ElementConfig& b) {
    ElementConfig saved = b;
    copySavedValues(a, saved);
    return saved == b;
}

}  // namespace

History::Before History::snapshot(const GeoDocument& document, std::uint32_t element,
                                  bool withImage) {
    Before before;
    before.element = element;
    before.config = document.configs.at(element);
    if (withImage)
        before.image = std::make_unique<ImportSlot>(document.importSlots.at(element));
    return before;
}

void History::restore(GeoDocument& document, const Before& before) {
    copySavedValues(before.config, document.configs.at(before.element));
    if (before.image)
        document.importSlots.at(before.element) = *before.image;
}

std::size_t History::cost(const Step& step) {
    std::size_t bytes = sizeof(Step);
    if (step.image)
        bytes += sizeof(ImportSlot) + step.image->pixels.capacity();
    return bytes;
}

void History::swapInto(GeoDocument& document, Step& step) {
    // The image the step holds changes sides, and with it what the step costs.
    memory_ -= cost(step);
    ElementConfig& config = document.configs.at(step.element);
    const ElementConfig present = config;
    copySavedValues(step.config, config);
    copySavedValues(present, step.config);
    if (step.image)
        std::swap(*step.image, document.importSlots.at(step.element));
    memory_ += cost(step);
}

bool History::mergesInto(std::uint32_t element, int mergeKey, std::uint64_t serial) const {
    if (mergeKey == 0 || position_ == 0 || position_ != steps_.size() || savePoint_ == position_)
        return false;
    const Step& last = steps_.back();
    return last.element == element && last.mergeKey == mergeKey && last.serial + 1 == serial;
}

bool History::record(const GeoDocument& document, Before before, int action, int mergeKey,
                     std::uint64_t serial) {
    const std::uint32_t element = before.element;
    const ElementConfig& config = document.configs.at(element);
    const ImportSlot& slot = document.importSlots.at(element);
    // An image that came back unchanged is not kept.
    if (before.image && *before.image == slot)
        before.image.reset();
    const bool changed = before.image || !sameSavedValues(before.config, config);

    if (mergesInto(element, mergeKey, serial)) {
        Step& last = steps_.back();
        last.serial = serial;
        // A run that ends where it started (arrows up, then down) leaves nothing to undo.
        if (!last.image && sameSavedValues(last.config, config)) {
            memory_ -= cost(last);
            steps_.pop_back();
            --position_;
        }
        return changed;
    }
    if (!changed)
        return false;

    dropRedoSteps();
    Step step{element, action, mergeKey, serial, before.config, std::move(before.image)};
    memory_ += cost(step);
    steps_.push_back(std::move(step));
    ++position_;
    dropOldestBeyondLimit();
    return true;
}

void History::dropRedoSteps() {
    while (steps_.size() > position_) {
        memory_ -= cost(steps_.back());
        steps_.pop_back();
    }
    if (savePoint_ != kUnreachable && savePoint_ > position_)
        savePoint_ = kUnreachable;
}

void History::dropOldestBeyondLimit() {
    // The newest step always stays, however large.
    while (memory_ > limit_ && steps_.size() > 1) {
        memory_ -= cost(steps_.front());
        steps_.pop_front();
        --position_;
        if (savePoint_ != kUnreachable)
            savePoint_ = savePoint_ == 0 ? kUnreachable : savePoint_ - 1;
    }
}

std::optional<std::uint32_t> History::undo(GeoDocument& document) {
    if (position_ == 0)
        return std::nullopt;
    Step& step = steps_[position_ - 1];
    swapInto(document, step);
    --position_;
    return step.element;
}

std::optional<std::uint32_t> History::redo(GeoDocument& document) {
    if (position_ == steps_.size())
        return std::nullopt;
    Step& step = steps_[position_];
    swapInto(document, step);
    ++position_;
    return step.element;
}

std::optional<History::Label> History::nextUndo() const {
    if (position_ == 0)
        return std::nullopt;
    const Step& step = steps_[position_ - 1];
    return Label{step.action, step.element};
}

std::optional<History::Label> History::nextRedo() const {
    if (position_ == steps_.size())
        return std::nullopt;
    const Step& step = steps_[position_];
    return Label{step.action, step.element};
}

void History::markSaved() {
    savePoint_ = position_;
    markedWithoutChange_ = false;
}

void History::clear(bool modified) {
    steps_.clear();
    position_ = 0;
    memory_ = 0;
    savePoint_ = modified ? kUnreachable : 0;
    markedWithoutChange_ = false;
}

}  // namespace zt9
