// geotool driven through its executable: exit codes, what it prints, and files compared
// byte for byte with the editor's own export, import + save and rendering.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "document/byte_io.h"
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

// Runs the tool with `arguments`, a command line tail of quoted words.
int runTool(const fs::path& arguments) {
#ifdef _WIN32
    const std::string tool = GEOTOOL_PATH;  // a build-machine path; Wine maps / to Z:
    const fs::path path = fs::path(tool.starts_with("/") ? "Z:" + tool : tool).make_preferred();
    // cmd /c drops the first and last quote of a command that starts with one: one more pair.
    return _wsystem((L"\"\"" + path.native() + L"\"" + arguments.native() + L"\"").c_str());
#else
    const int status = std::system(("\"" GEOTOOL_PATH "\"" + arguments.native()).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

class Geotool : public ::testing::Test {
  protected:
    TempDir dir;
    // Twelve elements; element 3 stands at an odd x near the corner: an import has to fit it.
    const Bytes fontBytes = [] {
        GeoBuilder geo = GeoBuilder::grid(12);
        geo.elements[3].x = 201;
        geo.elements[3].y = 200;
        geo.elements[5].paletteFlags = 0x10;
        return geo.build();
    }();
    GeoDocument document;  // the font as the editor has it right after opening
    // A Cyrillic name, so every run passes and prints a path outside ASCII.
    const fs::path font = write(fs::path(u8"шрифты") / u8"шрифт ä.geo", fontBytes);

    std::string out, err;  // what the last run printed

    Geotool() { openFont(document, fontBytes); }

    // Runs geotool with the words of `line` (F is the sample font, @name is dir/name) and
    // returns its exit code.
    int run(const std::string& line) {
        fs::path command;
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            const fs::path arg = word == "F"      ? font
                                 : word[0] == '@' ? dir.file(word.substr(1))
                                                  : fs::path(word);
            ((command += " \"") += arg) += "\"";
        }
        ((command += " >\"") += dir.file("out")) += "\" 2>\"";
        (command += dir.file("err")) += "\"";
        const int exitCode = runTool(command);
        for (const auto& [name, text] : {std::pair{"out", &out}, {"err", &err}}) {
            const Bytes bytes = readBytes(dir.file(name));
            text->assign(bytes.begin(), bytes.end());
            std::erase(*text, '\r');  // the Windows build writes text-mode line ends
        }
        return exitCode;
    }
    fs::path write(const fs::path& name, const Bytes& bytes) {
        fs::create_directories(dir.file(name).parent_path());
        writeBytes(dir.file(name), bytes);
        return dir.file(name);
    }
};

TEST_F(Geotool, CheckAcceptsAFontAndGivesTheEditorsMessageForEachRefusal) {
    EXPECT_EQ(run("check F"), 0);
    EXPECT_EQ(out + err, utf8(font) + ": OK, 12 elements\n");

    const auto geo = [](std::size_t elements, auto damage) {
        GeoBuilder builder = GeoBuilder::grid(elements);
        damage(builder);
        return builder.build();
    };
    Bytes cut = GeoBuilder::grid(3).build();
    cut.resize(cut.size() - 10);
    const std::string ka = "\xD0\x9A";  // the Cyrillic capital Ka in UTF-8
    const std::vector<std::pair<Bytes, std::string>> refused{
        {{}, "File load error"},  // no such file yet
        {Bytes(100, 1), "File size less than 31 " + ka + "b"},
        {geo(143, [](auto& b) { b.extraBytes = {0}; }), "File size more than 38 " + ka + "b"},
        {geo(3, [](auto& b) { b.signature = 0x302E3176; }), "Has been opened not GEO file"},
        {geo(3, [](auto& b) { b.pictureLead[0] = 2; }), "No support GEO format"},
        {geo(3, [](auto& b) { b.lastNumber = 143; }), "Too much elements"},
        {geo(3, [](auto& b) { b.elements[1].y = 238; }), "Element 1 size out of picture"},
        {cut, "Element 2 palette color out of file"},
    };
    for (const auto& [bytes, message] : refused) {
        if (!bytes.empty())
            write("bad.geo", bytes);
        EXPECT_EQ(run("check @bad.geo"), 1) << message;
        EXPECT_EQ(out + err, "geotool: " + utf8(dir.file("bad.geo")) + ": " + message + "\n");
    }
}

TEST_F(Geotool, InfoPrintsTheElementTableAsTextAndJson) {
    GeoBuilder builder;
    builder.elements = {{10, 20, 6, 4, 7, 5, -3, 2, 0, 0x0A, {}},
                        {100, 50, 12, 9, 13, 10, 4, -1, 0, 0x10, {}}};
    write("two.geo", builder.build());
    EXPECT_EQ(run("info @two.geo"), 0);
    EXPECT_EQ(out, utf8(dir.file("two.geo")) + R"(: 2 elements, 30844 bytes, picture offset 40
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
    GeoDocument exported = document;
    // 8 bits by default, nested folder made; 4 bits; one element only at either depth.
    for (const auto& [line, folder, mode, first, end] :
         {std::tuple{"export F @deep/eight", dir.file("deep/eight"), kExport8bpp, 0u, 12u},
          {"export F @four --depth 4", dir.file("four"), kExport4bpp, 0u, 12u},
          {"export --element=5 F @one --depth=4", dir.file("one"), kExport4bpp, 5u, 6u},
          {"export F @one8 --element 5", dir.file("one8"), kExport8bpp, 5u, 6u}}) {
        ASSERT_EQ(run(line), 0) << line;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()),
                  end - first);
        for (std::uint32_t k = first; k < end; ++k) {
            exported.currentElement = k;
            EXPECT_EQ(readBytes(folder / ("geo element " + std::to_string(k) + ".bmp")),
                      exportElementBytes(exported, mode));
        }
    }
}

