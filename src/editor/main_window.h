#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "document/geo_document.h"
#include "document/history.h"
#include "editor/clipboard.h"
#include "editor/draw_tools.h"
#include "editor/element_drag.h"
#include "editor/picture_viewport.h"
#include "editor/pointer.h"
#include "editor/screen.h"
#include "editor/wheel_steps.h"
#include "render/surface.h"
#include "render/view_state.h"

namespace zt9 {

class MainWindow;

// One turn of a wheel over the picture area, at `pointer` (client coordinates).
struct WheelTurn {
    std::int64_t delta = 0;  // 120 a notch, positive away from the user or to the right
    bool sideways = false;   // the horizontal wheel
    bool control = false;
    bool shift = false;
    WindowPoint pointer;
};

// One entry of the command table: what WM_COMMAND `id` runs, and whether it needs a
// loaded document (without one it does nothing but repaint).
struct CommandEntry {
    int id;
    bool needsDocument;
    void (MainWindow::*run)(int id, std::intptr_t param);
};

// What the main window does, apart from its handles: the view and panel state, the two
// off-screen surfaces, and one function per command, view message and panel action. The
// Win32 window turns each message into one of these calls; everything modal or on screen
// goes through `Screen`.
class MainWindow {
  public:
    MainWindow(GeoDocument& document, Screen& screen);

    // --- The failure frame every message handler runs in. A caught `error` is shown with
    // its message and the document's error record is cleared; anything else is shown as
    // "Unknow error". Nothing escapes. Commands deferred while a modal loop was open run
    // once the outermost handler has finished.
    void frame(const std::function<void()>& handler);
    // For painting, sizing and rendering: a failure shows no message box there (the box's
    // own loop would paint and fail again) but is reported once, after the message.
    void quietFrame(const std::function<void()>& handler);
    // UM_REPORT_FAILURE: shows the failure a quiet frame caught.
    void reportFailure();

    // --- Creation and closing
    // Makes the two surfaces; a failure shows its message and leaves the view grey.
    void createSurfaces();
    void close();            // WM_CLOSE
    bool queryEndSession();  // WM_QUERYENDSESSION: true when the session may end
    void windowDestroyed();  // WM_DESTROY: nothing deferred runs any more

    // --- WM_COMMAND: `param` is 1 when the drop handler sends Load or Import with the
    // path already in fileName.
    void command(int id, std::intptr_t param);
    static std::span<const CommandEntry> commands();

    // --- WM_DROPFILES: each path in turn, GEO files loaded and BMP files imported.
    void dropFiles(std::vector<std::filesystem::path> paths);

    // --- View messages
    void render();              // UM_RENDER
    void compose();             // UM_COMPOSE
    void resetView();           // UM_RESET_VIEW
    void clearView();           // UM_CLEAR_VIEW
    void showClamp(int field);  // UM_SHOW_CLAMP

    // --- The picture area: its room (WM_SIZE), the pointer over it, wheels and scroll bars
    void setPictureRoom(std::int64_t width, std::int64_t height, std::int32_t barWidth,
                        std::int32_t barHeight);
    // The pointer moved to `point`, or left the area (nothing).
    void pointerMoved(std::optional<WindowPoint> point);
    // Scrolls down (Shift: across; the horizontal wheel: across), or zooms with Ctrl.
    void wheel(const WheelTurn& turn);

    // --- The mouse over the picture area. An event returns whether the window must hold the
    // mouse capture now, that is while a stroke or a drag is under way; moves also update
    // the pointer's part of the status bar. A lost capture (a message box, Alt+Tab, another
    // window) ends an open stroke or drag where it is, as one step; Escape gives it up
    // (true when there was one to give up).
    bool pointerEvent(const PointerEvent& event);
    void pointerCaptureLost();
    bool pointerCancel();
    PointerCursor pointerCursor(WindowPoint point) const;
    void scrollBarMoved(ScrollAxis axis, ScrollAction action, std::int64_t position);
    PaintPlan paintPlan() const { return viewport_.paintPlan(grid_); }
    const PictureViewport& viewport() const { return viewport_; }

    // --- Copy and paste of the current element's image. Without a clipboard (the default)
    // both commands do nothing.
    void setClipboard(Clipboard* clipboard) { clipboard_ = clipboard; }
    // The clipboard's content changed or the Edit menu opens: Paste is offered only while
    // the clipboard holds a picture.
    void clipboardChanged();

    // --- Element panel (dialog 9)
    // Enter in one of the nine fields: the typed value goes to the element through its
    // operation, and the field shows what was stored.
    void commitField(int field);
    // A field's text changed on screen (typed, or set by its arrows or by writeField).
    void fieldChanged(int field);
    // A click on one of the nine arrow controls, which now show `position`.
    void arrowClicked(int arrows, std::int32_t position);
    // One of the nine Reset buttons (1068 resets the whole element).
    void resetClicked(int button);
    void resetElement();  // the Number row's Reset button (1068)
    // The Scale slider moved: only the stretch changes.
    void scaleChanged(std::int32_t position);
    // An entry of the Color box was chosen; -1 (no selection) changes nothing.
    void colorChosen(int entry);
    // Width, Hight, Position X/Y, Resize width/hight and Display pos X/Y from panelConfig,
    // the Color box, and the check mark of "Reset import element [R]".
    void showElementInPanel();

