// The terrain tests' fixture: a fresh registry of the world classes under a "Root", the run log
// in a scratch folder, height maps written with the engine's own TGA writer, and terrains loaded
// from an entity section as the entity loader loads them.
#pragma once

#include "I3d/Image.h"
#include "engine/IniFile.h"
#include "engine/Random.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/Physics.h"
#include "world/Terrain2.h"
#include "world/TerrainObj.h"

#include <functional>
#include <string>

class TerrainFixture : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        RegisterWorldTestClasses();
        CrtSrand(38);
        root = Make("EntNull", nullptr, "Root");
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        IniClose();
        EXPECT_EQ(PhysWorldGet(), nullptr) << "a terrain kept the physics world after it went";
        KernelTest::TearDown();
    }

    // dir/"<stem> elevation.tga": a w x h image of `format` whose pixel (x, r), r counted from
    // the picture's top, has every byte = grey(x, r). The stem's path.
    std::string WriteMap(const std::string& stem, int w, int h,
                         const std::function<int(int, int)>& grey, int format = IMG_L8) {
        I3dImage* img = ImgAlloc(w, h, format);
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x)
                for (int b = 0; b < img->bytesPerPixel; ++b)
                    img->pixels[size_t(r) * img->pitch + size_t(x) * img->bytesPerPixel + b] =
                        uint8_t(grey(x, r));
        EXPECT_EQ(ImgSaveTga(img, (dir / (stem + " elevation.tga")).c_str(), nullptr), 0);
        ImgFree(img);
        return dir / stem;
    }

    // A terrain named "Terrain" under root, loaded from a section "[Terrain]" holding `keys`
    // (lines "key=value"), then started.
    Terrain2* Load(const std::string& keys, const char* name = "Terrain") {
        const std::string ini = dir / "World.ini";
        WriteTextFile(ini, std::string("[") + name + "]\n" + keys);
        auto* t = Make<Terrain2>("Terrain2", root, name);
        int flag = -1;
        EXPECT_EQ(t->LoadVars(ini.c_str(), &flag), 1);
        IniClose();
        t->Start();
        return t;
    }

    static float HeightAt(Terrain2* t, float x, float z) {
        VECTOR3 p = {x, 123.0f, z};
        float h = -1.0f;
        EXPECT_EQ(t->GetHeight(&p, &h), 0);
        return h;
    }

    // How many times `line` stands in the run log.
    int LogCount(const std::string& line) const {
        const std::string all = LogText();
        int n = 0;
        for (size_t at = all.find(line); at != std::string::npos; at = all.find(line, at + 1))
            ++n;
        return n;
    }

    TempDir dir;
    ENTBASE* root = nullptr;
};
