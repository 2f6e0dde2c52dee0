#pragma once

#include "document/geo_document.h"
#include "render/surface.h"
#include "render/view_state.h"

namespace zt9 {

// A render request of the main window. Nothing happens without a document. In Picture
// Element mode the current element is drawn alone into viewSurface. In Full picture mode
// the picture without the current element is drawn into pictureSurface and composeView
// follows. view.shownFrame receives the frame drawn; the window then only stretches
// viewSurface's shownFrame.width x (shownFrame.height + 1) pixels.
void renderView(GeoDocument& document, ViewState& view, Surface& viewSurface,
                Surface& pictureSurface);

// The compose step of Full picture: copies the shown frame of pictureSurface into
// viewSurface and lays the current element over its highlight block, so the current
// element is always on top and always visibly marked, whatever the transparency.
void composeView(GeoDocument& document, const ViewState& view, Surface& viewSurface,
                 const Surface& pictureSurface);

}  // namespace zt9
