#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zt9 {

// What the clipboard holds for a paste: our own element image format (preferred), else a
// packed DIB, as bytes copied out of the clipboard and not yet looked at.
struct ClipboardPicture {
    enum class Kind : std::uint8_t {
        none,          // no picture there
        elementImage,  // images/element_image_format.h
        dib,           // a packed DIB, whatever the program that put it there
        busy,          // another program holds the clipboard open
    };
    Kind kind = Kind::none;
    std::vector<std::uint8_t> bytes;
};

// The system clipboard, as copy and paste use it. The Win32 window implements it with the
// platform's clipboard; tests put a recorder in its place.
class Clipboard {
  public:
    virtual ~Clipboard() = default;

    // Whether a paste would find a picture, without reading it.
    virtual bool holdsPicture() = 0;
    virtual ClipboardPicture picture() = 0;
    // Replaces what the clipboard holds by one image in both forms. False when the clipboard
    // could not be opened or could not take them.
    virtual bool putPicture(std::span<const std::uint8_t> elementImage,
                            std::span<const std::uint8_t> dib) = 0;
};

}  // namespace zt9
