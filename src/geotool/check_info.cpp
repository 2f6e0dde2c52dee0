#include <array>
#include <iomanip>
#include <string_view>

#include "document/byte_io.h"
#include "geotool/commands.h"
#include "geotool/console_text.h"
#include "geotool/font_file.h"

namespace zt9::geotool {
namespace {

// One row of the element table, with the values as loaded from the file.
struct ElementRow {
    std::uint32_t number;
    ElementConfig config;
    std::uint32_t paletteFlags;
};

ElementRow elementRow(const GeoDocument& document, std::uint32_t element) {
    // checkElements has made sure every palette record lies inside the file.
    const std::size_t record =
        std::size_t{document.paletteOffset} + std::size_t{kPaletteEntryBytes} * element;
    return {element, document.configs[element], readU32(document.fileImage, record)};
}

struct Column {
    std::string_view name;
    int width;
};

// Wide enough for every value a loaded font can hold (display positions are signed 16-bit).
constexpr std::array<Column, 10> kColumns{{{"number", 6},
                                           {"x", 4},
                                           {"y", 4},
                                           {"width", 6},
                                           {"height", 6},
                                           {"resizeWidth", 11},
                                           {"resizeHeight", 12},
                                           {"displayX", 8},
                                           {"displayY", 8},
                                           {"paletteFlags", 12}}};

void printTable(std::ostream& out, const GeoDocument& document, const std::filesystem::path& font) {
    out << displayPath(font) << ": " << document.elementCount << " elements, " << document.fileSize
        << " bytes, picture offset " << document.pictureOffset << '\n';
    for (std::size_t k = 0; k < kColumns.size(); ++k)
        out << (k == 0 ? "" : " ") << std::setw(kColumns[k].width) << kColumns[k].name;
    out << '\n';
    for (std::uint32_t i = 0; i < document.elementCount; ++i) {
        const ElementRow row = elementRow(document, i);
        const ElementConfig& c = row.config;
        const std::array<std::int64_t, 9> values{row.number,     c.x,        c.y,
                                                 c.width,        c.height,   c.resizeWidth,
                                                 c.resizeHeight, c.displayX, c.displayY};
        for (std::size_t k = 0; k < values.size(); ++k) {
            out << (k == 0 ? "" : " ") << std::setw(kColumns[k].width) << values[k];
        }
        out << "   0x" << std::hex << std::uppercase << std::setfill('0') << std::setw(8)
            << row.paletteFlags << std::dec << std::nouppercase << std::setfill(' ') << '\n';
    }
}

// The JSON shape is part of the tool's interface (README): top-level fileSize,
// pictureOffset, elementCount and elements, one object per element with the table's
// columns as keys, all values plain integers.
void printJson(std::ostream& out, const GeoDocument& document) {
    out << "{\n  \"fileSize\": " << document.fileSize
        << ",\n  \"pictureOffset\": " << document.pictureOffset
        << ",\n  \"elementCount\": " << document.elementCount << ",\n  \"elements\": [";
    for (std::uint32_t i = 0; i < document.elementCount; ++i) {
        const ElementRow row = elementRow(document, i);
        const ElementConfig& c = row.config;
        out << (i == 0 ? "\n" : ",\n") << "    {\"number\": " << row.number << ", \"x\": " << c.x
            << ", \"y\": " << c.y << ", \"width\": " << c.width << ", \"height\": " << c.height
            << ", \"resizeWidth\": " << c.resizeWidth << ", \"resizeHeight\": " << c.resizeHeight
            << ", \"displayX\": " << c.displayX << ", \"displayY\": " << c.displayY
            << ", \"paletteFlags\": " << row.paletteFlags << '}';
    }
    out << "\n  ]\n}\n";
}

}  // namespace

int runCheck(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    const std::filesystem::path& font = invocation.operands[0];
    std::optional<GeoDocument> opened = openOrReport(font, err);
    if (!opened)
        return kExitFailure;
    GeoDocument& document = *opened;
    out << displayPath(font) << ": OK, " << document.elementCount << " elements\n";
    return kExitOk;
}

int runInfo(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    const std::filesystem::path& font = invocation.operands[0];
    std::optional<GeoDocument> opened = openOrReport(font, err);
    if (!opened)
        return kExitFailure;
    GeoDocument& document = *opened;
    if (invocation.json) {
        printJson(out, document);
    } else {
        printTable(out, document, font);
    }
    return kExitOk;
}

}  // namespace zt9::geotool
