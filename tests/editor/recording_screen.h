#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editor/screen.h"

namespace zt9::test {

// Stands in for the window: answers the modal calls from queues the test fills, keeps what
// each panel field, menu item and control shows, and logs every modal call in order.
class RecordingScreen : public Screen {
  public:
    // Answers, taken in order; an empty queue cancels a dialog and answers No.
    std::deque<std::optional<FileChoice>> fileAnswers;
    std::deque<bool> yesNoAnswers;
    // Runs inside the next modal call, as a message arriving in its loop would.
    std::function<void()> duringNextModal;

    // What happened.
    std::vector<std::string> log;  // "beep", "ask Quit: Save changes?", "error: ...", ...
    std::vector<FileDialog> dialogs;
    std::map<int, std::string> fields;
    std::map<int, bool> checked;
    int viewModeItem = 0;
    bool documentMenus = false;
    bool panel = false;
    std::uint32_t numberRange = 0;
    int color = -1;
    std::int32_t scale = 0;
    int invalidations = 0;
    int failureReports = 0;
    bool destroyed = false;

    std::optional<FileChoice> chooseFile(const FileDialog& dialog) override {
        dialogs.push_back(dialog);
        log.push_back(dialog.save ? "save dialog" : "open dialog");
        runModalHook();
        return take(fileAnswers, std::optional<FileChoice>{});
    }
    bool askYesNo(std::string_view text, std::string_view caption) override {
        log.push_back("ask " + std::string(caption) + ": " + std::string(text));
        runModalHook();
        return take(yesNoAnswers, false);
    }
    void showError(std::string_view text) override {
        log.push_back("error: " + std::string(text));
        runModalHook();
    }
    void showMessage(std::string_view text, std::string_view caption) override {
        log.push_back("message " + std::string(caption) + ": " + std::string(text));
    }
    void beep() override { log.emplace_back("beep"); }

    void invalidate() override { ++invalidations; }
    void checkMenuItem(int command, bool isChecked) override { checked[command] = isChecked; }
    void checkViewMode(int command) override { viewModeItem = command; }
    void enableDocumentMenus(bool enabled) override { documentMenus = enabled; }
    void enablePanel(bool enabled) override { panel = enabled; }
    void setFieldNumber(int field, std::int32_t value, bool isSigned) override {
        fields[field] =
            isSigned ? std::to_string(value) : std::to_string(static_cast<std::uint32_t>(value));
    }
    std::string fieldText(int field) override { return fields[field]; }
    void setNumberRange(std::uint32_t last) override { numberRange = last; }
    void selectColor(int entry) override { color = entry; }
    int selectedColor() override { return color; }
    void setScale(std::int32_t zoom) override { scale = zoom; }
    void postFailureReport() override { ++failureReports; }
    void destroyWindow() override {
        log.emplace_back("destroy");
        destroyed = true;
    }

  private:
    template <class T>
    static T take(std::deque<T>& queue, T otherwise) {
        if (queue.empty())
            return otherwise;
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
    void runModalHook() {
        if (duringNextModal)
            std::exchange(duringNextModal, nullptr)();
    }
};

}  // namespace zt9::test
