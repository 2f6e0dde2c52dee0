// Copy and paste of element images: round trips, true-colour matching, and the refusals of damaged,
// oversized and unsupported clipboard data.

#include <gtest/gtest.h>

#include "images/clipboard_image.h"
#include "images/element_image_format.h"
#include "images/import_fixtures.h"

namespace zt9::test {
namespace {

constexpr const char* kDamaged = "The clipboard picture is damaged";

// A w x rows image using every index, colour k = k * (8, 16, 8): 15-bit exact, colour 0 black.
ImportSlot slotImage(std::uint32_t w, std::uint32_t rows) {
    ImportSlot s{1, Bytes(std::size_t{rows} * ((w + 1) / 2)), {}, w, rows - 1};
    for (std::uint32_t k = 0; k < 16; ++k)
        s.colors[k] = k * 0x081008u;
    for (std::uint32_t at = 0; at < w * rows; ++at)
        s.pixels[at / w * ((w + 1) / 2) + at % w / 2] |=
            static_cast<std::uint8_t>((at * 7 + at / w) % 16 << (at % w % 2 * 4));
    return s;
}

Bmp& fields(Bmp& b) {  // 32 bits, the usual bit field masks
    b.bitCount = 32, b.compression = 3, b.masks = {{0xFF0000, 0xFF00, 0xFF}};
    return b;
}

// Both formats of odd and even widths paste back the copied slot, fitted as an import fits
// it (x, y 200 stay unless the image would pass the picture's edge).
TEST(ClipboardRoundTrip, CopyThenPasteGivesTheSameImageAndDamageOrACutIsRefused) {
    for (const auto& [w, rows] : {std::pair(1u, 1u), {6u, 5u}, {7u, 9u}, {255u, 240u}}) {
        const ImportSlot image = slotImage(w, rows);
        ImportSlot dirty = image;  // a neighbour pixel in an odd width's padding is dropped
        for (std::size_t r = 0; w % 2 == 1 && r < rows; ++r)
            dirty.pixels[r * ((w + 1) / 2) + w / 2] |= 0xA0;
        for (const bool own : {true, false}) {
            SCOPED_TRACE(testing::Message() << w << " x " << rows << (own ? " own" : " DIB"));
            GeoDocument doc = font(200, 200);
            ASSERT_EQ(paste(doc, own, own ? encodeElementImage(dirty) : copyAsDib(dirty)),
                      kAccepted);
            const ElementConfig& c = doc.configs[1];
            EXPECT_EQ(std::tuple(doc.importSlots[1], c.x, c.y, c.width, c.resizeHeight),
                      std::tuple(image, w == 255 ? 0 : 200, rows == 240 ? 0 : 200, w, rows));
        }
    }
    // Nothing an element cannot take back: no width, too wide, too high.
    for (const auto& bad : {ImportSlot{1, {}, {}, 0, 0}, slotImage(256, 1), slotImage(3, 241)})
        EXPECT_TRUE(copyAsDib(bad).empty() && encodeElementImage(bad).empty());

    // Our format refuses any damage without a change, bytes after the pixels are ignored; every
    // cut of it or of a true-colour DIB is refused, never read past.
    const Bytes good = encodeElementImage(slotImage(3, 2));  // 42 + 2 x 2 bytes
    const std::pair<void (*)(Bytes&), const char*> rows[] = {
        {[](Bytes& d) { d.push_back(0xAB); }, kAccepted},
        {[](Bytes& d) { d[0] ^= 1; }, kDamaged},
        {[](Bytes& d) { d[4] = 2; }, "No support clipboard picture version"},
        {[](Bytes& d) { d[6] = 0; }, kDamaged},
        {[](Bytes& d) { d[7] = 1; }, "Image width is too large"},
        {[](Bytes& d) { d[8] = 241; }, "Image hight is too large"},
        {[](Bytes& d) { d[7] = 1, d[8] = 241; }, "Image size is too large"},
        {[](Bytes& d) { d[43] |= 0x10; }, kDamaged},  // the padding nibble of the odd width
        {[](Bytes& d) { d[11] |= 0x80; }, kDamaged},  // bit 15 of colour 0
    };
    GeoDocument doc = font();
    for (const auto& [change, message] : rows) {
        Bytes data = good;
        change(data);
        EXPECT_EQ(paste(doc, true, data), message) << "row " << &change - &rows[0].first;
    }
    Bmp v5(9, 3, 32);
    fields(v5).infoSize = 124;
    for (const auto& [own, data] : {std::pair(true, good), {false, v5.dib()}}) {
        for (std::ptrdiff_t n = 0; n < std::ssize(data); ++n) {
            const std::string message = paste(doc, own, Bytes(data.begin(), data.begin() + n));
            EXPECT_TRUE(message == kDamaged || message == text::kBmpTooSmall) << message << n;
        }
    }
}

// DIBs pasted into element 1, which holds an earlier import (colour 0 red, no black). A
// palette DIB is the BMP file it comes from: the same slot or the same message, the file size
// limits counting a 14-byte file header (DIBs of 108 to 62506 bytes). A true-colour DIB is a
// 5 x 4 picture in those colours, each channel anywhere inside its 5-bit level (8 l - 7 to
// 8 l), 24 bits unless a row says otherwise: every layout pastes the same indices. Every
// refusal gives its message and changes nothing.
TEST(DibPaste, PaletteDibsReadAsTheirFileAndTrueColorOnesMatchTheElementColors) {
    const std::pair<void (*)(Bmp&), const char*> rows[] = {
        {[](Bmp& b) { b = picture(5, 4, 4); }, kAccepted},
        {[](Bmp& b) { (b = picture(5, 4, 4)).encoded(); }, kAccepted},
        {[](Bmp& b) { b = picture(255, 240, 8), b.trailing = 2; }, kAccepted},
        {[](Bmp& b) { b = picture(255, 240, 8), b.trailing = 3; }, text::kBmpTooLarge},
        {[](Bmp& b) { b = picture(5, 4, 4), b.truncateTo = 14 + 107; }, text::kBmpTooSmall},
        {[](Bmp& b) { b = picture(5, 4, 4), b.topDown = true; }, "Image hight is too large"},
        {[](Bmp&) {}, kAccepted},
        {[](Bmp& b) { b.topDown = true; }, kAccepted},
        {[](Bmp& b) { b.bitCount = 32; }, kAccepted},
        {[](Bmp& b) { fields(b); }, kAccepted},
        {[](Bmp& b) { fields(b).infoSize = 108; }, kAccepted},
        {[](Bmp& b) { b.bitCount = 32, b.infoSize = 124, b.clrUsed = 3, b.topDown = true; },
         kAccepted},
        {[](Bmp& b) { b.bitCount = 32, b.argb[0] = 0; }, kAccepted},  // transparent black
        {[](Bmp& b) { b.bitCount = 32, b.argb[0] = 0xFF000000; },
         "Color #000000 at x 0, y 0 is not in the element's palette"},
        // The first from the top-left, though the file stores the bottom row first.
        {[](Bmp& b) { b.argb[13] = 0xFF8000, b.argb[17] = 0x123456; },
         "Color #FF8000 at x 3, y 2 is not in the element's palette"},
        {[](Bmp& b) { b.width = 256; }, "Image width is too large"},
        {[](Bmp& b) { b.width = -5; }, "Image width is too large"},
        {[](Bmp& b) { b.height = 241, b.topDown = true; }, "Image hight is too large"},
        {[](Bmp& b) { b.width = 256, b.height = 241; }, "Image size is too large"},
        {[](Bmp& b) { b.height = 0; }, kNoSupport},
        {[](Bmp& b) { b.infoSize = 12; }, kNoSupport},
        {[](Bmp& b) { b.compression = 1; }, kNoSupport},  // run-length, as JPEG or PNG
        {[](Bmp& b) { fields(b).bitCount = 24; }, kNoSupport},
        {[](Bmp& b) { fields(b).masks->at(0) = 0xFF; }, kNoSupport},
        {[](Bmp& b) { b.bitCount = 16, b.trailing = 100; }, kNoSupport},  // the BMP reader's
        {[](Bmp& b) { b.truncateTo = b.build().size() - 1; }, kDamaged},
        {[](Bmp& b) { fields(b).truncateTo = 64; }, kDamaged},  // inside the masks
        {[](Bmp& b) { b.clrUsed = 0x40000000; }, kDamaged},
        {[](Bmp& b) { b.infoSize = 0x7FFFFFFF; }, kDamaged},
    };
    GeoDocument doc = font();
    auto colors = currentColors(doc);
    colors[0] = 0x0000F8, colors[12] = colors[3];  // the lowest of two equal colours wins
    doc.importSlots[1] = {1, {0}, colors, 1, 0};
    Bmp base(5, 4, 24);
    Bytes expected(12);
    for (std::uint32_t at = 0; at < 20; ++at) {
        const std::uint32_t index = at * 3 % 16;
        const auto near = [&, c = colors[index]](unsigned shift) {
            return (c >> shift & 255) - (c >> shift & 255 ? at % 8 : 0);
        };
        base.argb.push_back(0xFF000000 | near(0) << 16 | near(8) << 8 | near(16));
        expected[at / 5 * 3 + at % 5 / 2] |=
            static_cast<std::uint8_t>((index == 12 ? 3 : index) << (at % 5 % 2 * 4));
    }
    for (const auto& [change, message] : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &change - &rows[0].first);
        Bmp b = base;
        change(b);
        GeoDocument pasted = doc;
        GeoDocument imported = doc;
        ASSERT_EQ(paste(pasted, false, b.dib()), message);
        if (b.bitCount != 24 && b.bitCount != 32) {
            EXPECT_EQ(import(imported, b.build()), message);
            EXPECT_TRUE(slotState(pasted) == slotState(imported));
        } else if (message == kAccepted) {
            EXPECT_TRUE(pasted.importSlots[1].pixels == expected &&
                        pasted.importSlots[1].colors == colors);
        }
    }
}

}  // namespace
}  // namespace zt9::test
