#include <algorithm>
#include <limits>

#include "document/geo_document.h"

namespace zt9 {
namespace {

using U32 = std::uint32_t;

// The limit tests add the field and the new value as unsigned 32-bit numbers, so a very
// large value typed into the panel counts as too large.
bool sumExceeds(std::int32_t field, std::int32_t value, U32 limit) {
    return static_cast<U32>(field) + static_cast<U32>(value) > limit;
}

std::int32_t makeEven(std::int32_t value) {
    return value - (value % 2 != 0 ? 1 : 0);
}

// limit - value without overflow: a value so negative that the difference leaves the 32-bit
// range gives the largest value instead. Every other value gives the plain difference.
std::int32_t room(U32 limit, std::int32_t value) {
    const std::int64_t difference = std::int64_t{limit} - value;
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(difference, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::uint32_t GeoDocument::nextElement() {
    if (currentElement + 1 < elementCount)
        ++currentElement;
    return currentElement;
}

std::uint32_t GeoDocument::previousElement() {
    if (currentElement > 0)
        --currentElement;
    return currentElement;
}

FieldCode GeoDocument::selectElement(std::int32_t value, std::int32_t& out) {
    if (value >= 0 && static_cast<U32>(value) < elementCount) {
        currentElement = static_cast<U32>(value);
        return FieldCode::unchanged;
    }
    currentElement = elementCount - 1;
    out = static_cast<std::int32_t>(currentElement);
    return FieldCode::number;
}

ElementConfig GeoDocument::currentConfig(std::uint8_t& importedOut) const {
    importedOut = currentSlot().imported;
    return current();
}

ElementConfig GeoDocument::fileConfig(std::uint8_t& imported) const {
    ElementConfig result;
    takePlace(result, placeWords[currentElement]);
    takeDisplay(result, displayWords[currentElement]);
    if (imported != 0) {
        // An imported element's size is the size of its image.
        result.width = current().width;
        result.height = current().height;
        result.resizeWidth = result.width + 1;
        result.resizeHeight = result.height + 1;
    } else {
        takeResize(result, resizeWords[currentElement]);
    }
    imported = currentSlot().imported;
    return result;
}

ElementConfig GeoDocument::resetElementConfig() {
    ElementConfig& config = current();
    if (currentSlot().imported != 0) {
        // Only the position is reset, tested against the image's size.
        const Place place = decodePlace(placeWords[currentElement]);
        std::int32_t ignored = 0;
        setX(static_cast<std::int32_t>(place.x), ignored);
        setY(static_cast<std::int32_t>(place.y), ignored);
        config.resizeWidth = config.width + 1;
        config.resizeHeight = config.height + 1;
    } else {
        takePlace(config, placeWords[currentElement]);
        takeResize(config, resizeWords[currentElement]);
    }
    takeDisplay(config, displayWords[currentElement]);
    return config;
}

namespace {
// Stores `value` in a position or size field so that other + field stays within `limit`
// (a too large value gives the largest that fits, made even for x) and the field at least
// `minimum`. A negative value counts as too small even where its unsigned sum wrapped below
// the limit: saved, a negative x, y or height would become a byte near 255 and put the
// element's rows over its neighbours or into the palette table.
FieldCode keepInPicture(std::int32_t value, std::int32_t& field, std::int32_t other, U32 limit,
                        std::int32_t minimum, bool even, FieldCode code, FieldCode valueCode,
                        std::int32_t& out) {
    if (sumExceeds(other, value, limit)) {
        const std::int32_t largest = room(limit, other);
        field = even ? makeEven(largest) : largest;
        out = field;
        return code;
    }
    if (value < minimum) {
        field = minimum;
        out = minimum;
        return code;
    }
    field = value;
    return valueCode;
}
}  // namespace

// The size of an imported element is the size of its image: width and height stay.
FieldCode GeoDocument::setWidth(std::int32_t value, std::int32_t& out) {
    ElementConfig& c = current();
    if (currentSlot().imported != 0) {
        out = c.width;
        return FieldCode::width;
    }
    modified = 1;
    return keepInPicture(value, c.width, c.x, pictureLimitX, 1, false, FieldCode::width,
                         FieldCode::unchanged, out);
}

FieldCode GeoDocument::setHeight(std::int32_t value, std::int32_t& out) {
    ElementConfig& c = current();
    if (currentSlot().imported != 0) {
        out = c.height;
        return FieldCode::height;
    }
    modified = 1;
    return keepInPicture(value, c.height, c.y, pictureLimitY, 0, false, FieldCode::height,
                         FieldCode::unchanged, out);
}

FieldCode GeoDocument::setX(std::int32_t value, std::int32_t& out) {
    FieldCode valueCode = FieldCode::unchanged;
    if (value % 2 != 0) {
        value = static_cast<std::int32_t>(static_cast<U32>(value) + 1);
        out = value;
        valueCode = FieldCode::x;
    }
    modified = 1;
    ElementConfig& c = current();
    return keepInPicture(value, c.x, c.width, pictureLimitX, 0, true, FieldCode::x, valueCode, out);
}

FieldCode GeoDocument::setY(std::int32_t value, std::int32_t& out) {
    modified = 1;
    ElementConfig& c = current();
    return keepInPicture(value, c.y, c.height, pictureLimitY, 0, false, FieldCode::y,
                         FieldCode::unchanged, out);
}

FieldCode GeoDocument::setResizeWidth(std::int32_t value, std::int32_t& out) {
    modified = 1;
    FieldCode code = FieldCode::unchanged;
    if (value > 380) {
        value = 380;
        out = value;
        code = FieldCode::resizeWidth;
    } else if (value < 1) {
        value = 1;
        out = value;
        code = FieldCode::resizeWidth;
    }
    current().resizeWidth = value;
    return code;
}

FieldCode GeoDocument::setResizeHeight(std::int32_t value, std::int32_t& out) {
    modified = 1;
    FieldCode code = FieldCode::unchanged;
    if (value > 255) {
        value = 255;
        out = value;
        code = FieldCode::resizeHeight;
    }
    current().resizeHeight = value;
    return code;
}

namespace {
// Display positions keep the low 16 bits of the value, read as signed, within -255..255.
FieldCode clampDisplay(std::int32_t value, std::int32_t& field, std::int32_t& out, FieldCode code) {
    std::int32_t s = static_cast<std::int16_t>(static_cast<U32>(value) & 0xFFFFu);
    if (s > 255 || s < -255) {
        s = s > 255 ? 255 : -255;
        out = s;
    } else {
        code = FieldCode::unchanged;
    }
    field = s;
    return code;
}
}  // namespace

FieldCode GeoDocument::setDisplayX(std::int32_t value, std::int32_t& out) {
    modified = 1;
    return clampDisplay(value, current().displayX, out, FieldCode::displayX);
}

FieldCode GeoDocument::setDisplayY(std::int32_t value, std::int32_t& out) {
    modified = 1;
    return clampDisplay(value, current().displayY, out, FieldCode::displayY);
}

// The restore operations put one field back to the file's value and move the neighbouring
// field instead of clamping the restored one. They do not mark the document.
namespace {
FieldCode restoreField(std::int32_t value, std::int32_t& field, std::int32_t& neighbour, U32 limit,
                       bool evenNeighbour, FieldCode neighbourCode, std::int32_t& out) {
    FieldCode code = FieldCode::unchanged;
    if (sumExceeds(neighbour, value, limit)) {
        const std::int32_t moved = room(limit, value);
        neighbour = evenNeighbour ? makeEven(moved) : moved;
        out = neighbour;
        code = neighbourCode;
    }
    field = value;
    return code;
}
}  // namespace

FieldCode GeoDocument::restoreWidth(std::int32_t value, std::int32_t& out) {
    ElementConfig& c = current();
    return restoreField(value, c.width, c.x, pictureLimitX, true, FieldCode::x, out);
}

FieldCode GeoDocument::restoreHeight(std::int32_t value, std::int32_t& out) {
    ElementConfig& c = current();
    return restoreField(value, c.height, c.y, pictureLimitY, false, FieldCode::y, out);
}

FieldCode GeoDocument::restoreX(std::int32_t value, std::int32_t& out) {
    ElementConfig& c = current();
    return restoreField(value, c.x, c.width, pictureLimitX, false, FieldCode::width, out);
}

FieldCode GeoDocument::restoreY(std::int32_t value, std::int32_t& out) {
    ElementConfig& c = current();
    return restoreField(value, c.y, c.height, pictureLimitY, false, FieldCode::height, out);
}

void GeoDocument::setColorIndex(std::int32_t value) {
    current().colorIndex = value;
}

std::uint32_t GeoDocument::zoomIn() {
    if (zoom < 10)
        ++zoom;
    return zoom;
}

std::uint32_t GeoDocument::zoomOut() {
    if (zoom > 1)
        --zoom;
    return zoom;
}

bool GeoDocument::resetImport() {
    ImportSlot& slot = importSlots[currentElement];
    if (slot.imported != 0) {
        slot.pixels = {};
        slot.imported = 0;
        slot.drawn = 0;
    }
    return slot.imported != 0;
}

}  // namespace zt9
