#include "geotool/geotool.h"

#include <exception>

#include "errors/error.h"
#include "geotool/arguments.h"
#include "geotool/commands.h"
#include "geotool/font_file.h"

namespace zt9::geotool {
namespace {

int dispatch(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    switch (invocation.command) {
        case Command::help:
            out << usageText();
            return kExitOk;
        case Command::check:
            return runCheck(invocation, out, err);
        case Command::info:
            return runInfo(invocation, out, err);
        case Command::exportElements:
            return runExport(invocation, out, err);
        case Command::importElements:
            return runImport(invocation, out, err);
        case Command::render:
            return runRender(invocation, out, err);
    }
    return kExitFailure;
}

}  // namespace

int runGeotool(const std::vector<std::filesystem::path>& args, std::ostream& out,
               std::ostream& err) {
    try {
        const ParsedArguments parsed = parseArguments(args);
        if (!parsed.invocation)
            return usageError(err, parsed.problem);
        const int exitCode = dispatch(*parsed.invocation, out, err);
        out.flush();
        if (!out) {
            err << "geotool: cannot write the output\n";
            return kExitFailure;
        }
        return exitCode;
    } catch (const std::exception& e) {
        // The editor shows anything unexpected as "Unknow error"; the tool adds the detail.
        err << "geotool: " << text::kUnknown << ": " << e.what() << '\n';
        return kExitFailure;
    }
}

}  // namespace zt9::geotool
