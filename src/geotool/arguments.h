#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zt9::geotool {

enum class Command { help, check, info, exportElements, importElements, render };

// One parsed command line. Operands keep the native path form, so no file name is ever
// squeezed through a narrower character set.
struct Invocation {
    Command command = Command::help;
    std::vector<std::filesystem::path> operands;
    bool json = false;
    std::int32_t depth = 8;
    std::optional<std::int32_t> element;
    bool transparency = true;
    std::int32_t zoom = 1;
};

// Either an invocation or the reason the command line was refused.
struct ParsedArguments {
    std::optional<Invocation> invocation;
    std::string problem;
};

// `args` are the arguments after the program name.
ParsedArguments parseArguments(const std::vector<std::filesystem::path>& args);

std::string_view usageText();
// Prints the problem and the usage to `err`; returns the usage exit code.
int usageError(std::ostream& err, std::string_view problem);

}  // namespace zt9::geotool
