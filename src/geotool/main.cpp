#include <filesystem>
#include <iostream>
#include <span>
#include <vector>

#include "geotool/geotool.h"

namespace {

template <typename Char>
int runWith(int argc, Char** argv) {
    const std::span<Char*> all(argv, static_cast<std::size_t>(argc));
    std::vector<std::filesystem::path> args;
    for (Char* arg : all.subspan(all.empty() ? 0 : 1))
        args.emplace_back(arg);
    return zt9::geotool::runGeotool(args, std::cout, std::cerr);
}

}  // namespace

#ifdef _WIN32
// The wide entry point: the narrow argv of Windows is in the ANSI code page and would lose
// every file name character outside it.
int wmain(int argc, wchar_t** argv) {
    return runWith(argc, argv);
}
#else
int main(int argc, char** argv) {
    return runWith(argc, argv);
}
#endif
