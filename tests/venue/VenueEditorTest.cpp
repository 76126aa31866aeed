// The editor's class-flag grid over the default venue as the game draws it, headless: the
// "Draw" box of "Static Models" hides the trees and shows them again. The boxes are clicked in
// a context of the test's own, fed the mouse directly, beside the running game.
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Pick.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntQueries.h"
#include "engine/EntTree.h"
#include "platform/d3d8/D3d8.h"
#include "tests/imgui/ImGuiInput.h"
#include "tests/support/TexturedQuad.h"
#include "tests/venue/VenueFixture.h"
#include "tests/venue/VenuePixels.h"
#include "tools/EditorWindows.h"
#include "tools/MasterEdit.h"
#include "world/CameraDesc.h"
#include "world/ParticleSpray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

// A class's word outlives the test: whatever the boxes did, the next test gets it back.
struct FlagsBack {
    Ent3dBase* entity;
    uint32_t word;
    ~FlagsBack() { entity->SetClassFlags(word); }
};

class VenueEditorTest : public VenueTest {
  protected:
    void TearDown() override {
        ui.reset();
        panes.reset();
        editor.reset();
        MasterEdit::SetItemHook(nullptr);
        VenueTest::TearDown();
    }
    // The editor's panes over the game's tree, outside editor mode, drawn in a context of the
    // test's own and turned to the class-flag grid.
    void OpenSettings() {
        editor = std::make_unique<MasterEdit>(nullptr);
        editor->SetRootEntity(venue.root);
        panes = std::make_unique<EditorWindows>(editor.get());
        ui = std::make_unique<ImGuiInput>(1024, 768);
        MasterEdit::SetItemHook(ImGuiInput::Record);
        ui->Frame(tool);
        ui->Frame(tool); // a tab bar places its tabs a frame after it first shows them
        ASSERT_TRUE(ui->Click("Settings", tool));
        ui->Frame(tool);
    }
    bool Click(const char* id) { return ui->Click(id, tool); }

    std::unique_ptr<MasterEdit> editor;
    std::unique_ptr<EditorWindows> panes;
    std::unique_ptr<ImGuiInput> ui;
    const std::function<void()> tool = [this] {
        ImGui::SetNextWindowPos(ImVec2(0, 0));
        ImGui::SetNextWindowSize(ImVec2(400, 600));
        ImGui::Begin("Tools");
        panes->DrawTool();
        ImGui::End();
    };
};

TEST_F(VenueEditorTest, UntickingDrawOfStaticModelsHidesATreeAndTickingItBringsItBack) {
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    auto* tree = dynamic_cast<Ent3dBase*>(EntTreeFindName(app.world.Get(), "Tree12"));
    ASSERT_NE(tree, nullptr);
    const VECTOR3 base = *tree->GetPos();
    FlagsBack flagsBack{tree, tree->GetClassFlags()};
    ASSERT_TRUE(venue.Fly(base.x, base.y, base.z, 0.0f, 0.4f, 40.0f));
    Frames(150); // the camera glides there

    // The editor's panes over the game's tree, outside editor mode: only the grid is clicked.
    OpenSettings();
    ASSERT_TRUE(ui->Has("Static Models/Draw"));

    const std::vector<uint32_t> shown = TexQuadReadBack(D3dDevice());
    ASSERT_EQ(shown.size(), size_t(kVenueW) * kVenueH);
    ASSERT_TRUE(Click("Static Models/Draw"));
    EXPECT_FALSE(tree->GetClassFlags() & CLASS_FLAG_DRAW);
    Frames(3);
    const std::vector<uint32_t> hidden = TexQuadReadBack(D3dDevice());
    ASSERT_TRUE(Click("Static Models/Draw"));
    EXPECT_TRUE(tree->GetClassFlags() & CLASS_FLAG_DRAW);
    Frames(3);
    const std::vector<uint32_t> back = TexQuadReadBack(D3dDevice());

    // Where the tree stands: from its foot up its trunk, a window round it.
    ENTBASE* camera = EntTreeFindName(app.world.Get(), "Camera2");
    ASSERT_NE(camera, nullptr);
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ASSERT_TRUE(VenueProject(camera, base, &x0, &y0));
    const VECTOR3 top = {base.x, base.y + 8.0f, base.z};
    ASSERT_TRUE(VenueProject(camera, top, &x1, &y1));
    int changed = 0, behind = 0, restored = 0, total = 0;
    long best = -1;
    size_t bestAt = 0;
    for (int y = int(std::min(y0, y1)) - 8; y <= int(std::max(y0, y1)) + 8; ++y)
        for (int x = int(x0) - 24; x <= int(x0) + 24; ++x) {
            if (x < 0 || y < 0 || x >= kVenueW || y >= kVenueH) continue;
            const size_t i = size_t(y) * kVenueW + size_t(x);
            ++total;
            const int d = PixelDiff(shown[i], hidden[i]);
            if (d < 30) continue;
            ++changed;
            behind += SkyLike(hidden[i]) || GroundLike(hidden[i]);
            restored += PixelDiff(shown[i], back[i]) < 30;
            if (d > best) best = d, bestAt = i;
        }
    ASSERT_GT(total, 0) << "the tree is off screen at " << x0 << ", " << y0;
    std::printf("tree at pixel %.0f, %.0f: %i of %i changed, %i to sky or ground, %i back\n", x0,
                y0, changed, total, behind, restored);
    ASSERT_GT(changed, 20) << "hiding the static models left the tree's pixels as they were";
    EXPECT_GE(behind, changed * 9 / 10) << std::hex << "one hidden pixel: " << hidden[bestAt];
    EXPECT_GE(restored, changed * 95 / 100)
        << std::hex << "shown " << shown[bestAt] << ", back " << back[bestAt];
}

