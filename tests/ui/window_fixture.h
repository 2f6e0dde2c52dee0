#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"
#include "ui/main_frame.h"
#include "ui/win32_screen.h"

namespace zt9::test {

// The real screen, except that modal calls are answered by the test (a queued file, No, a
// logged message) unless it asks for the real dialogs or message boxes.
class TestScreen : public ui::Win32Screen {
  public:
    bool realDialogs = false, realBoxes = false;
    std::deque<std::filesystem::path> files;
    std::vector<std::string> log;

    std::optional<FileChoice> chooseFile(const FileDialog& dialog) override;
    bool askYesNo(std::string_view text, std::string_view caption) override;
    void showError(std::string_view text) override { showMessage(text, "Error"); }
    void showMessage(std::string_view text, std::string_view caption) override;
    void beep() override { log.emplace_back("beep"); }
};

// A real main window of the editor on a fresh document, driven through its message loop.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    HWND window() const { return frame->window(); }
    HWND panel() const { return frame->panel(); }
    HWND control(int id) const { return GetDlgItem(panel(), id); }
    MainWindow& editor() { return frame->editor(); }

    // Handles every waiting message as the program's loop does; `until` pumps until `done`
    // holds or 2 s have passed, and returns `done()`.
    void pump();
    bool until(const std::function<bool()>& done);
    void command(int id);
    void focus(HWND target);
    // Real input through the X server, each waited for until its release has been handled:
    // a key with a modifier key held, digits and minus typed over a field's whole text, and
    // a left click at the middle of a control's upper or lower half.
    void press(WORD key, WORD modifier = 0);
    void typeInto(int field, const std::string& text);
    void click(int control, bool upperHalf);
    std::filesystem::path writeFont(const std::string& name, std::size_t elements);
    void open(const std::filesystem::path& font);

    // "~" before a greyed item, "+" after a checked one, then whether the panel is enabled.
    std::string menus() const;
    // The nine fields from Number to Display pos Y, then the Color entry and the Scale.
    std::string fields() const;
    // Pixels of the picture area that differ from the view surface's top-left columns x
    // rows enlarged by `zoom`, with grey around it, as the window shows them.
    int wrongPixels(int zoom, int columns, int rows);
    // Runs `action` on the first dialog window (#32770) shown while a modal call runs, from a
    // timer the modal loop dispatches; dialogTexts gives its caption and its controls' texts.
    static void whenDialogAppears(std::function<void(HWND)> action);
    static std::vector<std::wstring> dialogTexts(HWND dialog);

    TempDir dir;
    GeoDocument document;
    TestScreen screen;
    std::unique_ptr<ui::MainFrame> frame;
    HACCEL accelerators = nullptr;
    bool quitPosted = false;
    WPARAM released = 0;  // the last key or mouse button whose release was handled
};

}  // namespace zt9::test
