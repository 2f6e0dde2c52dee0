#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
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

// The real screen, except that modal calls are answered by the test (unless it asks for the
// real dialogs or message boxes), so a test runs without anybody at the keyboard. Menus and
// controls stay real.
class TestScreen : public ui::Win32Screen {
  public:
    bool realFileDialogs = false;
    bool realMessageBoxes = false;
    std::deque<std::optional<FileChoice>> fileAnswers;
    std::deque<bool> yesNoAnswers;
    std::vector<std::string> log;
    std::vector<FileDialog> dialogs;

    std::optional<FileChoice> chooseFile(const FileDialog& dialog) override;
    bool askYesNo(std::string_view text, std::string_view caption) override;
    void showError(std::string_view text) override;
    void showMessage(std::string_view text, std::string_view caption) override;
    void beep() override { log.emplace_back("beep"); }
};

// Pixels of a window's client area read back from the screen, 0x00BBGGRR like surfaces.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const;
};

// A real main window of the editor on a fresh document, driven through its message loop.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    HWND window() const { return frame->window(); }
    HWND panel() const { return frame->panel(); }
    MainWindow& editor() { return frame->editor(); }

    // Handles every waiting message the way the program's loop does.
    void pump();
    // Pumps until `done` holds or the time is up; returns `done()`.
    bool pumpUntil(const std::function<bool()>& done, int milliseconds = 2000);
    void command(int id, LPARAM param = 0);
    // Real key events: the key with Ctrl and/or Shift held, sent to the focused window.
    void pressKey(WORD key, bool control = false, bool shift = false);
    void focus(HWND target);
    // Real typing: each character as key events (digits, minus), into the focused window.
    void type(const std::string& text);
    // A real left click at the middle of the upper or lower half of a control.
    void click(HWND control, bool upperHalf);
    std::filesystem::path writeFont(const std::string& name, const GeoBuilder& font);
    void open(const std::filesystem::path& font);
    std::wstring fieldText(int id) const;
    UINT menuState(int id) const;
    Capture capture();
    // Runs `action` on the first dialog window (#32770) that appears while a modal call is
    // running, from a timer of this thread, which the modal loop dispatches.
    static void whenDialogAppears(std::function<void(HWND)> action);
    static std::vector<std::wstring> dialogTexts(HWND dialog);

    TempDir dir;
    GeoDocument document;
    TestScreen screen;
    std::unique_ptr<ui::MainFrame> frame;
    HACCEL accelerators = nullptr;
    bool quitPosted = false;
};

}  // namespace zt9::test
