// geotool driven through its executable: exit codes, what it prints, and files compared
// byte for byte with the editor's own export, import + save and rendering.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "document/geo_document.h"
#include "images/element_export.h"
#include "images/element_import.h"
#include "render/render.h"
#include "render/surface_bmp.h"
#include "support/bmp_builder.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace zt9::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string readText(const fs::path& file) {
    std::string text;
    for (const std::uint8_t byte : readBytes(file)) {
        if (byte != '\r')  // the Windows build writes text-mode line ends
            text += static_cast<char>(byte);
    }
    return text;
}

#ifdef _WIN32
using Native = std::wstring;
Native quoted(const fs::path& path) {
    return L"\"" + path.wstring() + L"\"";
}
fs::path toolPath() {
    std::string path = GEOTOOL_PATH;  // a build-machine path; Wine maps / to Z:
    return fs::path(path.starts_with("/") ? "Z:" + path : path).make_preferred();
}
// cmd /c drops the first and last quote of a command that starts with one, so the whole
// command gets one more pair.
int runCommand(const Native& command) {
    return _wsystem((L"\"" + command + L"\"").c_str());
}
#else
using Native = std::string;
Native quoted(const fs::path& path) {
    std::string text = "'";
    for (const char c : path.string())
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}
fs::path toolPath() {
    return GEOTOOL_PATH;
}
int runCommand(const Native& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

GeoDocument opened(const Bytes& font) {
    GeoDocument document;
    openFont(document, font);
    return document;
}

// Twelve elements; element 3 stands at an odd x near the corner, so an import has to fit it.
GeoBuilder sampleFont() {
    GeoBuilder font = GeoBuilder::grid(12);
    font.elements[3].x = 201;
    font.elements[3].y = 200;
    font.elements[5].paletteFlags = 0x10;
    return font;
}

class Geotool : public ::testing::Test {
  protected:
    TempDir dir;
    const Bytes fontBytes = sampleFont().build();
    const fs::path font = write("font.geo", fontBytes);

    ToolRun run(const std::vector<fs::path>& args) {
        const fs::path out = dir.file("stdout.txt");
        const fs::path err = dir.file("stderr.txt");
        Native command = quoted(toolPath());
        for (const fs::path& arg : args)
            command += fs::path(" ").native() + quoted(arg);
        command += fs::path(" >").native() + quoted(out) + fs::path(" 2>").native() + quoted(err);
        const int exitCode = runCommand(command);
        return {exitCode, readText(out), readText(err)};
    }
    // Words of `line` as arguments: F is the sample font, @name is dir/name.
    ToolRun run(const std::string& line) {
        std::vector<fs::path> args;
        std::istringstream words(line);
        for (std::string word; words >> word;)
            args.push_back(word == "F"      ? font
                           : word[0] == '@' ? dir.file(word.substr(1))
                                            : fs::path(word));
        return run(args);
    }
    fs::path write(const fs::path& name, const Bytes& bytes) {
        fs::create_directories(dir.file(name).parent_path());
        writeBytes(dir.file(name), bytes);
        return dir.file(name);
    }
};

TEST_F(Geotool, CheckAcceptsAFontAndGivesTheEditorsMessageForEachRefusal) {
    const ToolRun ok = run("check F");
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_EQ(ok.out, utf8(font) + ": OK, 12 elements\n");
    EXPECT_EQ(ok.err, "");

    const auto damaged = [](std::size_t elements, auto damage) {
        GeoBuilder builder = GeoBuilder::grid(elements);
        damage(builder);
        return builder.build();
    };
    Bytes small = GeoBuilder::grid(1).build();
    small.pop_back();
    Bytes cut = GeoBuilder::grid(3).build();
    cut.resize(cut.size() - 10);
    const std::string ka = "\xD0\x9A";  // the Cyrillic capital Ka in UTF-8
    const std::vector<std::pair<Bytes, std::string>> refused{
        {{}, "File load error"},  // no such file
        {small, "File size less than 31 " + ka + "b"},
        {damaged(143, [](GeoBuilder& b) { b.extraBytes = {0}; }),
         "File size more than 38 " + ka + "b"},
        {damaged(3, [](GeoBuilder& b) { b.signature = 0x302E3176; }),
         "Has been opened not GEO file"},
        {damaged(3, [](GeoBuilder& b) { b.pictureLead[0] = 2; }), "No support GEO format"},
        {damaged(3, [](GeoBuilder& b) { b.lastNumber = 143; }), "Too much elements"},
        {damaged(3, [](GeoBuilder& b) { b.elements[1].y = 238; }), "Element 1 size out of picture"},
        {cut, "Element 2 palette color out of file"},
    };
    for (std::size_t k = 0; k < refused.size(); ++k) {
        const fs::path bad = dir.file("bad" + std::to_string(k) + ".geo");
        if (!refused[k].first.empty())
            writeBytes(bad, refused[k].first);
        const ToolRun r = run({"check", bad});
        EXPECT_EQ(r.exitCode, 1) << refused[k].second;
        EXPECT_EQ(r.err, "geotool: " + utf8(bad) + ": " + refused[k].second + "\n");
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(Geotool, InfoPrintsTheElementTableAsTextAndJson) {
    GeoBuilder builder;
    builder.elements = {{10, 20, 6, 4, 7, 5, -3, 2, 0, 0x0A, {}},
                        {100, 50, 12, 9, 13, 10, 4, -1, 0, 0x10, {}}};
    const fs::path two = write("two.geo", builder.build());
    const ToolRun table = run({"info", two});
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_EQ(table.out, utf8(two) +
                             ": 2 elements, 30844 bytes, picture offset 40\n"
                             "number    x    y  width height resizeWidth resizeHeight displayX "
                             "displayY paletteFlags\n"
                             "     0   10   20      6      4           7            5       -3 "
                             "       2   0x0000000A\n"
                             "     1  100   50     12      9          13           10        4 "
                             "      -1   0x00000010\n");
    const ToolRun json = run({"info", "--json", two});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out,
              "{\n  \"fileSize\": 30844,\n  \"pictureOffset\": 40,\n  \"elementCount\": 2,\n"
              "  \"elements\": [\n"
              "    {\"number\": 0, \"x\": 10, \"y\": 20, \"width\": 6, \"height\": 4, "
              "\"resizeWidth\": 7, \"resizeHeight\": 5, \"displayX\": -3, \"displayY\": 2, "
              "\"paletteFlags\": 10},\n"
              "    {\"number\": 1, \"x\": 100, \"y\": 50, \"width\": 12, \"height\": 9, "
              "\"resizeWidth\": 13, \"resizeHeight\": 10, \"displayX\": 4, \"displayY\": -1, "
              "\"paletteFlags\": 16}\n  ]\n}\n");
}

TEST_F(Geotool, ExportWritesExactlyTheEditorsElementFiles) {
    GeoDocument document = opened(fontBytes);
    const auto expectExported = [&](const std::string& folder,
                                    const std::vector<std::uint32_t>& elements, int mode) {
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.file(folder)), fs::directory_iterator()),
                  std::ssize(elements));
        for (const std::uint32_t element : elements) {
            document.currentElement = element;
            const fs::path file =
                dir.file(folder) / ("geo element " + std::to_string(element) + ".bmp");
            ASSERT_TRUE(fs::exists(file)) << file;
            EXPECT_EQ(readBytes(file), exportElementBytes(document, mode)) << file;
        }
    };
    const std::vector<std::uint32_t> all{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    EXPECT_EQ(run("export F @deep/eight").exitCode, 0);  // 8 bits by default, folder made
    expectExported("deep/eight", all, kExport8bpp);
    EXPECT_EQ(run("export F @four --depth 4").exitCode, 0);
    expectExported("four", all, kExport4bpp);
    EXPECT_EQ(run("export --element=5 F @one --depth=4").exitCode, 0);
    expectExported("one", {5}, kExport4bpp);
}

