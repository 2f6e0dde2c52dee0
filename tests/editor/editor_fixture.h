#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "editor/main_window.h"
#include "editor/recording_screen.h"
#include "resources/resource.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"

namespace zt9::test {

// The main window's commands on a real document and real files, with the recorder in place
// of the screen. Messages go through the failure frame as the window procedure sends them.
class EditorTest : public ::testing::Test {
  protected:
    EditorTest() { window.createSurfaces(); }

    std::filesystem::path writeFont(const std::string& name, const GeoBuilder& font) {
        const std::filesystem::path path = dir.file(name);
        writeBytes(path, font.build());
        return path;
    }
    void run(int id, std::intptr_t param = 0) {
        window.frame([&] { window.command(id, param); });
    }
    // Load through the open dialog, answered with `path`.
    void open(const std::filesystem::path& path) {
        screen.fileAnswers.emplace_back(FileChoice{path, 1});
        run(IDM_LOAD);
    }
    std::filesystem::path openGrid(std::size_t elements = 3) {
        const std::filesystem::path path = writeFont("grid.geo", GeoBuilder::grid(elements));
        open(path);
        return path;
    }
    std::vector<std::string> takeLog() { return std::exchange(screen.log, {}); }
    std::string field(int id) { return screen.fields[id]; }

    TempDir dir;
    GeoDocument document;
    RecordingScreen screen;
    MainWindow window{document, screen};
};

}  // namespace zt9::test
