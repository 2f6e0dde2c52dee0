#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "editor/picture_viewport.h"
#include "render/surface.h"

namespace zt9::ui {

// The header of a top-down 32-bit DIB of width x height pixels (0x00RRGGBB each).
BITMAPINFO topDownDib(int width, int height);

// Paints the main window from the editor's view surface: grey margins, the square between
// the scroll bars, and the visible part of the shown frame enlarged by the zoom. The whole
// enlarged picture is kept in a DIB section, so a repaint or a scroll is one 1:1 copy of
// the part in view. When the view changes, only the blocks of the pixels that changed are
// enlarged again; a new zoom, frame size or grid redoes it all. The GDI objects are made
// once and freed once.
class Painter {
  public:
    Painter();
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // `update` is the part of the window to paint; `version` tells whether the surface
    // changed since the last paint.
    void paint(HDC dc, const RECT& update, const PaintPlan& plan, const Surface* surface,
               std::uint64_t version);

  private:
    bool makeCache(HDC dc);
    void refreshCache(const PaintPlan& plan, const Surface& surface, std::uint64_t version);
    static void stretch(HDC dc, const PaintPlan& plan, const Surface& surface);

    HBRUSH grey_;
    HBITMAP cache_ = nullptr;
    HDC cacheDc_ = nullptr;
    HGDIOBJ cacheDcBitmap_ = nullptr;
    std::uint32_t* cacheBits_ = nullptr;
    bool cacheFailed_ = false;
    bool cacheFilled_ = false;
    std::uint64_t cachedVersion_ = 0;
    PaintPlan cachedPlan_{};
    Surface enlargedFrom_;  // the surface as the cache shows it
};

}  // namespace zt9::ui
