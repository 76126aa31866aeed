// Costs of the slide show: the swap that loads the next slide synchronously (the hitch a player
// sees once per hold time) and the full-screen two-stage cross-fade on llvmpipe.
#include "bench/BenchKernel.h"
#include "datagen/Images/ImageWriters.h"
#include "engine/Dirs.h"
#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "ui/Ctl3SlideShow.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// Three 1024 x 1024 32-bit slides in a scratch data folder, removed when the program ends.
struct BenchSlides {
    BenchSlides() {
        folder = std::filesystem::temp_directory_path().string() + "/fl_bench_slides/";
        DirCreatePath(folder.c_str());
        for (int i = 0; i < 3; ++i) {
            GenImage img(1024, 1024);
            for (uint32_t y = 0; y < 1024; ++y)
                for (uint32_t x = 0; x < 1024; ++x)
                    img.Set(x, y,
                            0xFF000000u | uint32_t(i * 80) << 16 | (x & 0xFF) << 8 | (y & 0xFF));
            char name[64];
            std::snprintf(name, sizeof name, "Slide%02i.dds", i);
            GenWriteFile(folder + name, GenDdsBytes(GenDds::Argb32, GenChain{img}));
        }
    }
    ~BenchSlides() {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }
    std::string folder;
};

std::string WriteBenchSlides() {
    static BenchSlides s_slides;
    return s_slides.folder;
}

struct Show {
    explicit Show(float hold, float fade) {
        EntSystemShutdown();
        EntSystemInit();
        EntCreateClass(EcCtl3SlideshowProc, 0, 0);
        Ctl3SetDataFolder(WriteBenchSlides().c_str());
        show = dynamic_cast<Ctl3SlideShow*>(EntCreateByName("Ctl3Slideshow", nullptr));
        if (!show) return;
        std::snprintf(show->textureName, sizeof show->textureName, "%s", "Slide");
        show->SetPos2D(512, 384);
        show->horizAlign = 1;
        show->width = 1024;
        show->height = 768;
        show->uv = {0.0f, 0.0f, 1.0f, 0.75f};
        show->holdTime = hold;
        show->fadeTime = fade;
        show->Start();
    }
    ~Show() {
        if (show) EntDestroyTree(show);
        EntSystemShutdown();
    }
    Ctl3SlideShow* show = nullptr;
};

void BM_SlideSwap(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(64) != 0) return state.SkipWithError("no textures");
    Show s(0.0f, 0.0f); // no hold, no fade: every update is one swap
    if (!s.show || s.show->frameCount != 3) return state.SkipWithError("no slides");
    g_frameSeconds = 0.02f;
    for (auto _ : state)
        s.show->Update(g_frameSeconds);
    state.SetLabel("release, make current, load a 1024 x 1024 32-bit DDS");
}
BENCHMARK(BM_SlideSwap)->Unit(benchmark::kMillisecond);

void BM_SlideShowDraw(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(64) != 0) return state.SkipWithError("no textures");
    Show s(100.0f, 1.0f);
    if (!s.show) return state.SkipWithError("no show");
    s.show->fading = 1;
    s.show->blend = 0.5f;
    for (auto _ : state) {
        D3dBeginScene();
        s.show->DrawPre();
        D3dEndScene();
        D3dPresent();
    }
    state.SetLabel("full screen, two stages, llvmpipe");
}
BENCHMARK(BM_SlideShowDraw)->Unit(benchmark::kMillisecond);

} // namespace
