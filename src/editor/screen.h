#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "editor/draw_tools.h"
#include "editor/picture_viewport.h"

namespace zt9 {

enum class FileFilter {
    geo,        // "GEO(*.GEO)"
    importBmp,  // "BMP(*.bmp)"
    exportBmp,  // "8bpp 256 colors(*.bmp)", then "4bpp 16 colors(*.bmp)"
};

// One file dialog as a command asks for it.
struct FileDialog {
    // A save dialog takes new names and asks before replacing an existing file; an open
    // dialog only takes existing files.
    bool save = false;
    FileFilter filter = FileFilter::geo;
    std::string title;               // empty: the platform's own title
    std::filesystem::path fileName;  // the name the dialog opens with
    int filterIndex = 1;             // 1-based filter selected when the dialog opens
};

// The parts of the status bar, left to right; `hint` stands alone in place of all of them.
enum class StatusPart { element, pointer, tool, zoom, modified, hint };

struct FileChoice {
    std::filesystem::path fileName;
    int filterIndex = 1;
};

// Everything modal or on screen that the editor's commands need. The Win32 window
// implements it with real dialogs, message boxes, menus and panel controls; tests put a
// recorder in its place. Texts are code page 1251 bytes, converted where they are shown.
class Screen {
  public:
    virtual ~Screen() = default;

    // --- Modal: each returns once the user has answered.
    // The chosen file, or nothing when the dialog was cancelled.
    virtual std::optional<FileChoice> chooseFile(const FileDialog& dialog) = 0;
    // A question with Yes and No buttons and the question icon; true for Yes.
    virtual bool askYesNo(std::string_view text, std::string_view caption) = 0;
    // A message box with caption "Error", the stop icon and OK.
    virtual void showError(std::string_view text) = 0;
    // A message box with OK and no icon.
    virtual void showMessage(std::string_view text, std::string_view caption) = 0;
    // The exclamation sound that comes before a question.
    virtual void beep() = 0;
    // The standard colour dialog, opened on `initial` (0x00BBGGRR): the colour chosen, or
    // nothing when it was cancelled.
    virtual std::optional<std::uint32_t> chooseColor(std::uint32_t initial) = 0;

    // --- On screen
    // The main window's title, held as a path so that a file name in it keeps every
    // character it holds.
    virtual void setTitle(const std::filesystem::path& title) = 0;
    // Asks for a repaint of the whole main window, without erasing it first.
    virtual void invalidate() = 0;
    // The same for one rectangle of its client area.
    virtual void invalidateRect(const PixelRect& area) = 0;
    // Shows or hides the picture area's two scroll bars, placed and set as given.
    virtual void showScrollBars(const ScrollBar& horizontal, const ScrollBar& vertical) = 0;
    // One part's text; a non-empty hint replaces the parts until it is emptied again.
    virtual void setStatusText(StatusPart part, std::string_view text) = 0;
    virtual void checkMenuItem(int command, bool checked) = 0;
    // Gives a menu entry a new text and greys it or not.
    virtual void setMenuItem(int command, std::string_view text, bool enabled) = 0;
    // Puts the radio mark of the View menu's mode group on `command`.
    virtual void checkViewMode(int command) = 0;
    // The commands that need a document: save, save as, import, export, and the Edit and
    // View menus.
    virtual void enableDocumentMenus(bool enabled) = 0;
    virtual void enablePanel(bool enabled) = 0;
    // Writes a number into a panel field, as signed or unsigned decimal text.
    virtual void setFieldNumber(int field, std::int32_t value, bool isSigned) = 0;
    // The text a panel field shows.
    virtual std::string fieldText(int field) = 0;
    // Range of the Number arrows: 0 to `last`.
    virtual void setNumberRange(std::uint32_t last) = 0;
    virtual void selectColor(int entry) = 0;
    // The selected entry of the Color box, -1 when none is.
    virtual int selectedColor() = 0;
    virtual void setScale(std::int32_t zoom) = 0;
    // The Draw group: the chosen tool's radio button, and the palette strip painted again.
    virtual void showDrawTool(DrawTool tool) = 0;
    virtual void showPalette(const PaletteStrip& strip) = 0;
    // Has reportFailure() called once the current message has been handled.
    virtual void postFailureReport() = 0;
    virtual void destroyWindow() = 0;
};

}  // namespace zt9
