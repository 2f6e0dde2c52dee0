// Files dropped on the main window: GEO files load, BMP files import into the current
// element, each through its ordinary command.
#include "editor/dropped_files.h"

#include "editor/main_window.h"
#include "resources/resource.h"

namespace zt9 {

bool hasExtension(const std::filesystem::path& path, std::string_view extension) {
    const auto& text = path.native();
    const auto dot = text.rfind('.');
    if (dot == std::filesystem::path::string_type::npos || dot == 0)
        return false;
    const std::size_t length = text.size() - dot - 1;
    if (length < 3 || length != extension.size())
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        auto c = text[dot + 1 + i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<decltype(c)>(c - 'a' + 'A');
        if (c != static_cast<decltype(c)>(extension[i]))
            return false;
    }
    return true;
}

void MainWindow::dropFiles(std::vector<std::filesystem::path> paths) {
    // A drop while a dialog or message box of a command is open waits for that command.
    runOrDefer([this, paths = std::move(paths)] {
        for (const std::filesystem::path& path : paths) {
            if (destroyed_)
                return;
            // Each file is loaded or imported (or refused, with its message) before the next
            // is looked at: a GEO file that fails its checks leaves no font for a BMP after it.
            if (hasExtension(path, "GEO")) {
                fileName = path;
                frame([&] { command(IDM_LOAD, 1); });
            } else if (hasExtension(path, "BMP")) {
                fileName = path;
                if (view.documentLoaded != 0)
                    frame([&] { command(IDM_IMPORT, 1); });
            }
        }
    });
}

}  // namespace zt9
