// Costs of the editor: one pick through a tree of 1,000 world entities (one per mouse move over
// the game view) and the editor's ImGui frame with empty panes on the CPU (no drawing).
#include "I3d/Math/Pick.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "tools/MasterEdit.h"

#include <benchmark/benchmark.h>
#include <imgui.h>

#include <cstdio>

namespace {

class BenchProp : public Ent3dBase {
  public:
    uint32_t GetClassFlags() override { return ENT3D_PICKABLE; }
};

intptr_t BenchPropProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case 0:
        case 1:
        case 2: return 0;
        case 4: std::snprintf(reinterpret_cast<char*>(b), 64, "BenchProp"); return 0;
        case 6: return EntProcCreate(node, new BenchProp, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}

class FixedHost : public EditorHost {
  public:
    void GetWindowSize(int* w, int* h) override { *w = EDITOR_WIDTH, *h = EDITOR_HEIGHT; }
    void SetWindowSize(int, int) override {}
    std::string GetTitle() override { return "Fairlark"; }
    void SetTitle(const char*) override {}
    void WarpMouse(int, int) override {}
    void CaptureMouse(bool) override {}
};

struct Scene {
    Scene() {
        EntSystemShutdown();
        EntSystemInit();
        EntCreateClass(BenchPropProc, 0, 0);
        root = EntCreateByName("BenchProp", nullptr);
        // A 40 x 25 grid of boxes in front of the camera, every one on the ray's side.
        for (int i = 0; i < 1000; ++i) {
            auto* e = static_cast<BenchProp*>(EntCreateChild("BenchProp", root));
            const VECTOR3 p{(float)(i % 40) - 20.0f, (float)(i / 40) - 12.0f, 30.0f};
            e->SetPos(&p);
            const float box[6] = {p.x - 0.4f, p.y - 0.4f, p.z - 0.4f,
                                  p.x + 0.4f, p.y + 0.4f, p.z + 0.4f};
            e->SetBounds(box);
            std::copy(box, box + 6, e->worldBox);
        }
        PickSetFov(1.0f);
        EditorSetHostMaker([](void*) -> EditorHost* { return new FixedHost; });
        editor.SetRootEntity(root);
        editor.Enter(nullptr);
        PickSetAspect((float)editor.Rects().view.width, (float)editor.Rects().view.height);
    }
    ~Scene() {
        editor.Leave();
        EntDestroyTree(root);
        EntSystemShutdown();
        EditorSetHostMaker(nullptr);
    }
    MasterEdit editor{nullptr};
    ENTBASE* root = nullptr;
};

void BM_PickThrough1000(benchmark::State& state) {
    Scene scene;
    int x = 0;
    for (auto _ : state) {
        x = (x + 37) % scene.editor.Rects().view.width;
        benchmark::DoNotOptimize(scene.editor.PickAt(x, 200));
    }
    state.SetLabel("one pick of the game view over 1,000 entities");
}
BENCHMARK(BM_PickThrough1000)->Unit(benchmark::kMicrosecond);

void BM_EditorUiFrameCpu(benchmark::State& state) {
    Scene scene;
    ImGuiContext* context = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2((float)EDITOR_WIDTH, (float)EDITOR_HEIGHT);
    unsigned char* pixels = nullptr;
    int w = 0, h = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
    for (auto _ : state) {
        io.DeltaTime = 1.0f / 60.0f;
        ImGui::NewFrame();
        scene.editor.DrawUi();
        ImGui::Render();
        benchmark::DoNotOptimize(ImGui::GetDrawData());
    }
    ImGui::DestroyContext(context);
    state.SetLabel("menu bar and empty panes, built and rendered to draw lists");
}
BENCHMARK(BM_EditorUiFrameCpu)->Unit(benchmark::kMicrosecond);

} // namespace
