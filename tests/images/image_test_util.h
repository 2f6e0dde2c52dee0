#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "document/geo_document.h"
#include "errors/error.h"
#include "images/bmp_image.h"
#include "support/geo_builder.h"

namespace zt9::test {

// The message a failing call shows, "<accepted>" when it does not throw.
inline std::string outcome(const std::function<void()>& call) {
    try {
        call();
    } catch (const error& e) {
        return messageText(e).value_or("<no message>");
    }
    return "<accepted>";
}

struct ReadResult {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 0;
};

inline ReadResult readBmp(BmpImage& image, std::span<const std::uint8_t> bytes) {
    ReadResult r;
    image.read(bytes, r.width, r.height, r.bitCount);
    return r;
}

inline std::string readOutcome(const std::vector<std::uint8_t>& bytes) {
    return outcome([&] {
        BmpImage image;
        readBmp(image, bytes);
    });
}

// A document opened from a built font, checked as the load command does.
inline GeoDocument openDocument(const GeoBuilder& builder) {
    GeoDocument doc;
    doc.loadBytes(builder.build(), false);
    EXPECT_EQ(doc.checkHeader(), error{});
    doc.parseElements();
    EXPECT_EQ(doc.checkElements(), error{});
    return doc;
}

// Everything an import may change.
inline void expectSameImportState(const GeoDocument& before, const GeoDocument& after) {
    EXPECT_EQ(before.modified, after.modified);
    EXPECT_EQ(before.configs, after.configs);
    ASSERT_EQ(before.importSlots.size(), after.importSlots.size());
    for (std::size_t i = 0; i < before.importSlots.size(); ++i) {
        const ImportSlot& a = before.importSlots[i];
        const ImportSlot& b = after.importSlots[i];
        EXPECT_EQ(a.imported, b.imported) << "slot " << i;
        EXPECT_EQ(a.pixels, b.pixels) << "slot " << i;
        EXPECT_EQ(a.colors, b.colors) << "slot " << i;
        EXPECT_EQ(a.width, b.width) << "slot " << i;
        EXPECT_EQ(a.height, b.height) << "slot " << i;
    }
    EXPECT_EQ(before.fileImage, after.fileImage);
}

inline std::uint32_t le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes.at(at)) |
           static_cast<std::uint32_t>(bytes.at(at + 1)) << 8 |
           static_cast<std::uint32_t>(bytes.at(at + 2)) << 16 |
           static_cast<std::uint32_t>(bytes.at(at + 3)) << 24;
}

inline constexpr const char* kNotBmp = "Has been opened not BMP file";
inline constexpr const char* kNoSupport = "No support BMP format";
inline constexpr const char* kPalette16 = "Palette size is not 16 colors";
inline constexpr const char* kPalette16or256 = "Palette size is not 16 or 256 colors";
inline constexpr const char* kTooLarge = "Image size is too large";
inline constexpr const char* kTooWide = "Image width is too large";
inline constexpr const char* kTooHigh = "Image hight is too large";
inline constexpr const char* kNotTransparent = "Last color in the palette is not a transparent";
inline constexpr const char* kAccepted = "<accepted>";

}  // namespace zt9::test
