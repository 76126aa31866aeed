// Patrons and carnies in pixels (llvmpipe through EGL, offscreen): the patron world with its
// characters loaded and two carnies hired, run until a crowd is on the grounds, drawn by a
// viewport through an oblique camera under a light. Every patron and carny shows inside its
// projected box and plays the clip of its state or task; moving only the application clock and
// the characters' animation moves every walker.
#include "I3d/Lights.h"
#include "engine/Timers.h"
#include "engine/WorldClass.h"
#include "game/Ents/Carny.h"
#include "game/Ents/GameGrid.h"
#include "game/MtGame.h"
#include "tests/I3d/PixelFixture.h"
#include "tests/game/Ents/PatronCharacters.h"
#include "tests/support/TestSupport.h"
#include "world/CameraDesc.h"
#include "world/EntViewport.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kSize = 640;

// A fixed camera for the viewport.
class PixCamera : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override { return WorldCopyClassName("PixCamera", buffer); }
    const char* GetTypeName() override { return "PixCamera"; }
    int GetCamera(CameraDesc* out) override {
        *out = desc;
        return 1;
    }
    CameraDesc desc{};
};
const WorldClassDef kCameraClass = {"PixCamera", nullptr, WorldMake<PixCamera>, nullptr};
intptr_t PixCameraProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kCameraClass, node, message, a, b, c);
}

// The clips a carny's task calls for: repairs pound or turn a wrench, sleep naps or nods.
bool ClipFitsTask(const Carny* c, const std::string& playing) {
    switch (c->task) {
        case CARNY_IDLE: return playing == "AdultIdle1";
        case CARNY_WALK: return playing == "AdultWalk";
        case CARNY_REPAIR: return playing == "AdultMalePound" || playing == "AdultMaleWrench";
        case CARNY_SWEEP: return playing == "AdultSweeping";
        case CARNY_SLEEP: return playing == "CarnyNap" || playing == "CarnySleepy";
        default: return !playing.empty();
    }
}

struct Rect {
    int x0 = kSize, y0 = kSize, x1 = -1, y1 = -1;
    bool Empty() const { return x1 < x0 || y1 < y0; }
};

class PatronPixels : public PixelTest {
  protected:
    PatronPixels() : PixelTest(kSize, kSize, 0, 0, 0) {}
    void SetUp() override {
        PixelTest::SetUp();
        I3dTexTableFree();
        ASSERT_EQ(I3dTexTableAlloc(kPatronTextureSlots), 0);
        clock = std::make_unique<TestClock>();
        AppTimer(APPTIMER_START);
        AppTimer(APPTIMER_RESET);
        AppTimerHold(0);
        world = std::make_unique<PatronWorld>(7);
        ASSERT_NE(RubeCharacterModel(0), nullptr) << "the class loads its characters";
        EntCreateClass(EcCarnyProc, 0, 0);
        EntCreateClass(EcViewportProc, 0, 0);
        EntCreateClass(PixCameraProc, 0, 0);
        world->AddSpawnPoint(384.0f + 60.5f * 2.0f, 384.0f + 60.5f * 2.0f);
        // Only the characters draw: no grid lines, generator or spawn-point markers in the
        // boxes.
        world->AddSpawnPoint(384.0f + 62.5f * 2.0f, 384.0f + 57.5f * 2.0f)->SetClassFlags(0);
        world->grid->SetClassFlags(0);
        world->gen->SetClassFlags(0);
        camera = static_cast<PixCamera*>(EntCreateChild("PixCamera", nullptr));
        view = static_cast<EntViewport*>(EntCreateChild("Viewport", nullptr));
        ASSERT_TRUE(camera && view);
        view->SetVoid("entDrawRoot", (intptr_t)world->h->world);
        view->SetVoid("entCamera", (intptr_t)camera);
        view->clear = 1;
        view->SetColor3("color", 0, 0, 0);
        light = I3dLightAlloc();
        I3dLightSetType(light, 3);
        D3dSetAmbient(0.2f, 0.2f, 0.2f);
    }
    void TearDown() override {
        EntDestroyTree(view);
        EntDestroyTree(camera);
        FreePatronWorld(world);
        AppTimerHold(0);
        clock.reset();
        PixelTest::TearDown();
        I3dTexTableFree();
    }

    std::vector<Carny*> Carnies() const {
        ENTBASE* found[16];
        const int n = EntFindAllOfType(world->h->root, "Carny", found, 16);
        std::vector<Carny*> out;
        for (int i = 0; i < n; ++i)
            out.push_back(static_cast<Carny*>(found[i]));
        return out;
    }

