#include "editor/window_title.h"

#include <string>
#include <string_view>

#include "editor/texts.h"

namespace zt9 {

std::filesystem::path windowTitle(const std::filesystem::path& font, bool modified) {
    // The program's name is ASCII, which reads the same in code page 1251 and in UTF-8.
    const std::string_view name = text::kProgramTitle;
    const std::u8string programName(name.begin(), name.end());
    if (font.empty())
        return programName;
    std::filesystem::path title(modified ? u8"*" : u8"");
    title += font.filename().native();
    title += u8" - " + programName;
    return title;
}

}  // namespace zt9
