#include <benchmark/benchmark.h>

#include "document/geo_document.h"
#include "images/clipboard_image.h"
#include "images/element_export.h"
#include "images/element_image_format.h"
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

// A 255 x 240 glyph of every index in the colours of element 0 of a one-element font.
struct FullGlyph {
    zt9::GeoDocument doc = openFont(zt9::test::GeoBuilder::grid(1, 255, 239));
    zt9::ImportSlot image{1, std::vector<std::uint8_t>(std::size_t{128} * 240),
                          zt9::currentColors(doc), 255, 239};
    FullGlyph() {
        for (std::size_t at = 0; at < image.pixels.size(); ++at)
            image.pixels[at] = static_cast<std::uint8_t>(at % 128 == 127 ? at & 15u : at * 37);
    }
};

// Copy: our own format (mode 0) and the 4-bit DIB (mode 1).
void copyFull(benchmark::State& state) {
    const FullGlyph glyph;
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = state.range(0) == 0 ? zt9::encodeElementImage(glyph.image)
                                                              : zt9::copyAsDib(glyph.image);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(copyFull)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Paste into element 0, with its fitting: our own format (mode 0), the 4-bit DIB of a copy
// (1), and true-colour DIBs of the element's colours matched pixel by pixel, 24 bits (24)
// and 32 bits (32).
void pasteFull(benchmark::State& state) {
    FullGlyph glyph;
    const auto mode = static_cast<std::uint16_t>(state.range(0));
    std::vector<std::uint8_t> data;
    if (mode == 0) {
        data = zt9::encodeElementImage(glyph.image);
    } else if (mode == 1) {
        data = zt9::copyAsDib(glyph.image);
    } else {
        zt9::test::BmpBuilder dib(255, 240, mode);
        for (std::size_t at = 0; at < std::size_t{255} * 240; ++at) {
            const std::uint8_t byte = glyph.image.pixels[at / 255 * 128 + at % 255 / 2];
            const std::uint32_t c = glyph.image.colors[at % 2 == 0 ? byte & 15u : byte >> 4];
            dib.argb.push_back((c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu));
        }
        data = dib.dib();
    }
    zt9::FieldCode xCode{};
    zt9::FieldCode yCode{};
    for (auto _ : state) {
        const bool pasted = mode == 0 ? zt9::pasteElementImage(glyph.doc, xCode, yCode, data)
                                      : zt9::pasteDib(glyph.doc, xCode, yCode, data);
        benchmark::DoNotOptimize(pasted);
        // The next paste matches against the file's colours again, as the first one did.
        glyph.doc.importSlots[0].imported = 0;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(pasteFull)->Arg(0)->Arg(1)->Arg(24)->Arg(32)->Unit(benchmark::kMicrosecond);

}  // namespace
