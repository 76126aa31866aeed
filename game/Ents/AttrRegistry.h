// The attractions the patrons and employees search: the first 100 entities of type "AttrBase" in
// the tree's pre-order, kept between changes instead of walking the whole tree for every choice.
// Attractions mark it stale when they are made, started or destroyed; it is rebuilt by the same
// walk on the next look-up, so it always answers in tree order.
#pragma once

class AttrBase;
class ENTBASE;

enum { ATTR_SEARCH_MAX = 100 };

// The first ATTR_SEARCH_MAX attractions of the tree `from` belongs to, in tree order, into
// out[ATTR_SEARCH_MAX]; their count.
int AttrRegistryList(ENTBASE* from, AttrBase** out);
// The same by a walk of the whole tree (what the registry stands in for).
int AttrRegistryWalk(ENTBASE* from, AttrBase** out);
// An attraction came, went or moved in the tree: the next look-up walks again.
void AttrRegistryStale();
