// Ids shared by the resource script, the Win32 side and the portable editor: resources,
// menu and accelerator commands, panel controls and the main window's private messages.
// Plain #defines only, so that the resource compiler can read this file too.
#pragma once

// Resources
#define IDR_MAIN_MENU 101
#define IDR_ACCELERATORS 108
#define IDD_ELEMENT_PANEL 9
#define IDI_APP_ICON 102

// File menu
#define IDM_LOAD 40001
#define IDM_SAVE 40002
#define IDM_SAVE_AS 40032
#define IDM_IMPORT 40003
#define IDM_EXPORT 40004
#define IDM_EXIT 40011
// Edit menu
#define IDM_NEXT_ELEMENT 40005
#define IDM_PREVIOUS_ELEMENT 40006
#define IDM_RESET_CONFIG 40033
#define IDM_RESET_IMPORT 40014
#define IDM_UNDO 40034
#define IDM_REDO 40035
#define IDM_COPY_IMAGE 40050
#define IDM_PASTE_IMAGE 40051
// View menu
#define IDM_ZOOM_IN 40007
#define IDM_ZOOM_OUT 40008
#define IDM_FULL_PICTURE 40009
#define IDM_PICTURE_ELEMENT 40010
#define IDM_TRANSPARENCY 40013
#define IDM_GRID 40036
// Top level
#define IDM_ABOUT 65535
// Keys without a menu item
#define IDM_TOGGLE_VIEW 40015
#define IDM_MOVE_LEFT 40023
#define IDM_MOVE_UP 40024
#define IDM_MOVE_RIGHT 40025
#define IDM_MOVE_DOWN 40026
#define IDM_NARROWER 40027
#define IDM_LOWER 40028
#define IDM_WIDER 40029
#define IDM_HIGHER 40030
#define IDM_NEXT_COLOR 40031
// Drawing tools of the Picture Element view (keys P, B, I and the Draw group)
#define IDM_TOOL_PENCIL 40037
#define IDM_TOOL_FILL 40038
#define IDM_TOOL_PICKER 40039

// Steps of the history that no command makes: dragging the current element in the Full
// picture, its body to move it or an edge to resize it
#define STEP_DRAG_MOVE 40052
#define STEP_DRAG_RESIZE 40053

// Menu bar positions of the popups a document enables
#define MENU_POS_EDIT 1
#define MENU_POS_VIEW 2

// The main window's own controls: the picture area's scroll bars and the status bar
#define IDC_PICTURE_HSCROLL 1080
#define IDC_PICTURE_VSCROLL 1081
#define IDC_STATUS_BAR 1082

// Element panel controls
#define IDC_GROUP_NUMBER 1049
#define IDC_GROUP_SIZE 1050
#define IDC_GROUP_PLACE 1051
#define IDC_GROUP_SCALE 1052
#define IDC_NUMBER 1032
#define IDC_NUMBER_ARROWS 1037
#define IDC_WIDTH 1038
#define IDC_WIDTH_ARROWS 1040
#define IDC_HEIGHT 1041
#define IDC_HEIGHT_ARROWS 1042
#define IDC_POS_X 1043
#define IDC_POS_X_ARROWS 1044
#define IDC_POS_Y 1045
#define IDC_POS_Y_ARROWS 1046
#define IDC_RESIZE_WIDTH 1047
#define IDC_RESIZE_WIDTH_ARROWS 1059
#define IDC_RESIZE_HEIGHT 1057
#define IDC_RESIZE_HEIGHT_ARROWS 1061
#define IDC_DISPLAY_X 1062
#define IDC_DISPLAY_X_ARROWS 1063
#define IDC_DISPLAY_Y 1064
#define IDC_DISPLAY_Y_ARROWS 1065
#define IDC_SCALE 1055
#define IDC_COLOR 1067
#define IDC_RESET_ELEMENT 1068
#define IDC_RESET_WIDTH 1069
#define IDC_RESET_HEIGHT 1070
#define IDC_RESET_RESIZE_WIDTH 1071
#define IDC_RESET_RESIZE_HEIGHT 1072
#define IDC_RESET_POS_X 1073
#define IDC_RESET_POS_Y 1074
#define IDC_RESET_DISPLAY_X 1075
#define IDC_RESET_DISPLAY_Y 1076
// The Draw group: the tools' radio buttons and the palette strip
#define IDC_GROUP_DRAW 1083
#define IDC_TOOL_PENCIL 1084
#define IDC_TOOL_FILL 1085
#define IDC_TOOL_PICKER 1086
#define IDC_PALETTE 1087

// Private messages of the main window (WM_USER + 1 to + 6)
#define UM_RENDER 1025
#define UM_COMPOSE 1026
#define UM_RESET_VIEW 1027
#define UM_CLEAR_VIEW 1028
#define UM_SHOW_CLAMP 1029
// A failure inside painting or rendering, reported once the paint is over
#define UM_REPORT_FAILURE 1030
