#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "render/surface.h"
#include "render/surface_bmp.h"
#include "render_fixture.h"
#include "support/temp_dir.h"

namespace zt9 {
namespace {

using test::colors::kSentinel;

constexpr std::uint32_t kInk = 0x00112233;

std::uint32_t le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes.at(at) | bytes.at(at + 1) << 8 |
                                      bytes.at(at + 2) << 16 | bytes.at(at + 3) << 24);
}

std::size_t inkCount(const Surface& surface) {
    std::size_t count = 0;
    for (const std::uint32_t p : surface.data())
        count += p == kInk ? 1 : 0;
    return count;
}

TEST(RenderSurface, WritesOutsideTheSurfaceChangeNothing) {
    Surface surface;
    surface.fill(kSentinel);
    const std::int64_t big = std::int64_t{1} << 32;
    for (const auto& [x, y] : {std::pair<std::int64_t, std::int64_t>{-1, 0},
                               {255, 0},
                               {0, 240},
                               {0, -1},
                               {big, 0},        // would wrap to column 0 in 32 bits
                               {-big + 3, 0},   // would wrap to column 3 in 32 bits
                               {254 + 255, 0},  // the next row, were rows not checked
                               {std::numeric_limits<std::int64_t>::min(), 0}}) {
        surface.set(x, y, kInk);
    }
    EXPECT_EQ(inkCount(surface), 0u);
    surface.set(254, 239, kInk);
    surface.set(0, 0, kInk);
    EXPECT_EQ(surface.pixel(254, 239), kInk);
    EXPECT_EQ(surface.pixel(0, 0), kInk);
    EXPECT_EQ(inkCount(surface), 2u);
    EXPECT_EQ(surface.data().size(), 255u * 240u);
}

TEST(RenderSurface, FillRectIsCutToTheSurface) {
    Surface surface;
    surface.fill(kSentinel);
    surface.fillRect(252, 238, 10, 10, kInk);  // 3 columns x 2 rows remain
    EXPECT_EQ(inkCount(surface), 6u);
    EXPECT_EQ(surface.pixel(252, 238), kInk);
    EXPECT_EQ(surface.pixel(251, 238), kSentinel);
    EXPECT_EQ(surface.pixel(0, 239), kSentinel);  // nothing wrapped into the next row

    Surface negative;
    negative.fillRect(-2, -1, 4, 3, kInk);  // columns 0..1, rows 0..1
    EXPECT_EQ(inkCount(negative), 4u);
    EXPECT_EQ(negative.pixel(1, 1), kInk);
    EXPECT_EQ(negative.pixel(254, 0), 0u);

    Surface huge;
    huge.fillRect(std::numeric_limits<std::int64_t>::min(), 0,
                  std::numeric_limits<std::int64_t>::max(), 1, kInk);
    huge.fillRect(0, 0, 0, 5, kInk);
    huge.fillRect(0, 0, 5, -1, kInk);
    EXPECT_EQ(inkCount(huge), 0u);
}

TEST(RenderSurface, CopyRectCopiesOnlyTheTopLeftArea) {
    Surface from;
    from.fill(kInk);
    Surface to;
    to.fill(kSentinel);
    to.copyRect(from, 3, 2);
    EXPECT_EQ(inkCount(to), 6u);
    EXPECT_EQ(to.pixel(2, 1), kInk);
    EXPECT_EQ(to.pixel(3, 1), kSentinel);
    EXPECT_EQ(to.pixel(2, 2), kSentinel);
    to.copyRect(from, 1000, 1000);
    EXPECT_EQ(inkCount(to), 255u * 240u);
}

TEST(RenderSurface, DibPixelsSwapRedAndBlue) {
    Surface surface;
    surface.set(1, 0, 0x00112233);  // blue 0x11, green 0x22, red 0x33
    const std::vector<std::uint32_t> dib = dibPixels(surface);
    ASSERT_EQ(dib.size(), 255u * 240u);
    EXPECT_EQ(dib[1], 0x00332211u);
    EXPECT_EQ(dib[0], 0u);
}

TEST(RenderSurfaceBmp, HeaderRowsAndPadding) {
    Surface surface;
    surface.fill(kSentinel);
    surface.set(0, 0, 0x00010203);  // top-left: blue 1, green 2, red 3
    surface.set(2, 1, 0x00A0B0C0);  // bottom-right of a 3 x 2 area: blue A0, green B0, red C0
    const std::vector<std::uint8_t> bmp = surfaceBmp(surface, 3, 2);
    // 3 pixels of 3 bytes pad to 12 bytes per row.
    ASSERT_EQ(bmp.size(), 54u + 24u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), 78u);
    EXPECT_EQ(le32(bmp, 10), 54u);
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(le32(bmp, 18), 3u);
    EXPECT_EQ(le32(bmp, 22), 2u);
    EXPECT_EQ(bmp[26] | bmp[27] << 8, 1);
    EXPECT_EQ(bmp[28] | bmp[29] << 8, 24);
    EXPECT_EQ(le32(bmp, 30), 0u);
    EXPECT_EQ(le32(bmp, 34), 24u);
    // Bottom-up: the file's first row is surface row 1; its third pixel is (2, 1).
    EXPECT_EQ(bmp[54 + 6], 0xA0);  // blue byte first
    EXPECT_EQ(bmp[54 + 7], 0xB0);
    EXPECT_EQ(bmp[54 + 8], 0xC0);
    EXPECT_EQ(bmp[54 + 9], 0);  // padding
    EXPECT_EQ(bmp[54 + 12], 0x01);
    EXPECT_EQ(bmp[54 + 13], 0x02);
    EXPECT_EQ(bmp[54 + 14], 0x03);
}

TEST(RenderSurfaceBmp, WholeSurfaceIsSavedToAFile) {
    test::TempDir dir;
    Surface surface;
    ASSERT_TRUE(saveSurfaceBmp(dir.file("view.bmp"), surface));
    const std::vector<std::uint8_t> bytes = test::readBytes(dir.file("view.bmp"));
    // 255 * 3 = 765 bytes pad to 768.
    EXPECT_EQ(bytes.size(), 54u + 768u * 240u);
    EXPECT_EQ(le32(bytes, 18), 255u);
    EXPECT_EQ(le32(bytes, 22), 240u);
    EXPECT_FALSE(saveSurfaceBmp(dir.path(), surface));  // a folder cannot be replaced
}

}  // namespace
}  // namespace zt9