    // An oblique camera over every patron and carny, the light coming from behind it.
    void Frame() {
        float x0 = 1e9f, z0 = 1e9f, x1 = -1e9f, z1 = -1e9f;
        auto take = [&](const VECTOR3& at) {
            x0 = std::min(x0, at.x), x1 = std::max(x1, at.x);
            z0 = std::min(z0, at.z), z1 = std::max(z1, at.z);
        };
        for (int i = 0; i < RubeLiveCount(); ++i)
            take(RubeLiveAt(i)->pos);
        for (const Carny* c : Carnies())
            take(c->pos);
        const VECTOR3 at = {(x0 + x1) * 0.5f, 0.8f, (z0 + z1) * 0.5f};
        const float reach = 0.5f * std::sqrt((x1 - x0) * (x1 - x0) + (z1 - z0) * (z1 - z0)) + 2.0f;
        const float fov = 0.8f;
        const float distance = reach / std::sin(fov * 0.5f);
        const VECTOR3 eye = {at.x, at.y + distance * 0.6f, at.z - distance * 0.8f};
        const VECTOR3 up = {0.0f, 1.0f, 0.0f};
        Mat4LookAt(&camera->desc.view, &eye, &at, &up);
        camera->desc.fov = fov;
        camera->desc.eye = eye;
        camera->desc.valid = 1;
        I3dLightSetDirection(light, 0.0f, -0.6f, 0.8f);
        g_patronDrawDistance = distance + reach + 10.0f;
        // Need and task icons are not the characters: they stay off in these frames.
        for (int i = 0; i < RubeLiveCount(); ++i)
            RubeLiveAt(i)->icon.cell = -1;
        for (Carny* c : Carnies())
            c->icon.cell = -1;
        D3dEndScene();
        ASSERT_EQ(D3dBeginScene(), 0);
        EntTreeDrawPre(view);
        EntTreeDraw(view);
        EntTreeDrawPost(view);
        D3dEndScene();
        ReadBack();
        ASSERT_EQ(D3dBeginScene(), 0);
        Mat4 identity;
        I3dSetWorld(Mat4Identity(&identity));
    }
    // The screen rectangle of a character's world box under the camera of the last frame.
    Rect BoxOf(const Ent3dBase* e) const {
        Rect r;
        for (int c = 0; c < 8; ++c) {
            const VECTOR3 corner = {e->worldBox[(c & 1) ? 3 : 0], e->worldBox[(c & 2) ? 4 : 1],
                                    e->worldBox[(c & 4) ? 5 : 2]};
            int x, y;
            PixelOf(corner, &x, &y);
            r.x0 = std::min(r.x0, x), r.x1 = std::max(r.x1, x);
            r.y0 = std::min(r.y0, y), r.y1 = std::max(r.y1, y);
        }
        r.x0 = std::max(r.x0, 0), r.y0 = std::max(r.y0, 0);
        r.x1 = std::min(r.x1, kSize - 1), r.y1 = std::min(r.y1, kSize - 1);
        return r;
    }
    int Drawn(const Rect& r) const {
        int n = 0;
        for (int y = r.y0; y <= r.y1; ++y)
            for (int x = r.x0; x <= r.x1; ++x)
                n += At(x, y) != 0;
        return n;
    }
    static int Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b,
                         const Rect& r) {
        int n = 0;
        for (int y = r.y0; y <= r.y1; ++y)
            for (int x = r.x0; x <= r.x1; ++x) {
                const size_t i = size_t(y) * kSize + size_t(x);
                n += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
            }
        return n;
    }

    std::unique_ptr<TestClock> clock;
    std::unique_ptr<PatronWorld> world;
    PixCamera* camera = nullptr;
    EntViewport* view = nullptr;
    int light = -1;
};

TEST_F(PatronPixels, TheCrowdShowsPlaysItsClipsAndTheWalkersMoveWithTheClock) {
    world->OpenDay();
    MtGameHireCarny(world->game); // after the start of day, which caches the generator
    MtGameHireCarny(world->game);
    ASSERT_EQ(Carnies().size(), 2u) << "two carnies hired";
    // A carny's character is made at its first draw: drawn once early, it animates with the day.
    Frame();
    for (int i = 0; i < 4000 && world->gen->present < 10; ++i)
        world->h->Frame();
    ASSERT_GE(world->gen->present, 10) << "the crowd never gathered";
    Frame();
    const std::vector<uint32_t> first = m_pixels;
    for (int i = 0; i < RubeLiveCount(); ++i) {
        Rube1* p = RubeLiveAt(i);
        ASSERT_NE(p->character, nullptr) << p->name;
        const std::string clip = PlayingClips(p->character);
        EXPECT_TRUE(ClipFitsState(p, clip))
            << p->name << " in state " << p->state << " plays \"" << clip << "\"";
        const Rect box = BoxOf(p);
        ASSERT_FALSE(box.Empty()) << p->name << " is off the screen";
        EXPECT_GT(Drawn(box), 0) << p->name << "'s box shows only the background";
    }
    const std::vector<Carny*> carnies = Carnies();
    ASSERT_EQ(carnies.size(), 2u) << "a hired carny left the grounds";
    for (Carny* c : carnies) {
        ASSERT_NE(c->character, nullptr) << c->name << " has no character after its draws";
        const std::string clip = PlayingClips(c->character);
        EXPECT_TRUE(ClipFitsTask(c, clip))
            << c->name << " at task " << c->task << " plays \"" << clip << "\"";
        const Rect box = BoxOf(c);
        ASSERT_FALSE(box.Empty()) << c->name << " is off the screen";
        EXPECT_GT(Drawn(box), 0) << c->name << "'s box shows only the background";
    }

    clock->AdvanceUs(250000);
    for (int i = 0; i < RubeLiveCount(); ++i)
        CharModelInstAnimate(RubeLiveAt(i)->character);
    for (Carny* c : carnies)
        CharModelInstAnimate(c->character);
    Frame();
    int walkers = 0;
    for (int i = 0; i < RubeLiveCount(); ++i) {
        Rube1* p = RubeLiveAt(i);
        if (p->state != RUBE_WANDER && p->state != RUBE_WALK_TO && p->state != RUBE_LEAVE) continue;
        ++walkers;
        EXPECT_GT(Differing(first, m_pixels, BoxOf(p)), 0)
            << p->name << " walks but its legs did not move in a quarter second";
    }
    EXPECT_GT(walkers, 0) << "nobody was walking: the second half checked nothing";
    for (Carny* c : carnies) {
        if (c->task != CARNY_WALK) continue;
        EXPECT_GT(Differing(first, m_pixels, BoxOf(c)), 0)
            << c->name << " walks but its legs did not move in a quarter second";
    }
}

} // namespace
