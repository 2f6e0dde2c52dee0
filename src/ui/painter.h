#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "editor/paint_plan.h"
#include "render/surface.h"

namespace zt9::ui {

// The header of a top-down 32-bit DIB of width x height pixels (0x00RRGGBB each).
BITMAPINFO topDownDib(int width, int height);

// Paints the main window from the editor's view surface: two grey margins and the shown
// frame enlarged by the zoom. The enlarged picture is kept in a DIB section and made again
// only when the view or the zoom changed, so a repaint is one 1:1 copy (under Wine several
// times faster than stretching on every paint). The GDI objects are made once and freed once.
class Painter {
  public:
    Painter();
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // `version` tells whether the surface changed since the last paint.
    void paint(HDC dc, const PaintPlan& plan, const Surface* surface, std::uint64_t version);

  private:
    bool makeCache(HDC dc);
    static void stretch(HDC dc, const PaintPlan& plan, const Surface& surface);

    HBRUSH grey_;
    HBITMAP cache_ = nullptr;
    HDC cacheDc_ = nullptr;
    HGDIOBJ cacheDcBitmap_ = nullptr;
    std::uint32_t* cacheBits_ = nullptr;
    bool cacheFailed_ = false;
    std::uint64_t cachedVersion_ = ~std::uint64_t{0};
    PaintPlan cachedPlan_{};
};

}  // namespace zt9::ui
