#include <benchmark/benchmark.h>

#include "document/geo_document.h"
#include "render/render.h"
#include "support/geo_builder.h"

namespace {

// A full font: 143 elements of 16 x 13 pixels, every index 0..15 in use.
zt9::GeoDocument fullFont() {
    zt9::GeoDocument document;
    zt9::openFont(document, zt9::test::GeoBuilder::grid(143, 16, 12).build());
    return document;
}

void renderOnce(benchmark::State& state, std::uint8_t mode) {
    zt9::GeoDocument document = fullFont();
    document.currentElement = 70;
    zt9::ViewState view;
    view.documentLoaded = 1;
    view.viewMode = mode;
    zt9::Surface viewSurface;
    zt9::Surface pictureSurface;
    for (auto _ : state) {
        zt9::renderView(document, view, viewSurface, pictureSurface);
        benchmark::DoNotOptimize(viewSurface.data().data());
        benchmark::ClobberMemory();
    }
}

void fullPicture(benchmark::State& state) {
    renderOnce(state, zt9::kFullPicture);
}
void pictureElement(benchmark::State& state) {
    renderOnce(state, zt9::kPictureElement);
}

}  // namespace

BENCHMARK(fullPicture);     // render and compose
BENCHMARK(pictureElement);  // one element alone
