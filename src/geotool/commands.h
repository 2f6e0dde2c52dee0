#pragma once

#include <ostream>

#include "geotool/arguments.h"

namespace zt9::geotool {

// Each command takes a parsed invocation with the right number of operands, writes its
// report to `out` and its failures to `err`, and returns the exit code.
int runCheck(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runInfo(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runExport(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runImport(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runRender(const Invocation& invocation, std::ostream& out, std::ostream& err);

}  // namespace zt9::geotool
