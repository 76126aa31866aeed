// Character-model tests: a render kernel (recording or llvmpipe) with a texture table, the
// generated character set, scratch folders for test characters, and the models and characters a
// test makes, freed at its end before the model library's caches are emptied.
#pragma once

#include "gi/Render/CharModelInst.h"
#include "gi/giModelDefManager.h"
#include "gi/giSkinnedMesh.h"
#include "tests/gi/CharTestModels.h"
#include "tests/gi/SkinTestSupport.h"

#include <string>
#include <vector>

const std::string kCharData = FAIRLARK_BUILD_DATA_DIR;

// Frees what a test made, characters first, then the models, then the library's caches.
class CharKeeper {
  public:
    ~CharKeeper() { Free(); }
    void Free() {
        for (CharModelInst* i : insts)
            delete i;
        insts.clear();
        for (CharModel* m : models)
            SharedObjRelease(m);
        models.clear();
        giModelDefManager::Get()->Clear();
    }
    CharModel* Model() {
        models.push_back(new CharModel());
        return models.back();
    }
    // A model of the generated descriptor ("AdultMale" ...), loaded.
    CharModel* Loaded(const char* kind) {
        CharModel* m = Model();
        const std::string desc = kCharData + "Characters\\" + kind + ".xml";
        EXPECT_TRUE(CharModelLoad(m, desc.c_str(), kCharData.c_str())) << kind;
        return m;
    }
    CharModelInst* Inst(CharModel* model) {
        insts.push_back(CharModelCreateInstance(model));
        return insts.back();
    }
    // A test character in `dir`: "Characters/<name>.gmf" of parts with those vertex counts
    // and "Characters/<name>.xml" naming it alone; the descriptor's path.
    static std::string FanCharacter(const TempDir& dir, const std::string& name,
                                    const std::vector<int>& counts,
                                    const std::string& map = "Test.tga") {
        EXPECT_TRUE(WriteFanModel(dir.Path(), "Characters/" + name + ".gmf", counts, map));
        const std::string desc = dir / ("Characters/" + name + ".xml");
        WriteTextFile(desc, "<Model>Characters\\" + name + ".gmf</Model>");
        return desc;
    }

    std::vector<CharModel*> models;
    std::vector<CharModelInst*> insts;
};
