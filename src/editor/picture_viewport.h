#pragma once

#include <cstdint>

#include "document/element_config.h"
#include "render/surface.h"

namespace zt9 {

inline constexpr std::int32_t kMinZoom = 1;
inline constexpr std::int32_t kMaxZoom = 10;
inline constexpr std::int32_t kGridMinZoom = 4;  // below it the lines would hide the pixels

// A point in the main window's client area, in window pixels; anywhere, also outside it.
struct WindowPoint {
    std::int64_t x = 0, y = 0;
};

// The picture pixel under a window point, found by floor division so that points left of
// or above the picture give negative columns and rows instead of being pulled in.
struct PicturePixel {
    std::int64_t column = 0, row = 0;  // of the shown frame
    std::int64_t x = 0, y = 0;         // in the picture: the frame's origin added
    bool inFrame = false;              // the pixel belongs to the shown frame
    bool inView = false;               // the point lies in the visible part of the area

    bool operator==(const PicturePixel&) const = default;
};

// One scroll bar of the picture area, as the platform's control takes it.
struct ScrollBar {
    bool shown = false;
    std::int64_t length = 0;    // the enlarged picture's length along the bar
    std::int64_t page = 0;      // how much of it the area shows
    std::int64_t position = 0;  // the first window pixel of it shown
    PixelRect place;            // the control's rectangle in the client area

    bool operator==(const ScrollBar&) const = default;
};

enum class ScrollAxis { across, down };
enum class ScrollAction { lineBack, lineForward, pageBack, pageForward, to, start, end };

// What one paint of the main window draws, in window pixels from the client area's top-left
// corner: the visible part of the enlarged picture, grey margins where the picture ends
// before the area does, and the square between two scroll bars.
struct PaintPlan {
    PixelRect picture;  // where the enlarged picture's visible part goes
    // Its top-left corner in the enlarged picture: the scroll position.
    std::int64_t sourceX = 0, sourceY = 0;
    PixelRect rightMargin;   // right of the picture, down to the area's bottom
    PixelRect bottomMargin;  // below the picture, as wide as it
    PixelRect corner;
    // The top-left columns x rows pixels of the view surface, each a zoom x zoom block.
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::int32_t zoom = 1;
    bool grid = false;

    bool operator==(const PaintPlan&) const = default;
};

// The one conversion between the main window and the picture: the room left of the panel
// and above the status bar, the shown frame, the zoom and the scroll position. It decides
// which scroll bars are needed, keeps the scroll position where no empty space past the
// picture's edge shows, and answers every question painting, hit testing and the status
// bar ask. The picture starts at the area's top-left corner when it fits.
class PictureViewport {
  public:
    // The room for the picture and its scroll bars (negative sizes count as none) and the
    // bars' thickness.
    void setRoom(std::int64_t width, std::int64_t height, std::int32_t barWidth,
                 std::int32_t barHeight);
    // The frame's width w shows w columns and its height h shows h + 1 rows, both cut to the
    // surface; its x and y are the picture coordinates of its top-left pixel.
    void setFrame(const ElementConfig& shownFrame);
    // A new zoom (kept within 1 to 10) keeping the picture pixel under `anchor` under it,
    // as far as the scroll range allows.
    void zoomAbout(std::int32_t zoom, WindowPoint anchor);
    void scrollTo(std::int64_t x, std::int64_t y);
    void scroll(ScrollAxis axis, ScrollAction action, std::int64_t position = 0);
    // Whole scroll lines, each about 16 window pixels but always whole picture pixels.
    void scrollLines(std::int64_t across, std::int64_t down);

    std::int32_t zoom() const { return zoom_; }
    std::int64_t scrollX() const { return scrollX_; }
    std::int64_t scrollY() const { return scrollY_; }
    // The visible part of the area: the room less the shown scroll bars.
    std::int64_t viewWidth() const { return viewWidth_; }
    std::int64_t viewHeight() const { return viewHeight_; }
    ScrollBar horizontal() const;
    ScrollBar vertical() const;
    std::int64_t lineStep() const;

    PicturePixel pixelAt(WindowPoint point) const;
    // Where the enlarged block of picture pixel (x, y) lies in the window, visible or not.
    PixelRect windowRectOf(std::int64_t x, std::int64_t y) const;
    // The window rectangle of the frame pixels `frame` (columns and rows), cut to the view.
    PixelRect visibleWindowRect(const PixelRect& frame) const;
    PaintPlan paintPlan(bool gridOn) const;

  private:
    void relayout();
    std::int64_t pictureWidth() const { return std::int64_t{columns_} * zoom_; }
    std::int64_t pictureHeight() const { return std::int64_t{rows_} * zoom_; }

    std::int64_t roomWidth_ = 0, roomHeight_ = 0;
    std::int32_t barWidth_ = 0, barHeight_ = 0;
    std::int32_t columns_ = 0, rows_ = 0;
    std::int64_t originX_ = 0, originY_ = 0;
    std::int32_t zoom_ = 1;
    std::int64_t scrollX_ = 0, scrollY_ = 0;
    bool acrossBar_ = false, downBar_ = false;
    std::int64_t viewWidth_ = 0, viewHeight_ = 0;
};

}  // namespace zt9
