// Costs of the editor: one pick through a tree of 1,000 world entities (one per mouse move over
// the game view); the editor's ImGui frame with empty panes on the CPU (no drawing) and drawn on
// llvmpipe; and the game's whole frame on the headless device with the first data set, plain
// and in editor mode (game view drawn into its framebuffer, then composed with the ImGui frame):
// their ratio is what editor mode costs.
#include "I3d/Math/Pick.h"
#include "bench/FixedEditorHost.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/GameApp/GameApp.h"
#include "platform/d3d8/GlContext.h"
#include "tools/MasterEdit.h"

#include <backends/imgui_impl_opengl2.h>
#include <benchmark/benchmark.h>
#include <imgui.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

class BenchProp : public Ent3dBase {
  public:
    uint32_t GetClassFlags() override { return ENT_CLASS_PICKABLE; }
};

intptr_t BenchPropProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "BenchProp");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new BenchProp, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}

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
        EditorSetHostMaker([](void*) -> EditorHost* { return new FixedEditorHost; });
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

void BM_EditorUiFrameGl(benchmark::State& state) {
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    std::string error;
    std::unique_ptr<D3dGlContext> gl = D3dGlContext::CreateOffscreen(&error);
    if (!gl) {
        state.SkipWithError(error.c_str());
        return;
    }
    gl->MakeCurrent();
    const D3dGlFuncs& f = gl->Gl();
    GLuint fbo = 0, colour = 0;
    f.GenFramebuffers(1, &fbo);
    f.BindFramebuffer(GL_FRAMEBUFFER, fbo);
    f.GenRenderbuffers(1, &colour);
    f.BindRenderbuffer(GL_RENDERBUFFER, colour);
    f.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, EDITOR_WIDTH, EDITOR_HEIGHT);
    f.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    Scene scene;
    ImGuiContext* context = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2((float)EDITOR_WIDTH, (float)EDITOR_HEIGHT);
    ImGui_ImplOpenGL2_Init();
    for (auto _ : state) {
        io.DeltaTime = 1.0f / 60.0f;
        ImGui_ImplOpenGL2_NewFrame();
        ImGui::NewFrame();
        scene.editor.DrawUi();
        ImGui::Render();
        glViewport(0, 0, EDITOR_WIDTH, EDITOR_HEIGHT);
        glClear(GL_COLOR_BUFFER_BIT);
        ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
        glFinish();
    }
    ImGui_ImplOpenGL2_Shutdown();
    ImGui::DestroyContext(context);
    f.BindFramebuffer(GL_FRAMEBUFFER, 0);
    f.DeleteFramebuffers(1, &fbo);
    f.DeleteRenderbuffers(1, &colour);
    state.SetLabel("menu bar and empty panes, drawn into 1024 x 768 on llvmpipe");
}
BENCHMARK(BM_EditorUiFrameGl)->Unit(benchmark::kMicrosecond);

// The game with the first data set on the headless device, its window the editor's size.
struct EditorGame {
    EditorGame() : host(true) {
        char folder[] = "/tmp/fairlark-bench-XXXXXX";
        if (!mkdtemp(folder)) return;
        root = folder;
        const std::string program = root + "/program/";
        mkdir(program.c_str(), 0755);
        std::string data = FAIRLARK_BUILD_DATA_DIR;
        data.pop_back();
        if (symlink(data.c_str(), (program + "Data").c_str()) != 0) return;
        mkdir((root + "/docs").c_str(), 0755);
        mkdir((root + "/docs/Fairlark").c_str(), 0755);
        if (std::FILE* f = std::fopen((root + "/docs/Fairlark/Config.ini").c_str(), "w")) {
            std::fputs("[Xq Config]\nrunHwConfig=0\nwinWidth=1024\nwinHeight=768\n", f);
            std::fclose(f);
        }
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        setenv("XDG_RUNTIME_DIR", root.c_str(), 1);
        setenv("HOME", root.c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", (root + "/docs").c_str(), 1);
        EditorSetMaker(MasterEditNew);
        game.SetProgramFolder(program.c_str());
        game.AppSetHost(&host);
        started = game.AppCreateMainWindow() == 0 && game.GetWorld() && game.editor;
    }
    ~EditorGame() {
        if (game.hwnd) game.AppShutdown();
        EditorSetMaker(nullptr);
        if (root.empty()) return;
        std::string command = "rm -rf '" + root + "'";
        if (std::system(command.c_str()) != 0) std::fprintf(stderr, "%s failed\n", command.c_str());
    }
    std::string root;
    AppHost host;
    GameApp game;
    bool started = false;
};

// Arg 0: a plain frame; 1: the same frame in editor mode.
void BM_GameFrameEditorMode(benchmark::State& state) {
    EditorGame session;
    if (!session.started) {
        state.SkipWithError("the game did not start");
        return;
    }
    if (state.range(0)) {
        EditorSetRootEntity(session.game.editor, session.game.GetRoot());
        EditorEnter(session.game.editor, session.game.hwnd);
        if (!static_cast<MasterEdit*>(session.game.editor)->Composing()) {
            state.SkipWithError("editor mode does not compose on this device");
            return;
        }
    }
    for (auto _ : state) {
        session.game.Update();
        session.game.Render();
    }
    state.SetLabel(state.range(0) ? "editor mode" : "plain");
}
BENCHMARK(BM_GameFrameEditorMode)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
