#include "demo_font/demo_font.h"

#include <algorithm>
#include <array>
#include <span>
#include <stdexcept>

#include "demo_font/pixel_font.h"
#include "document/byte_io.h"
#include "document/geo_document.h"

namespace zt9::demo {
namespace {

using Color15 = std::uint16_t;

// Channels 0 to 31: red in bits 0-4, green in 5-9, blue in 10-14.
constexpr Color15 rgb(unsigned red, unsigned green, unsigned blue) {
    return static_cast<Color15>(red | green << 5 | blue << 10);
}

// How every palette is used: 0 transparent, 1 the outline or shadow, 2 to 14 the body's
// colour from the top of the character cell to its baseline, 15 the top edge of each stroke.
constexpr std::uint8_t kEdge = 1;
constexpr std::uint8_t kFirstShade = 2;
constexpr std::uint8_t kLastShade = 14;
constexpr std::uint8_t kHighlight = 15;
constexpr std::uint32_t kCellRows = 7;  // rows above the baseline

struct Colors {
    Color15 top, middle, bottom;  // the body's gradient
    Color15 edge, highlight;
};

struct Style {
    std::size_t count;  // how many characters of kDemoCharacters, following the previous style
    std::uint32_t scale;
    bool outline;  // a 1-pixel outline all round; otherwise a shadow 1 pixel right and down
    Colors colors;
};

constexpr std::array kStyles{
    Style{10,
          4,
          true,
          {rgb(31, 31, 20), rgb(31, 23, 3), rgb(25, 9, 0), rgb(7, 3, 1), rgb(31, 31, 31)}},
    Style{13,
          3,
          true,
          {rgb(26, 31, 31), rgb(9, 23, 31), rgb(3, 7, 22), rgb(1, 2, 9), rgb(31, 31, 31)}},
    Style{13,
          3,
          true,
          {rgb(31, 25, 29), rgb(30, 9, 17), rgb(17, 2, 9), rgb(6, 0, 4), rgb(31, 29, 31)}},
    Style{6,
          2,
          false,
          {rgb(24, 31, 13), rgb(8, 26, 6), rgb(2, 14, 4), rgb(1, 6, 2), rgb(29, 31, 25)}},
};
static_assert([] {
    std::size_t total = 0;
    for (const Style& style : kStyles)
        total += style.count;
    return total == kDemoCharacters.size();
}());

// The picture, and the room kept around and between elements.
constexpr std::uint32_t kPictureWidth = 256;
constexpr std::uint32_t kPictureRows = 240;
constexpr std::uint32_t kTopMargin = 8;
constexpr std::uint32_t kLineGap = 8;
constexpr std::uint32_t kGlyphGap = 1;
constexpr std::uint8_t kFormatByte = 1;
constexpr std::uint32_t kSixteenColors = 0x1A;  // announces 16 colours to drawing and export
constexpr std::uint32_t kTableStart = 12;

struct Element {
    std::uint32_t x = 0, y = 0;
    std::uint32_t width = 0, rows = 0;
    std::uint32_t top = 0;  // rows between the top of the line and the element
    std::int32_t displayX = 0, displayY = 0;
    std::vector<std::uint8_t> pixels;  // rows x width palette indices
    std::array<Color15, 16> palette{};
};

Color15 mix(Color15 from, Color15 to, unsigned step, unsigned steps) {
    Color15 result = 0;
    for (unsigned shift = 0; shift < 15; shift += 5) {
        const unsigned a = (unsigned{from} >> shift) & 31u;
        const unsigned b = (unsigned{to} >> shift) & 31u;
        result |=
            static_cast<Color15>((a * (steps - step) + b * step + steps / 2) / steps << shift);
    }
    return result;
}

std::array<Color15, 16> paletteOf(const Colors& colors) {
    std::array<Color15, 16> palette{};
    palette[kEdge] = colors.edge;
    palette[kHighlight] = colors.highlight;
    constexpr unsigned kHalf = (kLastShade - kFirstShade) / 2;
    for (unsigned k = 0; k <= kHalf * 2; ++k) {
        palette[kFirstShade + k] = k <= kHalf ? mix(colors.top, colors.middle, k, kHalf)
                                              : mix(colors.middle, colors.bottom, k - kHalf, kHalf);
    }
    return palette;
}

// The body's colour in a row of the enlarged character cell: the gradient runs from the top
// of the cell down to the baseline, and descenders keep its last shade.
std::uint8_t shadeOf(std::uint32_t cellRow, std::uint32_t scale) {
    constexpr std::uint32_t kShades = kLastShade - kFirstShade + 1;
    return static_cast<std::uint8_t>(
        kFirstShade + std::min(cellRow * kShades / (kCellRows * scale), kShades - 1));
}

// The glyph enlarged by the style's scale, its blank rows above and below cut off, with the
// outline or shadow around it. The display position places it relative to the pen: the
// outline reaches one pixel left of and above the ink.
Element drawGlyph(const Glyph& glyph, const Style& style) {
    const auto inked = [&](std::size_t row) {
        return glyph.rows[row].find('#') != std::string_view::npos;
    };
    std::size_t first = 0;
    std::size_t last = glyph.rows.size();
    while (first < last && !inked(first))
        ++first;
    while (last > first && !inked(last - 1))
        --last;
    const std::uint32_t scale = style.scale;
    const std::uint32_t lead = style.outline ? 1 : 0;
    const std::uint32_t skipped = static_cast<std::uint32_t>(first) * scale;
    Element element;
    element.width = static_cast<std::uint32_t>(glyph.rows.at(first).size()) * scale + 1 + lead;
    element.rows = static_cast<std::uint32_t>(last - first) * scale + 1 + lead;
    element.top = skipped;
    element.displayX = -static_cast<std::int32_t>(lead);
    element.displayY = static_cast<std::int32_t>(skipped) - static_cast<std::int32_t>(lead);
    element.palette = paletteOf(style.colors);
    // Ink at element pixel (x, y); anything outside the glyph is blank.
    const auto ink = [&](std::int64_t x, std::int64_t y) {
        const std::int64_t gx = x - lead;
        const std::int64_t gy = y - lead;
        if (gx < 0 || gy < 0)
            return false;
        const auto column = static_cast<std::size_t>(gx) / scale;
        const auto row = first + static_cast<std::size_t>(gy) / scale;
        return row < last && column < glyph.rows[row].size() && glyph.rows[row][column] == '#';
    };
    for (std::int64_t y = 0; y < element.rows; ++y) {
        for (std::int64_t x = 0; x < element.width; ++x) {
            std::uint8_t value = 0;
            if (ink(x, y)) {
                const auto cellRow = static_cast<std::uint32_t>(y) + skipped - lead;
                value = ink(x, y - 1) ? shadeOf(cellRow, scale) : kHighlight;
            } else if (style.outline) {
                for (std::int64_t dy = -1; dy <= 1; ++dy)
                    for (std::int64_t dx = -1; dx <= 1; ++dx)
                        value = ink(x + dx, y + dy) ? kEdge : value;
            } else if (ink(x - 1, y - 1)) {
                value = kEdge;
            }
            element.pixels.push_back(value);
        }
    }
    return element;
}

// Sets x and y: each style starts a new line, lines wrap before the right edge and are
// centred, x stays even, and glyphs with rows cut off above sit that much lower, so every
// line reads as set text.
void layOut(std::vector<Element>& elements, std::span<const std::size_t> styleOf) {
    std::uint32_t lineTop = kTopMargin;
    for (std::size_t begin = 0; begin < elements.size();) {
        std::size_t end = begin;
        std::uint32_t next = 0;  // x of the next glyph in the line
        std::uint32_t lineWidth = 0;
        std::uint32_t lineRows = 0;
        while (end < elements.size() && styleOf[end] == styleOf[begin] &&
               next + elements[end].width < kPictureWidth) {
            elements[end].x = next;
            lineWidth = next + elements[end].width;
            lineRows = std::max(lineRows, elements[end].top + elements[end].rows);
            next = (lineWidth + kGlyphGap + 1) & ~1u;
            ++end;
        }
        if (end == begin || lineTop + lineRows > kPictureRows)
            throw std::logic_error("demo font: the glyphs do not fit the picture");
        const std::uint32_t indent = ((kPictureWidth - 1 - lineWidth) / 2) & ~1u;
        for (std::size_t k = begin; k < end; ++k) {
            elements[k].x += indent;
            elements[k].y = lineTop + elements[k].top;
        }
        lineTop += lineRows + kLineGap;
        begin = end;
    }
}

std::vector<std::uint8_t> assemble(const std::vector<Element>& elements) {
    const auto count = static_cast<std::uint32_t>(elements.size());
    // P, the header's picture offset, is the offset of the last table entry's place word.
    const std::uint32_t p = kTableStart + kTableEntryBytes * count - 4;
    std::vector<std::uint8_t> file(p + kPaletteFromP + kPaletteEntryBytes * count, 0);
    writeU32(file, 0, kGeoSignature);
    writeU32(file, 4, p);
    file[p + 4] = kFormatByte;
    for (std::uint32_t i = 0; i < count; ++i) {
        const Element& e = elements[i];
        const std::uint32_t entry = kTableStart + kTableEntryBytes * i;
        writeU32(file, entry, i << 24);
        writeU32(file, entry + 4, (e.width + 1) | e.rows << 16);
        writeU32(file, entry + 8,
                 (static_cast<std::uint32_t>(e.displayX) & 0xFFFFu) |
                     static_cast<std::uint32_t>(e.displayY) << 16);
        writeU32(file, entry + 12, e.x | e.y << 8 | e.width << 16 | (e.rows - 1) << 24);
        for (std::uint32_t y = 0; y < e.rows; ++y) {
            for (std::uint32_t x = 0; x < e.width; ++x) {
                const std::uint32_t column = e.x + x;
                std::uint8_t& byte =
                    file[p + kPixelsFromP + (e.y + y) * kPictureRowBytes + column / 2];
                const std::uint8_t value = e.pixels[y * e.width + x];
                byte = static_cast<std::uint8_t>(column % 2 == 0 ? (byte & 0xF0) | value
                                                                 : (byte & 0x0F) | value << 4);
            }
        }
        const std::uint32_t record = p + kPaletteFromP + kPaletteEntryBytes * i;
        writeU32(file, record, kSixteenColors);
        for (std::uint32_t k = 0; k < 16; ++k)
            writeU16(file, record + 4 + 2 * k, e.palette[k]);
    }
    return file;
}

}  // namespace

std::vector<std::uint8_t> makeDemoFont() {
    std::vector<Element> elements;
    std::vector<std::size_t> styleOf;
    std::size_t next = 0;
    for (std::size_t s = 0; s < kStyles.size(); ++s) {
        for (const char character : kDemoCharacters.substr(next, kStyles[s].count)) {
            elements.push_back(drawGlyph(glyphFor(character), kStyles[s]));
            styleOf.push_back(s);
        }
        next += kStyles[s].count;
    }
    layOut(elements, styleOf);
    return assemble(elements);
}

}  // namespace zt9::demo
