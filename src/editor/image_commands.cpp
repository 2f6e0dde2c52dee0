// Import, Export and Reset import: moving element images between the font and BMP files.
#include "editor/main_window.h"
#include "editor/texts.h"
#include "images/element_export.h"
#include "images/element_import.h"
#include "resources/resource.h"

namespace zt9 {

std::filesystem::path MainWindow::defaultElementFileName() const {
    std::string name = "geo element .bmp";
    name.insert(12, formatDecimal(static_cast<std::int32_t>(document_.currentElement)));
    return name;
}

void MainWindow::importImage(int /*id*/, std::intptr_t param) {
    const bool confirmed = param == 1 || askForFile(FileFilter::importBmp, false,
                                                    text::kImportTitle, defaultElementFileName());
    // Both codes start unchanged, so a cancelled dialog never moves x or y in the panel.
    FieldCode xCode = FieldCode::unchanged;
    FieldCode yCode = FieldCode::unchanged;
    // A refused file throws here and leaves the element, the panel and the mark as they were.
    if (confirmed) {
        edit(IDM_IMPORT, 0, true, true,
             [&] { elementImported = importElement(document_, xCode, yCode, fileName) ? 1 : 0; });
    }
    if (elementImported != 0)
        showNewImage(xCode, yCode);
}

void MainWindow::showNewImage(FieldCode xCode, FieldCode yCode) {
    screen_.checkMenuItem(IDM_RESET_IMPORT, true);
    panelConfig = document_.currentConfig(elementImported);
    writeField(IDC_WIDTH, panelConfig.width);
    writeField(IDC_HEIGHT, panelConfig.height);
    writeField(IDC_RESIZE_WIDTH, panelConfig.resizeWidth);
    writeField(IDC_RESIZE_HEIGHT, panelConfig.resizeHeight);
    writeField(IDC_DISPLAY_X, panelConfig.displayX);
    writeField(IDC_DISPLAY_Y, panelConfig.displayY);
    if (xCode == FieldCode::x)
        writeField(IDC_POS_X, panelConfig.x);
    if (yCode == FieldCode::y)
        writeField(IDC_POS_Y, panelConfig.y);
    render();
}

void MainWindow::exportImage(int /*id*/, std::intptr_t /*param*/) {
    // The export dialog opens with the depth chosen last time, whatever dialog ran since.
    const std::optional<int> chosen = askForFile(FileFilter::exportBmp, true, text::kExportTitle,
                                                 defaultElementFileName(), exportFilterIndex);
    if (!chosen)
        return;
    exportFilterIndex = *chosen == kExport4bpp ? kExport4bpp : kExport8bpp;
    exportElement(document_, exportFilterIndex, fileName);
}

void MainWindow::resetImportCommand(int /*id*/, std::intptr_t /*param*/) {
    edit(IDM_RESET_IMPORT, 0, true, false,
         [&] { elementImported = document_.resetImport() ? 1 : 0; });
    screen_.checkMenuItem(IDM_RESET_IMPORT, false);
    render();
}

}  // namespace zt9
