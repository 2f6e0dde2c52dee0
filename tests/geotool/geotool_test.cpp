// geotool driven through its executable: exit codes, what it prints, and files compared
// byte for byte with the editor's own export, import + save and rendering.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

class Geotool : public ::testing::Test {
  protected:
    TempDir dir;
    // Twelve elements; element 3 stands at an odd x near the corner: an import has to fit it.
    // A Cyrillic name, so every run passes and prints a path outside ASCII.
    const fs::path font = write(fs::path(u8"шрифты") / u8"шрифт ä.geo", [] {
        GeoBuilder geo = GeoBuilder::grid(12);
        geo.elements[3].x = 201;
        geo.elements[3].y = 200;
        geo.elements[5].paletteFlags = 0x10;
        return geo.build();
    }());
    GeoDocument document;  // the font as the editor has it right after opening
    std::string out, err;  // what the last run printed (text mode: Windows line ends become \n)

    Geotool() { openFont(document, readBytes(font)); }

    // Runs geotool with the words of `line` (F is the sample font, @name is dir/name) and
    // returns its exit code.
    int run(const std::string& line) {
        fs::path command;
        std::istringstream words(line);
        for (std::string word; words >> word;)
            ((command += " \"") += word == "F"      ? font
                                   : word[0] == '@' ? dir.file(word.substr(1))
                                                    : fs::path(word)) += "\"";
        ((((command += " >\"") += dir.file("out")) += "\" 2>\"") += dir.file("err")) += "\"";
#ifdef _WIN32
        const std::string tool = GEOTOOL_PATH;  // a build-machine path; Wine maps / to Z:
        const fs::path path = fs::path(tool.starts_with("/") ? "Z:" + tool : tool).make_preferred();
        // cmd /c drops the first and last quote of a command that starts with one: one more pair.
        const int exitCode =
            _wsystem((L"\"\"" + path.native() + L"\"" + command.native() + L"\"").c_str());
#else
        const int status = std::system(("\"" GEOTOOL_PATH "\"" + command.native()).c_str());
        const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
        for (const auto& [name, text] : {std::pair{"out", &out}, {"err", &err}})
            *text = (std::ostringstream() << std::ifstream(dir.file(name)).rdbuf()).str();
        return exitCode;
    }
    fs::path write(const fs::path& name, const Bytes& bytes) {
        fs::create_directories(dir.file(name).parent_path());
        writeBytes(dir.file(name), bytes);
        return dir.file(name);
    }
    std::string utf8(const fs::path& name) {
        return reinterpret_cast<const char*>(dir.file(name).u8string().c_str());
    }
};

TEST_F(Geotool, CheckAcceptsAFontAndGivesTheEditorsMessageForEachRefusal) {
    EXPECT_EQ(run("check F"), 0);
    EXPECT_EQ(out + err, utf8(font) + ": OK, 12 elements\n");
    GeoBuilder wrongType = GeoBuilder::grid(3), outside = wrongType;
    wrongType.signature = 0x302E3176;
    outside.elements[1].y = 238;
    Bytes cut = GeoBuilder::grid(3).build();
    cut.resize(cut.size() - 10);
    for (const auto& [bytes, message] : std::vector<std::pair<Bytes, std::string>>{
             {{}, "File load error"},                              // no such file yet
             {Bytes(40000, 1), "File size more than 38 \u041Ab"},  // Cyrillic Ka: UTF-8 D0 9A
             {wrongType.build(), "Has been opened not GEO file"},
             {outside.build(), "Element 1 size out of picture"},
             {cut, "Element 2 palette color out of file"}}) {
        if (!bytes.empty())
            write("bad.geo", bytes);
        EXPECT_EQ(run("check @bad.geo"), 1) << message;
        EXPECT_EQ(out + err, "geotool: " + utf8("bad.geo") + ": " + message + "\n");
    }
}

TEST_F(Geotool, InfoPrintsTheElementTableAsTextAndJson) {
    GeoBuilder builder;
    builder.elements = {{10, 20, 6, 4, 7, 5, -3, 2, 0, 0x0A, {}},
                        {100, 50, 12, 9, 13, 10, 4, -1, 0, 0x10, {}}};
    write("two.geo", builder.build());
    EXPECT_EQ(run("info @two.geo"), 0);
    EXPECT_EQ(out, utf8("two.geo") + R"(: 2 elements, 30844 bytes, picture offset 40
number    x    y  width height resizeWidth resizeHeight displayX displayY paletteFlags
     0   10   20      6      4           7            5       -3        2   0x0000000A
     1  100   50     12      9          13           10        4       -1   0x00000010
)");
    EXPECT_EQ(run("info --json @two.geo"), 0);
    EXPECT_EQ(out,
              "{\n  \"fileSize\": 30844,\n  \"pictureOffset\": 40,\n  \"elementCount\": 2,\n"
              "  \"elements\": [\n    {\"number\": 0, \"x\": 10, \"y\": 20, \"width\": 6, "
              "\"height\": 4, \"resizeWidth\": 7, \"resizeHeight\": 5, \"displayX\": -3, "
              "\"displayY\": 2, \"paletteFlags\": 10},\n    {\"number\": 1, \"x\": 100, \"y\": 50, "
              "\"width\": 12, \"height\": 9, \"resizeWidth\": 13, \"resizeHeight\": 10, "
              "\"displayX\": 4, \"displayY\": -1, \"paletteFlags\": 16}\n  ]\n}\n");
}

