// Import, export and dropped files in the real window under Wine.
#include "ui/window_fixture.h"

#include <shellapi.h>
#include <shlobj.h>

#include "images/element_export.h"
#include "images/element_import.h"
#include "support/bmp_builder.h"
#include "support/test_util.h"

namespace zt9::test {
namespace {

constexpr int kFileNameBox = 0x47c;  // the dialogs' file name box under Wine
constexpr int kFilterBox = 0x470;    // their filter list

class ImageWindowTest : public WindowTest {
  protected:
    // WM_DROPFILES as the shell sends it: a DROPFILES header and the paths in UTF-16.
    void drop(const std::vector<std::filesystem::path>& paths) {
        std::wstring list;
        for (const std::filesystem::path& path : paths)
            list += path.wstring() + L'\0';
        list += L'\0';
        const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
        auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(header + 1));
        GlobalUnlock(memory);
        SendMessageW(window(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
        pump();
    }
    std::filesystem::path writeBmp(const std::filesystem::path& path, std::int32_t width) {
        BmpBuilder image(width, 3, 4);
        image.withDistinctPalette();
        writeBytes(path, image.build());
        return path;
    }
};

TEST_F(ImageWindowTest, DroppedFilesArriveWholeHoweverLongTheirPaths) {
    // A folder name long enough that cutting "...\font.geo.bak" to 259 characters would
    // leave "...\font.geo", another file that exists.
    const std::size_t room = 259 - dir.path().wstring().size() - std::wstring(L"\\font.geo").size();
    const std::filesystem::path folder = dir.path() / std::wstring(room - 1, L'd');
    std::filesystem::create_directories(folder);
    const std::filesystem::path font = writeFont("unused.geo", GeoBuilder::grid(3));
    std::filesystem::copy_file(font, folder / "font.geo");
    std::filesystem::copy_file(font, folder / "font.geo.bak");
    ASSERT_EQ((folder / "font.geo").wstring().size(), 259u);
    drop({folder / "font.geo.bak"});
    EXPECT_EQ(editor().view.documentLoaded, 0);

    std::filesystem::copy_file(font, folder / L"\x0428rift F\x00F6nt.GeO");
    const std::filesystem::path bmp = writeBmp(folder / "Glyph.Bmp", 9);
    drop({folder / L"\x0428rift F\x00F6nt.GeO", bmp});
    EXPECT_EQ(editor().documentPath, folder / L"\x0428rift F\x00F6nt.GeO");
    EXPECT_EQ(document.importSlots[0].width, 9u);
    EXPECT_EQ(fieldText(IDC_WIDTH), L"9");
    EXPECT_NE(menuState(IDM_RESET_IMPORT) & MF_CHECKED, 0u);

    // Saved with Ctrl+S, the font holds what importing that file into it gives in-process.
    pressKey('S', true);
    GeoDocument model;
    openFont(model, font);
    FieldCode xCode = FieldCode::unchanged;
    FieldCode yCode = FieldCode::unchanged;
    importElement(model, xCode, yCode, bmp);
    EXPECT_EQ(readBytes(folder / L"\x0428rift F\x00F6nt.GeO"), model.buildSaveImage());
}

TEST_F(ImageWindowTest, ImportAndExportThroughTheRealDialogs) {
    open(writeFont("grid.geo", GeoBuilder::grid(3)));
    screen.realFileDialogs = true;
    const std::filesystem::path bmp = writeBmp(dir.file("glyph.bmp"), 5);
    std::vector<std::wstring> seen;
    whenDialogAppears([&](HWND dialog) {
        seen = dialogTexts(dialog);
        SetDlgItemTextW(dialog, kFileNameBox, bmp.wstring().c_str());
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    command(IDM_IMPORT);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0], L"Import geo element");
    EXPECT_NE(std::find(seen.begin(), seen.end(), L"geo element 0.bmp"), seen.end());
    EXPECT_EQ(document.importSlots[0].width, 5u);

    // Export as 4-bit: the next export dialog opens with that filter selected.
    const auto exportAs = [&](const std::filesystem::path& target, int filter) {
        LRESULT shown = -1;
        whenDialogAppears([&, filter](HWND dialog) {
            const HWND filters = GetDlgItem(dialog, kFilterBox);
            shown = SendMessageW(filters, CB_GETCURSEL, 0, 0);
            SendMessageW(filters, CB_SETCURSEL, static_cast<WPARAM>(filter), 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFilterBox, CBN_SELENDOK),
                         reinterpret_cast<LPARAM>(filters));
            SetDlgItemTextW(dialog, kFileNameBox, target.wstring().c_str());
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        command(IDM_EXPORT);
        return shown;
    };
    EXPECT_EQ(exportAs(dir.file("four.bmp"), 1), 0);
    EXPECT_EQ(readBytes(dir.file("four.bmp")), exportElementBytes(document, kExport4bpp));
    EXPECT_EQ(exportAs(dir.file("eight.bmp"), 0), 1);
    EXPECT_EQ(readBytes(dir.file("eight.bmp")), exportElementBytes(document, kExport8bpp));
}

}  // namespace
}  // namespace zt9::test
