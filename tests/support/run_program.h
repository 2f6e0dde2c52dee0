#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace zt9::test {

// Runs `program` with `arguments`, each quoted, through the system's command shell, its
// standard output and error going to files "out" and "err" in `folder`: the exit code, then
// what it wrote to each (read as text, so Windows line ends read as \n).
inline std::tuple<int, std::string, std::string> runProgram(
    const std::filesystem::path& program, const std::vector<std::filesystem::path>& arguments,
    const std::filesystem::path& folder) {
    std::filesystem::path command = "\"";
    (command += std::filesystem::path(program).make_preferred()) += "\"";
    for (const std::filesystem::path& argument : arguments)
        ((command += " \"") += argument) += "\"";
    ((((command += " >\"") += folder / "out") += "\" 2>\"") += folder / "err") += "\"";
#ifdef _WIN32  // cmd /c drops the first and last quote of a command that starts with one
    const int exitCode = _wsystem((L"\"" + command.native() + L"\"").c_str());
#else
    const int status = std::system(command.c_str());
    const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    const auto text = [&](const char* name) {
        return (std::ostringstream() << std::ifstream(folder / name).rdbuf()).str();
    };
    return {exitCode, text("out"), text("err")};
}

}  // namespace zt9::test
