#include "editor/status_texts.h"

#include <cstdio>

namespace zt9::status {
namespace {

constexpr const char* kTimes = "\xC3\x97";  // U+00D7 multiplication sign, in UTF-8

std::string decimal(std::int64_t value) {
    return std::to_string(value);
}

}  // namespace

std::string element(std::uint32_t number, std::uint32_t count, const ElementConfig& config) {
    return "Element " + decimal(number) + " of " + decimal(count) + ": x " + decimal(config.x) +
           ", y " + decimal(config.y) + ", " + decimal(config.width) + " " + kTimes + " " +
           decimal(std::int64_t{config.height} + 1);
}

std::string pointer(const PicturePixel& pixel, bool pictureElement,
                    std::optional<std::uint8_t> index, std::uint32_t shownColor) {
    if (!pixel.inFrame || !pixel.inView)
        return {};
    std::string text = "x " + decimal(pixel.x) + ", y " + decimal(pixel.y);
    if (!pictureElement)
        return text;
    if (index)
        text += ", index " + decimal(*index);
    // The surface keeps 0x00BBGGRR; the text reads red, green, blue.
    char color[8] = {};
    std::snprintf(color, sizeof color, "#%02X%02X%02X", shownColor & 0xFFu,
                  (shownColor >> 8) & 0xFFu, (shownColor >> 16) & 0xFFu);
    return text + ", " + color;
}

std::string tool(DrawTool tool, std::uint8_t color) {
    const char* name = tool == DrawTool::fill     ? "Fill"
                       : tool == DrawTool::picker ? "Picker"
                                                  : "Pencil";
    return std::string(name).append(", colour ").append(decimal(color));
}

std::string overElement(std::uint32_t number) {
    return ", over element " + decimal(number);
}

std::string zoom(std::int32_t zoom) {
    return std::string(kTimes).append(decimal(zoom));
}

}  // namespace zt9::status
