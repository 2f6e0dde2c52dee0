#include "ui/painter.h"

#include "render/view_state.h"

namespace zt9::ui {
namespace {

RECT toRect(const PixelRect& r) {
    return {static_cast<LONG>(r.left), static_cast<LONG>(r.top), static_cast<LONG>(r.right),
            static_cast<LONG>(r.bottom)};
}

}  // namespace

Painter::Painter() : grey_(CreateSolidBrush(kMarginGrey)) {}

Painter::~Painter() {
    DeleteObject(grey_);
}

void Painter::paint(HDC dc, const PaintPlan& plan, const Surface* surface, std::uint64_t version) {
    for (const PixelRect& margin : {plan.rightMargin, plan.bottomMargin}) {
        if (!margin.empty()) {
            const RECT area = toRect(margin);
            FillRect(dc, &area, grey_);
        }
    }
    if (surface == nullptr || plan.columns <= 0 || plan.rows <= 0)
        return;
    if (dibVersion_ != version) {
        dib_ = dibPixels(*surface);
        dibVersion_ = version;
    }
    // A top-down DIB of just the rows shown: its first rows are the surface's top rows, and
    // the source rectangle covers its whole height, so no bottom-up origin is involved.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kSurfaceWidth;
    info.bmiHeader.biHeight = -plan.rows;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, plan.columns * plan.zoom, plan.rows * plan.zoom, 0, 0, plan.columns,
                  plan.rows, dib_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace zt9::ui
