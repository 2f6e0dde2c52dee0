#include "geotool/console_text.h"

#include <array>
#include <cstdint>

namespace zt9::geotool {
namespace {

// Code points of bytes 0x80 to 0xBF; 0xC0 to 0xFF are the contiguous А..я (U+0410..U+044F).
constexpr std::array<char16_t, 64> kHighHalf{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
};

char32_t codePoint(std::uint8_t byte) {
    if (byte < 0x80)
        return byte;
    if (byte < 0xC0)
        return kHighHalf[byte - 0x80u];
    return char32_t{0x0410} + (byte - 0xC0u);
}

void appendUtf8(std::string& out, char32_t c) {
    // Every code point of the table lies below U+10000.
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string utf8FromCp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        appendUtf8(out, codePoint(static_cast<std::uint8_t>(c)));
    return out;
}

std::string displayPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

}  // namespace zt9::geotool