TEST_F(Geotool, ImportSavesExactlyWhatTheEditorsImportAndSaveWrite) {
    GeoDocument document = opened(fontBytes);
    document.currentElement = 2;
    BmpBuilder wide(100, 50, 8);
    BmpBuilder small(5, 3, 4);
    wide.withDistinctPalette(256);
    small.withDistinctPalette();
    for (std::uint32_t k = 0; k < 100; ++k) {
        wide.setIndex(k, k % 50, static_cast<std::uint8_t>(k % 16));
        small.setIndex(k % 5, k % 3, static_cast<std::uint8_t>(k % 15));
    }
    // Element 3 stands at (201, 200): the 100 x 50 image moves it to (154, 190).
    const std::vector<std::pair<std::uint32_t, Bytes>> images{
        {0, small.build()}, {3, wide.build()}, {11, exportElementBytes(document, kExport4bpp)}};
    for (const auto& [element, image] : images)
        write("bmps/geo element " + std::to_string(element) + ".bmp", image);
    write("bmps/geo element 07.bmp", {1, 2, 3});  // not a name the editor gives: ignored
    write("bmps/notes.txt", {1, 2, 3});

    const ToolRun r = run("import F @bmps @new.geo");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    for (const auto& [element, image] : images) {
        document.currentElement = element;
        FieldCode codes[2]{};
        importElement(document, codes[0], codes[1], image);
    }
    const Bytes expected = document.buildSaveImage();
    EXPECT_NE(expected, fontBytes);
    EXPECT_EQ(readBytes(dir.file("new.geo")), expected);
}

