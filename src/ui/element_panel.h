#pragma once

#include <windows.h>

#include "editor/main_window.h"

namespace zt9::ui {

// The element panel: the modeless dialog 9 docked at the main window's right edge. Its
// procedure only turns notifications into calls of the editor, which writes the values
// back through the screen. Null when the dialog cannot be created.
HWND createElementPanel(HINSTANCE instance, HWND mainWindow, MainWindow& editor);

}  // namespace zt9::ui
