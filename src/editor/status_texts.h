#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "document/element_config.h"
#include "editor/draw_tools.h"
#include "editor/picture_viewport.h"

// The status bar's texts. Unlike the program's messages they are UTF-8, for the
// multiplication sign of sizes and the zoom, which code page 1251 lacks.
namespace zt9::status {

inline constexpr const char* kOpenFontHint = "Open a GEO font: Ctrl+L, or drop a file here";
inline constexpr const char* kModified = "Modified";

// "Element 12 of 77: x 10, y 20, 6 × 5": the number the panel's Number field shows, the
// count, and the element's place and size in pixels (columns by rows).
std::string element(std::uint32_t number, std::uint32_t count, const ElementConfig& config);
// "x 134, y 57" in picture coordinates; in Picture Element view also the colour index (when
// a pixel of the element lies there) and the colour shown, "x 3, y 4, index 7, #F80000".
// Empty when the point shows no pixel of the picture.
std::string pointer(const PicturePixel& pixel, bool pictureElement,
                    std::optional<std::uint8_t> index, std::uint32_t shownColor);
// "Pencil, colour 5": the drawing tool and the colour index the left button paints with.
std::string tool(DrawTool tool, std::uint8_t color);
// ", over element 41": appended to the pointer's text in Full picture, naming the element
// a click there would pick.
std::string overElement(std::uint32_t number);
// "×4"
std::string zoom(std::int32_t zoom);

}  // namespace zt9::status
