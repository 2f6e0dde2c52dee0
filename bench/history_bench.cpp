// Undo and redo on a 143-element font, through the history alone and as the editor's
// commands (which also draw the view again), and the memory the history keeps.
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <map>

#include "document/history.h"
#include "editor/main_window.h"
#include "images/element_import.h"
#include "resources/resource.h"
#include "support/bmp_builder.h"
#include "support/geo_builder.h"

namespace {

using zt9::History;

// A screen that shows nothing and remembers what the panel fields would show.
struct NoScreen : zt9::Screen {
    std::map<int, std::string> fields;
    std::optional<zt9::FileChoice> chooseFile(const zt9::FileDialog&) override { return {}; }
    bool askYesNo(std::string_view, std::string_view) override { return false; }
    void showError(std::string_view) override {}
    void showMessage(std::string_view, std::string_view) override {}
    void beep() override {}
    std::optional<std::uint32_t> chooseColor(std::uint32_t) override { return {}; }
    void showDrawTool(zt9::DrawTool) override {}
    void showPalette(const zt9::PaletteStrip&) override {}
    void setTitle(const std::filesystem::path&) override {}
    void invalidate() override {}
    void invalidateRect(const zt9::PixelRect&) override {}
    void showScrollBars(const zt9::ScrollBar&, const zt9::ScrollBar&) override {}
    void setStatusText(zt9::StatusPart, std::string_view) override {}
    void checkMenuItem(int, bool) override {}
    void setMenuItem(int, std::string_view, bool) override {}
    void checkViewMode(int) override {}
    void enableDocumentMenus(bool) override {}
    void enablePanel(bool) override {}
    void setFieldNumber(int field, std::int32_t value, bool) override {
        fields[field] = std::to_string(value);
    }
    std::string fieldText(int field) override { return fields[field]; }
    void setNumberRange(std::uint32_t) override {}
    void selectColor(int) override {}
    int selectedColor() override { return 0; }
    void setScale(std::int32_t) override {}
    void postFailureReport() override {}
    void destroyWindow() override {}
};

// Two full-size images, so that importing one after the other always changes the element.
const std::vector<std::uint8_t>& fullImageBmp(int which = 0) {
    static const std::array<std::vector<std::uint8_t>, 2> bytes = [] {
        std::array<std::vector<std::uint8_t>, 2> files;
        for (std::uint32_t k = 0; k < 2; ++k) {
            zt9::test::BmpBuilder bmp(255, 240, 8);
            bmp.withDistinctPalette(16);
            for (std::uint32_t y = 0; y < 240; ++y)
                for (std::uint32_t x = 0; x < 255; ++x)
                    bmp.setIndex(x, y, static_cast<std::uint8_t>((x + y + k) % 15));
            files[k] = bmp.build();
        }
        return files;
    }();
    return bytes[static_cast<std::size_t>(which)];
}

zt9::GeoDocument font() {
    zt9::GeoDocument doc;
    zt9::openFont(doc, zt9::test::GeoBuilder::grid(143).build());
    return doc;
}

// One step on element 70: a move, or an import of a full-size image.
void makeStep(zt9::GeoDocument& doc, History& history, bool import) {
    doc.currentElement = 70;
    History::Before before = History::snapshot(doc, 70, import);
    zt9::FieldCode x{}, y{};
    std::int32_t out = 0;
    if (import)
        zt9::importElement(doc, x, y, fullImageBmp());
    else
        doc.setY(doc.configs[70].y + 1, out);
    history.record(doc, std::move(before), 1, 0, 1);
}

void undoRedoStep(benchmark::State& state) {
    zt9::GeoDocument doc = font();
    History history;
    makeStep(doc, history, state.range(0) != 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(history.undo(doc));
        benchmark::DoNotOptimize(history.redo(doc));
    }
    state.SetLabel(state.range(0) != 0 ? "import" : "move");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 2);
}
BENCHMARK(undoRedoStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Ctrl+Z then Ctrl+Y as the window runs them: the panel written again and the view drawn.
void undoRedoCommands(benchmark::State& state) {
    zt9::GeoDocument doc;
    NoScreen screen;
    zt9::MainWindow window(doc, screen);
    window.createSurfaces();
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "zt9_bench.geo";
    {
        const std::vector<std::uint8_t> bytes = zt9::test::GeoBuilder::grid(143).build();
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    window.fileName = file;
    window.frame([&] { window.command(IDM_LOAD, 1); });
    window.frame([&] { window.command(IDM_MOVE_DOWN, 0); });
    for (auto _ : state) {
        window.frame([&] { window.command(IDM_UNDO, 0); });
        window.frame([&] { window.command(IDM_REDO, 0); });
    }
    std::filesystem::remove(file);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 2);
}
BENCHMARK(undoRedoCommands)->Unit(benchmark::kMicrosecond);

// The memory of 10,000 key moves, in runs of ten presses of one key (merged) or with two
// keys taking turns (a step each), and of 200 imports of a full-size image.
void historyMemory(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    std::size_t bytes = 0, steps = 0;
    for (auto _ : state) {
        zt9::GeoDocument doc = font();
        History history;
        std::int32_t out = 0;
        for (int i = 0; i < (kind == 2 ? 200 : 10000); ++i) {
            const bool down = kind == 0 ? i / 10 % 2 == 0 : i % 2 == 0;
            const std::uint32_t element = kind == 2 ? static_cast<std::uint32_t>(i % 143) : 70;
            doc.currentElement = element;
            History::Before before = History::snapshot(doc, element, kind == 2);
            zt9::FieldCode x{}, y{};
            if (kind == 2)
                zt9::importElement(doc, x, y, fullImageBmp(i / 143 % 2));
            else
                doc.setY(doc.configs[element].y + (down ? 1 : -1), out);
            history.record(doc, std::move(before), 1, down ? 1 : 2, static_cast<std::uint64_t>(i));
        }
        bytes = history.memoryUsed();
        steps = history.size();
    }
    state.counters["steps"] = static_cast<double>(steps);
    state.counters["KiB"] = static_cast<double>(bytes) / 1024.0;
    state.SetLabel(kind == 0   ? "10000 moves, runs of 10"
                   : kind == 1 ? "10000 moves, alternating"
                               : "200 imports of 255 x 240");
}
BENCHMARK(historyMemory)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
