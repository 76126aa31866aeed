// Text and picking: a 2000-glyph report screen drawn on the recording layer (the kernel's own
// cost per glyph) and on llvmpipe (a whole frame), measuring and wrapping 2 KB strings, and the
// pick sweep over 2000 world entities that runs under the cursor every frame.
#include "I3d/I3d.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "platform/d3d8/Recording.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string kFont = std::string(FAIRLARK_BUILD_DATA_DIR) + "Fonts/Georgia_14";

// A kernel with a 1024 x 768 device, the shared pair of buffers and the font, for one benchmark.
struct TextKernel {
    I3dVertexBuffer* vb = nullptr;
    I3dIndexBuffer* ib = nullptr;
    Font* font = nullptr;

    explicit TextKernel(bool gl) {
        setenv("EGL_PLATFORM", "surfaceless", 0);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        if (!gl) {
            D3dRecordingSetup(D3dRecordingConfig{});
            D3dSetCreateEntry(Direct3DCreate8Recording);
        }
        if (I3dStart() != 0 || I3dTexTableAlloc(64) != 0 ||
            D3dCreateDevice(0, nullptr, 1, 1024, 768, D3DFMT_X8R8G8B8, I3D_DEVICE_LOCKABLE) != 0)
            return;
        vb = I3dVbCreate(0, 71, 4000);
        ib = I3dIbCreate(0, 8000);
        I3dVbSetCurrent(vb);
        I3dIbSetCurrent(ib);
        Mat4 identity, ortho;
        I3dSetWorld(Mat4Identity(&identity));
        I3dSetView(&identity);
        I3dSetProj(Mat4OrthoScreen(&ortho, 1024, 768));
        font = FontAcquire(kFont.c_str());
    }
    ~TextKernel() {
        if (font) SharedObjRelease(font);
        I3dVbFree(vb);
        I3dIbFree(ib);
        I3dStop();
    }
    bool Ok() const { return font && vb && ib; }
};

// 40 lines of 50 characters: a long report screen.
std::u16string ReportScreen() {
    std::u16string text;
    const std::u16string row = u"Ferris Wheel    riders 1234   $5678.90   wear 12% ";
    for (int line = 0; line < 40; ++line)
        text += row + u"\n";
    return text;
}

void FontDrawRecording(benchmark::State& state) {
    TextKernel k(false);
    if (!k.Ok()) return state.SkipWithError("no kernel or no font");
    const std::u16string text = ReportScreen();
    for (auto _ : state) {
        FontDraw(k.font, 10, 10, text.c_str());
        D3dRecordingLog().Clear();
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(FontDrawRecording);

void FontDrawFrameGl(benchmark::State& state) {
    TextKernel k(true);
    if (!k.Ok()) return state.SkipWithError("no GL device or no font");
    const std::u16string text = ReportScreen();
    for (auto _ : state) {
        D3dClear(D3DCLEAR_TARGET);
        D3dBeginScene();
        FontDraw(k.font, 10, 10, text.c_str());
        D3dEndScene();
        benchmark::DoNotOptimize(D3dReadPixel(20, 20)); // waits for the frame
    }
}
BENCHMARK(FontDrawFrameGl)->Unit(benchmark::kMillisecond);

// 2 KB of text without newlines: words of five letters.
std::u16string TwoKb() {
    std::u16string text;
    while (text.size() < 2048)
        text += u"abcde ";
    text.resize(2048);
    return text;
}

void FontMeasureText(benchmark::State& state) {
    TextKernel k(false);
    if (!k.Ok()) return state.SkipWithError("no kernel or no font");
    const std::u16string text = TwoKb();
    float w = 0, h = 0;
    for (auto _ : state) {
        FontMeasure(k.font, text.c_str(), &w, &h, 0);
        benchmark::DoNotOptimize(w);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(text.size()));
}
BENCHMARK(FontMeasureText);

// The whole text fits: the walk reads every unit.
void FontWrapPointText(benchmark::State& state) {
    TextKernel k(false);
    if (!k.Ok()) return state.SkipWithError("no kernel or no font");
    const std::u16string text = TwoKb();
    for (auto _ : state)
        benchmark::DoNotOptimize(FontWrapPoint(k.font, text.c_str(), 1e9f));
    state.SetItemsProcessed(state.iterations() * int64_t(text.size()));
}
BENCHMARK(FontWrapPointText);

class Pickable : public Ent3dBase {
  public:
    uint32_t GetClassFlags() override { return ENT_CLASS_FLAGS_INITIAL; }
};

// 2000 entities on a 45 x 45 grid, 1 unit boxes 4 units apart; a ray down through the grid's
// middle as the cursor casts it.
void PickSweep(benchmark::State& state) {
    std::vector<Pickable> ents(2000);
    for (int i = 0; i < 2000; ++i) {
        Pickable& e = ents[size_t(i)];
        e.pos = {float(i % 45) * 4, 0, float(i / 45) * 4};
        const float box[6] = {e.pos.x - 0.5f, -0.5f, e.pos.z - 0.5f,
                              e.pos.x + 0.5f, 0.5f,  e.pos.z + 0.5f};
        e.SetBounds(box);
    }
    for (auto _ : state) {
        PickQuery q{{88, 50, 88}, {0.01f, -1, 0.02f}, nullptr, 1000000};
        for (Pickable& e : ents)
            e.PickTest(&q);
        benchmark::DoNotOptimize(q.best);
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(PickSweep)->Unit(benchmark::kMicrosecond);

} // namespace
