#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "document/geo_document.h"
#include "errors/error.h"

namespace zt9::geotool {

enum : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// Element numbers above this can never exist in a font the editor accepts.
inline constexpr std::int32_t kHighestElement = 142;

// The font opened as the editor's load command opens it, or nothing after the refusal was
// reported on `err`.
std::optional<GeoDocument> openOrReport(const std::filesystem::path& font, std::ostream& err);

// The name the editor proposes for an exported element: "geo element N.bmp".
std::string elementFileName(std::uint32_t element);

// "geotool: FILE: message" on `err`, with the editor's message text for the record, in
// UTF-8. Both return the failure exit code.
int reportError(std::ostream& err, const std::filesystem::path& file, const error& e);
int reportProblem(std::ostream& err, const std::filesystem::path& file, std::string_view message);

// kExitOk when the font has element `element`; otherwise reports a usage error and returns
// its exit code.
int checkElementArgument(std::ostream& err, const GeoDocument& document, std::int32_t element);

}  // namespace zt9::geotool
