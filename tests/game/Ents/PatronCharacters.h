// Patron tests with characters: a render kernel (recording or llvmpipe) with room for the
// skins, started before the patron world registers its classes, so that the class loads its
// characters; what the world made goes before the kernel stops, then the model library's caches.
#pragma once

#include "game/Ents/RubeCharacters.h"
#include "gi/Render/CharModelInst.h"
#include "gi/giAnimLayer.h"
#include "gi/giAnimation.h"
#include "gi/giModelDefManager.h"
#include "gi/giSkinnedMesh.h"
#include "tests/game/Ents/PatronWorld.h"

#include <memory>
#include <string>

// Enough texture slots for the characters' maps, their 54 skins and the icons.
constexpr int kPatronTextureSlots = 128;

// The clips of group 0 playing at a weight above 0, separated by spaces.
inline std::string PlayingClips(const CharModelInst* character) {
    std::string names;
    const giAnimGroup* group =
        character && character->mesh ? character->mesh->FindGroup(0) : nullptr;
    if (!group) return names;
    for (const auto& layer : group->layers)
        if (layer && layer->anim && layer->fadeFinal > 0.0f)
            names += (names.empty() ? "" : " ") + layer->anim->Name();
    return names;
}

// The clip a patron's state calls for; the walk may be a run on the way to an attraction.
inline bool ClipFitsState(const Rube1* p, const std::string& playing) {
    const bool child = p->kind >= 2;
    const std::string walk = child ? "ChildWalk" : "AdultWalk";
    const std::string run = child ? "ChildRun" : "AdultRun";
    const std::string idle = child ? "ChildIdle1" : "AdultIdle1";
    switch (p->state) {
        case RUBE_WALK_TO: return playing == walk || playing == run;
        case RUBE_WANDER: return playing == walk;
        case RUBE_LEAVE: return playing == walk || (p->done && playing == idle);
        case RUBE_THINK:
        case RUBE_CHOOSE: return playing == idle;
        default: return !playing.empty();
    }
}

// Frees the patron world before the kernel, then empties the model library's caches.
inline void FreePatronWorld(std::unique_ptr<PatronWorld>& world) {
    world.reset();
    giModelDefManager::Get()->Clear();
}
