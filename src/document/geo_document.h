#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <span>
#include <vector>

#include "document/colors15.h"
#include "document/element_config.h"
#include "errors/error.h"

namespace zt9 {

// Layout constants of a GEO file (offsets relative to the picture offset P).
inline constexpr std::uint32_t kGeoSignature = 0x76312E30;  // "0.1v"
inline constexpr std::uint32_t kPixelsFromP = 12;           // pixels start at P + 12
inline constexpr std::uint32_t kPaletteFromP = 30732;       // palette table at P + 30732
inline constexpr std::uint32_t kPictureRowBytes = 128;      // 256 pixels of 4 bits
inline constexpr std::uint32_t kPaletteEntryBytes = 36;     // flags word + 16 colours
inline constexpr std::uint32_t kTableEntryBytes = 16;

// The loaded font. It keeps the file image exactly as read; drawing, export and save all
// address that image by offset. Beside it: the element table words as loaded (the file's
// values, never changed while open), one editable ElementConfig and one ImportSlot per
// element. Element operations never throw; file operations throw `error`.
class GeoDocument {
  public:
    std::uint32_t fileSize = 0;
    std::uint32_t maxFileSize = 38176;
    std::uint32_t minFileSize = 30792;
    std::uint32_t signature = kGeoSignature;
    std::uint32_t maxElementNumber = 142;
    std::uint32_t elementCount = 0;
    std::uint32_t readCursor = 1;  // index of the next 32-bit word of fileImage to read
    std::uint32_t pictureOffset = 0;
    std::uint32_t zoom = 1;
    std::uint32_t rowSkip = 0;
    std::uint32_t currentElement = 0;
    std::uint32_t paletteOffset = 0;
    std::uint32_t pictureLimitX = 255;
    std::uint32_t pictureLimitY = 239;
    std::uint8_t modified = 0;

    std::vector<std::uint8_t> fileImage;
    std::vector<std::uint32_t> numberWords;
    std::vector<std::uint32_t> resizeWords;
    std::vector<std::uint32_t> displayWords;
    std::vector<std::uint32_t> placeWords;
    std::vector<ElementConfig> configs;
    std::vector<ImportSlot> importSlots;
    error lastError;
    std::array<std::uint32_t, 4> elementColors{0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};

    // --- Loading ---------------------------------------------------------------------
    // Reads the file whole. A file that cannot be read or has a size out of range
    // throws and leaves the document as it was; otherwise an open document is closed
    // first (when documentLoaded) and replaced by the new image.
    void loadFile(const std::filesystem::path& fileName, bool documentLoaded);
    // The same from bytes already in memory (size checks included).
    void loadBytes(std::vector<std::uint8_t> bytes, bool documentLoaded);
    error checkHeader();
    std::uint32_t parseElements();  // returns n - 1
    error checkElements();
    bool closeDocument();
    void clearError() { lastError = error{}; }

    // Byte offset in fileImage of the byte holding the top-left pixel of a place word.
    std::uint32_t elementPixelOffset(std::uint32_t placeWord) const {
        return (placeWord & 0xFFFFu) / 2 + pictureOffset + kPixelsFromP;
    }

    // --- Element operations (current element) -----------------------------------------
    bool isModified() const { return modified != 0; }
    std::uint32_t nextElement();
    std::uint32_t previousElement();
    FieldCode selectElement(std::int32_t value, std::int32_t& out);
    ElementConfig currentConfig(std::uint8_t& importedOut) const;
    ElementConfig fileConfig(std::uint8_t& imported) const;
    ElementConfig resetElementConfig();

    FieldCode setWidth(std::int32_t value, std::int32_t& out);
    FieldCode setHeight(std::int32_t value, std::int32_t& out);
    FieldCode setX(std::int32_t value, std::int32_t& out);
    FieldCode setY(std::int32_t value, std::int32_t& out);
    FieldCode setResizeWidth(std::int32_t value, std::int32_t& out);
    FieldCode setResizeHeight(std::int32_t value, std::int32_t& out);
    FieldCode setDisplayX(std::int32_t value, std::int32_t& out);
    FieldCode setDisplayY(std::int32_t value, std::int32_t& out);

    FieldCode restoreWidth(std::int32_t value, std::int32_t& out);
    FieldCode restoreHeight(std::int32_t value, std::int32_t& out);
    FieldCode restoreX(std::int32_t value, std::int32_t& out);
    FieldCode restoreY(std::int32_t value, std::int32_t& out);

    void setColorIndex(std::int32_t value);
    std::uint32_t zoomIn();
    std::uint32_t zoomOut();
    void setZoom(std::uint32_t value) { zoom = value; }

    // Drops the current element's imported image; returns the slot's flag (false).
    bool resetImport();

    // --- Saving --------------------------------------------------------------------------
    // Writes the edited font at exactly the loaded size. The file is replaced only after
    // the whole image was written; any failure throws "File save error" and keeps the old
    // file and `modified` as they were.
    void saveFile(const std::filesystem::path& fileName);
    // The bytes a save writes: a copy of fileImage with every edit and import applied.
    std::vector<std::uint8_t> buildSaveImage();

    void computeChangeFlags();
    static std::uint32_t clearElementArea(std::span<std::uint8_t> output, std::uint32_t placeWord,
                                          std::uint32_t start, std::uint32_t skip);
    void moveElementPixels(std::span<std::uint8_t> output, std::uint32_t element);
    void writeImportedElement(std::span<std::uint8_t> output, std::uint32_t element);
    void writeEntryWords(std::span<std::uint8_t> output) const;

  private:
    [[noreturn]] void raise() const;
    [[noreturn]] void refuseSize(bool tooLarge);
    ElementConfig& current() { return configs[currentElement]; }
    const ElementConfig& current() const { return configs[currentElement]; }
    const ImportSlot& currentSlot() const { return importSlots[currentElement]; }
    // The part of a save image that holds pixels: element writes are cut off at its end,
    // so a rectangle running past the picture can never reach the palettes.
    std::span<std::uint8_t> pixelArea(std::span<std::uint8_t> output) const;
};

// The whole load sequence, as tools and tests use it: size checks, header, table and
// element checks. A file refused for its size or because it cannot be read leaves the
// document as it was; one refused by the header or element checks leaves no document open.
// Throws the refusal's error; returns the highest element number.
std::uint32_t openFont(GeoDocument& document, std::vector<std::uint8_t> bytes);
std::uint32_t openFont(GeoDocument& document, const std::filesystem::path& fileName);

// Size of an open stream in bytes, leaving it at the start; -1 when it cannot be told.
std::int64_t streamSize(std::istream& stream);

}  // namespace zt9