    // --- The Draw group: a click on swatch `entry` (0 to 15) chooses that colour; a double
    // click also opens the colour dialog on it and stores the answer in the element's
    // palette, as one step.
    void paletteClicked(int entry);
    void paletteDoubleClicked(int entry);
    const PaletteStrip& paletteShown() const { return draw_.shownPalette; }

    const Surface* viewSurface() const { return viewSurface_.get(); }
    // Grows whenever the view surface or the shown frame changes, so painting can tell
    // whether a cached copy of the picture is still good.
    std::uint64_t frameVersion() const { return frameVersion_; }

    // --- State shared by the commands, the panel and the view
    ViewState view;
    std::uint8_t elementImported = 0;  // the current element shows an imported image
    ElementConfig panelConfig = clearedPanelConfig();
    FieldCode clampCode = FieldCode::unchanged;
    std::int32_t clampedValue = 0;
    std::int32_t requestedValue = 0;
    std::uint32_t lastElementNumber = 0;
    // The file dialogs' shared file name, which a drop also fills.
    std::filesystem::path fileName;
    std::filesystem::path documentPath;   // "Save geo file" writes here
    std::filesystem::path savedFileName;  // fileName while Load first saves the old font
    // The export dialog's filter (1: 8-bit, 2: 4-bit), kept apart from the other dialogs.
    int exportFilterIndex = 1;

    static ElementConfig clearedPanelConfig();
    // The panel's name of a value field, or of the field a Reset button resets ("Position
    // X"); null for any other control.
    static const char* fieldName(int fieldOrReset);
    // What the Edit menu calls a step of the history: "Position X of element 5".
    static std::string stepText(const History::Label& label);

    const History& history() const { return history_; }

    // --- Gestures: a pencil stroke or a drag changes the current element over many messages
    // and is one step of the history. Begin takes the element's state; finish records the
    // step (a gesture that changed nothing leaves the font as it was); cancel puts the
    // element back and records nothing. Any command or other edit finishes an open gesture
    // first, so a gesture never spans another step.
    void beginGesture(int action, bool withImage);
    void finishGesture();
    void cancelGesture();
    bool gestureOpen() const { return gesture_.has_value(); }

  private:
    // Commands (see the table in commands.cpp).
    void load(int id, std::intptr_t param);
    void save(int id, std::intptr_t param);
    void saveAs(int id, std::intptr_t param);
    void stepElement(int id, std::intptr_t param);
    void zoom(int id, std::intptr_t param);
    void selectViewMode(int id, std::intptr_t param);
    void toggleViewMode(int id, std::intptr_t param);
    void toggleTransparency(int id, std::intptr_t param);
    void toggleGrid(int id, std::intptr_t param);
    void exit(int id, std::intptr_t param);
    void moveOrResize(int id, std::intptr_t param);
    void nextColor(int id, std::intptr_t param);
    void resetConfig(int id, std::intptr_t param);
    void about(int id, std::intptr_t param);
    void importImage(int id, std::intptr_t param);
    void exportImage(int id, std::intptr_t param);
    void resetImportCommand(int id, std::intptr_t param);
    void undoOrRedo(int id, std::intptr_t param);
    void chooseTool(int id, std::intptr_t param);
    // The pointer in Picture Element view: the drawing tools (draw_tool.cpp).
    bool drawPointer(const PointerEvent& event);
    void drawCaptureLost();
    bool drawCancel();
    PointerCursor drawCursor(const PicturePixel& pixel) const;
    bool drawPress(const PointerEvent& event, const PicturePixel& pixel);
    bool strokeOpen() const;
    // Paints a pencil line between frame pixels, or a fill: the element becomes an image of
    // its own when a pixel really changes, and only the changed pixels are drawn again.
    void paintLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                   std::uint8_t index);
    PixelRect paintOwnImage(const std::function<PixelRect(ImportSlot&)>& paint);
    // The Reset import mark after the current element gained or lost its own image.
    void showOwnImage();
    // The tool's radio button, the palette strip and the tool's status part, when changed.
    void showDrawState();
    // The pointer in Full picture: picking, moving and resizing elements (picture_mouse.cpp).
    bool picturePointer(const PointerEvent& event);
    void pictureCaptureLost();
    bool pictureCancel();
    PointerCursor pictureCursor(WindowPoint point) const;
    // A left press: the current element's edge, else the element under it (made current),
    // is taken hold of. True when a drag began.
    bool pressPicture(WindowPoint point, const PicturePixel& pixel);
    bool dragTo(const PicturePixel& pixel);
    void finishPictureDrag();
    // Makes `element` current as Ctrl+Right does: panel, Number field and highlight follow.
    void selectPicked(std::uint32_t element);
    // The element just made current in the Number field and the panel, and the view drawn.
    void showCurrentElement();
    // The dragged element's place and size in the panel, and the view composed again.
    void showDragged();
    void copyImage(int id, std::intptr_t param);
    void pasteImage(int id, std::intptr_t param);
    // The panel, the check mark of Reset import and the view after an import or a paste.
    void showNewImage(FieldCode xCode, FieldCode yCode);
    // "geo element N.bmp" for the current element N.
    std::filesystem::path defaultElementFileName() const;