TEST_F(Geotool, ImportSavesWhatTheEditorsImportAndSaveWriteAndStopsAtARefusedImage) {
    const auto image = [](std::uint16_t width, std::uint16_t height, std::uint16_t bits) {
        BmpBuilder bmp = BmpBuilder(width, height, bits).withDistinctPalette(bits == 8 ? 256 : 16);
        for (std::uint32_t k = 0; k < 100; ++k)
            bmp.setIndex(k % width, k % height, static_cast<std::uint8_t>(k % 15));
        return bmp;
    };
    // Element 3 stands at (201, 200): the 100 x 50 image moves it to (154, 190).
    const std::vector<std::pair<std::uint32_t, Bytes>> images{{0, image(5, 3, 4).build()},
                                                              {3, image(100, 50, 8).build()}};
    for (const auto& [element, bmp] : images)
        write("bmps/geo element " + std::to_string(element) + ".bmp", bmp);
    write("bmps/geo element 07.bmp", {1, 2, 3});  // not a name the editor gives: ignored

    EXPECT_EQ(run("import F @bmps @new.geo"), 0) << err;
    GeoDocument imported = document;
    for (const auto& [element, bmp] : images) {
        imported.currentElement = element;
        FieldCode codes[2]{};
        importElement(imported, codes[0], codes[1], bmp);
    }
    EXPECT_EQ(imported.configs[3].x, 154u);
    EXPECT_EQ(readBytes(dir.file("new.geo")), imported.buildSaveImage());

    // Element 2 between the good ones: its palette's last colour is not the transparent one.
    write("bmps/geo element 2.bmp", image(4, 4, 4).setEntry(15, 1, 2, 3).build());
    EXPECT_EQ(run("import F @bmps @refused.geo"), 1);
    EXPECT_EQ(err, "geotool: " + utf8(dir.file("bmps") / "geo element 2.bmp") +
                       ": Last color in the palette is not a transparent\n");
    EXPECT_FALSE(fs::exists(dir.file("refused.geo")));
}

TEST_F(Geotool, RenderWritesTheEditorsViewsEnlargedByTheZoom) {
    const auto expectedView = [&](std::int32_t element, bool transparency) {
        GeoDocument shownDocument = document;
        shownDocument.currentElement = element < 0 ? 0 : static_cast<std::uint32_t>(element);
        ViewState view;
        view.documentLoaded = 1;
        view.transparency = transparency ? 1 : 0;
        view.viewMode = element < 0 ? kFullPicture : kPictureElement;
        Surface shown;
        Surface picture;
        renderView(shownDocument, view, shown, picture);
        return surfaceBmp(shown, view.shownFrame.width, view.shownFrame.height + 1);
    };
    for (const auto& [line, element, transparency] :
         {std::tuple{"render F @view.bmp", -1, true},
          {"render F @view.bmp --no-transparency", -1, false},
          {"render F @view.bmp --element 3", 3, true},
          {"render --no-transparency --element 7 F @view.bmp", 7, false}}) {
        ASSERT_EQ(run(line), 0) << line;
        EXPECT_EQ(readBytes(dir.file("view.bmp")), expectedView(element, transparency)) << line;
    }
    // Zoom 2: every pixel becomes a 2 x 2 block. Rows are stored bottom-up and padded to 4
    // bytes, so stored row r of the big image is stored row r / 2 of the shown frame.
    ASSERT_EQ(run("render F @view.bmp --zoom 2"), 0);
    const Bytes small = expectedView(-1, true);
    const Bytes big = readBytes(dir.file("view.bmp"));
    const std::uint32_t width = readU32(small, 18);
    ASSERT_EQ(readU32(big, 18), 2 * width);
    ASSERT_EQ(readU32(big, 22), 2 * readU32(small, 22));
    for (std::uint32_t row = 0; row < readU32(big, 22); ++row)
        for (std::uint32_t i = 0; i < 6 * width; ++i)  // byte i of the row
            ASSERT_EQ(big.at(54 + row * ((6 * width + 3) & ~3u) + i),
                      small.at(54 + row / 2 * ((3 * width + 3) & ~3u) + i / 6 * 3 + i % 3));
}

TEST_F(Geotool, BadArgumentsGetTheUsageOnStderrAndExitTwo) {
    // "--element 12" is past the font's elements 0 to 11.
    for (const char* const line :
         {"", "frobnicate F", "check F extra", "check F --bogus", "info F --depth 4",
          "export F @x --depth 5", "export F @x --element 12", "render F @x --zoom 11",
          "render F @x --zoom 0", "render F @x --no-transparency=1"}) {
        EXPECT_EQ(run(line), 2) << line;
        EXPECT_NE(err.find("\n\nUsage: geotool"), std::string::npos) << line;
        EXPECT_EQ(out, "") << line;
    }
    EXPECT_FALSE(fs::exists(dir.file("x")));
    EXPECT_EQ(run("--help"), 0);
    EXPECT_EQ(out.rfind("Usage: geotool", 0), 0u) << out;
    EXPECT_EQ(err, "");
}

}  // namespace
}  // namespace zt9::test
