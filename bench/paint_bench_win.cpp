// Under Wine: the cost of one frame of the main window on a full font (143 elements) at
// zoom 4, drawn our way (our own surfaces, one stretch) against the old way (one SetPixelV
// per pixel into a memory DC, then StretchBlt), the enlargement at zoom 10 with and without
// the grid, the cost of a key press, a drag's pointer move or a wheel notch to the end of its
// repaint in the real window, drawing (a pencil move and a flood fill on a 255 x 240 element
// at zoom 10), and copy and paste of a 255 x 240 glyph through the real clipboard. Prints a
// table; run it with cmake/run-under-wine.sh.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "document/element_image.h"
#include "document/geo_document.h"
#include "document/pixel_edit.h"
#include "images/clipboard_image.h"
#include "render/draw.h"
#include "render/render.h"
#include "resources/resource.h"
#include "support/bmp_builder.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"
#include "ui/main_frame.h"
#include "ui/painter.h"
#include "ui/win32_screen.h"

namespace {

using zt9::Surface;

constexpr int kZoom = 4;

double now() {
    LARGE_INTEGER counter{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Microseconds per call: the median of `rounds` timings.
double measure(int rounds, const std::function<void()>& call) {
    std::vector<double> times;
    call();  // warm up
    for (int i = 0; i < rounds; ++i) {
        const double start = now();
        call();
        times.push_back(now() - start);
    }
    std::nth_element(times.begin(), times.begin() + rounds / 2, times.end());
    return times[static_cast<std::size_t>(rounds / 2)];
}

struct Pixel {
    int x, y;
    COLORREF color;
};

// The SetPixelV calls the old drawing makes for a Full picture frame: the background pixel
// by pixel, every other element's block, every other element's pixels; then (after a copy)
// the current element's highlight block and its pixels. Colours are taken from our own
// render, which follows the same rules.
void oldCalls(const zt9::GeoDocument& document, const Surface& picture, const Surface& view,
              std::vector<Pixel>& beforeCopy, std::vector<Pixel>& afterCopy) {
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 255; ++x)
            beforeCopy.push_back({x, y, picture.pixel(x, y)});
    const auto block = [](const zt9::ElementConfig& c, const Surface& from,
                          std::vector<Pixel>& to) {
        for (int r = 0; r <= c.height; ++r)
            for (int col = 0; col < c.width; ++col)
                to.push_back({c.x + col, c.y + r, from.pixel(c.x + col, c.y + r)});
    };
    const auto pixels = [&](std::uint32_t i, const Surface& from, std::vector<Pixel>& to) {
        const zt9::ElementConfig& c = document.configs[i];
        const zt9::Place place = zt9::decodePlace(document.placeWords[i]);
        const std::uint32_t offset = document.elementPixelOffset(document.placeWords[i]);
        for (int r = 0; r <= std::min<int>(c.height, static_cast<int>(place.height)); ++r)
            for (int col = 0; col < std::min<int>(c.width, static_cast<int>(place.width)); ++col) {
                const std::uint8_t byte =
                    document.fileImage[offset + static_cast<std::uint32_t>(r * 128 + col / 2)];
                if (((col % 2 == 0) ? byte & 15 : byte >> 4) != 0)
                    to.push_back({c.x + col, c.y + r, from.pixel(c.x + col, c.y + r)});
            }
    };
    for (std::uint32_t i = 0; i < document.elementCount; ++i)
        if (i != document.currentElement)
            block(document.configs[i], picture, beforeCopy);
    for (std::uint32_t i = 0; i < document.elementCount; ++i)
        if (i != document.currentElement)
            pixels(i, picture, beforeCopy);
    block(document.configs[document.currentElement], view, afterCopy);
    pixels(document.currentElement, view, afterCopy);
}

// The enlargement the painter caches, at zoom 10, without and with the grid.
void gridBenchmark(const Surface& view) {
    std::vector<std::uint32_t> enlarged(std::size_t{2550} * 2400);
    const auto enlargeAtTen = [&](bool grid) {
        return measure(50, [&] { zt9::enlargeIntoDib(view, 255, 240, 10, enlarged, 2550, grid); });
    };
    const double plainUs = enlargeAtTen(false);
    const double gridUs = enlargeAtTen(true);
    std::printf("  whole enlargement at zoom 10: without the grid %.1f, with it %.1f\n", plainUs,
                gridUs);
}

void frameBenchmarks(const zt9::GeoDocument& source) {
    zt9::GeoDocument document = source;
    document.currentElement = 70;
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1100, 1000,
                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    const HDC screen = GetDC(window);
    zt9::ViewState view;
    view.documentLoaded = 1;
    Surface viewSurface;
    Surface pictureSurface;
    zt9::renderView(document, view, viewSurface, pictureSurface);

    // The old way: compatible bitmaps in memory DCs, one SetPixelV per pixel.
    std::vector<Pixel> beforeCopy;
    std::vector<Pixel> afterCopy;
    oldCalls(document, pictureSurface, viewSurface, beforeCopy, afterCopy);
    const HDC pictureDc = CreateCompatibleDC(screen);
    const HDC viewDc = CreateCompatibleDC(screen);
    const HBITMAP pictureBitmap = CreateCompatibleBitmap(screen, 255, 240);
    const HBITMAP viewBitmap = CreateCompatibleBitmap(screen, 255, 240);
    const HGDIOBJ oldPicture = SelectObject(pictureDc, pictureBitmap);
    const HGDIOBJ oldView = SelectObject(viewDc, viewBitmap);
    const auto oldDraw = [&] {
        for (const Pixel& p : beforeCopy)
            SetPixelV(pictureDc, p.x, p.y, p.color);
        BitBlt(viewDc, 0, 0, 255, 240, pictureDc, 0, 0, SRCCOPY);
        for (const Pixel& p : afterCopy)
            SetPixelV(viewDc, p.x, p.y, p.color);
        GdiFlush();
    };
    const auto oldStretch = [&] {
        StretchBlt(screen, 0, 0, 255 * kZoom, 240 * kZoom, viewDc, 0, 0, 255, 240, SRCCOPY);
        GdiFlush();
    };

    // Our way: draw into our surfaces, then either stretch the DIB onto the window, or
    // enlarge it ourselves into a cached DIB section and copy that 1:1.
    const auto ourDraw = [&] { zt9::renderView(document, view, viewSurface, pictureSurface); };
    std::vector<std::uint32_t> dib;
    const BITMAPINFO small = zt9::ui::topDownDib(255, 240);
    const auto ourStretch = [&] {
        dib = zt9::dibPixels(viewSurface);
        SetStretchBltMode(screen, COLORONCOLOR);
        StretchDIBits(screen, 0, 0, 255 * kZoom, 240 * kZoom, 0, 0, 255, 240, dib.data(), &small,
                      DIB_RGB_COLORS, SRCCOPY);
        GdiFlush();
    };
    const BITMAPINFO large = zt9::ui::topDownDib(255 * kZoom, 240 * kZoom);
    void* bits = nullptr;
    const HBITMAP zoomed = CreateDIBSection(screen, &large, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC zoomedDc = CreateCompatibleDC(screen);
    const HGDIOBJ oldZoomed = SelectObject(zoomedDc, zoomed);
    const auto enlarge = [&] {
        zt9::enlargeIntoDib(
            viewSurface, 255, 240, kZoom,
            {static_cast<std::uint32_t*>(bits), std::size_t{255 * 240 * kZoom * kZoom}},
            255 * kZoom);
    };
    const auto cachedCopy = [&] {
        BitBlt(screen, 0, 0, 255 * kZoom, 240 * kZoom, zoomedDc, 0, 0, SRCCOPY);
        GdiFlush();
    };

    const double oldDrawUs = measure(20, oldDraw);
    const double oldFrameUs = measure(20, [&] {
        oldDraw();
        oldStretch();
    });
    const double ourDrawUs = measure(200, ourDraw);
    const double stretchFrameUs = measure(200, [&] {
        ourDraw();
        ourStretch();
    });
    const double stretchPaintUs = measure(200, ourStretch);
    const double cachedFrameUs = measure(200, [&] {
        ourDraw();
        enlarge();
        cachedCopy();
    });
    const double cachedPaintUs = measure(200, cachedCopy);

    std::printf("Full picture of 143 elements at zoom %d, median microseconds:\n", kZoom);
    std::printf("  old way: drawing (%zu SetPixelV)       %10.1f\n",
                beforeCopy.size() + afterCopy.size(), oldDrawUs);
    std::printf("  old way: whole frame (+ StretchBlt)       %10.1f\n", oldFrameUs);
    std::printf("  our way: drawing                          %10.1f   %6.0fx faster\n", ourDrawUs,
                oldDrawUs / ourDrawUs);
    std::printf("  our way: frame, StretchDIBits             %10.1f   %6.0fx faster\n",
                stretchFrameUs, oldFrameUs / stretchFrameUs);
    std::printf("  our way: frame, cached zoomed DIB + BitBlt %9.1f   %6.0fx faster\n",
                cachedFrameUs, oldFrameUs / cachedFrameUs);
    std::printf("  repaint only: StretchDIBits %.1f, cached BitBlt %.1f\n", stretchPaintUs,
                cachedPaintUs);
    gridBenchmark(viewSurface);

    SelectObject(zoomedDc, oldZoomed);
    DeleteDC(zoomedDc);
    DeleteObject(zoomed);
    SelectObject(pictureDc, oldPicture);
    SelectObject(viewDc, oldView);
    DeleteObject(pictureBitmap);
    DeleteObject(viewBitmap);
    DeleteDC(pictureDc);
    DeleteDC(viewDc);
    ReleaseDC(window, screen);
    DestroyWindow(window);
}

// The real screen, counting the time spent inside the platform's calls, so that what is
// left of a command's time is our own code's.
class TimingScreen : public zt9::ui::Win32Screen {
  public:
    double platformUs = 0;

    template <class Call>
    auto timed(Call&& call) {
        const double start = now();
        struct Add {
            double& total;
            double start;
            ~Add() { total += now() - start; }
        } add{platformUs, start};
        return call();
    }
    void invalidate() override {
        timed([&] { Win32Screen::invalidate(); });
    }
    void checkMenuItem(int command, bool checked) override {
        timed([&] { Win32Screen::checkMenuItem(command, checked); });
    }
    void setFieldNumber(int field, std::int32_t value, bool isSigned) override {
        timed([&] { Win32Screen::setFieldNumber(field, value, isSigned); });
    }
    std::string fieldText(int field) override {
        return timed([&] { return Win32Screen::fieldText(field); });
    }
    void selectColor(int entry) override {
        timed([&] { Win32Screen::selectColor(entry); });
    }
    int selectedColor() override {
        return timed([&] { return Win32Screen::selectedColor(); });
    }
    void invalidateRect(const zt9::PixelRect& area) override {
        timed([&] { Win32Screen::invalidateRect(area); });
    }
    void showScrollBars(const zt9::ScrollBar& across, const zt9::ScrollBar& down) override {
        timed([&] { Win32Screen::showScrollBars(across, down); });
    }
    void setStatusText(zt9::StatusPart part, std::string_view text) override {
        timed([&] { Win32Screen::setStatusText(part, text); });
    }
    void setScale(std::int32_t zoom) override {
        timed([&] { Win32Screen::setScale(zoom); });
    }
    void showDrawTool(zt9::DrawTool tool) override {
        timed([&] { Win32Screen::showDrawTool(tool); });
    }
    void showPalette(const zt9::PaletteStrip& strip) override {
        timed([&] { Win32Screen::showPalette(strip); });
    }
    void setMenuItem(int command, std::string_view text, bool enabled) override {
        timed([&] { Win32Screen::setMenuItem(command, text, enabled); });
    }
    void setTitle(const std::filesystem::path& title) override {
        timed([&] { Win32Screen::setTitle(title); });
    }
};

// The real clipboard, its platform calls counted as the screen's.
class TimingClipboard : public zt9::ui::Win32Clipboard {
  public:
    explicit TimingClipboard(TimingScreen& screen) : screen_(screen) {}
    bool holdsPicture() override {
        return screen_.timed([&] { return Win32Clipboard::holdsPicture(); });
    }
    zt9::ClipboardPicture picture() override {
        return screen_.timed([&] { return Win32Clipboard::picture(); });
    }
    bool putPicture(std::span<const std::uint8_t> own, std::span<const std::uint8_t> dib) override {
        return screen_.timed([&] { return Win32Clipboard::putPicture(own, dib); });
    }

  private:
    TimingScreen& screen_;
};

// Our code's time in `action` (less the platform's calls), the action with them, and the
// action to the end of the repaint it asks for (the panel's and status bar's included):
// medians of 200 runs, in microseconds.
void report(const char* name, TimingScreen& screen, HWND window,
            const std::function<void()>& action) {
    std::vector<double> own;
    for (int i = 0; i < 200; ++i) {
        screen.platformUs = 0;
        const double start = now();
        action();
        own.push_back(now() - start - screen.platformUs);
    }
    std::nth_element(own.begin(), own.begin() + 100, own.end());
    const double withPlatform = measure(200, action);
    const double whole = measure(200, [&] {
        action();
        UpdateWindow(window);
        GdiFlush();
    });
    std::printf(
        "  %-30s our code %6.1f; with the platform's calls %7.1f; to the end of the repaint "
        "%7.1f\n",
        name, own[100], withPlatform, whole);
}

// The parts of one drawing action to the end of its repaint, medians of 200 runs in
// microseconds: our code less the screen's platform calls (the status bar's synchronous
// redraw under Wine above all), the repaint that follows (the painter's compare, copy and
// enlargement of the changed blocks, with BeginPaint, BitBlt and EndPaint), and the two
// together: an upper bound of our own code to the end of the repaint.
void drawReport(const char* name, TimingScreen& screen, HWND window,
                const std::function<void()>& action) {
    std::vector<double> own, repaint, both;
    for (int i = 0; i < 200; ++i) {
        screen.platformUs = 0;
        const double start = now();
        action();
        const double painting = now();
        UpdateWindow(window);
        GdiFlush();
        const double end = now();
        own.push_back(painting - start - screen.platformUs);
        repaint.push_back(end - painting);
        both.push_back(end - start - screen.platformUs);
    }
    const auto median = [](std::vector<double>& times) {
        std::nth_element(times.begin(), times.begin() + 100, times.end());
        return times[100];
    };
    std::printf("  %-30s our code %6.1f; repaint %6.1f; both %6.1f\n", name, median(own),
                median(repaint), median(both));
}

// A drag of the current element at zoom 4: the button pressed on it, then moves two picture
// columns (one step of x) right and back in turn. The window's own Win32 calls for a mouse
// message (the key state, the capture) each wait for the Wine server, so our code is timed
// as the window hands the move over: the editor's handling (less the screen's calls), and
// the painter's refresh of its enlarged copy (the changed blocks found and enlarged again).
void dragBenchmark(zt9::ui::MainFrame& frame, TimingScreen& screen,
                   const zt9::GeoDocument& document) {
    const HWND window = frame.window();
    zt9::MainWindow& editor = frame.editor();
    const zt9::ElementConfig& current = document.configs[document.currentElement];
    const zt9::PixelRect grab = editor.viewport().windowRectOf(current.x, current.y);
    const zt9::WindowPoint from{grab.left + 1, grab.top + 1};
    const zt9::WindowPoint to{from.x + std::int64_t{2} * kZoom, from.y};
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    Surface shown = *editor.viewSurface();
    constexpr std::size_t kStride = std::size_t{255} * kZoom;
    std::vector<std::uint32_t> enlarged(kStride * 240 * kZoom);
    std::vector<double> handling;
    std::vector<double> refresh;
    for (int i = 0; i < 201; ++i) {
        screen.platformUs = 0;
        double start = now();
        editor.frame([&] {
            editor.pointerEvent({zt9::PointerEvent::Kind::move, zt9::PointerEvent::Button::none,
                                 i % 2 == 0 ? to : from});
        });
        handling.push_back(now() - start - screen.platformUs);
        start = now();
        const zt9::PixelRect area =
            zt9::changedArea(shown, *editor.viewSurface(), {0, 0, 255, 240});
        zt9::enlargeAreaIntoDib(*editor.viewSurface(), area, kZoom, false, enlarged, kStride);
        shown = *editor.viewSurface();
        refresh.push_back(now() - start);
        UpdateWindow(window);
    }
    const auto median = [](std::vector<double>& times) {
        std::nth_element(times.begin(), times.begin() + 100, times.end());
        return times[100];
    };
    const double handled = median(handling);
    const double refreshed = median(refresh);
    std::printf("  drag: a pointer move (2 px)    our code %6.1f (handling %.1f, repaint %.1f)\n",
                handled + refreshed, handled, refreshed);
    bool across = false;
    report("drag: the move as a message", screen, window, [&] {
        const zt9::WindowPoint at = (across = !across) ? to : from;
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    });
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(from.x, from.y));
}

// A key in the real window: the command (our code, with its render) and then the repaint.
void keyBenchmarks(const std::vector<std::uint8_t>& font) {
    const zt9::test::TempDir dir;
    zt9::test::writeBytes(dir.file("bench.geo"), font);
    zt9::GeoDocument document;
    TimingScreen screen;
    zt9::ui::MainFrame frame(GetModuleHandleW(nullptr), document, screen);
    frame.create(SW_SHOWNORMAL);
    MoveWindow(frame.window(), 0, 0, 1400, 1100, TRUE);
    frame.loadAtStart(dir.file("bench.geo"));
    SendMessageW(frame.window(), WM_COMMAND, IDM_ZOOM_IN, 0);
    SendMessageW(frame.window(), WM_COMMAND, IDM_ZOOM_IN, 0);
    SendMessageW(frame.window(), WM_COMMAND, IDM_ZOOM_IN, 0);
    UpdateWindow(frame.window());
    std::printf("Key presses and panel actions on that font at zoom 4, median microseconds:\n");
    const HWND window = frame.window();
    const HWND panel = frame.panel();
    const auto send = [](HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
        return [=] { SendMessageW(target, message, wParam, lParam); };
    };
    // Every step moves: from the last element the next one starts at the first again (and
    // the other way round), so no run is measured on an end where nothing changes.
    const std::uint32_t last = document.elementCount - 1;
    const auto step = [&](int id, std::uint32_t end, std::uint32_t restart) {
        return [&document, window, id, end, restart] {
            if (document.currentElement == end)
                document.currentElement = restart;
            SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
        };
    };
    const HWND widthField = GetDlgItem(panel, IDC_WIDTH);
    const HWND widthArrows = GetDlgItem(panel, IDC_WIDTH_ARROWS);
    const std::vector<std::pair<const char*, std::function<void()>>> actions = {
        {"Right (move)", send(window, WM_COMMAND, IDM_MOVE_RIGHT, 0)},
        {"Left (move)", send(window, WM_COMMAND, IDM_MOVE_LEFT, 0)},
        {"Ctrl+Right (next element)", step(IDM_NEXT_ELEMENT, last, 0)},
        {"Ctrl+Left (previous element)", step(IDM_PREVIOUS_ELEMENT, 0, last)},
        {"Enter in Width (commit)", send(panel, WM_COMMAND, MAKEWPARAM(IDC_WIDTH, EN_MAXTEXT),
                                         reinterpret_cast<LPARAM>(widthField))},
        {"click on Width arrows", send(panel, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 12),
                                       reinterpret_cast<LPARAM>(widthArrows))},
    };
    for (const auto& [name, action] : actions)
        report(name, screen, window, action);

    dragBenchmark(frame, screen, document);

    // A notch of the wheel over the picture at zoom 10, down and up in turn.
    for (int i = 0; i < 6; ++i)
        SendMessageW(window, WM_COMMAND, IDM_ZOOM_IN, 0);
    POINT at{300, 300};
    ClientToScreen(window, &at);
    bool down = true;
    std::printf("At zoom 10, median microseconds:\n");
    report("wheel notch (scroll)", screen, window, [&] {
        const auto delta = static_cast<WPARAM>(static_cast<WORD>((down = !down) ? -120 : 120));
        SendMessageW(window, WM_MOUSEWHEEL, delta << 16, MAKELPARAM(at.x, at.y));
    });
}

// Drawing on one blank element of 255 x 240 pixels in Picture Element view at zoom 10,
// scrolled: a pencil move that paints one new pixel, and a flood fill of the whole element,
// alone and as a click in the window.
void drawBenchmarks() {
    zt9::test::GeoBuilder font;
    font.elements = {zt9::test::GeoBuilder::layoutAt(0, 0, 255, 239)};
    const zt9::test::TempDir dir;
    zt9::test::writeBytes(dir.file("glyph.geo"), font.build());
    zt9::GeoDocument document;
    TimingScreen screen;
    zt9::ui::MainFrame frame(GetModuleHandleW(nullptr), document, screen);
    frame.create(SW_SHOWNORMAL);
    const HWND window = frame.window();
    MoveWindow(window, 0, 0, 1400, 1100, TRUE);
    frame.loadAtStart(dir.file("glyph.geo"));
    SendMessageW(window, WM_COMMAND, IDM_TOGGLE_VIEW, 0);
    for (int i = 0; i < 9; ++i)
        SendMessageW(window, WM_COMMAND, IDM_ZOOM_IN, 0);
    SendMessageW(window, WM_HSCROLL, SB_PAGEDOWN,
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_PICTURE_HSCROLL)));
    UpdateWindow(window);
    std::printf("Drawing on a 255 x 240 element at zoom 10, median microseconds:\n");
    // Each move goes on to the next pixel of a row, so that every one paints a new pixel.
    int moves = 0;
    const auto to = [&](int step) {
        return MAKELPARAM(40 + step % 60 * 10 + 5, 40 + step / 60 % 50 * 10 + 5);
    };
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, to(0));
    report("pencil move (one pixel)", screen, window,
           [&] { SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, to(++moves)); });
    // The editor's part alone, without the window procedure's own platform calls
    // (GetKeyState, GetCapture), then to the end of the repaint.
    zt9::MainWindow& editor = frame.editor();
    drawReport("pencil move (one pixel)", screen, window, [&] {
        const LPARAM at = to(++moves);
        editor.frame([&] {
            editor.pointerEvent({.kind = zt9::PointerEvent::Kind::move,
                                 .point = {GET_X_LPARAM(at), GET_Y_LPARAM(at)}});
        });
    });
    SendMessageW(window, WM_LBUTTONUP, 0, to(moves));
    SendMessageW(window, WM_COMMAND, IDM_UNDO, 0);  // blank again

    // Every fill changes the whole element: left fills with the chosen colour, right with 0.
    zt9::ImportSlot image = zt9::presentImage(document, 0);
    std::uint8_t index = 0;
    const double fillUs = measure(200, [&] {
        zt9::floodFill(image, 127, 120, index = static_cast<std::uint8_t>(index == 0 ? 1 : 0));
    });
    std::printf("  %-30s %6.1f\n", "flood fill alone", fillUs);
    SendMessageW(window, WM_COMMAND, IDM_TOOL_FILL, 0);
    bool left = false;
    const auto click = [&] {
        left = !left;
        SendMessageW(window, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0, to(0));
        SendMessageW(window, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, to(0));
    };
    report("flood fill (a click)", screen, window, click);
    drawReport("flood fill (a click)", screen, window, click);
}

