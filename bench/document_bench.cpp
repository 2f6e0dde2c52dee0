// Timing of the document work the editor does on every open and every save, and of one
// fill and one line on the largest element, in memory.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "document/geo_document.h"
#include "document/pixel_edit.h"
#include "support/geo_builder.h"

namespace {

constexpr std::size_t kElements = 143;

const std::vector<std::uint8_t>& fontBytes() {
    static const std::vector<std::uint8_t> bytes = zt9::test::GeoBuilder::grid(kElements).build();
    return bytes;
}

// Stops the run instead of timing a load that failed half way.
void requireClean(const zt9::error& result, const char* step) {
    if (result != zt9::error{})
        throw std::runtime_error(step);
}

zt9::GeoDocument loadedFont() {
    zt9::GeoDocument document;
    document.loadBytes(fontBytes(), false);
    requireClean(document.checkHeader(), "checkHeader");
    document.parseElements();
    requireClean(document.checkElements(), "checkElements");
    return document;
}

// Open: take the bytes, check the header, decode the table, check every element.
void BM_LoadAndCheck(benchmark::State& state) {
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): benchmark idiom
        zt9::GeoDocument document;
        document.loadBytes(fontBytes(), false);
        const zt9::error header = document.checkHeader();
        const std::uint32_t last = document.parseElements();
        const zt9::error elements = document.checkElements();
        benchmark::DoNotOptimize(last);
        if (header != zt9::error{} || elements != zt9::error{} || last + 1 != kElements) {
            state.SkipWithError("the font did not load whole");
            break;
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LoadAndCheck)->Unit(benchmark::kMicrosecond);

// Save: every element moved 100 rows down, so every rectangle is cleared and copied.
void BM_BuildSaveImageAllMoved(benchmark::State& state) {
    zt9::GeoDocument document = loadedFont();
    std::int32_t corrected = 0;
    for (std::uint32_t i = 0; i < document.elementCount; ++i) {
        document.selectElement(static_cast<std::int32_t>(i), corrected);
        document.setY(document.configs[i].y + 100, corrected);
    }
    document.computeChangeFlags();
    for (const zt9::ElementConfig& config : document.configs) {
        if (config.moved != 1) {
            state.SkipWithError("an element did not move");
            return;
        }
    }
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): benchmark idiom
        std::vector<std::uint8_t> image = document.buildSaveImage();
        benchmark::DoNotOptimize(image.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BuildSaveImageAllMoved)->Unit(benchmark::kMicrosecond);

// The largest element an image can be: 255 x 240 pixels, all index 0.
zt9::ImportSlot largestImage() {
    zt9::ImportSlot image;
    image.width = 255;
    image.height = 239;
    image.pixels.assign(std::size_t{128} * 240, 0);
    return image;
}

// A fill of the whole element, alternately to index 1 and back to 0.
void BM_FloodFillLargestElement(benchmark::State& state) {
    zt9::ImportSlot image = largestImage();
    std::uint8_t index = 1;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): benchmark idiom
        const zt9::PixelRect changed = zt9::floodFill(image, 127, 120, index);
        if (changed.right - changed.left != 255 || changed.bottom - changed.top != 240) {
            state.SkipWithError("the fill did not cover the element");
            break;
        }
        index ^= 1u;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FloodFillLargestElement)->Unit(benchmark::kMicrosecond);

// One line segment across the element from a point outside it to the opposite corner.
void BM_LineAcrossLargestElement(benchmark::State& state) {
    zt9::ImportSlot image = largestImage();
    std::uint8_t index = 1;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): benchmark idiom
        const zt9::PixelRect changed = zt9::drawLine(image, -40, -30, 254, 239, index);
        benchmark::DoNotOptimize(changed);
        index ^= 1u;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LineAcrossLargestElement)->Unit(benchmark::kMicrosecond);

}  // namespace
