// Cost per pixel of the format conversions the TGA texture loader runs: 24-bit R, G, B and
// 32-bit A8R8G8B8 into R5G6B5.
#include "I3d/Image.h"

#include <benchmark/benchmark.h>

static void ConvertInto565(benchmark::State& state, int srcFormat) {
    const int side = int(state.range(0));
    I3dImage* src = ImgAlloc(side, side, srcFormat);
    I3dImage* dst = ImgAlloc(side, side, IMG_R5G6B5);
    for (int i = 0; i < src->pitch * side; ++i)
        src->pixels[i] = uint8_t(i * 31);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ImgBlitConvert(dst, 0, 0, side, side, src, 0, 0));
        benchmark::ClobberMemory();
    }
    // Items are pixels: the report's time per item is ns per pixel.
    state.SetItemsProcessed(state.iterations() * int64_t(side) * side);
    ImgFree(src);
    ImgFree(dst);
}

static void BM_Convert888To565(benchmark::State& state) {
    ConvertInto565(state, IMG_R8G8B8);
}
BENCHMARK(BM_Convert888To565)->Arg(1024);

static void BM_Convert8888To565(benchmark::State& state) {
    ConvertInto565(state, IMG_A8R8G8B8);
}
BENCHMARK(BM_Convert8888To565)->Arg(1024);
