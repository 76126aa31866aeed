// The physics layer on ODE: the shared world's holders and settings, the inert class registered
// once per process, static and bodied objects, the ten recorded geoms and the geoms' bits.
#include "world/Physics.h"

#include <gtest/gtest.h>

namespace {

class PhysicsTest : public ::testing::Test {
  protected:
    void TearDown() override {
        while (PhysWorldGet())
            PhysWorldRelease();
    }
    // A small flat field of 4 x 4 cells.
    static dGeomID AddField(PhysObj* obj) {
        static const float samples[25] = {};
        return PhysObjAddTerrainGeom(obj, samples, 5, 1.0f, 4.0f, 4);
    }
};

TEST_F(PhysicsTest, WorldLivesWhileHeldAndComesBackFresh) {
    PhysWorld* a = PhysWorldAcquire();
    PhysWorld* b = PhysWorldAcquire();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b) << "every holder shares one world";
    PhysWorldRelease();
    EXPECT_EQ(PhysWorldGet(), a) << "one holder is left: the world must stay";
    PhysWorldRelease();
    EXPECT_EQ(PhysWorldGet(), nullptr);

    PhysWorld* w = PhysWorldAcquire();
    dVector3 g;
    dWorldGetGravity(w->world, g);
    EXPECT_DOUBLE_EQ(g[0], 0.0);
    EXPECT_NEAR(g[1], -9.8, 1e-12);
    EXPECT_DOUBLE_EQ(g[2], 0.0);
    // ODE answers the flag's own bit (16 in 0.16), not 1.
    EXPECT_NE(dWorldGetAutoDisableFlag(w->world), 0);
    EXPECT_NEAR(dWorldGetAutoDisableLinearThreshold(w->world), 0.01, 1e-12);
    EXPECT_NEAR(dWorldGetAutoDisableAngularThreshold(w->world), 0.01, 1e-12);
    EXPECT_EQ(dWorldGetAutoDisableSteps(w->world), 10);
    EXPECT_EQ(dWorldGetAutoDisableTime(w->world), 0.0);
    EXPECT_EQ(dSpaceGetClass(w->space), dQuadTreeSpaceClass);
    EXPECT_EQ(dSpaceGetCleanup(w->space), 1) << "the space must destroy its geoms";
    EXPECT_EQ(w->scale[0], 1.0f);
    EXPECT_EQ(w->scale[1], 1.0f);
    EXPECT_EQ(w->counter, 0);
    EXPECT_EQ(dSpaceGetNumGeoms(w->space), 0);
}

// ODE takes four user classes per process and aborts at the fifth: a class per world ended the
// run at the fifth venue.
TEST_F(PhysicsTest, TenWorldsShareOneInertClass) {
    PhysWorldAcquire();
    const int cls = PhysInertGeomClass();
    ASSERT_GE(cls, 0);
    PhysWorldRelease();
    for (int i = 0; i < 10; ++i) {
        PhysWorld* w = PhysWorldAcquire();
        PhysObj* obj = PhysObjCreate(w, 1);
        AddField(obj);
        PhysObjDestroy(obj);
        delete obj;
        PhysWorldRelease();
        EXPECT_EQ(PhysInertGeomClass(), cls);
    }

    // The class is inert and unbounded.
    PhysWorldAcquire();
    dGeomID inert = dCreateGeom(cls);
    dReal box[6];
    dGeomGetAABB(inert, box);
    EXPECT_EQ(box[0], -1e6);
    EXPECT_EQ(box[1], 1e6);
    EXPECT_EQ(box[5], 1e6);
    dGeomID sphere = dCreateSphere(nullptr, 1.0);
    dContactGeom contact;
    EXPECT_EQ(dCollide(inert, sphere, 1, &contact, sizeof contact), 0);
    dGeomDestroy(sphere);
    dGeomDestroy(inert);
}

TEST_F(PhysicsTest, StaticObjectHasNoBodyOthersDo) {
    PhysWorld* w = PhysWorldAcquire();
    PhysObj* still = PhysObjCreate(w, 1);
    ASSERT_NE(still, nullptr);
    EXPECT_EQ(still->body, nullptr);
    EXPECT_STREQ(still->name, "Unnamed");
    EXPECT_EQ(still->categoryBits, -1);
    EXPECT_EQ(still->collideBits, -1);
    PhysObjDisable(still); // nothing to disable
    AddField(still);
    AddField(still);
    EXPECT_EQ(dSpaceGetNumGeoms(w->space), 2);
    PhysObjDestroy(still);
    EXPECT_EQ(dSpaceGetNumGeoms(w->space), 0) << "destroy takes the object's geoms out";
    delete still;

    for (int flag : {0, 2, -1}) {
        PhysObj* moving = PhysObjCreate(w, flag);
        ASSERT_NE(moving->body, nullptr) << "static flag " << flag << " is not static";
        dGeomID g = AddField(moving);
        EXPECT_EQ(dGeomGetBody(g), moving->body) << "a bodied object's geom rides its body";
        EXPECT_TRUE(dBodyIsEnabled(moving->body));
        PhysObjDisable(moving);
        EXPECT_FALSE(dBodyIsEnabled(moving->body));
        PhysObjDestroy(moving);
        EXPECT_EQ(moving->body, nullptr);
        delete moving;
    }
}

TEST_F(PhysicsTest, TenGeomsRecordedTheEleventhStaysInTheSpace) {
    PhysWorld* w = PhysWorldAcquire();
    PhysObj* obj = PhysObjCreate(w, 1);
    obj->categoryBits = 1;
    obj->collideBits = 6;
    dGeomID last = nullptr;
    for (int i = 0; i < 11; ++i)
        last = AddField(obj);
    EXPECT_EQ(obj->geomCount, 10);
    EXPECT_EQ(dSpaceGetNumGeoms(w->space), 11);
    EXPECT_EQ(dGeomGetData(last), obj);
    for (int i = 0; i < obj->geomCount; ++i) {
        EXPECT_EQ(dGeomGetCategoryBits(obj->geoms[i]), 1ul);
        EXPECT_EQ(dGeomGetCollideBits(obj->geoms[i]), 6ul);
        EXPECT_EQ(dGeomGetData(obj->geoms[i]), obj);
    }
    PhysObjDestroy(obj);
    delete obj;
    EXPECT_EQ(dSpaceGetNumGeoms(w->space), 1);
    // The release destroys the eleventh with the space, and its data after it: LeakSanitizer
    // would report a lost copy.
    PhysWorldRelease();
}

TEST_F(PhysicsTest, DefaultBitsReachTheGeomAsAllBits) {
    PhysWorld* w = PhysWorldAcquire();
    PhysObj* obj = PhysObjCreate(w, 1);
    dGeomID g = AddField(obj);
    EXPECT_EQ(dGeomGetCategoryBits(g), ~0ul);
    EXPECT_EQ(dGeomGetCollideBits(g), ~0ul);
    EXPECT_EQ(PhysObjAddTerrainGeom(obj, nullptr, 5, 1.0f, 4.0f, 4), nullptr);
    static const float one[4] = {};
    EXPECT_EQ(PhysObjAddTerrainGeom(obj, one, 2, 0.0f, 0.0f, 1), nullptr)
        << "a cell size of 0 makes no field";
    PhysObjDestroy(obj);
    delete obj;
}

} // namespace
