#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <tuple>
#include <utility>

#include "editor/main_window.h"
#include "resources/resource.h"
#include "support/bmp_builder.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"

namespace zt9::test {

// The main window's commands on a real document and real files. The fixture stands in for
// the window's screen: modal calls are answered as the test says and logged in order with beeps,
// failure reports and the window's destruction. `shown` keeps what each control shows: the panel
// fields by their names N, W, H, X, Y, RW, RH, DX and DY, and marks: # the Number range, c the
// Color box, d the document menus, p the panel, r and t the check marks of Reset import and
// Transparency, T the drawing tool (0 pencil, 1 fill, 2 picker), v the View mode (0 Full
// picture, 1 Picture element) and z Scale. `titles`
// keeps every title the window was given, in order.
class EditorTest : public ::testing::Test, public Screen {
  protected:
    inline static const std::map<int, std::string> kNames{
        {IDC_NUMBER, "N"},         {IDC_WIDTH, "W"},      {IDC_HEIGHT, "H"},
        {IDC_POS_X, "X"},          {IDC_POS_Y, "Y"},      {IDC_RESIZE_WIDTH, "RW"},
        {IDC_RESIZE_HEIGHT, "RH"}, {IDC_DISPLAY_X, "DX"}, {IDC_DISPLAY_Y, "DY"}};

    EditorTest() { window.createSurfaces(); }

    // "open geo1 /grid.geo", "save export2 Export geo element/geo element 1.bmp": the kind,
    // filter and filter index, title and the name the dialog opens with.
    std::optional<FileChoice> chooseFile(const FileDialog& d) override {
        static constexpr const char* kFilters[] = {"geo", "bmp", "export"};
        modal(std::string(d.save ? "save " : "open ") + kFilters[static_cast<int>(d.filter)] +
              std::to_string(d.filterIndex) + " " + d.title + "/" + d.fileName.filename().string());
        return std::exchange(nextFile, std::nullopt);
    }
    bool askYesNo(std::string_view text, std::string_view caption) override {
        modal("ask " + std::string(caption) + ": " + std::string(text));
        return !answers.empty() && std::exchange(answers, answers.substr(1))[0] == 'y';
    }
    void showError(std::string_view text) override { modal("error: " + std::string(text)); }
    void showMessage(std::string_view text, std::string_view caption) override {
        modal("message " + std::string(caption) + ": " + std::string(text));
    }
    void beep() override { log.emplace_back("beep"); }
    // "color #B8F808" for a dialog opened on that colour (red, green, blue).
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override {
        char text[8] = {};
        std::snprintf(text, sizeof text, "#%02X%02X%02X", initial & 0xFFu, (initial >> 8) & 0xFFu,
                      (initial >> 16) & 0xFFu);
        modal(std::string("color ") + text);
        return std::exchange(nextColor, std::nullopt);
    }
    void showDrawTool(DrawTool tool) override { show("T", static_cast<int>(tool)); }
    void showPalette(const PaletteStrip& strip) override { palette = strip; }
    void setTitle(const std::filesystem::path& title) override { titles.push_back(title.string()); }
    void setMenuItem(int id, std::string_view text, bool on) override {
        menuTexts[id] = (on ? "" : "~") + std::string(text);
    }
    void invalidate() override { ++invalidations, invalidated = {}; }
    void invalidateRect(const PixelRect& area) override { ++invalidations, invalidated = area; }
    void showScrollBars(const ScrollBar& across, const ScrollBar& down) override {
        bars = {across, down};
    }
    void setStatusText(StatusPart part, std::string_view text) override {
        status.at(static_cast<std::size_t>(part)) = text;
    }
    void checkMenuItem(int id, bool on) override {
        show(id == IDM_TRANSPARENCY ? "t" : id == IDM_GRID ? "g" : "r", on);
    }
    void checkViewMode(int item) override { show("v", item == IDM_PICTURE_ELEMENT); }
    void enableDocumentMenus(bool on) override { show("d", on); }
    void enablePanel(bool on) override { show("p", on); }
    void setFieldNumber(int field, std::int32_t value, bool isSigned) override {
        ++fieldWrites;
        show(kNames.at(field), isSigned ? value : std::int64_t{static_cast<std::uint32_t>(value)});
    }
    std::string fieldText(int field) override { return shown[kNames.at(field)]; }
    void setNumberRange(std::uint32_t last) override { show("#", last); }
    void selectColor(int entry) override { show("c", entry); }
    int selectedColor() override { return std::stoi(shown["c"]); }
    void setScale(std::int32_t zoom) override { show("z", zoom); }
    void postFailureReport() override { log.emplace_back("report"); }
    void destroyWindow() override { log.emplace_back("destroy"); }

