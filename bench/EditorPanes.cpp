// Costs of the editor's pane contents on the CPU: one ImGui frame with the tool window's tree
// of 1,000 entities and the params pane showing 100 rows; and building the rows of 200 fields.
#include "bench/FixedEditorHost.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "tools/MasterEdit.h"
#include "tools/VarWin.h"

#include <benchmark/benchmark.h>
#include <imgui.h>

#include <cstdio>
#include <iterator>
#include <string>

namespace {

class PaneProp : public Ent3dBase {
  public:
    VarTable* GetInstanceVarTable() override { return table; }
    float values[100] = {};
    VarTable* table = nullptr;
};

intptr_t PanePropProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "PaneProp");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new PaneProp, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}

void BM_PanesFrameCpu(benchmark::State& state) {
    EntSystemShutdown();
    EntSystemInit();
    EntCreateClass(PanePropProc, 0, 0);
    auto* root = static_cast<PaneProp*>(EntCreateByName("PaneProp", nullptr));
    root->SetName("Root");
    for (int i = 0; i < 1000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Prop%d", i);
        EntCreateChild("PaneProp", root)->SetName(name);
    }
    // One entry per value of the pane.
    const int values = (int)std::size(root->values);
    root->table = VarTableCreate(values);
    for (int i = 0; i < values; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "v%d", i);
        VarTableAddFloat(root->table, name, PROP_OFFSET(PaneProp, values) + 4 * i, 0, 0, 10, 0);
    }
    EditorSetHostMaker([](void*) -> EditorHost* { return new FixedEditorHost; });
    ImGuiContext* context = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2((float)EDITOR_WIDTH, (float)EDITOR_HEIGHT);
    unsigned char* pixels = nullptr;
    int w = 0, h = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
    {
        MasterEdit editor{nullptr};
        editor.SetRootEntity(root);
        editor.Enter(nullptr);
        editor.SelectAlone(root);
        for (auto _ : state) {
            io.DeltaTime = 1.0f / 60.0f;
            ImGui::NewFrame();
            editor.DrawUi();
            ImGui::Render();
            benchmark::DoNotOptimize(ImGui::GetDrawData());
        }
        editor.Leave();
    }
    ImGui::DestroyContext(context);
    VarTable* table = root->table;
    root->table = nullptr;
    VarTableDestroy(table);
    EntDestroyTree(root);
    EntSystemShutdown();
    EditorSetHostMaker(nullptr);
    state.SetLabel("tool window with 1,000 tree items and 100 params rows, to draw lists");
}
BENCHMARK(BM_PanesFrameCpu)->Unit(benchmark::kMicrosecond);

class BuildProp : public Ent3dBase {
  public:
    float values[200] = {};
};

void BM_VarDbWndBuild200(benchmark::State& state) {
    static PropDb db;
    if (!db.first) {
        for (int i = 0; i < 200; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "f%d", i);
            PropDbAddFloat(&db, name, PROP_OFFSET(BuildProp, values) + 4 * i, 0.0f);
        }
    }
    BuildProp entity;
    VarRows rows;
    for (auto _ : state) {
        VarDbWndBuild(&rows, &entity, &db);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetLabel("rows of 200 float fields, built and created");
}
BENCHMARK(BM_VarDbWndBuild200)->Unit(benchmark::kMicrosecond);

} // namespace
