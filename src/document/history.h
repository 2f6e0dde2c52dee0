#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

#include "document/geo_document.h"

namespace zt9 {

// The undo history of the open font. Every edit changes one element, so a step keeps that
// element's saved state from the other side of the edit: its configuration (the values a
// save writes back) and, only when the edit changed it, its own image. Undo and redo swap
// that state with the element's present one, so a step always holds exactly what the next
// undo or redo puts back, and a state is never made up: it is one the element really had.
//
// The save point is a position in the history, so "modified" is a comparison rather than a
// flag every caller must keep. Display-only values (the colour of the element's background
// block, the current element, the view) are not part of any step.
class History {
  public:
    // An element's saved state before an edit, taken by `snapshot`.
    struct Before {
        std::uint32_t element = 0;
        ElementConfig config;
        std::unique_ptr<ImportSlot> image;  // only when the edit may change the image
    };

    // What a step names for the menus: the editor's code of the action and the element.
    struct Label {
        int action = 0;
        std::uint32_t element = 0;
    };

    // The default bound of the memory the steps hold; the oldest steps go beyond it.
    static constexpr std::size_t kDefaultLimit = std::size_t{32} << 20;

    static Before snapshot(const GeoDocument& document, std::uint32_t element, bool withImage);
    // Puts an element back in the state `before` holds (a gesture given up half way).
    static void restore(GeoDocument& document, const Before& before);

    // Records the edit that turned `before` into the element's present state. `serial`
    // numbers the user's actions: an edit with the same non-zero `mergeKey` on the same
    // element as the last step, made by the very next action, extends that step instead of
    // adding one (a key held down is one step). Returns false when nothing saved changed.
    bool record(const GeoDocument& document, Before before, int action, int mergeKey,
                std::uint64_t serial);

    // Put the element of the step before (after) the present position back; they return
    // that element, or nothing when there is no step to undo (redo).
    std::optional<std::uint32_t> undo(GeoDocument& document);
    std::optional<std::uint32_t> redo(GeoDocument& document);

    std::optional<Label> nextUndo() const;
    std::optional<Label> nextRedo() const;

    // The font counts as modified when the history stands away from the last save, or when
    // an edit since then marked it without changing what a save writes.
    bool modified() const { return savePoint_ != position_ || markedWithoutChange_; }
    void noteMarkedWithoutChange() { markedWithoutChange_ = true; }
    void markSaved();
    // Forgets every step. `modified` tells whether the font still has unsaved edits then.
    void clear(bool modified);

    void setLimit(std::size_t bytes) { limit_ = bytes; }
    std::size_t memoryUsed() const { return memory_; }
    std::size_t size() const { return steps_.size(); }

  private:
    struct Step {
        std::uint32_t element = 0;
        int action = 0;
        int mergeKey = 0;
        std::uint64_t serial = 0;
        ElementConfig config;
        std::unique_ptr<ImportSlot> image;
    };

    static std::size_t cost(const Step& step);
    void swapInto(GeoDocument& document, Step& step);
    bool mergesInto(std::uint32_t element, int mergeKey, std::uint64_t serial) const;
    void dropRedoSteps();
    void dropOldestBeyondLimit();

    static constexpr std::size_t kUnreachable = ~std::size_t{0};

    std::deque<Step> steps_;
    std::size_t position_ = 0;   // steps before it are done, from it on undone
    std::size_t savePoint_ = 0;  // the position of the last load or save, or kUnreachable
    bool markedWithoutChange_ = false;
    std::size_t memory_ = 0;
    std::size_t limit_ = kDefaultLimit;
};

}  // namespace zt9
