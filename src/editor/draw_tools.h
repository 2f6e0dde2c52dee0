#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "document/pixel_rect.h"
#include "editor/pointer.h"

namespace zt9 {

// The drawing tools of the Picture Element view.
enum class DrawTool : std::uint8_t { pencil, fill, picker };

// The history's action of a change of palette entry k is kColorAction + k.
inline constexpr int kColorAction = 0x10000;
inline constexpr int kPaletteEntries = 16;

// The Draw group's strip of swatches: the current element's 16 colours as a save stores
// them, with the chosen one framed; nothing without a font.
struct PaletteStrip {
    bool shown = false;
    std::array<std::uint32_t, kPaletteEntries> colors{};  // 0x00BBGGRR
    int chosen = 0;

    bool operator==(const PaletteStrip&) const = default;
};

// The swatches lie in two rows of eight, colour 0 at the top left, in a strip of
// width x height pixels: swatch `entry`'s rectangle, and the swatch at (x, y) or -1.
PixelRect swatchRect(std::int64_t width, std::int64_t height, int entry);
int swatchAt(std::int64_t width, std::int64_t height, std::int64_t x, std::int64_t y);

// The tools' state, kept for the whole run whatever font is open.
struct DrawingState {
    DrawTool tool = DrawTool::pencil;
    std::uint8_t color = 1;  // the chosen index; the right button paints 0
    // A pencil stroke under way: the button that paints with it and the frame pixel it
    // reached last.
    struct Stroke {
        PointerEvent::Button button = PointerEvent::Button::none;
        std::int64_t column = 0, row = 0;
    };
    std::optional<Stroke> stroke;
    // Where the pencil painted last, the start of a Shift+click line.
    struct Painted {
        std::uint32_t element = 0;
        std::int64_t column = 0, row = 0;
    };
    std::optional<Painted> lastPainted;
    // What the panel shows of them.
    DrawTool shownTool = DrawTool::pencil;
    PaletteStrip shownPalette;
};

}  // namespace zt9
