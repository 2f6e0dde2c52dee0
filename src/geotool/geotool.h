#pragma once

#include <filesystem>
#include <ostream>
#include <vector>

namespace zt9::geotool {

// The whole program: `args` are the arguments after the program name. Returns the exit
// code: 0 success, 1 a refused file or failed operation, 2 bad arguments.
int runGeotool(const std::vector<std::filesystem::path>& args, std::ostream& out,
               std::ostream& err);

}  // namespace zt9::geotool
