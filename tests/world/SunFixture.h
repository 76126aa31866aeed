// The sun tests' fixture: the world test classes with the sun, the lens flare and the time of
// day registered beside them, a "Root" holding "Viewport", "World" and "VeryLast", and the
// build's generated data as the program folder (the class textures load from it).
#pragma once

#include "I3d/Camera.h"
#include "I3d/Image.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/IniFile.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/EntTimeOfDay.h"
#include "world/LensFlare.h"
#include "world/Sun.h"
#include "world/Terrain2.h"

#include <string>

// The world test classes, then "Sun", "LensFlare" and "TimeOfDay".
inline void RegisterSunTestClasses() {
    RegisterWorldTestClasses();
    for (EntClassProc proc : {EcSunProc, EcLensFlareProc, EcTimeOfDayProc})
        EntCreateClass(proc, 0, 0);
}

class SunFixture : public KernelTest {
  protected:
    // The kernel on the recording layer (or OpenGL), a texture table, the current buffers, the
    // classes (which load their textures now) and the tree.
    void StartWorld(bool gl, int width = 1024, int height = 768) {
        if (gl) {
            StartGl();
        } else {
            StartRecording();
        }
        CreateOffscreen(width, height);
        ASSERT_EQ(I3dTexTableAlloc(32), 0);
        CreateCurrentPair();
        RegisterSunTestClasses();
        root = Make("EntNull", nullptr, "Root");
        viewports = Make("EntNull", root, "Viewport");
        world = Make("EntNull", root, "World");
        veryLast = Make("EntNull", root, "VeryLast");
        Log().Clear();
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        Ent3dForgetTerrain();
        KernelTest::TearDown();
    }
    // A started sun under World at that azimuth and elevation.
    Sun* MakeSun(float azimuth, float elevation) {
        auto* sun = Make<Sun>("Sun", world, "Sun");
        sun->azimuth = azimuth;
        sun->elevation = elevation;
        sun->Start();
        sun->VarsChanged();
        return sun;
    }
    // The kernel's camera at eye looking at `at`, as a viewport sets it.
    static void LookFrom(VECTOR3 eye, VECTOR3 at, float fov = 1.0f) {
        const VECTOR3 up = {0.0f, 1.0f, 0.0f};
        Mat4 view, proj;
        Mat4LookAt(&view, &eye, &at, &up);
        I3dSetView(&view);
        I3dSetEyePos(&eye);
        I3dSetProj(Mat4Perspective(&proj, fov, I3dGetInvAspect(), 0.1f, 2000.0f));
    }

    // A terrain named "Terrain" under World: 64 x 64 cells of 4 units (0..256 on x and z), flat
    // at 0, with a hill 200 high over x and z 96..160 when asked for.
    Terrain2* MakeTerrain(bool hill) {
        I3dImage* img = ImgAlloc(65, 65, IMG_L8);
        for (int r = 0; r < 65; ++r)
            for (int x = 0; x < 65; ++x)
                img->pixels[size_t(r) * img->pitch + size_t(x)] =
                    hill && x >= 24 && x <= 40 && r >= 24 && r <= 40 ? 50 : 0;
        EXPECT_EQ(ImgSaveTga(img, (scratch / "Hill elevation.tga").c_str(), nullptr), 0);
        ImgFree(img);
        const std::string ini = scratch / "Terrain.ini";
        WriteTextFile(ini, "[Terrain]\nmapName=" + (scratch / "Hill") +
                               "\ntileWidth=64\ntileHeight=64\nscale=4.0\n");
        auto* t = Make<Terrain2>("Terrain2", world, "Terrain");
        int flag = -1;
        EXPECT_EQ(t->LoadVars(ini.c_str(), &flag), 1);
        IniClose();
        t->Start();
        EXPECT_NE(t->terrain, nullptr);
        return t;
    }

    ProgramFolderScope programFolder;
    TempDir scratch;
    ENTBASE *root = nullptr, *viewports = nullptr, *world = nullptr, *veryLast = nullptr;
};
