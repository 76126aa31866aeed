// The GMF records of the generated characters: the models (a scene, a material list and one box
// per bone), the skeletons and the animation clips, each kept in memory as the top-level records
// of one file.
#pragma once

#include "datagen/Characters/CharClips.h"
#include "datagen/Characters/CharRig.h"

#include "gi/GM_List.h"
#include "gi/GM_Scene.h"

#include <memory>
#include <string>

struct CharGmf {
    std::string path; // under the data folder, "/" between folders
    std::unique_ptr<GM_Scene> scene;
    std::unique_ptr<GM_MaterialList> materials;
    std::unique_ptr<GM_ObjectList> objects;
};

// "Characters/<name>.gmf": a box per bone, each a geometry object of material 0 whose diffuse
// map is "<name>.tga".
CharGmf CharBuildModel(const CharRig& rig, const std::string& name);
// "Characters/<name>.gmf" with one skeleton record: bind matrices bone -> model, rigid weights
// of 1.0 on each bone's box.
CharGmf CharBuildSkeleton(const CharRig& rig, const std::string& name);
// "Characters/Anims/<clip>.gmf" with one animation record.
CharGmf CharBuildAnimation(const CharRig& rig, const CharClipDef& clip);

// Writes the header and the records; true on success.
bool CharWriteGmf(const CharGmf& gmf, const std::string& dataDir);

// Corner c (0..7) of a box: bit 0 max x, bit 1 max y, bit 2 max z.
giVec3 CharBoxCorner(const giVec3& min, const giVec3& max, int c);
