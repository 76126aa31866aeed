// Texture loading on the GL device (llvmpipe, offscreen): a 1024 x 1024 TGA through the bitmap
// and the converter, a 1024 x 1024 DXT5 DDS with its chain, and the key lookup that every shared
// load runs over the 800 slots.
#include "I3d/I3d.h"
#include "datagen/Images/ImageWriters.h"

#include <benchmark/benchmark.h>

#include <ftw.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// One kernel with a small offscreen device and the files, made on first use for the program.
struct TextureBench {
    std::string dir;
    bool ok = false;
    size_t ddsBytes = 0;

    TextureBench() {
        setenv("EGL_PLATFORM", "surfaceless", 0);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        char tmpl[] = "/tmp/fairlark-bench-XXXXXX";
        if (!mkdtemp(tmpl)) return;
        dir = std::string(tmpl) + "/";
        GenImage img(1024, 1024);
        for (uint32_t y = 0; y < 1024; ++y)
            for (uint32_t x = 0; x < 1024; ++x)
                img.Set(x, y, 0x80000000u | (x * 0x3F1u + y * 0x1D07u));
        I3dImage* rgb = ImgAlloc(1024, 1024, IMG_R8G8B8);
        I3dImage* argb = ImgAlloc(1024, 1024, IMG_A8R8G8B8);
        for (uint32_t y = 0; y < 1024; ++y)
            for (uint32_t x = 0; x < 1024; ++x) {
                const uint8_t* p = img.At(x, y);
                uint8_t* d3 = rgb->pixels + size_t(y) * rgb->pitch + x * 3;
                d3[0] = p[2], d3[1] = p[1], d3[2] = p[0];
                std::copy(p, p + 4, argb->pixels + size_t(y) * argb->pitch + x * 4);
            }
        std::vector<uint8_t> dds = GenDdsBytes(GenDds::Dxt5, GenMipChain(img));
        ddsBytes = dds.size();
        ok = ImgSaveTga(rgb, (dir + "rgb.tga").c_str(), nullptr) == 0 &&
             ImgSaveTga(argb, (dir + "argb.tga").c_str(), nullptr) == 0 &&
             GenWriteFile(dir + "dxt5.dds", dds) && I3dStart() == 0 && I3dTexTableAlloc(800) == 0 &&
             D3dCreateDevice(0, nullptr, 1, 64, 64, D3DFMT_X8R8G8B8, 0) == 0;
        ImgFree(rgb);
        ImgFree(argb);
    }
    ~TextureBench() {
        I3dStop();
        if (!dir.empty())
            nftw(
                dir.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); },
                8, FTW_DEPTH | FTW_PHYS);
    }
};

TextureBench& Bench() {
    static TextureBench b;
    return b;
}

void TgaLoad(benchmark::State& state, const char* file) {
    TextureBench& b = Bench();
    if (!b.ok) {
        state.SkipWithError("no GL device or no files");
        return;
    }
    std::string path = b.dir + file;
    for (auto _ : state) {
        int slot = I3dTexFromTga(-1, path.c_str(), "bench");
        if (slot < 0) {
            state.SkipWithError("the TGA did not load");
            return;
        }
        I3dTexRelease(slot);
    }
    // Time per texel: the inverted rate of texels.
    state.counters["per_texel"] =
        benchmark::Counter(double(state.iterations()) * 1024 * 1024,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

static void BM_TexFromTga24To565(benchmark::State& state) {
    TgaLoad(state, "rgb.tga");
}
BENCHMARK(BM_TexFromTga24To565)->Unit(benchmark::kMillisecond);

static void BM_TexFromTga32(benchmark::State& state) {
    TgaLoad(state, "argb.tga");
}
BENCHMARK(BM_TexFromTga32)->Unit(benchmark::kMillisecond);

static void BM_TexFromDdsDxt5Chain(benchmark::State& state) {
    TextureBench& b = Bench();
    if (!b.ok) {
        state.SkipWithError("no GL device or no files");
        return;
    }
    std::string path = b.dir + "dxt5.dds";
    for (auto _ : state) {
        int slot = D3dTexFromDds(-1, path.c_str(), "bench");
        if (slot < 0) {
            state.SkipWithError("the DDS did not load");
            return;
        }
        I3dTexRelease(slot);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(b.ddsBytes));
}
BENCHMARK(BM_TexFromDdsDxt5Chain)->Unit(benchmark::kMillisecond);

// 800 used slots; the key looked up is the last one, so every lookup scans the whole table.
static void FillTable() {
    char name[32];
    for (int i = I3dTexFindFree(); i >= 0; i = I3dTexFindFree()) {
        std::snprintf(name, sizeof name, "texture%03d", i);
        if (D3dTexCreate(1, 1, I3DTEX_A8R8G8B8, 1, name, 0) < 0) break;
    }
}

static void EmptyTable() {
    for (int i = 0; i < I3dTexCount(); ++i)
        I3dTexFreeSlot(i);
}

static void BM_TexFindOver800(benchmark::State& state) {
    if (!Bench().ok) {
        state.SkipWithError("no GL device");
        return;
    }
    FillTable();
    for (auto _ : state)
        benchmark::DoNotOptimize(I3dTexFind("Texture799"));
    EmptyTable();
}
BENCHMARK(BM_TexFindOver800);

// A whole shared load that hits: key from the file title, the lookup, one more reference.
static void BM_TexLoadSharedHitOver800(benchmark::State& state) {
    if (!Bench().ok) {
        state.SkipWithError("no GL device");
        return;
    }
    FillTable();
    for (auto _ : state) {
        int slot = I3dTexLoad("Data\\Textures\\Texture799.dds", nullptr, 1);
        I3dTexRelease(slot);
    }
    EmptyTable();
}
BENCHMARK(BM_TexLoadSharedHitOver800);
