#include "support/run_program.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace zt9::test {
namespace fs = std::filesystem;

std::tuple<int, std::string, std::string> runProgram(const fs::path& program,
                                                     const std::vector<fs::path>& arguments,
                                                     const fs::path& folder) {
    fs::path command = (fs::path("\"") += fs::path(program).make_preferred()) += "\"";
    for (const fs::path& argument : arguments)
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
