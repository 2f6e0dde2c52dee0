#include "ui/win32_clipboard.h"

#include <algorithm>
#include <cstring>

#include "images/element_image_format.h"
#include "ui/wide_text.h"

namespace zt9::ui {
namespace {

// No picture an element can take comes near this; bytes past it are never looked at.
constexpr SIZE_T kReadLimit = SIZE_T{1} << 20;

}  // namespace

UINT Win32Clipboard::elementImageFormat() {
    if (format_ == 0)
        format_ = RegisterClipboardFormatW(fromCodePage1251(kElementImageFormatName).c_str());
    return format_;
}

bool Win32Clipboard::open() const {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (OpenClipboard(owner_) != FALSE)
            return true;
        Sleep(10);
    }
    return false;
}

bool Win32Clipboard::holdsPicture() {
    return IsClipboardFormatAvailable(elementImageFormat()) != FALSE ||
           IsClipboardFormatAvailable(CF_DIB) != FALSE;
}

std::optional<std::vector<std::uint8_t>> Win32Clipboard::read(UINT format) {
    const HANDLE data = GetClipboardData(format);
    if (data == nullptr)
        return std::nullopt;
    const SIZE_T size = std::min(GlobalSize(data), kReadLimit);
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(data));
    if (bytes == nullptr)
        return std::nullopt;
    std::vector<std::uint8_t> copy(bytes, bytes + size);
    GlobalUnlock(data);
    return copy;
}

ClipboardPicture Win32Clipboard::picture() {
    const UINT own = elementImageFormat();
    const bool ownThere = IsClipboardFormatAvailable(own) != FALSE;
    if (!ownThere && IsClipboardFormatAvailable(CF_DIB) == FALSE)
        return {};
    if (!open())
        return {ClipboardPicture::Kind::busy, {}};
    ClipboardPicture picture;
    if (std::optional<std::vector<std::uint8_t>> bytes = read(ownThere ? own : CF_DIB)) {
        picture.kind =
            ownThere ? ClipboardPicture::Kind::elementImage : ClipboardPicture::Kind::dib;
        picture.bytes = std::move(*bytes);
    }
    CloseClipboard();
    return picture;
}

bool Win32Clipboard::put(UINT format, std::span<const std::uint8_t> bytes) {
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory == nullptr)
        return false;
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    // Once taken, the memory is the clipboard's.
    if (SetClipboardData(format, memory) == nullptr) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

bool Win32Clipboard::putPicture(std::span<const std::uint8_t> elementImage,
                                std::span<const std::uint8_t> dib) {
    const UINT own = elementImageFormat();
    if (own == 0 || !open())
        return false;
    const bool done = EmptyClipboard() != FALSE && put(own, elementImage) && put(CF_DIB, dib);
    CloseClipboard();
    return done;
}

}  // namespace zt9::ui
