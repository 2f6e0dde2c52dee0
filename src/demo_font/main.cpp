// make_demo_font OUT.geo: writes the demo font. Exit status 0 when written, 1 when the file
// cannot be written, 2 for bad arguments.

#include <filesystem>
#include <iostream>
#include <span>
#include <string>

#include "demo_font/demo_font.h"
#include "document/file_io.h"

namespace {

template <typename Char>
int runWith(int argc, Char** argv) {
    const std::span<Char*> args(argv, static_cast<std::size_t>(argc));
    if (args.size() != 2 || args[1][0] == 0 || args[1][0] == '-') {
        std::cerr << "usage: make_demo_font OUT.geo\n";
        return 2;
    }
    const std::filesystem::path output(args[1]);
    if (!zt9::writeFileReplacing(output, zt9::demo::makeDemoFont())) {
        const std::u8string name = output.u8string();
        std::cerr << "make_demo_font: cannot write " << std::string(name.begin(), name.end())
                  << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

#ifdef _WIN32
// The wide entry point, so that the output may be any path, not only one in the ANSI code page.
int wmain(int argc, wchar_t** argv) {
    return runWith(argc, argv);
}
#else
int main(int argc, char** argv) {
    return runWith(argc, argv);
}
#endif