TEST_F(Geotool, ExportWritesExactlyTheEditorsElementFiles) {
    ASSERT_EQ(run("export F @deep/all"), 0);  // 8 bits by default, into a folder it makes
    ASSERT_EQ(run("export --element=5 F @one --depth=4"), 0);
    GeoDocument exported = document;
    for (auto& k = exported.currentElement = 0; k < 12; ++k)
        EXPECT_EQ(readBytes(dir.file("deep/all/geo element " + std::to_string(k) + ".bmp")),
                  exportElementBytes(exported, kExport8bpp));
    exported.currentElement = 5;
    EXPECT_EQ(readBytes(dir.file("one/geo element 5.bmp")),
              exportElementBytes(exported, kExport4bpp));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("one")), {}), 1);
}

TEST_F(Geotool, ImportSavesWhatTheEditorsImportAndSaveWriteAndStopsAtARefusedImage) {
    const auto image = [](std::uint16_t width, std::uint16_t height, std::uint16_t bits) {
        BmpBuilder bmp = BmpBuilder(width, height, bits).withDistinctPalette(bits == 8 ? 256 : 16);
        for (std::uint32_t k = 0; k < 100; ++k)
            bmp.setIndex(k % width, k % height, static_cast<std::uint8_t>(k % 15));
        return bmp;
    };
    // Element 3 stands at (201, 200): the 100 x 50 image moves it to (154, 190).
    GeoDocument imported = document;
    for (const auto& [element, bmp] :
         {std::pair{0u, image(5, 3, 4).build()}, {3u, image(100, 50, 8).build()}}) {
        write("bmps/geo element " + std::to_string(element) + ".bmp", bmp);
        imported.currentElement = element;
        FieldCode codes[2]{};
        importElement(imported, codes[0], codes[1], bmp);
    }
    write("bmps/geo element 07.bmp", {1, 2, 3});  // not a name the editor gives: ignored
    EXPECT_EQ(run("import F @bmps @new.geo"), 0) << err;
    EXPECT_EQ(imported.configs[3].x, 154u);
    EXPECT_EQ(readBytes(dir.file("new.geo")), imported.buildSaveImage());

    // Element 2 between the good ones: its palette's last colour is not the transparent one.
    write("bmps/geo element 2.bmp", image(4, 4, 4).setEntry(15, 1, 2, 3).build());
    EXPECT_EQ(run("import F @bmps @refused.geo"), 1);
    EXPECT_EQ(err, "geotool: " + utf8(fs::path("bmps") / "geo element 2.bmp") +
                       ": Last color in the palette is not a transparent\n");
    EXPECT_FALSE(fs::exists(dir.file("refused.geo")));
}

TEST_F(Geotool, RenderWritesTheEditorsViewsEnlargedByTheZoom) {
    // Zoom z: every pixel becomes a z x z block.
    const auto expectedView = [&](std::uint32_t element, bool transparency, std::int64_t zoom) {
        GeoDocument shownDocument = document;  // element 0: the full picture
        shownDocument.currentElement = element;
        ViewState view{.viewMode = element ? kPictureElement : kFullPicture,
                       .transparency = transparency,
                       .documentLoaded = 1};
        Surface shown, picture, big;
        renderView(shownDocument, view, shown, picture);
        for (std::int64_t y = 0; y < kSurfaceHeight; ++y)
            for (std::int64_t x = 0; x < kSurfaceWidth; ++x)
                big.set(x, y, shown.pixel(x / zoom, y / zoom));
        return surfaceBmp(big, zoom * view.shownFrame.width, zoom * (view.shownFrame.height + 1));
    };
    for (const auto& [line, element, transparency, zoom] :
         {std::tuple{"render F @v", 0u, true, 1},
          {"render --no-transparency F @v --element 7", 7u, false, 1},
          {"render F @v --zoom 2 --element 7", 7u, true, 2}}) {
        ASSERT_EQ(run(line), 0) << line;
        EXPECT_EQ(readBytes(dir.file("v")), expectedView(element, transparency, zoom)) << line;
    }
}

TEST_F(Geotool, BadArgumentsGetTheUsageOnStderrAndExitTwo) {
    // "--element 12" is past the font's elements 0 to 11.
    for (const char* const line :
         {"", "frobnicate F", "check F extra", "export F @x --depth 5", "export F @x --element 12",
          "render F @x --zoom 11", "render F @x --no-transparency=1"}) {
        EXPECT_EQ(run(line), 2) << line;
        EXPECT_TRUE(out.empty() && err.find("\n\nUsage: geotool") != std::string::npos) << line;
    }
    EXPECT_FALSE(fs::exists(dir.file("x")));
    EXPECT_EQ(run("--help"), 0);
    EXPECT_TRUE(out.starts_with("Usage: geotool") && err.empty()) << out << err;
}

}  // namespace
}  // namespace zt9::test
