// Writes the seed corpora from the test-data builders and our own clipboard encoder:
// make_seeds <folder> creates <folder>/geo, <folder>/bmp and <folder>/clip. The output is
// deterministic, so the committed seeds can be made again at any time.

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "document/geo_document.h"
#include "fixed_font.h"
#include "images/clipboard_image.h"
#include "images/element_image_format.h"
#include "support/bmp_builder.h"
#include "support/geo_builder.h"

namespace {

namespace fs = std::filesystem;
using zt9::test::BmpBuilder;
using zt9::test::ElementLayout;
using zt9::test::GeoBuilder;

bool writeSeed(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

ElementLayout element(std::uint32_t x, std::uint32_t y, std::uint32_t width, std::uint32_t height) {
    ElementLayout layout = GeoBuilder::layoutAt(x, y, width, height);
    for (std::uint16_t k = 1; k < 16; ++k)
        layout.colors[k] = static_cast<std::uint16_t>(k * 0x0842u);
    return layout;
}

// Header word 2 is not part of the font; the GEO fuzz target reads its edits from it:
// bits 0-7 which edits, 8-15 which element, 16-31 two signed amounts.
std::uint32_t edits(std::uint32_t ops, std::uint32_t element, std::int8_t a, std::int8_t b) {
    return ops | element << 8 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(a)) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b)) << 24;
}

std::vector<std::pair<std::string, std::vector<std::uint8_t>>> geoSeeds() {
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> seeds;

    GeoBuilder one = GeoBuilder::grid(1);
    one.headerWord2 = 0;
    seeds.emplace_back("one_element.geo", one.build());

    GeoBuilder grid = GeoBuilder::grid(12, 10, 7);
    grid.headerWord2 = edits(0x03, 3, 6, -4);
    seeds.emplace_back("grid_moved.geo", grid.build());

    GeoBuilder full = GeoBuilder::grid(143, 6, 4);
    full.headerWord2 = edits(0x95, 142, 5, 3);
    seeds.emplace_back("143_elements.geo", full.build());

    // Rectangles at the edges the loader allows: one running past column 255 into the
    // next row, one ending exactly at the palette table, an odd x, a width of 0, a record
    // flagged as 256 colours and negative display positions.
    GeoBuilder edges;
    edges.elements = {element(250, 0, 12, 3), element(0, 236, 254, 3), element(33, 40, 9, 5),
                      element(100, 100, 0, 2), element(120, 50, 7, 0)};
    edges.elements[4].paletteFlags = 0x00;
    edges.elements[2].displayX = -7;
    edges.elements[2].displayY = -300;
    for (std::size_t i = 0; i < edges.elements.size(); ++i)
        edges.paintPattern(i);
    edges.headerWord2 = edits(0x6C, 2, 9, 5);
    seeds.emplace_back("edges.geo", edges.build());

    // Overlapping elements and bytes after the palette table.
    GeoBuilder overlap;
    overlap.elements = {element(10, 10, 40, 20), element(20, 15, 40, 20), element(30, 5, 8, 8)};
    for (std::size_t i = 0; i < overlap.elements.size(); ++i)
        overlap.paintPattern(i);
    overlap.extraBytes.assign(200, 0x5A);
    overlap.headerWord2 = edits(0xB7, 1, -12, 9);
    seeds.emplace_back("overlap_extra.geo", overlap.build());

    // Refused fonts keep the refusal paths in the corpus.
    GeoBuilder tooMany = GeoBuilder::grid(3);
    tooMany.lastNumber = 143;
    seeds.emplace_back("too_many_elements.geo", tooMany.build());

    GeoBuilder outside = GeoBuilder::grid(2);
    outside.elements[1] = element(0, 238, 20, 5);
    seeds.emplace_back("element_outside.geo", outside.build());
    return seeds;
}

std::vector<std::uint8_t> withChoice(std::vector<std::uint8_t> bmp, std::uint8_t element,
                                     std::uint8_t x, std::uint8_t y) {
    // Reserved header bytes 6-8: the BMP fuzz target's element and place before the import.
    bmp.at(6) = element;
    bmp.at(7) = x;
    bmp.at(8) = y;
    return bmp;
}

BmpBuilder pattern(std::int32_t width, std::int32_t height, std::uint16_t bits) {
    BmpBuilder b(width, height, bits);
    b.withDistinctPalette(bits == 8 ? 256 : 16);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            b.setIndex(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y),
                       static_cast<std::uint8_t>((x * 3 + y * 5) % 16));
        }
    }
    return b;
}

