#include "ui/element_panel.h"

#include <commctrl.h>

#include <array>

#include "resources/resource.h"
#include "ui/palette_strip.h"

namespace zt9::ui {
namespace {

struct ArrowRange {
    int id;
    int lowest;
    int highest;
};
// The Number arrows get their range at each load.
constexpr std::array kArrowRanges{
    ArrowRange{IDC_WIDTH_ARROWS, 1, 255},        ArrowRange{IDC_HEIGHT_ARROWS, 0, 255},
    ArrowRange{IDC_POS_X_ARROWS, 0, 254},        ArrowRange{IDC_POS_Y_ARROWS, 0, 255},
    ArrowRange{IDC_RESIZE_WIDTH_ARROWS, 1, 380}, ArrowRange{IDC_RESIZE_HEIGHT_ARROWS, 0, 255},
    ArrowRange{IDC_DISPLAY_X_ARROWS, -255, 255}, ArrowRange{IDC_DISPLAY_Y_ARROWS, -255, 255},
};

MainWindow& editorOf(HWND panel) {
    return *reinterpret_cast<MainWindow*>(GetWindowLongPtrW(panel, DWLP_USER));
}

void initialise(HWND panel) {
    for (const ArrowRange& range : kArrowRanges)
        SendDlgItemMessageW(panel, range.id, UDM_SETRANGE32, static_cast<WPARAM>(range.lowest),
                            range.highest);
    // Position X steps by 2, since x is kept even. Wine reports no steps of its own, so the
    // array starts from the usual ones before the platform's are read over it.
    std::array<UDACCEL, 3> steps{{{0, 1}, {2, 5}, {5, 20}}};
    SendDlgItemMessageW(panel, IDC_POS_X_ARROWS, UDM_GETACCEL, steps.size(),
                        reinterpret_cast<LPARAM>(steps.data()));
    steps[0].nInc = 2;
    steps[1].nInc = 2;
    SendDlgItemMessageW(panel, IDC_POS_X_ARROWS, UDM_SETACCEL, steps.size(),
                        reinterpret_cast<LPARAM>(steps.data()));
    for (const wchar_t* name : {L"Red", L"Green", L"Blue", L"Yellow"})
        SendDlgItemMessageW(panel, IDC_COLOR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendDlgItemMessageW(panel, IDC_COLOR, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageW(panel, IDC_SCALE, TBM_SETRANGE, TRUE, MAKELPARAM(1, 10));
    CheckRadioButton(panel, IDC_TOOL_PENCIL, IDC_TOOL_PICKER, IDC_TOOL_PENCIL);
}

bool isField(int id) {
    return id == IDC_NUMBER || id == IDC_WIDTH || id == IDC_HEIGHT || id == IDC_POS_X ||
           id == IDC_POS_Y || id == IDC_RESIZE_WIDTH || id == IDC_RESIZE_HEIGHT ||
           id == IDC_DISPLAY_X || id == IDC_DISPLAY_Y;
}

INT_PTR onCommand(HWND panel, WPARAM wParam) {
    MainWindow& editor = editorOf(panel);
    const int id = LOWORD(wParam);
    const UINT notification = HIWORD(wParam);
    if (id == IDOK || id == IDCANCEL) {
        // Enter on a focused button and Escape in a field arrive here; the panel lives as
        // long as the main window and is never closed by them.
        return TRUE;
    }
    // A field is one line high and cannot take a line break, so Enter makes it report that
    // it is full: that is the command to commit it.
    if (notification == EN_CHANGE && isField(id)) {
        editor.fieldChanged(id);
        return TRUE;
    }
    if (notification == EN_MAXTEXT && isField(id)) {
        editor.frame([&] { editor.commitField(id); });
        return TRUE;
    }
    if (notification == BN_CLICKED && id >= IDC_RESET_ELEMENT && id <= IDC_RESET_DISPLAY_Y) {
        editor.frame([&] { editor.resetClicked(id); });
        return TRUE;
    }
    if (notification == BN_CLICKED && id >= IDC_TOOL_PENCIL && id <= IDC_TOOL_PICKER) {
        editor.frame([&] { editor.command(IDM_TOOL_PENCIL + (id - IDC_TOOL_PENCIL), 0); });
        return TRUE;
    }
    // A click chooses a swatch, a double click also opens the colour dialog on it.
    if ((notification == STN_CLICKED || notification == STN_DBLCLK) && id == IDC_PALETTE) {
        const int entry = swatchUnderPointer(GetDlgItem(panel, IDC_PALETTE));
        editor.frame([&] {
            if (notification == STN_CLICKED)
                editor.paletteClicked(entry);
            else
                editor.paletteDoubleClicked(entry);
        });
        return TRUE;
    }
    if (notification == CBN_SELCHANGE && id == IDC_COLOR) {
        const auto entry =
            static_cast<int>(SendDlgItemMessageW(panel, IDC_COLOR, CB_GETCURSEL, 0, 0));
        editor.frame([&] { editor.colorChosen(entry); });
        return TRUE;
    }
    return FALSE;
}

// A click on arrows arrives as UDN_DELTAPOS, then SB_THUMBPOSITION with the new position,
// then SB_ENDSCROLL: it acts once, on the new position.
INT_PTR onArrows(HWND panel, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) != SB_THUMBPOSITION || lParam == 0)
        return FALSE;
    const HWND arrows = reinterpret_cast<HWND>(lParam);
    BOOL failed = FALSE;
    const auto position = static_cast<std::int32_t>(
        SendMessageW(arrows, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    MainWindow& editor = editorOf(panel);
    editor.frame([&] { editor.arrowClicked(GetDlgCtrlID(arrows), position); });
    return TRUE;
}

// Every movement of the Scale slider, dragging included, re-stretches the view.
INT_PTR onScale(HWND panel) {
    const auto position =
        static_cast<std::int32_t>(SendDlgItemMessageW(panel, IDC_SCALE, TBM_GETPOS, 0, 0));
    MainWindow& editor = editorOf(panel);
    editor.frame([&] { editor.scaleChanged(position); });
    return TRUE;
}

INT_PTR CALLBACK panelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(panel, DWLP_USER, lParam);
            initialise(panel);
            onScale(panel);
            return TRUE;
        case WM_COMMAND:
            return onCommand(panel, wParam);
        case WM_VSCROLL:
            return onArrows(panel, wParam, lParam);
        case WM_HSCROLL:
            return onScale(panel);
        case WM_CLOSE:
            return TRUE;  // Escape in a field: the panel stays
        case WM_DRAWITEM:
            if (wParam != IDC_PALETTE)
                return FALSE;
            paintPaletteStrip(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam),
                              editorOf(panel).paletteShown());
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

HWND createElementPanel(HINSTANCE instance, HWND mainWindow, MainWindow& editor) {
    return CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_ELEMENT_PANEL), mainWindow,
                              panelProcedure, reinterpret_cast<LPARAM>(&editor));
}

}  // namespace zt9::ui
