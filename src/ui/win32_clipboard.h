#pragma once

#include <windows.h>

#include <optional>

#include "editor/clipboard.h"

namespace zt9::ui {

// The platform's clipboard for copy and paste: our registered element image format and
// CF_DIB, which the platform also makes from a CF_DIBV5 or CF_BITMAP another program put
// there. What it reads is copied out whole, at the size the memory block reports, and left
// to the editor's checks.
class Win32Clipboard : public Clipboard {
  public:
    // The window that opens the clipboard and owns what it puts there.
    void attach(HWND owner) { owner_ = owner; }
    // The id of our registered format, "ZT9 element image".
    UINT elementImageFormat();

    bool holdsPicture() override;
    ClipboardPicture picture() override;
    bool putPicture(std::span<const std::uint8_t> elementImage,
                    std::span<const std::uint8_t> dib) override;

  private:
    // Another program may hold the clipboard open for a moment: a few tries, briefly apart.
    bool open() const;
    static std::optional<std::vector<std::uint8_t>> read(UINT format);
    static bool put(UINT format, std::span<const std::uint8_t> bytes);

    HWND owner_ = nullptr;
    UINT format_ = 0;
};

}  // namespace zt9::ui
