#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <utility>

#include "editor/screen.h"

namespace zt9::ui {

// The editor's screen on Win32: common file dialogs, message boxes, the main window's menu
// and the element panel's controls. Tests derive from it to answer the modal calls
// themselves while menus and controls stay real.
class Win32Screen : public Screen {
  public:
    // The windows it works on, known once the main window has created its panel.
    void attach(HWND mainWindow, HWND panel);
    HWND mainWindow() const { return mainWindow_; }
    HWND panel() const { return panel_; }

    // The OPENFILENAME flags of a dialog: open dialogs take existing files only, save
    // dialogs take new names and ask before replacing a file.
    static DWORD dialogFlags(const FileDialog& dialog);
    // The filter list, pairs of display text and pattern, each ending in a zero character
    // and the list in one more.
    static std::wstring filterList(FileFilter filter);

    std::optional<FileChoice> chooseFile(const FileDialog& dialog) override;
    bool askYesNo(std::string_view text, std::string_view caption) override;
    void showError(std::string_view text) override;
    void showMessage(std::string_view text, std::string_view caption) override;
    void beep() override;
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;

    void setTitle(const std::filesystem::path& title) override;
    void invalidate() override;
    void invalidateRect(const PixelRect& area) override;
    void showScrollBars(const ScrollBar& horizontal, const ScrollBar& vertical) override;
    void setStatusText(StatusPart part, std::string_view text) override;
    void checkMenuItem(int command, bool checked) override;
    void setMenuItem(int command, std::string_view text, bool enabled) override;
    void checkViewMode(int command) override;
    void enableDocumentMenus(bool enabled) override;
    void enablePanel(bool enabled) override;
    void setFieldNumber(int field, std::int32_t value, bool isSigned) override;
    std::string fieldText(int field) override;
    void setNumberRange(std::uint32_t last) override;
    void selectColor(int entry) override;
    int selectedColor() override;
    void setScale(std::int32_t zoom) override;
    void showDrawTool(DrawTool tool) override;
    void showPalette(const PaletteStrip& strip) override;
    void postFailureReport() override;
    void destroyWindow() override;

  private:
    HMENU menu() const { return GetMenu(mainWindow_); }
    HWND control(HWND parent, int id);
    HWND mainWindow_ = nullptr;
    HWND panel_ = nullptr;
    std::map<std::pair<HWND, int>, HWND> controls_;  // child windows by parent and id
    std::array<ScrollBar, 2> barsShown_{};  // horizontal, vertical: as the controls hold them
    // The colour dialog's custom colours: the palette of the element it is opened for.
    std::array<COLORREF, 16> customColors_{};
};

}  // namespace zt9::ui
