// The editor object over a tree of test entities, a recording window host and a pick camera
// looking down +z with a 90-degree field of view.
#pragma once

#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Pick.h"
#include "engine/DebugLog.h"
#include "engine/EntBase.h"
#include "engine/EntIniLoader.h"
#include "engine/Script/ScriptMgr.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/EditTestEnts.h"
#include "tools/MasterEdit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

class RecordingHost : public EditorHost {
  public:
    RecordingHost() { s_last = this; }
    ~RecordingHost() override {
        if (s_last == this) s_last = nullptr;
        s_leftTitle = title, s_leftWidth = width, s_leftHeight = height;
    }
    void GetWindowSize(int* w, int* h) override { *w = width, *h = height; }
    void SetWindowSize(int w, int h) override {
        width = w, height = h;
        sizes.emplace_back(w, h);
    }
    std::string GetTitle() override { return title; }
    void SetTitle(const char* t) override { title = t; }
    void WarpMouse(int x, int y) override { warps.emplace_back(x, y); }
    void CaptureMouse(bool on) override { captured = on; }

    // What a fresh window looks like before editor mode.
    static int s_width, s_height;
    static RecordingHost* s_last;
    // What the window was left with when the host went.
    static std::string s_leftTitle;
    static int s_leftWidth, s_leftHeight;
    int width = s_width, height = s_height;
    std::string title = "Fairlark";
    std::vector<std::pair<int, int>> sizes, warps;
    bool captured = false;
};

class MasterEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterEditTestClasses();
        EditorSetHostMaker([](void*) -> EditorHost* { return new RecordingHost; });
        EditorSetCallback([](ENTBASE* made, void*) { made->Start(); }, nullptr);
        DbgSetLogFile((dir / "Debug.txt").c_str());
        DbgSetLevelMask(DBG_GENERAL);
        DbgSetOutputMask(DBG_OUT_FILE);
        root = MakeEditProp(nullptr, "Root", {0, -1000, 0}, "GameGrid");
        world = MakeEditProp(root, "World", {0, -1000, 0}, "Terrain2");
        editor.SetDataDir((dir / "Editor/").c_str());
        editor.SetRootEntity(root);
        LookAlongZ();
        PickSetFov(1.5707963f);
    }
    void TearDown() override {
        editor.Leave();
        EntDestroyTree(root);
        EntSystemShutdown();
        ScriptMgrDestroy();
        Mat4 identity;
        PickSetCamera(Mat4Identity(&identity));
        PickSetFov(0.0f);
        PickSetAspect(1.0f, 1.0f);
        DbgSetLevelMask(0);
        DbgSetOutputMask(0);
        DbgSetLogFile("");
        EditorSetHostMaker(nullptr);
        EditorSetCallback(nullptr, nullptr);
        RecordingHost::s_width = 800, RecordingHost::s_height = 600;
    }

    static void LookAlongZ() {
        Mat4 identity;
        PickSetCamera(Mat4Identity(&identity));
    }
    // A camera turned a quarter turn about y: its world matrix has heading pi/2.
    static void LookQuarterTurn() {
        Mat4 world, view;
        Mat4Identity(&world);
        Mat4RotateY(&world, 1.5707963f);
        PickSetCamera(Mat4InverseRigid(&world, &view));
    }
    void Enter() {
        editor.Enter(reinterpret_cast<void*>(0x1));
        const EditorRect& v = editor.Rects().view;
        PickSetAspect((float)v.width, (float)v.height);
    }
    // The game-view pixel a point in front of the identity camera shows at.
    std::pair<int, int> ScreenOf(VECTOR3 p) const {
        const EditorRect& v = editor.Rects().view;
        const float aspect = (float)v.width / (float)v.height;
        const float nx = p.x / (p.z * aspect), ny = p.y / p.z;
        return {(int)std::lround((nx + 1) * 0.5f * v.width),
                (int)std::lround((1 - ny) * 0.5f * v.height)};
    }
    void Click(ENTBASE* entity, bool control = false) {
        auto [x, y] = ScreenOf(*entity->GetPos());
        editor.ViewButtonDown(x, y, control);
        editor.ViewButtonUp();
    }
    // Button down on the entity, the moves (each from the anchor), button up.
    void Drag(ENTBASE* entity, std::vector<std::pair<int, int>> steps, bool shift = false) {
        auto [x, y] = ScreenOf(*entity->GetPos());
        editor.ViewButtonDown(x, y, false);
        for (auto [dx, dy] : steps)
            editor.ViewMouseMove(x + dx, y + dy, shift);
        editor.ViewButtonUp();
    }
    std::string Log() const { return ReadTextFile(dir / "Debug.txt"); }
    RecordingHost& Host() { return *static_cast<RecordingHost*>(editor.Host()); }

    TempDir dir;
    MasterEdit editor{nullptr};
    EditProp* root = nullptr;
    EditProp* world = nullptr;
};
