#include "ui/palette_strip.h"

#include <windowsx.h>

#include <algorithm>

namespace zt9::ui {
namespace {

constexpr COLORREF kCheckerLight = RGB(255, 255, 255);
constexpr COLORREF kCheckerDark = RGB(192, 192, 192);
constexpr int kCheckerSquare = 4;
constexpr int kMargin = 2;  // room for the frame of the chosen swatch

void fill(HDC dc, const RECT& area, COLORREF color) {
    const HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// Colour 0 is never drawn: the transparent entry shows as a checker.
void paintChecker(HDC dc, const RECT& area) {
    fill(dc, area, kCheckerLight);
    const HBRUSH dark = CreateSolidBrush(kCheckerDark);
    for (LONG y = area.top; y < area.bottom; y += kCheckerSquare) {
        for (LONG x = area.left; x < area.right; x += kCheckerSquare) {
            if (((x - area.left) / kCheckerSquare + (y - area.top) / kCheckerSquare) % 2 == 0)
                continue;
            const RECT square{x, y, std::min<LONG>(x + kCheckerSquare, area.right),
                              std::min<LONG>(y + kCheckerSquare, area.bottom)};
            FillRect(dc, &square, dark);
        }
    }
    DeleteObject(dark);
}

}  // namespace

void paintPaletteStrip(const DRAWITEMSTRUCT& item, const PaletteStrip& strip) {
    const HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    if (!strip.shown)
        return;
    const LONG width = area.right - area.left;
    const LONG height = area.bottom - area.top;
    for (int entry = 0; entry < kPaletteEntries; ++entry) {
        const PixelRect place = swatchRect(width, height, entry);
        const RECT cell{
            area.left + static_cast<LONG>(place.left), area.top + static_cast<LONG>(place.top),
            area.left + static_cast<LONG>(place.right), area.top + static_cast<LONG>(place.bottom)};
        RECT swatch = cell;
        InflateRect(&swatch, -kMargin, -kMargin);
        if (entry == 0)
            paintChecker(dc, swatch);
        else
            fill(dc, swatch, strip.colors.at(static_cast<std::size_t>(entry)));
        FrameRect(dc, &swatch, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        if (entry == strip.chosen) {
            RECT frame = cell;
            FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            InflateRect(&frame, -1, -1);
            FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
    }
}

int swatchUnderPointer(HWND strip) {
    const DWORD at = GetMessagePos();
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    RECT client{};
    if (ScreenToClient(strip, &point) == FALSE || GetClientRect(strip, &client) == FALSE)
        return -1;
    return swatchAt(client.right, client.bottom, point.x, point.y);
}

}  // namespace zt9::ui
