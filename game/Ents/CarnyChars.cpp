// The carnies' shared characters: see CarnyChars.h.
#include "game/Ents/CarnyChars.h"

#include "I3d/CharModel.h"
#include "I3d/Device.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/SharedObj.h"
#include "game/Ents/GameEntPaths.h"
#include "gi/Render/CharModelInst.h"

#include <cstdio>
#include <new>
#include <string>

namespace {
constexpr int kKinds = 2;
constexpr int kSkins = 3;
const char* const kModels[kKinds] = {"Characters\\CarnyMale.xml", "Characters\\CarnyFemale.xml"};
// The skins sit with the characters' other textures, in their "Maps" folder.
const char* const kSkinNames[kKinds] = {"Characters\\Maps\\Carny%d.dds",
                                        "Characters\\Maps\\FemaleCarny%d.dds"};

// A carny's character is set up as a patron's, attachment offset included, though no carny
// ever takes a seat.
constexpr float kAttachOffset[3] = {0.0f, -0.43f, 0.4f};

int s_holders = 0;
CharModel* s_models[kKinds] = {};
int32_t s_skins[kKinds][kSkins] = {{-1, -1, -1}, {-1, -1, -1}};

void Load() {
    const std::string assets = GameEntDataFolder();
    for (int k = 0; k < kKinds; ++k) {
        s_models[k] = new (std::nothrow) CharModel();
        if (s_models[k] &&
            CharModelLoad(s_models[k], GameEntDataPath(kModels[k]).c_str(), assets.c_str()))
            for (int i = 0; i < 3; ++i)
                s_models[k]->attachOffset[i] = kAttachOffset[i];
        else
            // Once for the kind, not once a carny or a frame: its carnies are simply not drawn.
            DbgPrintf(DBG_GENERAL, "Carny: no carnies of %s will be drawn\n", kModels[k]);
        for (int s = 0; s < kSkins; ++s) {
            char key[64];
            std::snprintf(key, sizeof key, kSkinNames[k], s + 1);
            s_skins[k][s] = I3dTexLoad(GameEntDataPath(key).c_str(), key, 1);
        }
    }
}

void Free() {
    for (int k = 0; k < kKinds; ++k) {
        if (s_models[k]) SharedObjRelease(s_models[k]);
        s_models[k] = nullptr;
        for (int s = 0; s < kSkins; ++s) {
            if (s_skins[k][s] >= 0) I3dTexRelease(s_skins[k][s]);
            s_skins[k][s] = -1;
        }
    }
}
} // namespace

bool CarnyCharsAcquire() {
    if (!D3dDevice()) return false;
    if (s_holders++ == 0) Load();
    return true;
}

void CarnyCharsRelease() {
    if (s_holders <= 0) return;
    if (--s_holders == 0) Free();
}

int CarnyCharsHolders() {
    return s_holders;
}

CharModel* CarnyCharModel(int kind) {
    return kind >= 0 && kind < kKinds && s_models[kind] && s_models[kind]->templateMesh
               ? s_models[kind]
               : nullptr;
}

int32_t CarnyCharSkin(int kind, int skin) {
    return kind >= 0 && kind < kKinds && skin >= 0 && skin < kSkins ? s_skins[kind][skin] : -1;
}
