// Costs of the text controls and the font cache: wrapping a full text box, drawing a menu of
// 100 labels (recording layer with its log off for the CPU cost, and llvmpipe for a frame), and
// a hit in the font cache.
#include "bench/BenchKernel.h"
#include "engine/EntTree.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"
#include "world/EntNull.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

const std::string kFontPath = std::string(FAIRLARK_BUILD_DATA_DIR) + "Fonts/Arial_12b";

std::u16string Paragraph(size_t units) {
    std::u16string text;
    const std::u16string words = u"carnival rides and games open at dusk when the lights glow ";
    while (text.size() < units)
        text += words;
    text.resize(units);
    return text;
}

// A menu of text controls on a fresh entity system, with the font loaded.
struct TextMenu {
    TextMenu() {
        EntSystemShutdown();
        EntSystemInit();
        EntCreateClass(EcNullProc, 0, 0);
        EntCreateClass(EcStaticTextProc, 0, 0);
        EntCreateClass(EcStaticTextBoxProc, 0, 0);
        menu = EntCreateChild("EntNull", nullptr);
        font = FontAcquire(kFontPath.c_str());
    }
    ~TextMenu() {
        if (menu) EntDestroyTree(menu);
        if (font) SharedObjRelease(font);
        EntSystemShutdown();
    }
    ENTBASE* menu = nullptr;
    Font* font = nullptr;
};

void BM_TextBoxSetText(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(64) != 0) return state.SkipWithError("no textures");
    TextMenu m;
    auto* box = dynamic_cast<StaticTextBox*>(EntCreateChild("StaticTextBox", m.menu));
    if (!box || !m.font) return state.SkipWithError("no box or no font");
    box->SetFont(m.font);
    box->width = 400;
    const std::u16string text = Paragraph(1023);
    for (auto _ : state) {
        box->SetText(text.c_str());
        box->Flip();
    }
    state.SetLabel("1023 units wrapped at 400");
}
BENCHMARK(BM_TextBoxSetText)->Unit(benchmark::kMicrosecond);

void DrawTexts(benchmark::State& state, Layer layer, const char* label) {
    if (!UseLayer(layer)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(64) != 0) return state.SkipWithError("no textures");
    TextMenu m;
    if (!m.font) return state.SkipWithError("no font");
    for (int i = 0; i < (int)state.range(0); ++i) {
        auto* t = dynamic_cast<StaticText*>(EntCreateChild("StaticText", m.menu));
        if (!t) continue;
        t->SetFont(m.font);
        t->SetTextW(u"Ferris wheel $123.45");
        t->SetPos2D(float(i % 5) * 200.0f + 10.0f, float(i / 5) * 36.0f + 10.0f);
    }
    for (auto _ : state) {
        D3dBeginScene();
        EntTreeDrawPre(m.menu);
        D3dEndScene();
        D3dPresent();
    }
    state.SetLabel(label);
}

void BM_StaticTextDraw(benchmark::State& state) {
    DrawTexts(state, Layer::Recording, "recording layer, log off");
}
BENCHMARK(BM_StaticTextDraw)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_StaticTextDrawGl(benchmark::State& state) {
    DrawTexts(state, Layer::Gl, "llvmpipe");
}
BENCHMARK(BM_StaticTextDrawGl)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_FontAcquireHit(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0 && I3dTexTableAlloc(64) != 0) return state.SkipWithError("no textures");
    Font* held = FontAcquire(kFontPath.c_str());
    if (!held) return state.SkipWithError("no font");
    for (auto _ : state) {
        Font* f = FontAcquire(kFontPath.c_str());
        benchmark::DoNotOptimize(f);
        SharedObjRelease(f);
    }
    SharedObjRelease(held);
}
BENCHMARK(BM_FontAcquireHit);

} // namespace