// Copy and paste of a glyph of the whole picture's size: copies, and pastes from our own
// format, a 4-bit DIB and a 32-bit DIB of the glyph's colours.
void clipboardBenchmarks() {
    zt9::test::GeoBuilder font;
    font.elements.push_back(zt9::test::GeoBuilder::layoutAt(0, 0, 255, 239));
    font.elements[0].colors = zt9::test::GeoBuilder::grid(1).elements[0].colors;
    font.paintPattern(0);
    const zt9::test::TempDir dir;
    zt9::test::writeBytes(dir.file("big.geo"), font.build());
    zt9::GeoDocument document;
    TimingScreen screen;
    TimingClipboard clipboard(screen);
    zt9::ui::MainFrame frame(GetModuleHandleW(nullptr), document, screen);
    frame.create(SW_SHOWNORMAL);
    MoveWindow(frame.window(), 0, 0, 1400, 1100, TRUE);
    clipboard.attach(frame.window());
    frame.editor().setClipboard(&clipboard);
    frame.loadAtStart(dir.file("big.geo"));
    const HWND window = frame.window();
    const auto command = [window](int id) {
        return [window, id] { SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), 0); };
    };
    // Only a DIB on the clipboard, as a paint program leaves it.
    const auto putDib = [&](const std::vector<std::uint8_t>& dib) {
        OpenClipboard(window);
        EmptyClipboard();
        const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, dib.size());
        std::copy(dib.begin(), dib.end(), static_cast<std::uint8_t*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        SetClipboardData(CF_DIB, memory);
        CloseClipboard();
    };
    std::printf("A 255 x 240 glyph through the clipboard, median microseconds:\n");
    report("Ctrl+C (copy)", screen, window, command(IDM_COPY_IMAGE));
    report("Ctrl+V (our own format)", screen, window, command(IDM_PASTE_IMAGE));
    const zt9::ImportSlot image = zt9::presentImage(document, 0);
    putDib(zt9::copyAsDib(image));
    report("Ctrl+V (4-bit DIB)", screen, window, command(IDM_PASTE_IMAGE));
    zt9::test::BmpBuilder trueColor(255, 240, 32);
    for (std::uint32_t at = 0; at < 255 * 240; ++at) {
        const std::uint8_t index =
            (image.pixels[at / 255 * 128 + at % 255 / 2] >> (at % 255 % 2 * 4)) & 15;
        const std::uint32_t c = image.colors[index];  // 0x00BBGGRR to 0xAARRGGBB
        trueColor.argb.push_back((c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF));
    }
    putDib(trueColor.dib());
    report("Ctrl+V (32-bit DIB)", screen, window, command(IDM_PASTE_IMAGE));
}

}  // namespace

int main() {
    const std::vector<std::uint8_t> font = zt9::test::GeoBuilder::grid(143, 16, 12).build();
    zt9::GeoDocument document;
    zt9::openFont(document, font);
    frameBenchmarks(document);
    keyBenchmarks(font);
    drawBenchmarks();
    clipboardBenchmarks();
    return 0;
}
