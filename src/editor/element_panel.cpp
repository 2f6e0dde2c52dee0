// The element panel's behaviour: committed fields, arrow clicks, the Reset buttons, Scale
// and Color. The dialog itself only hands its notifications to these functions.
#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "editor/field_number.h"
#include "editor/main_window.h"
#include "errors/error.h"
#include "resources/resource.h"

namespace zt9 {
namespace {

using FieldOperation = FieldCode (GeoDocument::*)(std::int32_t, std::int32_t&);

// One of the eight value rows of the panel (Number is handled on its own).
struct PanelField {
    const char* name;
    int field;
    int arrows;
    int reset;
    FieldOperation set;
    FieldOperation restore;  // moves the neighbour instead of clamping; none for the others
    std::int32_t ElementConfig::*value;
    bool isSigned;
    bool sizeOfImage;  // an imported element keeps its image's size
};

constexpr std::array kPanelFields{
    PanelField{"Width", IDC_WIDTH, IDC_WIDTH_ARROWS, IDC_RESET_WIDTH, &GeoDocument::setWidth,
               &GeoDocument::restoreWidth, &ElementConfig::width, false, true},
    PanelField{"Hight", IDC_HEIGHT, IDC_HEIGHT_ARROWS, IDC_RESET_HEIGHT, &GeoDocument::setHeight,
               &GeoDocument::restoreHeight, &ElementConfig::height, false, true},
    PanelField{"Position X", IDC_POS_X, IDC_POS_X_ARROWS, IDC_RESET_POS_X, &GeoDocument::setX,
               &GeoDocument::restoreX, &ElementConfig::x, false, false},
    PanelField{"Position Y", IDC_POS_Y, IDC_POS_Y_ARROWS, IDC_RESET_POS_Y, &GeoDocument::setY,
               &GeoDocument::restoreY, &ElementConfig::y, false, false},
    PanelField{"Resize width", IDC_RESIZE_WIDTH, IDC_RESIZE_WIDTH_ARROWS, IDC_RESET_RESIZE_WIDTH,
               &GeoDocument::setResizeWidth, nullptr, &ElementConfig::resizeWidth, false, false},
    PanelField{"Resize hight", IDC_RESIZE_HEIGHT, IDC_RESIZE_HEIGHT_ARROWS, IDC_RESET_RESIZE_HEIGHT,
               &GeoDocument::setResizeHeight, nullptr, &ElementConfig::resizeHeight, false, false},
    PanelField{"Display pos X", IDC_DISPLAY_X, IDC_DISPLAY_X_ARROWS, IDC_RESET_DISPLAY_X,
               &GeoDocument::setDisplayX, nullptr, &ElementConfig::displayX, true, false},
    PanelField{"Display pos Y", IDC_DISPLAY_Y, IDC_DISPLAY_Y_ARROWS, IDC_RESET_DISPLAY_Y,
               &GeoDocument::setDisplayY, nullptr, &ElementConfig::displayY, true, false},
};

template <class Key>
const PanelField* findField(Key key, int wanted) {
    const auto* found = std::find_if(kPanelFields.begin(), kPanelFields.end(),
                                     [&](const PanelField& f) { return f.*key == wanted; });
    return found == kPanelFields.end() ? nullptr : found;
}

// The panel row a field code names (width, height, x or y), or none.
const PanelField* rowOfCode(FieldCode code) {
    switch (code) {
        case FieldCode::width:
            return findField(&PanelField::field, IDC_WIDTH);
        case FieldCode::height:
            return findField(&PanelField::field, IDC_HEIGHT);
        case FieldCode::x:
            return findField(&PanelField::field, IDC_POS_X);
        case FieldCode::y:
            return findField(&PanelField::field, IDC_POS_Y);
        default:
            return nullptr;
    }
}

}  // namespace

const char* MainWindow::fieldName(int fieldOrReset) {
    const PanelField* row = findField(&PanelField::field, fieldOrReset);
    if (row == nullptr)
        row = findField(&PanelField::reset, fieldOrReset);
    return row == nullptr ? nullptr : row->name;
}

void MainWindow::writeField(int field, std::int32_t value) {
    const bool isSigned = field == IDC_DISPLAY_X || field == IDC_DISPLAY_Y;
    // A field that still shows the text is left alone: setting a field is the panel's
    // slowest step, and stepping through elements changes only a few of them.
    std::string text =
        isSigned ? formatDecimal(value) : std::to_string(static_cast<std::uint32_t>(value));
    if (const auto written = fieldsWritten_.find(field);
        written != fieldsWritten_.end() && written->second == text)
        return;
    screen_.setFieldNumber(field, value, isSigned);
    fieldsWritten_[field] = std::move(text);  // after the change the write itself reports
}

void MainWindow::fieldChanged(int field) {
    fieldsWritten_.erase(field);
}

std::string MainWindow::readField(int field) {
    // Whatever the field shows now counts, not what was written there last.
    fieldChanged(field);
    return screen_.fieldText(field);
}

void MainWindow::writeAllFields() {
    for (const PanelField& row : kPanelFields)
        writeField(row.field, panelConfig.*row.value);
}

void MainWindow::showElementInPanel() {
    writeAllFields();
    if (screen_.selectedColor() != panelConfig.colorIndex)
        screen_.selectColor(panelConfig.colorIndex);
    screen_.checkMenuItem(IDM_RESET_IMPORT, elementImported != 0);
}

void MainWindow::showStored(int field, FieldCode code) {
    std::uint8_t imported = 0;
    const ElementConfig stored = document_.currentConfig(imported);
    if (const PanelField* row = findField(&PanelField::field, field))
        writeField(field, stored.*row->value);
    // An operation that moved a neighbour (restoring a width moves x) names it.
    if (const PanelField* moved = rowOfCode(code); moved != nullptr && moved->field != field)
        writeField(moved->field, stored.*moved->value);
}

void MainWindow::showClamp(int field) {
    // A corrected width, height, x or y goes into its own field; otherwise the field shows
    // the value the key asked for.
    if (const PanelField* corrected = rowOfCode(clampCode))
        writeField(corrected->field, clampedValue);
    else
        writeField(field, requestedValue);
    renderAndInvalidate();
}

void MainWindow::commitField(int field) {
    ++actionSerial_;
    if (view.documentLoaded == 0)
        return;
    if (field == IDC_NUMBER) {
        const std::int32_t value = readFieldNumber(readField(field), false);
        clampCode = document_.selectElement(value, clampedValue);
        panelConfig = document_.currentConfig(elementImported);
        showElementInPanel();
        writeField(IDC_NUMBER, static_cast<std::int32_t>(document_.currentElement));
    } else if (const PanelField* row = findField(&PanelField::field, field)) {
        // However large, empty or not a number the text, the field ends up showing the value
        // the element now holds.
        const std::int32_t value = readFieldNumber(readField(field), row->isSigned);
        std::int32_t corrected = 0;
        edit(field, 0, false, true, [&] {
            clampCode = (document_.*row->set)(value, row->isSigned ? corrected : clampedValue);
        });
        showStored(field, FieldCode::unchanged);
    } else {
        return;
    }
    renderAndInvalidate();
}

void MainWindow::arrowClicked(int arrows, std::int32_t position) {
    ++actionSerial_;
    const PanelField* row = findField(&PanelField::arrows, arrows);
    // The arrows have written their new position into their field.
    if (arrows == IDC_NUMBER_ARROWS)
        fieldChanged(IDC_NUMBER);
    else if (row != nullptr)
        fieldChanged(row->field);
    if (view.documentLoaded == 0)
        return;
    if (arrows == IDC_NUMBER_ARROWS) {
        document_.selectElement(position, clampedValue);
        panelConfig = document_.currentConfig(elementImported);
        showElementInPanel();
        writeField(IDC_NUMBER, static_cast<std::int32_t>(document_.currentElement));
    } else if (row != nullptr) {
        // Only this click's own result decides what the field shows.
        // Clicks on the same arrows follow each other as one step.
        std::int32_t corrected = 0;
        FieldCode code = FieldCode::unchanged;
        edit(row->field, arrows, false, true,
             [&] { code = (document_.*row->set)(position, corrected); });
        if (rowOfCode(code) == row) {
            clampCode = code;
            clampedValue = corrected;
            writeField(row->field, corrected);
        }
    } else {
        return;
    }
    renderAndInvalidate();
}

void MainWindow::resetClicked(int button) {
    ++actionSerial_;
    if (view.documentLoaded == 0)
        return;
    if (button == IDC_RESET_ELEMENT)
        resetElement();
    else
        resetField(button);
}

void MainWindow::resetElement() {
    // A reset that changes nothing leaves the font as it was, marked or not.
    edit(IDC_RESET_ELEMENT, 0, false, false, [&] { panelConfig = document_.resetElementConfig(); });
    // An imported element keeps the size of its image.
    for (const PanelField& row : kPanelFields) {
        if (!(row.sizeOfImage && elementImported != 0))
            writeField(row.field, panelConfig.*row.value);
    }
    renderAndInvalidate();
}

void MainWindow::resetField(int button) {
    const PanelField* row = findField(&PanelField::reset, button);
    if (row == nullptr)
        return;
    panelConfig = document_.fileConfig(elementImported);
    // The size of an imported element is its image's: its Width and Hight Reset do nothing.
    if (row->sizeOfImage && elementImported != 0)
        return;
    const FieldOperation operation =
        row->restore != nullptr && elementImported == 0 ? row->restore : row->set;
    FieldCode code = FieldCode::unchanged;
    edit(button, 0, false, false, [&] {
        std::int32_t corrected = 0;
        code = (document_.*operation)(panelConfig.*row->value, corrected);
    });
    showStored(row->field, code);
    renderAndInvalidate();
}

void MainWindow::scaleChanged(std::int32_t position) {
    ++actionSerial_;
    applyZoom(position, {}, false);
    showChanges();
}

void MainWindow::colorChosen(int entry) {
    ++actionSerial_;
    if (view.documentLoaded == 0 || entry < 0 || entry > 3)
        return;
    document_.setColorIndex(entry);
    if (view.viewMode == kPictureElement && view.transparency != 0)
        renderAndInvalidate();
}

}  // namespace zt9
