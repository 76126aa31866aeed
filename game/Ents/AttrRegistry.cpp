// The searched attractions in tree order, rebuilt after a change (see AttrRegistry.h).
#include "game/Ents/AttrRegistry.h"

#include "engine/EntTree.h"
#include "game/Ents/AttrBase.h"

namespace {
bool s_stale = true;
ENTBASE* s_root = nullptr; // compared only: the tree the list was taken from
int s_count = 0;
AttrBase* s_list[ATTR_SEARCH_MAX];
} // namespace

int AttrRegistryWalk(ENTBASE* from, AttrBase** out) {
    ENTBASE* root = from ? EntGetRoot(from) : nullptr;
    if (!root || !out) return 0;
    ENTBASE* found[ATTR_SEARCH_MAX];
    const int n = EntFindAllOfType(root, "AttrBase", found, ATTR_SEARCH_MAX);
    for (int i = 0; i < n; ++i)
        out[i] = static_cast<AttrBase*>(found[i]);
    return n;
}

int AttrRegistryList(ENTBASE* from, AttrBase** out) {
    ENTBASE* root = from ? EntGetRoot(from) : nullptr;
    if (!root || !out) return 0;
    if (s_stale || root != s_root) {
        s_count = AttrRegistryWalk(root, s_list);
        s_root = root;
        s_stale = false;
    }
    for (int i = 0; i < s_count; ++i)
        out[i] = s_list[i];
    return s_count;
}

void AttrRegistryStale() {
    s_stale = true;
}
