#pragma once

#include <cstdint>

#include "document/element_config.h"

namespace zt9 {

// Colours of the view, 0x00BBGGRR like every surface pixel.
inline constexpr std::uint32_t kPictureBackground = 0x7B3C52;  // Full picture, transparency on
inline constexpr std::uint32_t kOpaqueBackground = 0x000000;   // any view, transparency off
inline constexpr std::uint32_t kHighlightColor = 0xF400FD;     // block under the current element
inline constexpr std::uint32_t kMarginGrey = 0x808080;         // window margins, cleared view

inline constexpr std::uint8_t kFullPicture = 0;
inline constexpr std::uint8_t kPictureElement = 1;

// What the main window keeps about its view. A plain record: the window owns it and the
// render entry points read it and store the frame they drew.
struct ViewState {
    std::uint8_t viewMode = kFullPicture;
    std::int32_t transparency = 1;  // 1: coloured backgrounds and blocks; 0: black
    std::int32_t viewZoom = 1;      // painting's enlargement, 1 to 10
    // The frame of the last render; painting shows its width x (height + 1) pixels.
    ElementConfig shownFrame{};
    std::uint8_t documentLoaded = 0;
};

}  // namespace zt9