// A band of columns and the two top rows of index 0, which an encoder skips.
BmpBuilder withZeros(BmpBuilder b) {
    for (std::int32_t y = 0; y < b.height; ++y) {
        for (std::int32_t x = 0; x < b.width; ++x) {
            if (y < 2 || x % 10 >= 6)
                b.setIndex(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 0);
        }
    }
    return b;
}

std::vector<std::pair<std::string, std::vector<std::uint8_t>>> bmpSeeds() {
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> seeds;
    seeds.emplace_back("4bit_1x1.bmp", withChoice(pattern(1, 1, 4).build(), 0, 0, 0));
    seeds.emplace_back("4bit_7x10.bmp", withChoice(pattern(7, 10, 4).build(), 1, 200, 10));
    seeds.emplace_back("4bit_255x240.bmp", withChoice(pattern(255, 240, 4).build(), 2, 0, 0));

    BmpBuilder small8 = pattern(9, 6, 8);
    small8.clrUsed = 16;
    small8.withDistinctPalette(16);
    seeds.emplace_back("8bit_9x6_16colors.bmp", withChoice(small8.build(), 6, 251, 239));
    seeds.emplace_back("8bit_33x20.bmp", withChoice(pattern(33, 20, 8).build(), 3, 64, 200));
    seeds.emplace_back("8bit_255x240.bmp", withChoice(pattern(255, 240, 8).build(), 5, 9, 1));

    // Layouts other writers produce: a larger info header, a gap before the pixels, bytes
    // after them, biSizeImage 0 and a file that ends inside its pixels.
    BmpBuilder v5 = pattern(12, 12, 4);
    v5.infoSize = 124;
    seeds.emplace_back("4bit_info124.bmp", withChoice(v5.build(), 4, 100, 100));
    BmpBuilder gap = pattern(16, 8, 8);
    gap.gap = 6;
    gap.trailing = 10;
    seeds.emplace_back("8bit_gap_trailing.bmp", withChoice(gap.build(), 1, 3, 3));
    BmpBuilder noSize = pattern(20, 4, 4);
    noSize.sizeImage = 0;
    seeds.emplace_back("4bit_sizeimage0.bmp", withChoice(noSize.build(), 0, 17, 235));
    BmpBuilder cut = pattern(40, 30, 8);
    cut.truncateTo = 700;
    seeds.emplace_back("8bit_truncated.bmp", withChoice(cut.build(), 2, 0, 0));

    // Run-length encoded: every kind of command, including the deltas, ends of line and
    // end of bitmap that skip the band and the top rows of index 0; a stream coded pixel
    // by pixel with short absolute runs; the largest image.
    BmpBuilder rle8 = withZeros(pattern(33, 20, 8));
    seeds.emplace_back("8bit_rle8_33x20.bmp", withChoice(rle8.encoded().build(), 1, 80, 30));
    BmpBuilder rle4 = withZeros(pattern(21, 14, 4));
    rle4.infoSize = 124;
    seeds.emplace_back("4bit_rle4_21x14.bmp", withChoice(rle4.encoded().build(), 3, 240, 5));
    BmpBuilder plain8 = pattern(9, 6, 8);
    plain8.encoded({.skipZeros = false, .maxAbsolute = 5});
    seeds.emplace_back("8bit_rle8_plain.bmp", withChoice(plain8.build(), 0, 0, 0));
    BmpBuilder large4 = withZeros(pattern(255, 240, 4));
    seeds.emplace_back("4bit_rle4_255x240.bmp", withChoice(large4.encoded().build(), 5, 2, 2));

    // Refusals: an encoding of the other depth, top-down (negative height), a visible
    // colour 15, 1 bit.
    BmpBuilder mismatch = withZeros(pattern(8, 8, 4));
    mismatch.encoded().compression = 1;
    seeds.emplace_back("4bit_rle8_mismatch.bmp", mismatch.build());
    BmpBuilder topDown = pattern(8, 8, 4);
    topDown.height = -8;
    seeds.emplace_back("4bit_top_down.bmp", topDown.build());
    BmpBuilder visible = pattern(8, 8, 4);
    visible.setEntry(15, 200, 10, 10);
    seeds.emplace_back("4bit_visible_15.bmp", visible.build());
    BmpBuilder mono = pattern(32, 32, 1);
    seeds.emplace_back("1bit.bmp", mono.build());
    return seeds;
}

