// The set of live entities with their serial numbers, so that kept links can be checked before
// they are used.
#include "engine/EntTree.h"

#include <unordered_map>

namespace {
// Never freed: entities destroyed during static destruction still find it.
std::unordered_map<const ENTBASE*, uint64_t>& LiveSet() {
    static auto* s_live = new std::unordered_map<const ENTBASE*, uint64_t>;
    return *s_live;
}
// Never reset, not even by EntSystemInit: a link kept from before a reset must not match.
uint64_t s_lastSerial = 0;
} // namespace

bool EntIsLive(const ENTBASE* entity) {
    return entity && LiveSet().count(entity) != 0;
}

bool EntIsLiveSerial(const ENTBASE* entity, uint64_t serial) {
    if (!entity) return false;
    auto it = LiveSet().find(entity);
    return it != LiveSet().end() && it->second == serial;
}

uint64_t EntSerialOf(const ENTBASE* entity) {
    if (!entity) return 0;
    auto it = LiveSet().find(entity);
    return it == LiveSet().end() ? 0 : it->second;
}

uint64_t EntLiveAdd(const ENTBASE* entity) {
    if (!entity) return 0;
    uint64_t serial = ++s_lastSerial;
    LiveSet()[entity] = serial;
    return serial;
}

static EntRemovalHook s_removalHook = nullptr;
static void* s_removalContext = nullptr;

void EntSetRemovalHook(EntRemovalHook hook, void* context) {
    s_removalHook = hook;
    s_removalContext = hook ? context : nullptr;
}

void EntLiveRemove(const ENTBASE* entity) {
    if (LiveSet().erase(entity) != 0 && s_removalHook) s_removalHook(entity, s_removalContext);
}
