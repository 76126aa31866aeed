// Walks over the entity tree and lookups in it. Each walk visits an entity, then its children
// through the first-child / next chain, reading the next sibling before visiting a child; marked
// nodes are skipped with their subtrees, and the walk guard keeps every node it may still step
// to allocated until it returns.
#include "engine/EntBase.h"
#include "engine/EntDrawWalk.h"
#include "engine/EntTree.h"

#include <cstring>
#include <strings.h>

namespace {

bool Live(const EntNode* n) {
    return n && n->deleteCount == 0 && n->object;
}

// Calls visit(child) for each live child of n, the next sibling read first.
template <typename Visit>
void ForChildren(EntNode* n, Visit visit) {
    if (!Live(n)) return;
    for (EntNode *c = n->firstChild, *next = nullptr; c; c = next) {
        next = c->next;
        if (Live(c)) visit(c);
    }
}

// Asks for the node after next and for the bytes of the next entity its update reads (hints
// only: nothing is read through them).
void PrefetchAhead(const EntNode* next) {
    __builtin_prefetch(next->next);
    const char* object = reinterpret_cast<const char*>(next->object);
    if (!object) return;
    const uint32_t bytes = next->cls ? next->cls->updateBytes : 0;
    for (uint32_t at = 0; at == 0 || at < bytes; at += 64)
        __builtin_prefetch(object + at);
}

// The frame's update runs over every patron, each node and entity its own allocation: a
// crowd of thousands does not fit the cache, so what the next sibling's update reads is asked
// for while this one updates.
void Update(EntNode* n, float seconds) {
    if (n->object->Update(seconds) == 0 || !Live(n)) return;
    for (EntNode *c = n->firstChild, *next = nullptr; c; c = next) {
        next = c->next;
        if (next) PrefetchAhead(next);
        if (Live(c)) Update(c, seconds);
        // The next one's bytes came while this one updated: what they point at is asked for
        // now, while its update begins with its own fields.
        if (next && Live(next) && next->cls && next->cls->updateAhead)
            next->cls->updateAhead(next->object);
    }
}

void Start(EntNode* n) {
    n->object->Start();
    ForChildren(n, Start);
}

int s_drawWalk = ENT_WALK_NONE;
EntDrawVisitHook s_visitHook = nullptr;
void* s_visitContext = nullptr;

void Visited(EntNode* n, int walk) {
    if (s_visitHook) s_visitHook(n->object, walk, s_visitContext);
}

// The walk running while it lasts; the one it interrupted again after.
class DrawWalkScope {
  public:
    explicit DrawWalkScope(int walk) : m_outer(s_drawWalk) { s_drawWalk = walk; }
    ~DrawWalkScope() { s_drawWalk = m_outer; }
    DrawWalkScope(const DrawWalkScope&) = delete;
    DrawWalkScope& operator=(const DrawWalkScope&) = delete;

  private:
    int m_outer;
};

void DrawPre(EntNode* n) {
    Visited(n, ENT_WALK_DRAWPRE);
    if (n->object->DrawPre() != 0) ForChildren(n, DrawPre);
}

void Draw(EntNode* n) {
    Visited(n, ENT_WALK_DRAW);
    n->object->Draw();
    ForChildren(n, Draw);
}

void DrawPost(EntNode* n) {
    if (n->object->flags & ENT_FLAG_DRAWPOST) {
        Visited(n, ENT_WALK_DRAWPOST);
        n->object->DrawPost();
    }
    ForChildren(n, DrawPost);
}

// Whether a node below n (n itself left out when `below`) hears the kind.
bool SubtreeHears(const EntNode* n, uint8_t kind, bool below) {
    for (int k = 0; k < 8; ++k)
        if ((kind >> k & 1) && n->hearing[k] - (below ? (n->hears >> k & 1) : 0) > 0) return true;
    return false;
}

// Only subtrees where someone hears the kind, and only the handlers of those who hear it: an
// entity that does not hear it would have answered ENTBASE's 1 and changed nothing. A parent
// that hears it while none of its children's subtrees do (the generator over its patrons) is
// told without a look at each child.
void NotifyRemoved(EntNode* n, ENTBASE* gone, uint8_t kind) {
    if (!SubtreeHears(n, kind, false)) return;
    if ((n->hears & kind) && n->object->OnEntityRemoved(gone) == 0) return;
    if (!SubtreeHears(n, kind, true)) return;
    ForChildren(n, [&](EntNode* c) { NotifyRemoved(c, gone, kind); });
}

intptr_t SendMessage(EntNode* n, const SlEvent* event) {
    intptr_t answer = n->object->OnMessage(event);
    if (answer != ENT_RESULT_HANDLED) return answer;
    if (!Live(n)) return 1;
    for (EntNode *c = n->firstChild, *next = nullptr; c; c = next) {
        next = c->next;
        if (Live(c) && SendMessage(c, event) == 0) return 0;
    }
    return 1;
}

intptr_t SendGated(EntNode* n, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (n->deleteCount != 0) return 0;
    intptr_t answer = n->proc(n, message, a, b, c);
    if (answer != ENT_RESULT_HANDLED) return answer;
    if (n->deleteCount != 0) return 1;
    for (EntNode *ch = n->firstChild, *next = nullptr; ch; ch = next) {
        next = ch->next;
        if (ch->deleteCount == 0) SendGated(ch, message, a, b, c);
    }
    return 1;
}

// Pre-order search: the first live node for which match(entity) holds.
template <typename Match>
EntNode* Find(EntNode* n, Match match) {
    if (!Live(n)) return nullptr;
    if (match(n)) return n;
    for (EntNode* c = n->firstChild; c; c = c->next)
        if (EntNode* hit = Find(c, match)) return hit;
    return nullptr;
}

EntNode* NodeOf(ENTBASE* entity) {
    return entity && Live(entity->node) && entity->node->object == entity ? entity->node : nullptr;
}

} // namespace

