#pragma once

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace zt9::test {

// Runs `program` with `arguments`, each quoted, through the system's command shell, its
// standard output and error going to files "out" and "err" in `folder`: the exit code, then
// what it wrote to each (read as text, so Windows line ends read as \n).
std::tuple<int, std::string, std::string> runProgram(
    const std::filesystem::path& program, const std::vector<std::filesystem::path>& arguments,
    const std::filesystem::path& folder);

}  // namespace zt9::test
