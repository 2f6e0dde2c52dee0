#pragma once

#include <windows.h>

#include "editor/draw_tools.h"

namespace zt9::ui {

// The Draw group's palette strip, an owner-drawn static control: GDI rectangles from the
// colours the editor gives, colour 0 as a checker, the chosen swatch framed.
void paintPaletteStrip(const DRAWITEMSTRUCT& item, const PaletteStrip& strip);

// The swatch under the pointer of the message being handled (a click or double click on
// the strip), or -1.
int swatchUnderPointer(HWND strip);

}  // namespace zt9::ui
