// The demo font as the editor sees it: it passes the editor's load checks, its glyphs lie
// apart inside the picture in visible colours, and the program and the build write exactly
// the bytes makeDemoFont returns.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "demo_font/demo_font.h"
#include "document/geo_document.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace zt9::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using demo::kDemoCharacters;

// A build-machine path as this program sees it: under Wine, / is the root of drive Z:.
fs::path hostPath(const std::string& path) {
#ifdef _WIN32
    return fs::path(path.starts_with("/") ? "Z:" + path : path).make_preferred();
#else
    return path;
#endif
}

TEST(DemoFont, LoadsThroughTheEditorsChecksWithOneElementPerCharacterAlwaysTheSame) {
    const Bytes bytes = demo::makeDemoFont();
    const auto n = static_cast<std::uint32_t>(kDemoCharacters.size());
    GeoDocument document;
    EXPECT_EQ(openFont(document, bytes), n - 1);
    EXPECT_EQ(document.fileSize, 30740 + 52 * n);
    EXPECT_EQ(document.pictureOffset, 16 * n + 8);
    EXPECT_EQ(bytes, demo::makeDemoFont());
    for (const std::string_view set : {"0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"})
        for (const char c : set)
            EXPECT_NE(kDemoCharacters.find(c), std::string_view::npos) << c;
}

TEST(DemoFont, GlyphsLieApartInsideThePictureInVisibleColoursOfSeveralPalettesAndSizes) {
    GeoDocument document;
    openFont(document, demo::makeDemoFont());
    const Bytes& file = document.fileImage;
    const auto pixel = [&](std::uint32_t x, std::uint32_t y) {
        const std::uint8_t byte =
            file.at(document.pictureOffset + kPixelsFromP + y * kPictureRowBytes + x / 2);
        return static_cast<std::uint8_t>(x % 2 == 0 ? byte & 0x0F : byte >> 4);
    };
    std::set<std::string> palettes;  // their bytes
    std::set<std::string> glyphs;
    std::set<std::int32_t> heights;
    std::size_t inked = 0;
    std::size_t displaced = 0;
    for (std::uint32_t i = 0; i < document.elementCount; ++i) {
        const ElementConfig& e = document.configs[i];
        EXPECT_TRUE(e.x % 2 == 0 && e.x + e.width <= 255 && e.y + e.height <= 239) << i;
        EXPECT_TRUE(e.resizeWidth == e.width + 1 && e.resizeHeight == e.height + 1) << i;
        for (std::uint32_t k = 0; k < i; ++k) {  // the bytes they cover, odd widths rounded up
            const ElementConfig& o = document.configs[k];
            EXPECT_TRUE(e.x >= o.x + o.width + o.width % 2 || o.x >= e.x + e.width + e.width % 2 ||
                        e.y > o.y + o.height || o.y > e.y + e.height)
                << i << " overlaps " << k;
        }
        const auto record =
            file.begin() + document.paletteOffset + std::ptrdiff_t{kPaletteEntryBytes} * i;
        const std::string palette(record + 4, record + 36);  // colour k in bytes 2k and 2k + 1
        EXPECT_EQ(*record, 0x1A) << i;                       // 16 colours for drawing and export
        EXPECT_TRUE(palette[0] == 0 && palette[1] == 0) << i;
        std::string glyph;
        for (auto y = static_cast<std::uint32_t>(e.y);
             y <= static_cast<std::uint32_t>(e.y + e.height); ++y) {
            for (auto x = static_cast<std::uint32_t>(e.x);
                 x < static_cast<std::uint32_t>(e.x + e.width); ++x) {
                const std::uint8_t value = pixel(x, y);
                glyph.push_back(static_cast<char>(value));
                inked += std::size_t{value != 0};
                EXPECT_TRUE(value == 0 || palette[2 * std::size_t{value}] != 0 ||
                            palette[2 * std::size_t{value} + 1] != 0)
                    << i;
            }
        }
        EXPECT_NE(glyph.find_first_not_of('\0'), std::string::npos) << i;  // visible
        glyph.push_back(static_cast<char>(e.width));
        glyphs.insert(glyph);
        palettes.insert(palette);
        heights.insert(e.height);
        displaced += std::size_t{e.displayX != 0 || e.displayY != 0};
    }
    std::size_t inkedPicture = 0;  // nothing is drawn outside the elements
    for (std::uint32_t y = 0; y < 240; ++y)
        for (std::uint32_t x = 0; x < 256; ++x)
            inkedPicture += std::size_t{pixel(x, y) != 0};
    EXPECT_EQ(inkedPicture, inked);
    EXPECT_EQ(glyphs.size(), document.elementCount);  // no two characters look alike
    EXPECT_GE(palettes.size(), 3u);
    EXPECT_GE(heights.size(), 3u);
    EXPECT_GT(displaced, 0u);
}

// Runs make_demo_font with the argument (none when empty); returns its exit status and
// keeps what it wrote to stderr.
int runGenerator(const TempDir& dir, const fs::path& argument, std::string& err) {
    fs::path command;
    if (!argument.empty())
        ((command += " \"") += argument) += "\"";
    ((command += " 2>\"") += dir.file("err")) += "\"";
#ifdef _WIN32
    // cmd /c drops the first and last quote of a command that starts with one: one more pair.
    const int status = _wsystem(
        (L"\"\"" + hostPath(GENERATOR_PATH).native() + L"\"" + command.native() + L"\"").c_str());
#else
    const int waited = std::system(("\"" GENERATOR_PATH "\"" + command.native()).c_str());
    const int status = WIFEXITED(waited) ? WEXITSTATUS(waited) : -1;
#endif
    err = (std::ostringstream() << std::ifstream(dir.file("err")).rdbuf()).str();
    return status;
}

TEST(DemoFont, TheBuildAndTheProgramWriteExactlyItsBytes) {
    const Bytes expected = demo::makeDemoFont();
    EXPECT_EQ(readBytes(hostPath(DEMO_FONT_PATH)), expected);
    TempDir dir;
    std::string err;
    const fs::path font = dir.file(u8"демо шрифт.geo");
    EXPECT_EQ(runGenerator(dir, font, err), 0) << err;
    EXPECT_EQ(readBytes(font), expected);
    EXPECT_EQ(runGenerator(dir, dir.file("missing") / "demo.geo", err), 1);
    EXPECT_NE(err.find("make_demo_font: cannot write"), std::string::npos) << err;
    EXPECT_EQ(runGenerator(dir, {}, err), 2);
    EXPECT_NE(err.find("usage: make_demo_font OUT.geo"), std::string::npos) << err;
}

}  // namespace
}  // namespace zt9::test