TEST_F(Geotool, ARefusedImportStopsTheRunNamesTheFileAndWritesNothing) {
    const Bytes good = BmpBuilder(4, 4, 4).withDistinctPalette().build();
    const Bytes opaque = BmpBuilder(4, 4, 4).withDistinctPalette().setEntry(15, 1, 2, 3).build();
    const std::vector<std::tuple<std::string, Bytes, std::string>> cases{
        {"geo element 2.bmp", opaque, ": Last color in the palette is not a transparent\n"},
        {"geo element 4.bmp", Bytes(121, 0x42), ": File size less than 122 b\n"},
        {"geo element 12.bmp", good, ": the font has no element 12 (its elements are 0 to 11)\n"},
    };
    for (const auto& [name, image, message] : cases) {
        fs::remove_all(dir.file("bmps"));
        write("bmps/geo element 1.bmp", good);  // imported before the refused one
        write(fs::path("bmps") / name, image);
        const ToolRun r = run("import F @bmps @new.geo");
        EXPECT_EQ(r.exitCode, 1) << name;
        EXPECT_EQ(r.err, "geotool: " + utf8(dir.file("bmps") / name) + message);
        EXPECT_FALSE(fs::exists(dir.file("new.geo"))) << name;
    }
    fs::create_directory(dir.file("empty"));
    EXPECT_EQ(run("import F @empty @new.geo").exitCode, 1);
    EXPECT_FALSE(fs::exists(dir.file("new.geo")));
}

// Fields and pixels (as 0x00BBGGRR) of a 24-bit bottom-up BMP.
std::uint32_t u16At(const Bytes& bytes, std::size_t at) {
    return std::uint32_t{bytes.at(at)} | std::uint32_t{bytes.at(at + 1)} << 8;
}
std::uint32_t bmpPixel(const Bytes& bmp, std::uint32_t x, std::uint32_t y) {
    const std::size_t stride = (std::size_t{u16At(bmp, 18)} * 3 + 3) & ~std::size_t{3};
    const std::size_t at = 54 + stride * (u16At(bmp, 22) - 1 - y) + std::size_t{3} * x;
    return std::uint32_t{bmp.at(at)} << 16 | std::uint32_t{bmp.at(at + 1)} << 8 | bmp.at(at + 2);
}

