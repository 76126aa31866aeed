// The ride, chase, placed and path-point cameras and the test board on a fresh registry: a root
// with a "World", the classes registered, and stand-ins for the entities they serve (a player
// with a face index, an attraction owning a seat matrix).
#pragma once

#include "I3d/Math/Mat4Math.h"
#include "engine/EntTree.h"
#include "engine/Input/SlInput.h"
#include "engine/WorldClass.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/AvatarFace.h"
#include "world/CameraAttach.h"
#include "world/CameraAvatar1.h"
#include "world/CameraDesc.h"
#include "world/CameraFixed.h"
#include "world/CameraWaypoint.h"
#include "world/Playfield1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

// Class "StandInAvatar": the test avatar as the chase camera sees it, a position and a face.
class StandInAvatar : public Ent3dBase, public AvatarFaceSource {
  public:
    int CopyClassName(char* buffer) override { return WorldCopyClassName("StandInAvatar", buffer); }
    int AvatarFaceIndex() override { return face; }
    int face = 0;
};

// Class "StandInRide": an attraction as the ride view sees it, owning the seat matrix the
// camera rides on. With `tells` set its destruction is reported to the tree, as attractions do.
class StandInRide : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override { return WorldCopyClassName("StandInRide", buffer); }
    int Destroy() override {
        if (tells) EntTreeNotifyRemoved(EntGetRoot(this), this);
        return ENTBASE::Destroy();
    }
    Mat4 seat;
    bool tells = true;
};

inline intptr_t StandInAvatarProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    static const WorldClassDef kDef = {"StandInAvatar", nullptr, WorldMake<StandInAvatar>, nullptr};
    return WorldClassProc(kDef, n, m, a, b, c);
}
inline intptr_t StandInRideProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    static const WorldClassDef kDef = {"StandInRide", nullptr, WorldMake<StandInRide>, nullptr};
    return WorldClassProc(kDef, n, m, a, b, c);
}

class CamerasTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        RegisterClasses();
    }
    void TearDown() override {
        EntDestroyTree(root);
        root = nullptr;
        EntSystemShutdown();
        KernelTest::TearDown();
    }
    // The registry afresh (after a device is made, so that the board's class makes its
    // textures), with a root and its "World".
    void RegisterClasses() {
        if (root) EntDestroyTree(root);
        RegisterWorldTestClasses();
        for (EntClassProc proc :
             {EcCameraAttachProc, EcCameraAvatar1Proc, EcCameraFixedProc, EcCameraWaypointProc,
              EcPlayfield1Proc, StandInAvatarProc, StandInRideProc})
            ASSERT_EQ(EntCreateClass(proc, 0, 0), 0);
        root = Make("EntNull", nullptr, "Root");
        world = Make("EntNull", root, "World");
    }
    void Send(ENTBASE* to, int32_t type, intptr_t a = 0, intptr_t b = 0) {
        SlEvent e{type, a, b, 0};
        to->OnMessage(&e);
    }
    static CameraDesc View(ENTBASE* camera) {
        CameraDesc desc{};
        EXPECT_EQ(camera->GetCamera(&desc), 1);
        EXPECT_EQ(desc.valid, 1) << "a camera that answers must mark its description valid";
        return desc;
    }
    // How many times `needle` stands in the log.
    int LogCount(const std::string& needle) const {
        const std::string text = LogText();
        int n = 0;
        for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
            ++n;
        return n;
    }

    ENTBASE* root = nullptr;
    ENTBASE* world = nullptr;
};

// a x b is the identity within eps.
inline ::testing::AssertionResult InverseOf(const Mat4& a, const Mat4& b, float eps = 1e-4f) {
    Mat4 p;
    Mat4Mul(&a, &b, &p);
    for (int i = 0; i < 16; ++i) {
        const float want = (i % 5 == 0) ? 1.0f : 0.0f;
        if (std::fabs(p.m[i] - want) > eps)
            return ::testing::AssertionFailure() << "element " << i << " is " << p.m[i];
    }
    return ::testing::AssertionSuccess();
}