    std::filesystem::path write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        writeBytes(dir.file(name), bytes);
        return dir.file(name);
    }
    // Writes `font` as grid.geo and loads it through the open dialog.
    std::filesystem::path openGrid(const GeoBuilder& font = GeoBuilder::grid(3)) {
        act(IDM_LOAD, write("grid.geo", font.build()).string());
        log.clear();
        return dir.file("grid.geo");
    }
    // One user action, in its frame as the window runs it: a menu command or key (its file
    // dialog answered with `text`, a file in `dir`), Enter in a field after typing
    // `text`, a Reset button, or a click on arrows that now stand at `text` (their field keeps its
    // text unless the click corrects it).
    void act(int id, const std::string& text = "") {
        if (id >= IDM_LOAD && !text.empty())
            nextFile = FileChoice{dir.file(text), 1};
        if (kNames.contains(id))
            type(kNames.at(id), text);
        window.frame([&] {
            if (id >= IDM_LOAD)
                window.command(id, 0);
            else if (id >= IDC_RESET_ELEMENT)
                window.resetClicked(id);
            else if (kNames.contains(id))
                window.commitField(id);
            else
                window.arrowClicked(id, std::stoi(text));
        });
        nextFile.reset();
    }
    // Text typed into a field, or set there by its arrows: the field reports the change.
    void type(const std::string& item, const std::string& text) {
        shown[item] = text;
        for (const auto& [id, name] : kNames)
            if (name == item)
                window.fieldChanged(id);
    }
    // Runs `action` and tells what happened since the last step: each modal call ("error:
    // ...;"), then every field and mark whose text the action changed ("X2 c1"), "draw"
    // when it drew a new frame and "*" when the font has unsaved edits afterwards.
    std::string step(const std::function<void()>& action) {
        std::map<std::string, std::string> before = shown;
        const std::uint64_t frames = window.frameVersion();
        action();
        std::string out;
        for (const std::string& entry : std::exchange(log, {}))
            out += " " + entry + ";";
        for (const auto& [item, text] : shown)
            if (before[item] != text)
                out += " " + item + text;
        out += std::string(window.frameVersion() > frames ? " draw" : "") +
               (document.isModified() ? " *" : "");
        return out.empty() ? out : out.substr(1);
    }
    std::string step(int id, const std::string& text = "") {
        return step([&] { act(id, text); });
    }
    // Whether the value fields show what the current element stores.
    bool showsStored() {
        const ElementConfig& c = document.configs.at(document.currentElement);
        const auto n = [&](const char* item) { return std::stoi(shown[item]); };
        return std::tuple(n("W"), n("H"), n("X"), n("Y"), n("RW"), n("RH"), n("DX"), n("DY")) ==
               std::tuple(c.width, c.height, c.x, c.y, c.resizeWidth, c.resizeHeight, c.displayX,
                          c.displayY);
    }

    std::optional<FileChoice> nextFile;      // the next file dialog's answer, else it is cancelled
    std::optional<std::uint32_t> nextColor;  // the next colour dialog's answer, else cancelled
    PaletteStrip palette;                    // the strip as last shown
    std::string answers;                     // the next questions' answers: 'y' Yes, else No
    std::function<void()> duringNextModal;   // a message arriving in the next modal loop
    std::vector<std::string> log;
    std::vector<std::string> titles;
    std::map<std::string, std::string> shown{{"c", "-1"}};
    // Texts of the menu entries the editor renames, "~" before a greyed one.
    std::map<int, std::string> menuTexts{{IDM_UNDO, "~Undo [Ctrl+Z]"},
                                         {IDM_REDO, "~Redo [Ctrl+Y]"}};
    int invalidations = 0;
    PixelRect invalidated;  // the last rectangle invalidated, empty for the whole window
    std::pair<ScrollBar, ScrollBar> bars;
    std::array<std::string, 6> status;  // by StatusPart
    int fieldWrites = 0;
    // The status bar as shown: the hint alone, or the parts separated by "|".
    std::string statusBar() const {
        return status[5].empty() ? status[0] + "|" + status[1] + "|" + status[2] + "|" + status[3] +
                                       "|" + status[4]
                                 : status[5];
    }
    TempDir dir;
    GeoDocument document;
    MainWindow window{document, *this};

    void show(const std::string& item, std::int64_t value) { shown[item] = std::to_string(value); }
    void modal(std::string entry) {
        log.push_back(std::move(entry));
        if (duringNextModal)
            std::exchange(duringNextModal, nullptr)();
    }
};

}  // namespace zt9::test