TEST_F(Geotool, RenderWritesTheEditorsViewsEnlargedByTheZoom) {
    const auto expectedView = [&](std::int32_t element, bool transparency) {
        GeoDocument document = opened(fontBytes);
        ViewState view;
        view.documentLoaded = 1;
        view.transparency = transparency ? 1 : 0;
        if (element >= 0) {
            document.currentElement = static_cast<std::uint32_t>(element);
            view.viewMode = kPictureElement;
        }
        Surface shown;
        Surface picture;
        renderView(document, view, shown, picture);
        return surfaceBmp(shown, view.shownFrame.width, view.shownFrame.height + 1);
    };
    const fs::path out = dir.file("view.bmp");
    ASSERT_EQ(run("render F @view.bmp").exitCode, 0);
    const Bytes full = readBytes(out);
    EXPECT_EQ(full, expectedView(-1, true));
    EXPECT_EQ(bmpPixel(full, 254, 239), kPictureBackground);  // no element reaches there
    ASSERT_EQ(run("render F @view.bmp --no-transparency").exitCode, 0);
    EXPECT_EQ(readBytes(out), expectedView(-1, false));
    ASSERT_EQ(run("render F @view.bmp --element 3").exitCode, 0);
    EXPECT_EQ(readBytes(out), expectedView(3, true));
    ASSERT_EQ(run("render --no-transparency --element 7 F @view.bmp").exitCode, 0);
    EXPECT_EQ(readBytes(out), expectedView(7, false));

    for (const auto& [element, zoom] : {std::pair{-1, 2u}, std::pair{3, 10u}}) {
        const std::string chosen = element < 0 ? "" : " --element " + std::to_string(element);
        ASSERT_EQ(run("render F @view.bmp --zoom " + std::to_string(zoom) + chosen).exitCode, 0);
        const Bytes small = expectedView(element, true);
        const Bytes big = readBytes(out);
        const std::uint32_t w = u16At(small, 18);
        const std::uint32_t h = u16At(small, 22);
        ASSERT_EQ(u16At(big, 18), w * zoom);
        ASSERT_EQ(u16At(big, 22), h * zoom);
        for (std::uint32_t y = 0; y < h * zoom; ++y) {
            for (std::uint32_t x = 0; x < w * zoom; ++x)
                ASSERT_EQ(bmpPixel(big, x, y), bmpPixel(small, x / zoom, y / zoom))
                    << x << "," << y;
        }
    }
}

TEST_F(Geotool, BadArgumentsGetUsageOnStderrAndExitTwo) {
    // "--element 12" is past the font's elements 0 to 11.
    for (const char* const line :
         {"", "frobnicate F", "check", "check F extra", "check F --bogus", "info F --depth 4",
          "export F @x --depth 5", "export F @x --element x", "export F @x --element 12",
          "render F @x --zoom 11", "render F @x --zoom 0", "render F @x --zoom",
          "render F @x --no-transparency=1"}) {
        const ToolRun r = run(std::string(line));
        EXPECT_EQ(r.exitCode, 2) << line;
        EXPECT_NE(r.err.find("\n\nUsage: geotool"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(fs::exists(dir.file("x")));
    for (const char* const line : {"--help", "help", "-h", "export F @x --help"}) {
        const ToolRun r = run(std::string(line));
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out.rfind("Usage: geotool", 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(Geotool, PathsOutsideAsciiWork) {
    const fs::path named = write(fs::path(u8"шрифты") / u8"шрифт ä.geo", fontBytes);
    const ToolRun r = run({"check", named});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, utf8(named) + ": OK, 12 elements\n");
    ASSERT_EQ(run({"export", named, dir.file(u8"вывод"), "--element", "0"}).exitCode, 0);
    EXPECT_TRUE(fs::exists(dir.file(u8"вывод") / "geo element 0.bmp"));
}

}  // namespace
}  // namespace zt9::test
