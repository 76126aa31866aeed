// Extended-model tests: a render kernel (recording or llvmpipe) from the kernel tests, a scratch
// folder for tool-made models and their ".ini" files, and the models a test loads, released at
// its end.
#pragma once

#include "I3d/Math/Mat4Math.h"
#include "engine/Paths.h"
#include "gi/Render/Mdl3Ex.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/ModelFiles.h"

#include <string>
#include <vector>

// A post with a textured, emissive material (its Emit map beside it), a lamp head, a plain red
// material and two attach nodes, the second one unit along x.
inline const char* const kLightPost = R"(
model LightPost
texture Post checker 16 200 200 200 120 120 120
texture PostEmit solid 8 255 255 0
material Metal map Post
material Red diffuse 1 0 0 1 ambient 1 0 0 1
node Root
node Post parent Root box 0.5 4 0.5 material Metal
node Head parent Root translate 0 2.5 0 box 1 1 1 material Red
node Attach00 parent Root
node Attach01 parent Root translate 1 0 0
)";

class Mdl3ExTest : public KernelTest {
  protected:
    void TearDown() override {
        for (Mdl3ExModel* m : m_models) // one reference per load
            if (m) SharedObjRelease(m);
        m_models.clear();
        KernelTest::TearDown();
    }
    // The scene's model and textures, with `ini` beside it when given; the model's path.
    std::string Scene(const std::string& description, const std::string& ini = "") {
        const std::string path = WriteScene(m_files, description);
        if (!ini.empty()) WriteTextFile(PathWithExt(path, "ini"), ini);
        return path;
    }
    // Loads and keeps the model for release at the end.
    Mdl3ExModel* Load(const std::string& path) {
        Mdl3ExModel* m = Mdl3ExLoad(path.c_str());
        if (m) m_models.push_back(m);
        return m;
    }
    // Releases a model loaded through Load before the test ends.
    int Release(Mdl3ExModel* m) {
        for (Mdl3ExModel*& kept : m_models) {
            if (kept == m) {
                kept = nullptr;
                break;
            }
        }
        return SharedObjRelease(m);
    }

    TempDir m_files;
    std::vector<Mdl3ExModel*> m_models;
};
