#include <memory>

#include "document/byte_io.h"
#include "document/file_io.h"
#include "geotool/commands.h"
#include "geotool/font_file.h"
#include "render/render.h"
#include "render/surface_bmp.h"

namespace zt9::geotool {
namespace {

// The window shows the view by stretching it: every source pixel becomes a zoom x zoom
// block. The same on the BMP the core makes of the shown frame (54-byte header, 24-bit rows
// bottom-up, each padded to 4 bytes), so zoom 1 is exactly the core's file.
std::vector<std::uint8_t> enlargeBmp(const std::vector<std::uint8_t>& bmp, std::uint32_t zoom) {
    if (zoom == 1)
        return bmp;
    constexpr std::size_t kHeader = 54;
    const std::uint32_t width = readU32(bmp, 18);
    const std::uint32_t height = readU32(bmp, 22);
    const std::uint32_t stride = (width * 3 + 3) & ~3u;
    const std::uint32_t bigWidth = width * zoom;
    const std::uint32_t bigHeight = height * zoom;
    const std::uint32_t bigStride = (bigWidth * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = bigStride * bigHeight;
    std::vector<std::uint8_t> out(kHeader + imageBytes, 0);
    std::copy(bmp.begin(), bmp.begin() + kHeader, out.begin());
    writeU32(out, 2, static_cast<std::uint32_t>(kHeader) + imageBytes);
    writeU32(out, 18, bigWidth);
    writeU32(out, 22, bigHeight);
    writeU32(out, 34, imageBytes);
    for (std::uint32_t row = 0; row < bigHeight; ++row) {
        // Stored rows are bottom-up in both files, so stored row r comes from row r / zoom.
        const std::size_t from = kHeader + std::size_t{stride} * (row / zoom);
        std::size_t to = kHeader + std::size_t{bigStride} * row;
        for (std::uint32_t column = 0; column < bigWidth; ++column) {
            const std::size_t pixel = from + 3 * std::size_t{column / zoom};
            for (std::size_t k = 0; k < 3; ++k)
                out[to++] = bmp[pixel + k];
        }
    }
    return out;
}

}  // namespace

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
        surfaceBmp(*viewSurface, view.shownFrame.width, std::int64_t{view.shownFrame.height} + 1);
    if (!writeFileReplacing(output, enlargeBmp(bmp, static_cast<std::uint32_t>(view.viewZoom)))) {
        error saveError;
        saveError.code = kCodeSave;
        return reportError(err, output, saveError);
    }
    return kExitOk;
}

}  // namespace zt9::geotool
