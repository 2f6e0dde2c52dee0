#include "render/render.h"

#include "render/draw.h"

namespace zt9 {

void renderView(GeoDocument& document, ViewState& view, Surface& viewSurface,
                Surface& pictureSurface) {
    if (view.documentLoaded == 0)
        return;
    const bool transparency = view.transparency == 1;
    if (view.viewMode == kPictureElement) {
        view.shownFrame = drawElementAlone(document, viewSurface, transparency);
    } else if (view.viewMode == kFullPicture) {
        view.shownFrame = drawPicture(document, pictureSurface, transparency);
        composeView(document, view, viewSurface, pictureSurface);
    }
}

void composeView(GeoDocument& document, const ViewState& view, Surface& viewSurface,
                 const Surface& pictureSurface) {
    viewSurface.copyRect(pictureSurface, view.shownFrame.width,
                         std::int64_t{view.shownFrame.height} + 1);
    drawElementInPlace(document, viewSurface);
}

}  // namespace zt9