// DIB bytes 24-26 (the horizontal resolution, which no reader uses): the clipboard
// target's element and place before the paste.
std::vector<std::uint8_t> withDibChoice(std::vector<std::uint8_t> dib, std::uint8_t element,
                                        std::uint8_t x, std::uint8_t y) {
    dib.at(24) = element;
    dib.at(25) = x;
    dib.at(26) = y;
    return dib;
}

// A picture of every index in the colours of the fixed font's element, as 0xAARRGGBB; a
// band of index 0 is transparent black in 32 bits.
BmpBuilder trueColor(std::int32_t width, std::int32_t height, std::uint16_t bits,
                     std::uint32_t element) {
    zt9::GeoDocument font;
    zt9::openFont(font, zt9::fuzz::fixedFontBuilder().build());
    font.currentElement = element;
    const std::array<std::uint32_t, 16> colors = zt9::currentColors(font);
    BmpBuilder b(width, height, bits);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const auto index = static_cast<std::uint32_t>(x % 10 >= 7 ? 0 : (x * 3 + y * 5) % 16);
            const std::uint32_t c = colors[index];
            const bool clear = index == 0 && bits == 32;
            b.argb.push_back(
                clear ? 0 : 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu));
        }
    }
    return b;
}

zt9::ImportSlot slot(std::uint32_t width, std::uint32_t rows) {
    zt9::ImportSlot image{
        1, std::vector<std::uint8_t>(std::size_t{rows} * ((width + 1) / 2)), {}, width, rows - 1};
    for (std::uint32_t k = 1; k < 16; ++k)
        image.colors[k] = k * 0x100810u;
    for (std::size_t at = 0; at < image.pixels.size(); ++at)
        image.pixels[at] = static_cast<std::uint8_t>(at * 37 % 256);
    return image;
}

// The BMP seeds without their 14-byte file header, true-colour pictures in the fixed font's
// colours, and images in our own format.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> clipSeeds() {
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> seeds;
    for (const auto& [name, bmp] : bmpSeeds())
        seeds.emplace_back(name.substr(0, name.size() - 4) + ".dib",
                           std::vector<std::uint8_t>(bmp.begin() + 14, bmp.end()));

    const std::array<std::uint32_t, 3> masks = {0xFF0000, 0xFF00, 0xFF};
    seeds.emplace_back("24bit_9x6.dib", withDibChoice(trueColor(9, 6, 24, 1).dib(), 1, 30, 40));
    BmpBuilder v5 = trueColor(17, 5, 32, 3);
    v5.infoSize = 124;
    v5.compression = 3;
    v5.masks = masks;
    v5.topDown = true;
    seeds.emplace_back("32bit_v5_fields_top_down.dib", withDibChoice(v5.dib(), 3, 250, 236));
    BmpBuilder fields = trueColor(12, 7, 32, 5);
    fields.compression = 3;
    fields.masks = masks;
    seeds.emplace_back("32bit_fields.dib", withDibChoice(fields.dib(), 5, 0, 0));
    seeds.emplace_back("32bit_255x60.dib",
                       withDibChoice(trueColor(255, 60, 32, 2).dib(), 2, 100, 100));
    BmpBuilder stray = trueColor(6, 4, 24, 0);
    stray.argb.at(9) = 0x123456;
    seeds.emplace_back("24bit_stray_color.dib", withDibChoice(stray.dib(), 0, 0, 0));

    seeds.emplace_back("own_1x1.zt9e", zt9::encodeElementImage(slot(1, 1)));
    seeds.emplace_back("own_7x10.zt9e", zt9::encodeElementImage(slot(7, 10)));
    seeds.emplace_back("own_255x240.zt9e", zt9::encodeElementImage(slot(255, 240)));
    return seeds;
}

bool writeAll(const fs::path& folder,
              const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& seeds) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    for (const auto& [name, bytes] : seeds) {
        if (!writeSeed(folder / name, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", (folder / name).string().c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <corpus folder>\n");
        return 2;
    }
    const fs::path root = argv[1];
    return writeAll(root / "geo", geoSeeds()) && writeAll(root / "bmp", bmpSeeds()) &&
                   writeAll(root / "clip", clipSeeds())
               ? 0
               : 1;
}
