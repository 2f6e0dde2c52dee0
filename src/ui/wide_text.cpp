#include "ui/wide_text.h"

#include <windows.h>

#include <algorithm>
#include <limits>

namespace zt9::ui {

namespace {

std::wstring widen(UINT codePage, std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), needed);
    return wide;
}

}  // namespace

std::wstring fromCodePage1251(std::string_view text) {
    return widen(1251, text);
}

std::wstring fromUtf8(std::string_view text) {
    return widen(CP_UTF8, text);
}

std::string asciiText(std::wstring_view text) {
    std::string result(text.size(), '?');
    std::transform(text.begin(), text.end(), result.begin(),
                   [](wchar_t c) { return c < 0x80 ? static_cast<char>(c) : '?'; });
    return result;
}

}  // namespace zt9::ui
