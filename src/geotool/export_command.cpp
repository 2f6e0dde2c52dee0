#include <system_error>

#include "geotool/commands.h"
#include "geotool/font_file.h"
#include "images/element_export.h"

namespace zt9::geotool {

int runExport(const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    const std::filesystem::path& font = invocation.operands[0];
    const std::filesystem::path& folder = invocation.operands[1];
    std::optional<GeoDocument> opened = openOrReport(font, err);
    if (!opened)
        return kExitFailure;
    GeoDocument& document = *opened;
    std::uint32_t first = 0;
    std::uint32_t last = document.elementCount - 1;
    if (invocation.element) {
        if (const int code = checkElementArgument(err, document, *invocation.element);
            code != kExitOk)
            return code;
        first = last = static_cast<std::uint32_t>(*invocation.element);
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return reportProblem(err, folder, "cannot create the folder: " + ec.message());

    const int mode = invocation.depth == 4 ? kExport4bpp : kExport8bpp;
    for (std::uint32_t element = first; element <= last; ++element) {
        const std::filesystem::path file = folder / elementFileName(element);
        std::int32_t ignored = 0;
        document.selectElement(static_cast<std::int32_t>(element), ignored);
        try {
            exportElement(document, mode, file);
        } catch (const error& e) {
            return reportError(err, file, e);
        }
    }
    return kExitOk;
}

}  // namespace zt9::geotool
