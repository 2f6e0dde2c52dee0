#include <memory>

#include "document/file_io.h"
#include "geotool/commands.h"
#include "geotool/font_file.h"
#include "render/render.h"
#include "render/surface_bmp.h"

namespace zt9::geotool {

int runRender(const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    const std::filesystem::path& font = invocation.operands[0];
    const std::filesystem::path& output = invocation.operands[1];
    std::optional<GeoDocument> opened = openOrReport(font, err);
    if (!opened)
        return kExitFailure;
    GeoDocument& document = *opened;
    // The view as the editor has it right after opening the font: Full picture with element
    // 0 current, or the Picture Element view of the chosen element.
    ViewState view;
    view.documentLoaded = 1;
    view.transparency = invocation.transparency ? 1 : 0;
    view.viewZoom = invocation.zoom;
    if (invocation.element) {
        if (const int code = checkElementArgument(err, document, *invocation.element);
            code != kExitOk)
            return code;
        std::int32_t ignored = 0;
        document.selectElement(*invocation.element, ignored);
        view.viewMode = kPictureElement;
    }
    // Two surfaces are 490 KB together: kept off the stack.
    const auto viewSurface = std::make_unique<Surface>();
    const auto pictureSurface = std::make_unique<Surface>();
    renderView(document, view, *viewSurface, *pictureSurface);

    const std::vector<std::uint8_t> bmp =
        surfaceBmp(*viewSurface, view.shownFrame.width, std::int64_t{view.shownFrame.height} + 1,
                   static_cast<std::uint32_t>(view.viewZoom));
    if (!writeFileReplacing(output, bmp)) {
        error saveError;
        saveError.code = kCodeSave;
        return reportError(err, output, saveError);
    }
    return kExitOk;
}

}  // namespace zt9::geotool
