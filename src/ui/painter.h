#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "editor/paint_plan.h"
#include "render/surface.h"

namespace zt9::ui {

// Paints the main window from the editor's view surface: two grey margins and one stretch
// of the shown frame by the zoom. It draws no pixels of its own. The grey brush is made
// once and freed once.
class Painter {
  public:
    Painter();
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // `version` tells whether the surface changed since the last paint; only then is its
    // pixel order converted again.
    void paint(HDC dc, const PaintPlan& plan, const Surface* surface, std::uint64_t version);

  private:
    HBRUSH grey_;
    std::vector<std::uint32_t> dib_;
    std::uint64_t dibVersion_ = ~std::uint64_t{0};
};

}  // namespace zt9::ui
