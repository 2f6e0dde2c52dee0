#include "geotool/arguments.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "geotool/console_text.h"
#include "geotool/font_file.h"

namespace zt9::geotool {
namespace {

enum OptionBit : unsigned { kJson = 1, kDepth = 2, kElement = 4, kNoTransparency = 8, kZoom = 16 };

struct CommandRule {
    std::string_view name;
    Command command;
    std::size_t operands;
    unsigned options;
    std::string_view synopsis;
};

constexpr std::array<CommandRule, 5> kCommands{{
    {"check", Command::check, 1, 0, "check FONT"},
    {"info", Command::info, 1, kJson, "info FONT [--json]"},
    {"export", Command::exportElements, 2, kDepth | kElement,
     "export FONT OUTDIR [--depth 4|8] [--element N]"},
    {"import", Command::importElements, 3, 0, "import FONT BMPDIR OUT.geo"},
    {"render", Command::render, 2, kElement | kNoTransparency | kZoom,
     "render FONT OUT.bmp [--element N] [--no-transparency] [--zoom Z]"},
}};

struct OptionRule {
    std::string_view name;
    OptionBit bit;
    bool takesValue;
};

constexpr std::array<OptionRule, 5> kOptions{{
    {"--json", kJson, false},
    {"--depth", kDepth, true},
    {"--element", kElement, true},
    {"--no-transparency", kNoTransparency, false},
    {"--zoom", kZoom, true},
}};

constexpr std::string_view kUsage =
    R"(Usage: geotool COMMAND ARGUMENTS [OPTIONS]

Batch work on GEO bitmap fonts with the ZT9 font editor's own loading, checks, import,
export, save and drawing.

Commands:
  check FONT            load and validate FONT as the editor does
  info FONT [--json]    print the element table: number, x, y, width, height (rows
                        minus one, as stored), resize width and height, display x and y,
                        palette flags; --json prints it as JSON
  export FONT OUTDIR [--depth 4|8] [--element N]
                        write every element (or only N) as "OUTDIR/geo element N.bmp",
                        8 bits per pixel unless --depth 4; OUTDIR is created if missing
  import FONT BMPDIR OUT.geo
                        import every "geo element N.bmp" of BMPDIR into element N, in
                        element order, and save the font as OUT.geo; a refused image
                        stops the run and nothing is written
  render FONT OUT.bmp [--element N] [--no-transparency] [--zoom Z]
                        draw the Full picture view (element 0 current), or with
                        --element the Picture Element view of N, as a 24-bit BMP,
                        each pixel a Z x Z block (Z from 1 to 10, default 1)
  help                  print this help

Options:
  -h, --help            print this help and exit
  --                    end of options: later arguments are file names

Exit status: 0 success, 1 a refused file or a failed operation, 2 bad arguments.
Messages are UTF-8.
)";

// A whole decimal number within [low, high]; nothing else, not even a sign.
std::optional<std::int32_t> parseNumber(std::string_view text, std::int32_t low,
                                        std::int32_t high) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

// Stores one option's value; returns a problem text, empty when the value was taken.
std::string applyOption(Invocation& invocation, OptionBit bit, std::string_view value) {
    switch (bit) {
        case kJson:
            invocation.json = true;
            break;
        case kNoTransparency:
            invocation.transparency = false;
            break;
        case kDepth:
            if (value != "4" && value != "8")
                return "--depth must be 4 or 8, not '" + std::string(value) + "'";
            invocation.depth = value == "4" ? 4 : 8;
            break;
        case kElement:
            invocation.element = parseNumber(value, 0, kHighestElement);
            if (!invocation.element)
                return "--element must be an element number from 0 to 142, not '" +
                       std::string(value) + "'";
            break;
        case kZoom: {
            const auto zoom = parseNumber(value, 1, 10);
            if (!zoom)
                return "--zoom must be a whole number from 1 to 10, not '" + std::string(value) +
                       "'";
            invocation.zoom = *zoom;
            break;
        }
    }
    return {};
}

ParsedArguments refuse(std::string problem) {
    return ParsedArguments{std::nullopt, std::move(problem)};
}

bool isHelp(std::string_view text) {
    return text == "-h" || text == "--help";
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::filesystem::path>& args) {
    if (args.empty())
        return refuse("no command given");
    const std::string first = displayPath(args[0]);
    if (isHelp(first) || first == "help")
        return ParsedArguments{Invocation{}, {}};
    const auto* const found = std::find_if(kCommands.begin(), kCommands.end(),
                                           [&](const CommandRule& c) { return c.name == first; });
    if (found == kCommands.end())
        return refuse("unknown command '" + first + "'");

    Invocation invocation;
    invocation.command = found->command;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string text = displayPath(args[i]);
        if (optionsEnded || text.size() < 2 || text[0] != '-') {
            invocation.operands.push_back(args[i]);
            continue;
        }
        if (text == "--") {
            optionsEnded = true;
            continue;
        }
        if (isHelp(text))
            return ParsedArguments{Invocation{}, {}};
        // Both "--zoom 3" and "--zoom=3".
        const std::size_t equals = text.find('=');
        const std::string name = text.substr(0, equals);
        const auto* const option = std::find_if(
            kOptions.begin(), kOptions.end(), [&](const OptionRule& o) { return o.name == name; });
        if (option == kOptions.end())
            return refuse("unknown option '" + name + "'");
        if ((found->options & option->bit) == 0)
            return refuse("option " + name + " does not apply to " + std::string(found->name));
        std::string value;
        if (equals != std::string::npos) {
            if (!option->takesValue)
                return refuse("option " + name + " takes no value");
            value = text.substr(equals + 1);
        } else if (option->takesValue) {
            if (++i == args.size())
                return refuse("option " + name + " needs a value");
            value = displayPath(args[i]);
        }
        if (std::string problem = applyOption(invocation, option->bit, value); !problem.empty())
            return refuse(std::move(problem));
    }
    if (invocation.operands.size() != found->operands) {
        return refuse(
            std::string(invocation.operands.size() < found->operands ? "missing" : "too many") +
            " arguments; usage: geotool " + std::string(found->synopsis));
    }
    return ParsedArguments{std::move(invocation), {}};
}

std::string_view usageText() {
    return kUsage;
}

int usageError(std::ostream& err, std::string_view problem) {
    err << "geotool: " << problem << "\n\n" << kUsage;
    return kExitUsage;
}

}  // namespace zt9::geotool