// The live particles' positions, in pool order.
std::vector<VECTOR3> SprayPositions(const ParticleSpray* spray) {
    std::vector<VECTOR3> out;
    for (const SprayParticle* p = spray->pool.live; p; p = p->next)
        out.push_back(p->pos);
    return out;
}

bool SamePositions(const std::vector<VECTOR3>& a, const std::vector<VECTOR3>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].z != b[i].z) return false;
    return true;
}

TEST_F(VenueEditorTest, UntickingMoveOfTheSprayFreezesTheFountainAndTickingItGoesOn) {
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    auto* fountain = dynamic_cast<ParticleSpray*>(EntTreeFindName(app.world.Get(), "Fountain"));
    ASSERT_NE(fountain, nullptr);
    FlagsBack flagsBack{fountain, fountain->GetClassFlags()};
    Frames(30);
    ASSERT_FALSE(SprayPositions(fountain).empty()) << "the fountain has not sprayed";

    OpenSettings();
    ASSERT_TRUE(Click("ParticleSpray/Move"));
    EXPECT_FALSE(fountain->GetClassFlags() & CLASS_FLAG_MOVE);
    const std::vector<VECTOR3> frozen = SprayPositions(fountain);
    Frames(10);
    EXPECT_TRUE(SamePositions(frozen, SprayPositions(fountain)))
        << "the drops moved or were emitted with Move off";

    ASSERT_TRUE(Click("ParticleSpray/Move"));
    EXPECT_TRUE(fountain->GetClassFlags() & CLASS_FLAG_MOVE);
    Frames(10);
    EXPECT_FALSE(SamePositions(frozen, SprayPositions(fountain)));
}

// What a click at pixel (x, y) of the game view picks, as the editor's view picks it.
ENTBASE* PickPixel(ENTBASE* root, int x, int y) {
    PickQuery query{};
    if (PickRay(2.0f * float(x) / kVenueW - 1.0f, 1.0f - 2.0f * float(y) / kVenueH, &query.origin,
                &query.dir) == 0)
        return nullptr;
    query.bestDistance = 3.4028235e38f;
    root->PickTree(&query);
    return query.best;
}

TEST_F(VenueEditorTest, UntickingSelectOfTerrainLetsAClickOnGroundPickTheTreeBehindIt) {
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    auto* terrain = dynamic_cast<Ent3dBase*>(EntTreeFindName(app.world.Get(), "Terrain"));
    auto* tree = dynamic_cast<Ent3dBase*>(EntTreeFindName(app.world.Get(), "Tree12"));
    ASSERT_NE(terrain, nullptr);
    ASSERT_NE(tree, nullptr);
    FlagsBack flagsBack{terrain, terrain->GetClassFlags()};
    const VECTOR3 base = *tree->GetPos();
    ASSERT_TRUE(venue.Fly(base.x, base.y, base.z, 0.0f, 1.4f, 100.0f));
    Frames(150);

    OpenSettings();
    ASSERT_TRUE(ui->Has("Terrain/Select"));
    if (!(terrain->GetClassFlags() & CLASS_FLAG_SELECT)) {
        ASSERT_TRUE(Click("Terrain/Select"));
    }
    ASSERT_TRUE(terrain->GetClassFlags() & CLASS_FLAG_SELECT);

    // The pixels round the tree where the ground takes the click. Looking steeply down, a ray
    // can graze the crown's near side and meet the ground before the tree's foot: the ground is
    // then the nearer hit. The tree stands outside the camera's limits, in the grid's far row.
    ENTBASE* camera = EntTreeFindName(app.world.Get(), "Camera2");
    ASSERT_NE(camera, nullptr);
    float fx = 0, fy = 0;
    ASSERT_TRUE(VenueProject(camera, base, &fx, &fy));
    std::vector<std::pair<int, int>> ground;
    int treeBefore = 0;
    for (int y = int(fy) - 250; y <= int(fy) + 60; y += 2)
        for (int x = int(fx) - 80; x <= int(fx) + 80; x += 2)
            if (x >= 0 && y >= 0 && x < kVenueW && y < kVenueH) {
                ENTBASE* picked = PickPixel(venue.root, x, y);
                if (picked == terrain) ground.emplace_back(x, y);
                treeBefore += picked == tree;
            }
    ASSERT_GT(treeBefore, 0) << "the tree is not in view";
    ASSERT_FALSE(ground.empty()) << "no ground around the tree at " << fx << ", " << fy;

    ASSERT_TRUE(Click("Terrain/Select"));
    EXPECT_FALSE(terrain->GetClassFlags() & CLASS_FLAG_SELECT);
    int toTree = 0, toTerrain = 0;
    for (const auto& [x, y] : ground) {
        ENTBASE* picked = PickPixel(venue.root, x, y);
        toTree += picked == tree;
        toTerrain += picked == terrain;
    }
    std::printf("tree at pixel %.0f, %.0f: of %zu ground clicks, %i now pick the tree\n", fx, fy,
                ground.size(), toTree);
    EXPECT_EQ(toTerrain, 0) << "the terrain still answers clicks";
    EXPECT_GT(toTree, 0) << "no click on ground in front of the tree reaches it";
}

} // namespace
