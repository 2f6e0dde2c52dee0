// The drawing tools of the Picture Element view: the pencil, the fill and the picker on the
// current element, and the palette strip of the Draw group.
#include <algorithm>
#include <limits>

#include "document/colors15.h"
#include "document/element_image.h"
#include "document/pixel_edit.h"
#include "editor/main_window.h"
#include "render/draw.h"
#include "resources/resource.h"

namespace zt9 {
namespace {

using Button = PointerEvent::Button;

std::int32_t toInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

PixelRect swatchRect(std::int64_t width, std::int64_t height, int entry) {
    if (entry < 0 || entry >= kPaletteEntries || width <= 0 || height <= 0)
        return {};
    // Edges rounded up, so that swatchAt finds every pixel in the swatch whose rectangle
    // holds it.
    const std::int64_t column = entry % 8;
    const std::int64_t row = entry / 8;
    return {(column * width + 7) / 8, (row * height + 1) / 2, ((column + 1) * width + 7) / 8,
            ((row + 1) * height + 1) / 2};
}

int swatchAt(std::int64_t width, std::int64_t height, std::int64_t x, std::int64_t y) {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return -1;
    return static_cast<int>(y * 2 / height * 8 + x * 8 / width);
}

bool MainWindow::strokeOpen() const {
    // A command or another edit finishes the step of a stroke under way: from then on the
    // stroke paints no more.
    return draw_.stroke.has_value() && gestureOpen();
}

bool MainWindow::drawPointer(const PointerEvent& event) {
    const PicturePixel pixel = viewport_.pixelAt(event.point);
    if (event.kind == PointerEvent::Kind::press || event.kind == PointerEvent::Kind::doubleClick)
        return drawPress(event, pixel);
    if (!strokeOpen()) {
        draw_.stroke.reset();
        return false;
    }
    DrawingState::Stroke& stroke = *draw_.stroke;
    // The other button of both held at once does nothing, also when it is let go.
    if (event.kind == PointerEvent::Kind::release && event.button != stroke.button)
        return true;
    // Each move continues the line from where the last one ended, so that no pixel between
    // two positions is left out however fast the pointer goes.
    const std::uint8_t index = stroke.button == Button::left ? draw_.color : 0;
    const DrawingState::Stroke from = stroke;
    stroke.column = pixel.column;
    stroke.row = pixel.row;
    if (from.column != pixel.column || from.row != pixel.row)
        paintLine(from.column, from.row, pixel.column, pixel.row, index);
    if (event.kind != PointerEvent::Kind::release)
        return true;
    draw_.stroke.reset();
    finishGesture();
    return false;
}

bool MainWindow::drawPress(const PointerEvent& event, const PicturePixel& pixel) {
    if (strokeOpen())
        return true;
    draw_.stroke.reset();
    if (!pixel.inView || event.button == Button::none)
        return false;
    ++actionSerial_;
    if (draw_.tool == DrawTool::picker || event.alt) {
        // Where the element holds no stored pixel it shows transparent.
        if (pixel.inFrame)
            draw_.color = elementPixelIndex(document_, pixel.column, pixel.row).value_or(0);
        return false;
    }
    const std::uint8_t index = event.button == Button::left ? draw_.color : 0;
    if (draw_.tool == DrawTool::fill) {
        if (pixel.inFrame) {
            edit(IDM_TOOL_FILL, 0, true, false, [&] {
                paintOwnImage([&](ImportSlot& image) {
                    return floodFill(image, toInt32(pixel.column), toInt32(pixel.row), index);
                });
            });
        }
        return false;
    }
    beginGesture(IDM_TOOL_PENCIL, true);
    draw_.stroke = DrawingState::Stroke{event.button, pixel.column, pixel.row};
    const std::optional<DrawingState::Painted>& last = draw_.lastPainted;
    if (event.shift && last && last->element == document_.currentElement)
        paintLine(last->column, last->row, pixel.column, pixel.row, index);
    else
        paintLine(pixel.column, pixel.row, pixel.column, pixel.row, index);
    return true;
}

void MainWindow::drawCaptureLost() {
    // The stroke ends where it is, as one whole step.
    const bool open = strokeOpen();
    draw_.stroke.reset();
    if (open)
        finishGesture();
}

bool MainWindow::drawCancel() {
    // Escape gives the stroke up: the element is put back as it was before the press and
    // nothing is recorded, so a slip of the hand leaves no step to undo.
    const bool open = strokeOpen();
    draw_.stroke.reset();
    if (!open)
        return false;
    cancelGesture();
    showOwnImage();
    renderAndInvalidate();
    return true;
}

// NOLINTNEXTLINE(readability-convert-member-functions-to-static): one of the views' tools
PointerCursor MainWindow::drawCursor(const PicturePixel& pixel) const {
    return pixel.inFrame ? PointerCursor::cross : PointerCursor::arrow;
}

void MainWindow::paintLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                           std::uint8_t index) {
    paintOwnImage([&](ImportSlot& image) {
        return drawLine(image, toInt32(x0), toInt32(y0), toInt32(x1), toInt32(y1), index);
    });
    const ElementConfig& frame = view.shownFrame;
    if (x1 >= 0 && y1 >= 0 && x1 < frame.width && y1 <= frame.height)
        draw_.lastPainted = DrawingState::Painted{document_.currentElement, x1, y1};
}

PixelRect MainWindow::paintOwnImage(const std::function<PixelRect(ImportSlot&)>& paint) {
    const std::uint32_t element = document_.currentElement;
    ImportSlot& slot = document_.importSlots.at(element);
    const bool converts = slot.imported == 0;
    PixelRect changed;
    if (!converts) {
        changed = paint(slot);
        slot.drawn = changed.empty() ? slot.drawn : 1;
    } else {
        // The element takes an image of its own only when a pixel really changes, inside
        // the step of that change, so that undo takes the conversion back too.
        ImportSlot image = presentImage(document_, element);
        changed = paint(image);
        if (!changed.empty())
            makeOwnImage(document_, element).pixels = std::move(image.pixels);
    }
    if (changed.empty())
        return changed;
    if (converts) {
        // The file's pixels beyond the element's configured size are gone from the view.
        showOwnImage();
        render();
    } else {
        redrawElementArea(document_, *viewSurface_, view.transparency == 1, changed);
        ++frameVersion_;
    }
    showChanges();
    showPointerState();
    return changed;
}

void MainWindow::showOwnImage() {
    const std::uint8_t imported = document_.importSlots.at(document_.currentElement).imported;
    if (imported == elementImported)
        return;
    elementImported = imported;
    screen_.checkMenuItem(IDM_RESET_IMPORT, elementImported != 0);
}

void MainWindow::chooseTool(int id, std::intptr_t /*param*/) {
    draw_.tool = id == IDM_TOOL_FILL     ? DrawTool::fill
                 : id == IDM_TOOL_PICKER ? DrawTool::picker
                                         : DrawTool::pencil;
}

void MainWindow::paletteClicked(int entry) {
    ++actionSerial_;
    if (view.documentLoaded != 0 && entry >= 0 && entry < kPaletteEntries)
        draw_.color = static_cast<std::uint8_t>(entry);
}

void MainWindow::paletteDoubleClicked(int entry) {
    paletteClicked(entry);
    if (view.documentLoaded == 0 || entry < 0 || entry >= kPaletteEntries)
        return;
    finishGesture();
    const std::uint32_t element = document_.currentElement;
    const auto k = static_cast<std::uint32_t>(entry);
    const std::uint32_t before = storedColor(presentImage(document_, element).colors.at(k));
    const std::optional<std::uint32_t> chosen = modal([&] { return screen_.chooseColor(before); });
    // A cancelled dialog, or the colour the entry holds already, changes nothing.
    if (!chosen || storedColor(*chosen) == before || element != document_.currentElement)
        return;
    edit(kColorAction + entry, 0, true, false,
         [&] { setPaletteEntry(makeOwnImage(document_, element), k, *chosen); });
    showOwnImage();
    renderAndInvalidate();
}

void MainWindow::showDrawState() {
    const bool open = view.documentLoaded != 0;
    if (open && draw_.tool != draw_.shownTool) {
        screen_.showDrawTool(draw_.tool);
        draw_.shownTool = draw_.tool;
    }
    PaletteStrip strip;
    if (const std::uint32_t element = document_.currentElement;
        open && element < drawableElements(document_)) {
        const ImportSlot& slot = document_.importSlots[element];
        const Palette16 colors =
            slot.imported != 0
                ? slot.colors
                : expandPalette(document_.fileImage, document_.paletteOffset, element);
        std::ranges::transform(colors, strip.colors.begin(), storedColor);
        strip.shown = true;
        strip.chosen = draw_.color;
    }
    if (strip != draw_.shownPalette) {
        draw_.shownPalette = strip;
        screen_.showPalette(strip);
    }
}

}  // namespace zt9
