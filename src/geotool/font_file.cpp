#include "geotool/font_file.h"

#include "geotool/arguments.h"
#include "geotool/console_text.h"

namespace zt9::geotool {

std::optional<GeoDocument> openOrReport(const std::filesystem::path& font, std::ostream& err) {
    GeoDocument document;
    try {
        openFont(document, font);
    } catch (const error& e) {
        reportError(err, font, e);
        return std::nullopt;
    }
    return document;
}

std::string elementFileName(std::uint32_t element) {
    return "geo element " + formatDecimal(static_cast<std::int32_t>(element)) + ".bmp";
}

int reportError(std::ostream& err, const std::filesystem::path& file, const error& e) {
    // A record naming no condition shows no box in the editor; a tool still has to say why
    // it failed.
    return reportProblem(err, file, utf8FromCp1251(messageText(e).value_or(text::kUnknown)));
}

int reportProblem(std::ostream& err, const std::filesystem::path& file, std::string_view message) {
    err << "geotool: " << displayPath(file) << ": " << message << '\n';
    return kExitFailure;
}

int checkElementArgument(std::ostream& err, const GeoDocument& document, std::int32_t element) {
    if (element >= 0 && static_cast<std::uint32_t>(element) < document.elementCount)
        return kExitOk;
    const auto last = static_cast<std::int32_t>(document.elementCount) - 1;
    return usageError(err, "--element " + formatDecimal(element) + ": the font has elements 0 to " +
                               formatDecimal(last));
}

}  // namespace zt9::geotool
