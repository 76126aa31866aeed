// The chase camera against the real entity tree with a stand-in player: goals by the player's
// face, the overview without references, and references to entities that are gone.
#include "engine/VarTable.h"
#include "tests/world/CamerasFixture.h"

#include <string>

namespace {

class CameraAvatarTest : public CamerasTest {
  protected:
    void SetUp() override {
        CamerasTest::SetUp();
        cam = Make<CameraAvatar1>("CameraAvatar1", world, "Chase");
        player = Make<StandInAvatar>("StandInAvatar", world, "Player1");
        player->pos = VECTOR3{5.0f, 1.0f, 5.0f};
        cube = Make("Probe", world, "Cube");
        ASSERT_TRUE(cam->SetVoid("entPlayer", (intptr_t)player));
        ASSERT_TRUE(cam->SetVoid("entCube", (intptr_t)cube));
        cam->Start();
    }
    void Settle() {
        for (int i = 0; i < 300; ++i)
            EntTreeUpdate(cam, 0.05f);
    }
    // Where the eye and the look-at point settle, as the view gives them.
    void ExpectSettled(VECTOR3 eye, VECTOR3 look) {
        const CameraDesc desc = View(cam);
        EXPECT_NEAR(desc.eye.x, eye.x, 1e-3f);
        EXPECT_NEAR(desc.eye.y, eye.y, 1e-3f);
        EXPECT_NEAR(desc.eye.z, eye.z, 1e-3f);
        EXPECT_NEAR(cam->lookSmooth.value.x, look.x, 1e-3f);
        EXPECT_NEAR(cam->lookSmooth.value.y, look.y, 1e-3f);
        EXPECT_NEAR(cam->lookSmooth.value.z, look.z, 1e-3f);
        // The look-at point lies straight ahead in the view.
        VECTOR3 inView;
        Mat4XformPoint(&cam->lookSmooth.value, &desc.view, &inView);
        EXPECT_NEAR(inView.x, 0.0f, 1e-3f);
        EXPECT_NEAR(inView.y, 0.0f, 1e-3f);
        EXPECT_GT(inView.z, 0.0f);
    }

    CameraAvatar1* cam = nullptr;
    StandInAvatar* player = nullptr;
    ENTBASE* cube = nullptr;
};

TEST_F(CameraAvatarTest, TableAndCreatedValues) {
    std::string rows;
    VarTable* t = CameraAvatar1Vars();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->count, 7);
    for (int i = 0; i < t->count; ++i)
        if (t->Entries()[i].type != VAR_FREE)
            rows += std::string(rows.empty() ? "" : " ") + t->Entries()[i].name;
    EXPECT_EQ(rows, "name accel maxVel trackSpeed entPlayer entCube");
    EXPECT_EQ(VarTableFind(t, "maxVel")->max.f, 1500.0f);
    auto* fresh = Make<CameraAvatar1>("CameraAvatar1", world, "Fresh");
    EXPECT_EQ(fresh->trackSpeed, 0.1f);
    EXPECT_EQ(fresh->accel, 80.0f);
    EXPECT_EQ(fresh->maxVel, 250.0f);
    EXPECT_EQ(fresh->entPlayer, nullptr);
    EXPECT_EQ(fresh->eyeSmooth.time, 0.2f);
    EXPECT_EQ(fresh->lookSmooth.time, 0.7f);
}

TEST_F(CameraAvatarTest, EachFacePlacesTheEyeBehindThePlayer) {
    player->face = 0;
    Settle();
    ExpectSettled({5, 4, 13}, {5, 5, -45});
    player->face = 1;
    Settle();
    ExpectSettled({5, 4, -3}, {5, 5, 55});
    player->face = 4;
    Settle();
    ExpectSettled({5, 4, -3}, {5, 5, 55});
    player->face = 2;
    Settle();
    ExpectSettled({13, 4, 5}, {-45, 5, 5});
    player->face = 3;
    Settle();
    ExpectSettled({-3, 4, 5}, {55, 5, 5});

    // No side: x and z stay as they were, the heights follow.
    player->face = 7;
    player->pos = VECTOR3{40.0f, 6.0f, 40.0f};
    Settle();
    ExpectSettled({-3, 9, 5}, {55, 10, 5});
    player->face = AVATAR_FACE_NONE;
    Settle();
    ExpectSettled({-3, 9, 5}, {55, 10, 5});
}

TEST_F(CameraAvatarTest, AnEntityWithoutAFaceKeepsTheHorizontalGoals) {
    auto* plain = Make<Ent3dBase>("Probe", world, "Plain");
    plain->pos = VECTOR3{5.0f, 1.0f, 5.0f};
    ASSERT_TRUE(cam->SetVoid("entPlayer", (intptr_t)plain));
    Settle();
    EXPECT_NEAR(cam->eyeSmooth.value.x, 0.0f, 1e-3f);
    EXPECT_NEAR(cam->eyeSmooth.value.z, 0.0f, 1e-3f);
    EXPECT_NEAR(cam->eyeSmooth.value.y, 4.0f, 1e-3f);
}

TEST_F(CameraAvatarTest, WithoutBothReferencesTheOverview) {
    auto expectOverview = [this]() {
        const CameraDesc desc = View(cam);
        EXPECT_FLOAT_EQ(desc.fov, 1.04718f);
        EXPECT_EQ(desc.eye.y, 20.0f);
        EXPECT_EQ(desc.eye.z, -20.0f);
        Mat4 w;
        Mat4Identity(&w);
        Mat4RotateX(&w, 0.314159f);
        w.m[13] = 20.0f, w.m[14] = -20.0f;
        EXPECT_TRUE(InverseOf(w, desc.view));
    };
    cam->SetVoid("entCube", 0);
    Settle();
    expectOverview();
    EXPECT_EQ(cam->eyeSmooth.value.y, 0.0f) << "without both references nothing moves";

    cam->SetVoid("entCube", (intptr_t)cube);
    EntDestroyTree(player); // the player referred to is gone: taken as none
    Settle();
    expectOverview();
    EXPECT_EQ(cam->entPlayer, nullptr) << "a reference to a destroyed entity is dropped";
}

} // namespace