    // Shows a file dialog; a confirmed choice becomes fileName. Returns the chosen filter's
    // index, or nothing when the dialog was cancelled.
    std::optional<int> askForFile(FileFilter filter, bool save, const char* title,
                                  const std::filesystem::path& proposed, int filterIndex = 1);
    // Asks "Save changes?" when the font has unsaved edits and saves on Yes. False when
    // the edits are still unsaved afterwards (the save failed): the caller gives up.
    bool settleUnsavedEdits(const char* caption);
    void renderAndInvalidate();
    // Asks for a repaint of what changed on screen since the last call: all of the area when
    // the paint plan changed, else the blocks of the view surface's changed pixels.
    void showChanges();
    // The zoom of the document, the view, the Scale slider and the viewport, keeping the
    // picture pixel under `anchor` there.
    void applyZoom(std::int32_t zoom, WindowPoint anchor, bool moveSlider);
    // The scroll bars as the viewport wants them, sent when they changed.
    void showScrollBars();
    // The status bar parts that follow the font and the view, each sent only when its text
    // changed.
    void showStatusParts();
    void showPointerState();
    void setStatus(StatusPart part, const std::string& text);
    void writeField(int field, std::int32_t value);
    // The text a field shows, typed there perhaps.
    std::string readField(int field);
    void writeAllFields();
    // Every change of what the font would save runs through here, as one step of the
    // history on the current element: `action` names it in the Edit menu, `mergeKey` joins
    // it to the step of the action just before (0: never), `withImage` when it may change the
    // element's image. The element rules mark some edits that store the same value; with
    // `keepsEmptyMark` such an edit still counts as unsaved, without it (the resets) an edit
    // that changes nothing leaves the font as it was. A change that fails half way is still
    // recorded, so the history always describes the font.
    void edit(int action, int mergeKey, bool withImage, bool keepsEmptyMark,
              const std::function<void()>& change);
    // Names the next undo and redo in the Edit menu, greyed when there is none.
    void showHistoryEntries();
    void resetField(int button);
    // Writes the value the current element holds into `field`, and into the field of the
    // neighbour `code` names when an operation moved that one too.
    void showStored(int field, FieldCode code);

    template <class Call>
    auto modal(Call&& call) {
        ++modalDepth_;
        struct Leave {
            int& depth;
            ~Leave() { --depth; }
        } leave{modalDepth_};
        return call();
    }
    // Runs `action` now, or once the open modal loop and its command have finished.
    void runOrDefer(std::function<void()> action);
    void runDeferred();
    void showCaught(const std::function<void()>& show) noexcept;
    void noteQuietFailure(std::string message) noexcept;
    // Brings what follows the open font's file name, unsaved edits and history up to date:
    // the title and the Edit menu's Undo and Redo. Runs after every outermost frame, so
    // each load, refusal, edit, undo, save and close shows.
    void showFontState() noexcept;

    GeoDocument& document_;
    Screen& screen_;
    std::unique_ptr<Surface> viewSurface_;
    std::unique_ptr<Surface> pictureSurface_;
    PictureViewport viewport_;
    bool grid_ = false;  // kept for the whole run, whatever is loaded
    std::optional<WindowPoint> pointer_;
    WheelSteps wheelDown_, wheelAcross_, wheelZoom_;
    // What the screen was last asked to show: the scroll bars, the status parts, and the
    // paint plan and view surface of the last repaint request.
    ScrollBar shownAcross_, shownDown_;
    std::array<std::string, 6> statusShown_;
    PaintPlan invalidatedPlan_;
    std::unique_ptr<Surface> invalidatedSurface_;
    std::uint64_t frameVersion_ = 0;
    int frameDepth_ = 0;
    int modalDepth_ = 0;
    bool destroyed_ = false;
    bool runningDeferred_ = false;
    bool quietFailure_ = false;
    std::string failureText_;
    std::filesystem::path shownTitle_;  // what the window's title shows, set only when it changes
    // What each panel field was last set to, while it still shows it: reading a field back
    // costs as much as writing it, and a step changes only a few of them.
    std::map<int, std::string> fieldsWritten_;
    std::deque<std::function<void()>> deferred_;
    History history_;
    struct Gesture {
        History::Before before;
        int action = 0;
    };
    std::optional<Gesture> gesture_;
    std::optional<ElementDrag> pictureDrag_;  // a drag in the Full picture, while it lasts
    Clipboard* clipboard_ = nullptr;
    std::optional<bool> pasteShown_;  // whether Paste was last shown enabled
    std::uint64_t actionSerial_ = 0;  // counts the user's actions, for merging steps
    DrawingState draw_;
    // The Edit menu's Undo and Redo entries as last shown, "~" after a greyed one.
    std::string shownUndo_ = "Undo [Ctrl+Z]~";
    std::string shownRedo_ = "Redo [Ctrl+Y]~";
};

}  // namespace zt9