// ---- walks ----

namespace {
// A walk from the entity's node, counted as running while it lasts.
template <typename Walk>
void WalkFrom(ENTBASE* entity, Walk walk) {
    EntWalkGuard guard;
    if (EntNode* n = NodeOf(entity)) walk(n);
}
} // namespace

void EntTreeUpdate(ENTBASE* entity, float seconds) {
    WalkFrom(entity, [&](EntNode* n) { Update(n, seconds); });
}
void EntTreeStart(ENTBASE* entity) {
    WalkFrom(entity, Start);
}
void EntTreeDrawPre(ENTBASE* entity) {
    DrawWalkScope scope(ENT_WALK_DRAWPRE);
    WalkFrom(entity, DrawPre);
}
void EntTreeDraw(ENTBASE* entity) {
    DrawWalkScope scope(ENT_WALK_DRAW);
    WalkFrom(entity, Draw);
}
void EntTreeDrawPost(ENTBASE* entity) {
    DrawWalkScope scope(ENT_WALK_DRAWPOST);
    WalkFrom(entity, DrawPost);
}

// The container's own first walk gates its children as EntTreeDrawPre would.
void EntTreeDrawEach(ENTBASE* container) {
    WalkFrom(container, [](EntNode* n) {
        {
            DrawWalkScope scope(ENT_WALK_DRAWPRE);
            Visited(n, ENT_WALK_DRAWPRE);
            if (n->object->DrawPre() == 0) return;
        }
        ForChildren(n, [](EntNode* c) {
            {
                DrawWalkScope scope(ENT_WALK_DRAWPRE);
                DrawPre(c);
            }
            // The first walk may have destroyed it.
            if (!Live(c)) return;
            DrawWalkScope scope(ENT_WALK_DRAW);
            Draw(c);
        });
    });
}

int EntTreeCurrentDrawWalk() {
    return s_drawWalk;
}

bool EntDebugDrawAllowed() {
    return s_drawWalk != ENT_WALK_DRAW;
}

void EntSetDrawVisitHook(EntDrawVisitHook hook, void* context) {
    s_visitHook = hook;
    s_visitContext = hook ? context : nullptr;
}
void EntTreeNotifyRemoved(ENTBASE* root, ENTBASE* gone) {
    const uint8_t kind = gone && gone->node && gone->node->cls ? gone->node->cls->removalKind
                                                               : ENT_REMOVAL_HEARS_ALL;
    WalkFrom(root, [&](EntNode* n) { NotifyRemoved(n, gone, kind); });
}

intptr_t EntTreeSendMessage(ENTBASE* entity, const SlEvent* event) {
    EntWalkGuard guard;
    EntNode* n = NodeOf(entity);
    return n ? SendMessage(n, event) : 0;
}

intptr_t EntTreeMessage(ENTBASE* entity, const SlEvent* event) {
    return EntTreeSendMessage(entity, event);
}

intptr_t EntTreeSendGated(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (!node) return 0;
    EntWalkGuard guard;
    return SendGated(node, message, a, b, c);
}

int EntStartCallback(ENTBASE* entity) {
    if (entity) entity->Start();
    return 0;
}

int EntVarsChangedCallback(ENTBASE* entity) {
    if (entity) entity->VarsChanged();
    return 0;
}

// ---- lookups ----

ENTBASE* EntTreeFindName(ENTBASE* entity, const char* name) {
    if (!name) return nullptr;
    EntNode* hit = Find(NodeOf(entity), [&](EntNode* n) {
        return std::strcmp(n->object->GetName() ? n->object->GetName() : "", name) == 0;
    });
    return hit ? hit->object : nullptr;
}

ENTBASE* EntTreeFindType(ENTBASE* entity, const char* type) {
    if (!type) return nullptr;
    EntNode* hit = Find(NodeOf(entity), [&](EntNode* n) {
        const char* t = n->object->GetTypeName();
        return t && std::strcmp(t, type) == 0;
    });
    return hit ? hit->object : nullptr;
}

bool EntIsType(ENTBASE* entity, const char* type) {
    if (!entity || !type) return false;
    const char* t = entity->GetTypeName();
    return t && strcasecmp(t, type) == 0;
}

int EntFindAllOfType(ENTBASE* entity, const char* type, ENTBASE** out, int max) {
    if (!type || !out || max <= 0) return 0;
    int count = 0;
    Find(NodeOf(entity), [&](EntNode* n) {
        const char* t = n->object->GetTypeName();
        if (t && std::strcmp(t, type) == 0) out[count++] = n->object;
        return count >= max; // a match ends the search once max are held
    });
    return count;
}

EntNode* EntTreeFindByClass(EntNode* root, const char* className) {
    EntClass* cls = EntClassFind(className);
    if (!cls || !root) return nullptr;
    return Find(root, [&](EntNode* n) { return n->cls == cls; });
}

int EntTreeCount(ENTBASE* entity) {
    int count = 0;
    Find(NodeOf(entity), [&](EntNode*) {
        ++count;
        return false;
    });
    return count;
}

ENTBASE* EntGetRoot(ENTBASE* entity) {
    if (!entity || !entity->node) return entity;
    EntNode* n = entity->node;
    while (n->parent)
        n = n->parent;
    return n->object;
}
