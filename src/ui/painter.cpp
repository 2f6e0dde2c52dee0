#include "ui/painter.h"

#include "render/view_state.h"

namespace zt9::ui {
namespace {

// The largest enlarged picture: the whole surface at zoom 10.
constexpr int kCacheWidth = kSurfaceWidth * 10;
constexpr int kCacheHeight = kSurfaceHeight * 10;

RECT toRect(const PixelRect& r) {
    return {static_cast<LONG>(r.left), static_cast<LONG>(r.top), static_cast<LONG>(r.right),
            static_cast<LONG>(r.bottom)};
}

}  // namespace

BITMAPINFO topDownDib(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

Painter::Painter() : grey_(CreateSolidBrush(kMarginGrey)) {}

Painter::~Painter() {
    if (cacheDc_ != nullptr) {
        SelectObject(cacheDc_, cacheDcBitmap_);
        DeleteDC(cacheDc_);
    }
    if (cache_ != nullptr)
        DeleteObject(cache_);
    DeleteObject(grey_);
}

bool Painter::makeCache(HDC dc) {
    if (cache_ != nullptr || cacheFailed_)
        return cache_ != nullptr;
    const BITMAPINFO info = topDownDib(kCacheWidth, kCacheHeight);
    void* bits = nullptr;
    cache_ = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    cacheDc_ = cache_ != nullptr ? CreateCompatibleDC(dc) : nullptr;
    if (cacheDc_ == nullptr) {
        // Without the memory for it, every paint stretches instead.
        if (cache_ != nullptr)
            DeleteObject(cache_);
        cache_ = nullptr;
        cacheFailed_ = true;
        return false;
    }
    cacheDcBitmap_ = SelectObject(cacheDc_, cache_);
    cacheBits_ = static_cast<std::uint32_t*>(bits);
    return true;
}

void Painter::stretch(HDC dc, const PaintPlan& plan, const Surface& surface) {
    const std::vector<std::uint32_t> pixels = dibPixels(surface);
    // Only the rows shown, so the source rectangle covers the DIB's whole height and no
    // bottom-up origin is involved. The whole frame is stretched from the scrolled origin
    // and cut to the visible part.
    const BITMAPINFO info = topDownDib(kSurfaceWidth, plan.rows);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, static_cast<int>(plan.picture.right),
                      static_cast<int>(plan.picture.bottom));
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, static_cast<int>(-plan.sourceX), static_cast<int>(-plan.sourceY),
                  plan.columns * plan.zoom, plan.rows * plan.zoom, 0, 0, plan.columns, plan.rows,
                  pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    RestoreDC(dc, saved);
}

void Painter::refreshCache(const PaintPlan& plan, const Surface& surface, std::uint64_t version) {
    const bool sameLayout = cacheFilled_ && plan.columns == cachedPlan_.columns &&
                            plan.rows == cachedPlan_.rows && plan.zoom == cachedPlan_.zoom &&
                            plan.grid == cachedPlan_.grid;
    if (sameLayout && version == cachedVersion_)
        return;
    const PixelRect frame{0, 0, plan.columns, plan.rows};
    const PixelRect area = sameLayout ? changedArea(enlargedFrom_, surface, frame) : frame;
    if (!area.empty()) {
        GdiFlush();  // GDI must be done with the bits before they change
        const std::span<std::uint32_t> bits(cacheBits_, std::size_t{kCacheWidth} * kCacheHeight);
        enlargeAreaIntoDib(surface, area, plan.zoom, plan.grid, bits, kCacheWidth);
        enlargedFrom_ = surface;
    }
    cacheFilled_ = true;
    cachedVersion_ = version;
    cachedPlan_ = plan;
}

void Painter::paint(HDC dc, const RECT& update, const PaintPlan& plan, const Surface* surface,
                    std::uint64_t version) {
    for (const PixelRect& margin : {plan.rightMargin, plan.bottomMargin}) {
        if (!margin.empty()) {
            const RECT area = toRect(margin);
            FillRect(dc, &area, grey_);
        }
    }
    if (!plan.corner.empty()) {
        const RECT corner = toRect(plan.corner);
        FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
    }
    if (surface == nullptr || plan.columns <= 0 || plan.rows <= 0 || plan.picture.empty())
        return;
    if (!makeCache(dc)) {
        stretch(dc, plan, *surface);
        return;
    }
    refreshCache(plan, *surface, version);
    // Only the part of the picture this paint has to cover.
    RECT shown = toRect(plan.picture);
    if (IntersectRect(&shown, &shown, &update) == FALSE)
        return;
    BitBlt(dc, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, cacheDc_,
           shown.left + static_cast<int>(plan.sourceX), shown.top + static_cast<int>(plan.sourceY),
           SRCCOPY);
}

}  // namespace zt9::ui
