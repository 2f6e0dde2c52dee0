#include <algorithm>
#include <map>
#include <optional>
#include <system_error>

#include "geotool/commands.h"
#include "geotool/console_text.h"
#include "geotool/font_file.h"
#include "images/element_import.h"

namespace zt9::geotool {
namespace {

constexpr std::string_view kPrefix = "geo element ";
constexpr std::string_view kSuffix = ".bmp";

// The digits of a name of the form "geo element N.bmp", where N is written as the editor
// writes it (no sign, no leading zeros); nothing for any other name.
std::optional<std::string> numberInName(const std::string& name) {
    if (name.size() <= kPrefix.size() + kSuffix.size() || !name.starts_with(kPrefix) ||
        !name.ends_with(kSuffix)) {
        return std::nullopt;
    }
    std::string digits = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    if (digits.size() > 1 && digits[0] == '0')
        return std::nullopt;
    return digits;
}

struct ElementFiles {
    std::map<std::uint32_t, std::filesystem::path> byElement;
    int exitCode = kExitOk;
};

// Every element image of the folder, in element order. A name for an element the font does
// not have is an error: the user meant that image to go somewhere.
ElementFiles findElementFiles(std::ostream& err, const std::filesystem::path& folder,
                              const GeoDocument& document) {
    ElementFiles found;
    std::error_code ec;
    std::filesystem::directory_iterator entries(folder, ec);
    if (ec) {
        found.exitCode = reportProblem(err, folder, "cannot read the folder: " + ec.message());
        return found;
    }
    for (const auto& entry : entries) {
        const std::optional<std::string> digits =
            numberInName(displayPath(entry.path().filename()));
        if (!digits)
            continue;
        if (digits->size() > 3 || std::stoul(*digits) >= document.elementCount) {
            found.exitCode = reportProblem(
                err, entry.path(),
                "the font has no element " + *digits + " (its elements are 0 to " +
                    formatDecimal(static_cast<std::int32_t>(document.elementCount) - 1) + ")");
            return found;
        }
        found.byElement.emplace(static_cast<std::uint32_t>(std::stoul(*digits)), entry.path());
    }
    if (found.byElement.empty()) {
        found.exitCode = reportProblem(err, folder, "no \"geo element N.bmp\" files to import");
    }
    return found;
}

}  // namespace

int runImport(const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    const std::filesystem::path& font = invocation.operands[0];
    const std::filesystem::path& folder = invocation.operands[1];
    const std::filesystem::path& output = invocation.operands[2];
    std::optional<GeoDocument> opened = openOrReport(font, err);
    if (!opened)
        return kExitFailure;
    GeoDocument& document = *opened;
    const ElementFiles files = findElementFiles(err, folder, document);
    if (files.exitCode != kExitOk)
        return files.exitCode;

    // Element by element, as the import command would be used on each; the first refused
    // image ends the run before anything is saved.
    for (const auto& [element, file] : files.byElement) {
        std::int32_t ignored = 0;
        document.selectElement(static_cast<std::int32_t>(element), ignored);
        FieldCode xCode = FieldCode::unchanged;
        FieldCode yCode = FieldCode::unchanged;
        try {
            importElement(document, xCode, yCode, file);
        } catch (const error& e) {
            return reportError(err, file, e);
        }
    }
    document.clearError();
    try {
        document.saveFile(output);
    } catch (const error& e) {
        return reportError(err, output, e);
    }
    return kExitOk;
}

}  // namespace zt9::geotool
