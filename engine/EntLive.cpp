// The set of live entities, so that kept pointers can be checked before they are used.
#include "engine/EntTree.h"

#include <unordered_set>

// Never freed: entities destroyed during static destruction still find it.
static std::unordered_set<const ENTBASE*>& LiveSet() {
    static auto* s_live = new std::unordered_set<const ENTBASE*>;
    return *s_live;
}

bool EntIsLive(const ENTBASE* entity) {
    return entity && LiveSet().count(entity) != 0;
}

void EntLiveAdd(const ENTBASE* entity) {
    if (entity) LiveSet().insert(entity);
}

void EntLiveRemove(const ENTBASE* entity) {
    LiveSet().erase(entity);
}
