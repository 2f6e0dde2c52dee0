#pragma once

#include <cstdint>

#include "editor/picture_viewport.h"

namespace zt9 {

// The mouse over the picture area, as plain events: the Win32 side turns its button and
// move messages into these, and the editor decides what they do. A press starts a stroke or
// a drag that lasts until its release, a lost capture or Escape, whichever comes first.
struct PointerEvent {
    enum class Kind : std::uint8_t { press, move, release, doubleClick };
    enum class Button : std::uint8_t { none, left, right };

    Kind kind = Kind::move;
    Button button = Button::none;  // the button pressed or released; none for a move
    WindowPoint point;             // client coordinates, also outside the area under capture
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// The pointer's shape over the picture area.
enum class PointerCursor : std::uint8_t { arrow, cross, sizeAcross, sizeDown, sizeBoth };

}  // namespace zt9
