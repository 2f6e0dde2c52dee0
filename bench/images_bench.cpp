#include <benchmark/benchmark.h>

#include "document/geo_document.h"
#include "images/element_export.h"
#include "images/element_import.h"
#include "support/bmp_builder.h"
#include "support/geo_builder.h"

namespace {

zt9::GeoDocument openFont(const zt9::test::GeoBuilder& builder) {
    zt9::GeoDocument doc;
    zt9::openFont(doc, builder.build());
    return doc;
}

// Read + decode + fit of a full-size 8-bit image with a 256-entry palette, from memory.
void importFull8bpp(benchmark::State& state) {
    zt9::test::BmpBuilder bmp(255, 240, 8);
    bmp.withDistinctPalette(256);
    for (std::uint32_t y = 0; y < 240; ++y)
        for (std::uint32_t x = 0; x < 255; ++x)
            bmp.setIndex(x, y, static_cast<std::uint8_t>(x * 7 + y));
    const std::vector<std::uint8_t> file = bmp.build();
    zt9::GeoDocument doc = openFont(zt9::test::GeoBuilder::grid(4));
    zt9::FieldCode xCode{}, yCode{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(zt9::importElement(doc, xCode, yCode, file));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.size()));
}
BENCHMARK(importFull8bpp)->Unit(benchmark::kMicrosecond);

// Building the BMP bytes of a 255 x 240 element.
void exportFull(benchmark::State& state) {
    const zt9::GeoDocument doc = openFont(zt9::test::GeoBuilder::grid(1, 255, 239));
    const int mode = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = zt9::exportElementBytes(doc, mode);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(exportFull)->Arg(zt9::kExport8bpp)->Arg(zt9::kExport4bpp)->Unit(benchmark::kMicrosecond);

}  // namespace
