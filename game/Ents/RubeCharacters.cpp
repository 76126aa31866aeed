// The patrons' characters: the class-wide models and skins, and each patron's character.
#include "game/Ents/RubeCharacters.h"

#include "I3d/Device.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "game/Ents/GameEntQuadBatch.h"
#include "game/Ents/Rube1.h"
#include "gi/Render/CharModelInst.h"

#include <cstdio>

namespace {
struct KindFiles {
    const char* descriptor;
    const char* skin; // the skins' common name, numbered from 1
    int skins;
};

// In kind order: adult male, adult female, child male, child female.
constexpr KindFiles kKinds[RUBE_KINDS] = {
    {"Characters\\AdultMale.xml", "AdultMale", 15},
    {"Characters\\AdultFemale.xml", "AdultFemale", 15},
    {"Characters\\ChildMale.xml", "ChildMale", 12},
    {"Characters\\ChildFemale.xml", "ChildFemale", 12},
};
// Loaded in the order the class has always made them.
constexpr int kLoadOrder[RUBE_KINDS] = {0, 2, 1, 3};
constexpr int kMaxSkins = 15;
constexpr float kAttachOffset[3] = {0.0f, -0.43f, 0.4f};

const char* const kAdultClips[] = {"AdultIdle1", "AdultWalk", "AdultRun", "AdultPayMoney",
                                   "AdultSitting1"};
const char* const kChildClips[] = {"ChildIdle1", "ChildWalk", "ChildRun", "ChildPayMoney",
                                   "ChildSitting1"};

CharModel* s_models[RUBE_KINDS] = {};
int32_t s_skins[RUBE_KINDS][kMaxSkins];
bool s_skinsSet = false;
GameEntQuadBatch* s_batch = nullptr;
// A needs display is 9 quads, a path at most 129: room for one patron of each at a time.
constexpr int kBatchQuads = 160;

void ClearSkins() {
    for (auto& kind : s_skins)
        for (int32_t& slot : kind)
            slot = -1;
    s_skinsSet = true;
}
} // namespace

void RubeCharactersLoad(const std::string& dataFolder) {
    RubeCharactersRelease();
    // Without a device the parts cannot be made; the headless simulation runs without them.
    if (!D3dDevice()) return;
    for (int kind : kLoadOrder) {
        const KindFiles& files = kKinds[kind];
        auto* model = new CharModel();
        const std::string descriptor = dataFolder + files.descriptor;
        if (!CharModelLoad(model, descriptor.c_str(), dataFolder.c_str())) {
            DbgPrintf(DBG_GENERAL, "Rube1: no patrons of %s will be drawn\n", files.descriptor);
            SharedObjRelease(model);
            continue;
        }
        for (int i = 0; i < 3; ++i)
            model->attachOffset[i] = kAttachOffset[i];
        s_models[kind] = model;
        // The skins sit beside the characters' own maps.
        for (int skin = 1; skin <= files.skins; ++skin) {
            char path[64];
            std::snprintf(path, sizeof path, "Characters\\Maps\\%s%i", files.skin, skin);
            s_skins[kind][skin - 1] = I3dTexLoad((dataFolder + path).c_str(), nullptr, 1);
        }
    }
}

void RubeCharactersRelease() {
    if (!s_skinsSet) ClearSkins();
    for (int kind = 0; kind < RUBE_KINDS; ++kind) {
        for (int32_t& slot : s_skins[kind]) {
            if (slot >= 0) I3dTexRelease(slot);
            slot = -1;
        }
        if (s_models[kind]) SharedObjRelease(s_models[kind]);
        s_models[kind] = nullptr;
    }
    delete s_batch;
    s_batch = nullptr;
}

GameEntQuadBatch* RubeDebugBatch() {
    if (!s_batch) s_batch = new GameEntQuadBatch(kBatchQuads);
    return s_batch;
}

CharModel* RubeCharacterModel(int kind) {
    return kind >= 0 && kind < RUBE_KINDS ? s_models[kind] : nullptr;
}

int32_t RubeSkinTexture(int kind, int skin) {
    if (!s_skinsSet || kind < 0 || kind >= RUBE_KINDS || skin < 1 || skin > kKinds[kind].skins)
        return -1;
    return s_skins[kind][skin - 1];
}

const char* RubeAnimName(int kind, int anim) {
    if (anim < RUBE_ANIM_IDLE || anim > RUBE_ANIM_SIT) return nullptr;
    return (kind >= 2 ? kChildClips : kAdultClips)[anim];
}

CharModelInst* RubeCharacterCreate(int kind, int skin) {
    CharModel* model = RubeCharacterModel(kind);
    if (!model) return nullptr;
    CharModelInst* character = CharModelCreateInstance(model);
    if (!character) return nullptr;
    // The character holds its model: a patron that outlives the class's hold still draws.
    ++model->refCount;
    const int32_t slot = RubeSkinTexture(kind, skin);
    if (slot >= 0) CharModelInstSetSkin(character, slot);
    return character;
}

void RubeCharacterFree(CharModelInst* character) {
    if (!character) return;
    CharModel* model = character->model;
    delete character;
    if (model) SharedObjRelease(model);
}
