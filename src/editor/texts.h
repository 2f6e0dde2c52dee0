#pragma once

// Texts the editor's window shows, as code page 1251 bytes like every message of the program.
// ZT9_VERSION ("0.4") comes from the build, which also writes it into the executables'
// version information.
namespace zt9::text {

inline constexpr const char* kProgramTitle = "ZT9 font editor";
inline constexpr const char* kSaveChanges = "Save changes?";
inline constexpr const char* kSaveCaption = "Save";  // asked before loading another file
inline constexpr const char* kQuitCaption = "Quit";  // asked before closing
inline constexpr const char* kImportTitle = "Import geo element";
inline constexpr const char* kExportTitle = "Export geo element";
inline constexpr const char* kPasteEntry = "Paste element image [Ctrl+V]";
inline constexpr const char* kClipboardBusy = "The clipboard cannot be opened";
inline constexpr const char* kAboutCaption = "About...";
inline constexpr const char* kAbout =
    "      ZT9 font editor      \n"
    "            v" ZT9_VERSION
    "            \n"
    "   Written by the ZT9 team   \n"
    "   for the game's modders   ";
// "совместимая память не выделена": the view's off-screen pictures could not be made.
inline constexpr const char* kNoSurfaceMemory =
    "\xF1\xEE\xE2\xEC\xE5\xF1\xF2\xE8\xEC\xE0\xFF \xEF\xE0\xEC\xFF\xF2\xFC \xED\xE5 "
    "\xE2\xFB\xE4\xE5\xEB\xE5\xED\xE0";
inline constexpr const char* kCannotRegisterClass = "Cannot register class: ";
inline constexpr const char* kCannotCreateWindow = "Cannot create window: ";
inline constexpr const char* kWindowClassName = "mainWindClass";

}  // namespace zt9::text
