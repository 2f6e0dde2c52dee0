// Dropped files, import and export in the real window under Wine.
#include "ui/window_fixture.h"

#include <shellapi.h>
#include <shlobj.h>

#include "images/element_export.h"
#include "images/element_import.h"
#include "support/bmp_builder.h"
#include "support/test_util.h"

namespace zt9::test {
namespace {

// WM_DROPFILES as the shell sends it: a DROPFILES header and the paths in UTF-16.
void drop(HWND window, const std::vector<std::filesystem::path>& paths) {
    std::wstring list;
    for (const std::filesystem::path& path : paths)
        list += path.wstring() + L'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * 2);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    *header = {sizeof(DROPFILES), {}, FALSE, TRUE};
    std::ranges::copy(list, reinterpret_cast<wchar_t*>(header + 1));
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

TEST_F(WindowTest, DroppedFilesArriveWholeHoweverLongAndSaveAsAnImportInProcessDoes) {
    // Cut to 259 characters, ".../font.geo.bak" would become ".../font.geo", which exists.
    const std::filesystem::path folder =
        dir.path() / std::wstring(249 - dir.path().wstring().size(), L'd');
    const std::filesystem::path font = writeFont("grid.geo", 3),
                                mixed = L"\u0428rift F\u00F6nt.GeO";
    std::filesystem::create_directories(folder);
    for (const std::filesystem::path name : {L"font.geo", L"font.geo.bak", mixed.c_str()})
        std::filesystem::copy_file(font, folder / name);
    ASSERT_EQ((folder / "font.geo").wstring().size(), 259u);
    drop(window(), {folder / "font.geo.bak"});
    EXPECT_EQ(menus(), kNoDocument);
    // A GEO and a BMP file, the extensions in mixed case: the font loads, the image imports.
    const std::filesystem::path bmp = folder / "Glyph.Bmp";
    writeBytes(bmp, BmpBuilder(9, 3, 4).withDistinctPalette().build());
    drop(window(), {folder / mixed, bmp});
    EXPECT_EQ(fields().substr(0, 10), "0,9,2,0,0,");  // the image's 9 columns and 3 rows
    EXPECT_EQ(menus(),
              "save as import export edit view full+ element transparency+ reimport+ panel");
    press('S', VK_CONTROL);
    GeoDocument model;
    openFont(model, font);
    FieldCode xCode = FieldCode::unchanged, yCode = FieldCode::unchanged;
    importElement(model, xCode, yCode, bmp);
    EXPECT_EQ(readBytes(folder / mixed), model.buildSaveImage());
}

TEST_F(WindowTest, ImportAndExportThroughTheRealDialogsRememberTheExportFilter) {
    open(writeFont("grid.geo", 3));
    screen.real = true;
    writeBytes(dir.file("glyph.bmp"), BmpBuilder(5, 3, 4).withDistinctPalette().build());
    whenDialogAppears([&](HWND dialog) { choose(dialog, dir.file("glyph.bmp")); });
    command(IDM_IMPORT);
    EXPECT_TRUE(seen.starts_with(L"Import geo element|")) << seen;
    EXPECT_NE(seen.find(L"|geo element 0.bmp|"), std::wstring::npos) << seen;
    EXPECT_EQ(fields().substr(0, 10), "0,5,2,0,0,");
    // Each export dialog opens on the filter the last one chose (entry 0: 8-bit, 1: 4-bit).
    for (const auto& [name, filter, shownBefore, format] :
         {std::tuple{L"four.bmp", 1, 0, kExport4bpp}, {L"eight.bmp", 0, 1, kExport8bpp}}) {
        LRESULT shown = -1;
        whenDialogAppears([&](HWND dialog) {
            const HWND filters = GetDlgItem(dialog, 0x470);  // the filter list under Wine
            shown = SendMessageW(filters, CB_GETCURSEL, 0, 0);
            SendMessageW(filters, CB_SETCURSEL, static_cast<WPARAM>(filter), 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK),
                         reinterpret_cast<LPARAM>(filters));
            choose(dialog, dir.file(name));
        });
        command(IDM_EXPORT);
        EXPECT_EQ(shown, shownBefore);
        EXPECT_EQ(readBytes(dir.file(name)), exportElementBytes(document, format));
    }
}

}  // namespace
}  // namespace zt9::test
