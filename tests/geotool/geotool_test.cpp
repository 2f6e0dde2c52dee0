// geotool driven through its executable: exit codes, what it prints, and files compared
// byte for byte with the editor's own export, import + save and rendering.

#include <gtest/gtest.h>

#include <sstream>

#include "geotool/arguments.h"
#include "images/element_export.h"
#include "images/element_import.h"
#include "render/render.h"
#include "render/surface_bmp.h"
#include "support/bmp_builder.h"
#include "support/geo_builder.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace zt9::test {
namespace {

std::string utf8(const fs::path& path) {
    return reinterpret_cast<const char*>(path.u8string().c_str());
}

// The editor's messages in UTF-8 (К is D0 9A) and the element table as text and as JSON. Bad
// arguments get the problem and the usage on standard error, exit code 2 and nothing written;
// "--element 12" is past the font's elements 0 to 11.
TEST(Geotool, PrintsWhatTheEditorSaysAndWritesExactlyTheEditorsFiles) {
    TempDir dir;
    // A name outside ASCII and outside the ANSI code page, with a space in it; twelve elements,
    // element 3 at an odd x near the corner, so that an import has to fit it.
    const fs::path font = dir.file(u8"шрифт ä.geo");
    GeoBuilder geo = GeoBuilder::grid(12);
    geo.elements[3].x = 201, geo.elements[3].y = 200;
    writeBytes(font, geo.build());
    GeoDocument document;  // the font as the editor has it right after opening
    openFont(document, font);
    // Runs geotool with the words of `line` (F is the sample font, @name is dir/name) and
    // returns "exit code|standard output|standard error", with the sample font's path shown
    // as F, the folder's as @, every \ as / and the usage text as <usage>.
    const auto run = [&](const std::string& line) {
        std::vector<fs::path> arguments;
        std::istringstream words(line);
        for (std::string word; words >> word;)
            arguments.push_back(word == "F"      ? font
                                : word[0] == '@' ? dir.file(word.substr(1))
                                                 : fs::path(word));
        const auto [exitCode, out, err] = runProgram(GEOTOOL_PATH, arguments, dir.path());
        std::string text = std::to_string(exitCode) + '|' + out + '|' + err;
        const std::string usage(geotool::usageText());
        const std::pair<std::string, std::string> shown[] = {
            {usage, "<usage>"}, {utf8(font), "F"}, {utf8(dir.file("")), "@"}, {"\\", "/"}};
        for (const auto& [from, to] : shown)
            for (std::size_t k = 0; (k = text.find(from, k)) != std::string::npos; k += to.size())
                text.replace(k, from.size(), to);
        return text;
    };
    const GeoBuilder two{{{10, 20, 6, 4, 7, 5, -3, 2}, {100, 50, 12, 9, 13, 10, 4, -1, 0, 0x10}}};
    writeBytes(dir.file("two.geo"), two.build());
    writeBytes(dir.file("big.geo"), std::vector<std::uint8_t>(40000, 1));
    const auto usage = [](const std::string& why) { return "2||geotool: " + why + "\n\n<usage>"; };
    const std::pair<const char*, std::string> runs[] = {
        {"check F", "0|F: OK, 12 elements\n|"},
        {"check @big.geo", "1||geotool: @big.geo: File size more than 38 \u041Ab\n"},
        {"info @two.geo", R"(0|@two.geo: 2 elements, 30844 bytes, picture offset 40
number    x    y  width height resizeWidth resizeHeight displayX displayY paletteFlags
     0   10   20      6      4           7            5       -3        2   0x0000000A
     1  100   50     12      9          13           10        4       -1   0x00000010
|)"},
        {"info --json @two.geo",
         "0|{\n  \"fileSize\": 30844,\n  \"pictureOffset\": 40,\n  \"elementCount\": 2,\n"
         "  \"elements\": [\n    {\"number\": 0, \"x\": 10, \"y\": 20, \"width\": 6, "
         "\"height\": 4, \"resizeWidth\": 7, \"resizeHeight\": 5, \"displayX\": -3, "
         "\"displayY\": 2, \"paletteFlags\": 10},\n    {\"number\": 1, \"x\": 100, \"y\": 50, "
         "\"width\": 12, \"height\": 9, \"resizeWidth\": 13, \"resizeHeight\": 10, "
         "\"displayX\": 4, \"displayY\": -1, \"paletteFlags\": 16}\n  ]\n}\n|"},
        {"--help", "0|<usage>|"},
        {"", usage("no command given")},
        {"frobnicate F", usage("unknown command 'frobnicate'")},
        {"check F extra", usage("too many arguments; usage: geotool check FONT")},
        {"export F @x --depth 5", usage("--depth must be 4 or 8, not '5'")},
        {"export F @x --element 12", usage("--element 12: the font has elements 0 to 11")},
        {"render F @x --zoom 11", usage("--zoom must be a whole number from 1 to 10, not '11'")},
        {"render F @x --no-transparency=1", usage("option --no-transparency takes no value")},
    };
    for (const auto& [line, expected] : runs)
        EXPECT_EQ(run(line), expected) << line;

    // Export: 8 bits by default, into a folder it makes, or one element in 4 bits. Render: the
    // Full picture with element 0 current, or the Picture Element view of --element, every
    // pixel a zoom x zoom block. Import: element 3 stands at (201, 200), so the 100 x 50 image
    // moves it to (154, 190); a name the editor does not give is ignored; a refused image stops
    // the run before anything is saved.
    EXPECT_EQ(run("export F @new/all"), "0||");  // the whole font first, then element 5 again
    EXPECT_EQ(run("export --element=5 F @new/all --depth=4"), "0||");
    GeoDocument shown = document;
    for (auto& k = shown.currentElement = 0; k < 12; ++k)
        EXPECT_EQ(readBytes(dir.file("new/all/geo element " + std::to_string(k) + ".bmp")),
                  exportElementBytes(shown, k == 5 ? kExport4bpp : kExport8bpp));

    for (const auto& [line, element, transparency, zoom] :
         {std::tuple{"render --no-transparency F @v", 0u, 0, 1},
          {"render F @v --zoom 2 --element 7", 7u, 1, 2}}) {
        ASSERT_EQ(run(line), "0||") << line;
        (shown = document).currentElement = element;
        ViewState view{element ? kPictureElement : kFullPicture, transparency, 1, {}, 1};
        Surface viewSurface, picture, big;
        renderView(shown, view, viewSurface, picture);
        for (std::int64_t i = 0; i < std::int64_t{kSurfaceWidth} * kSurfaceHeight; ++i)
            big.set(i % 255, i / 255, viewSurface.pixel(i % 255 / zoom, i / 255 / zoom));
        const std::int64_t columns = view.shownFrame.width, rows = view.shownFrame.height + 1;
        EXPECT_EQ(readBytes(dir.file("v")), surfaceBmp(big, zoom * columns, zoom * rows)) << line;
    }

    shown = document;
    for (const auto& [element, bmp] : {std::pair{0u, BmpBuilder(5, 3, 4)}, {3u, {100, 50, 8}}}) {
        const std::vector<std::uint8_t> file = BmpBuilder(bmp).withDistinctPalette().build();
        writeBytes(dir.file("geo element " + std::to_string(element) + ".bmp"), file);
        shown.currentElement = element;
        FieldCode codes[2]{};
        importElement(shown, codes[0], codes[1], file);
    }
    writeBytes(dir.file("geo element 07.bmp"), {1, 2, 3});
    EXPECT_EQ(run("import F @. @new.geo"), "0||");
    EXPECT_EQ(readBytes(dir.file("new.geo")), shown.buildSaveImage());
    writeBytes(dir.file("geo element 2.bmp"),
               BmpBuilder(4, 4, 4).withDistinctPalette().setEntry(15, 1, 2, 3).build());
    EXPECT_EQ(run("import F @. @refused.geo"),
              "1||geotool: @./geo element 2.bmp: Last color in the palette is not a transparent\n");
    EXPECT_FALSE(fs::exists(dir.file("refused.geo")) || fs::exists(dir.file("x")));
}

}  // namespace
}  // namespace zt9::test
