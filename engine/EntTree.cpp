// Entity nodes: creation, linking, destruction and the sweep that frees marked nodes once no
// walk is running.
#include "engine/EntTree.h"

#include "engine/DebugLog.h"
#include "engine/EntBase.h"
#include "engine/Memory.h"

#include <cstring>
#include <vector>

int g_entPendingDeletes = 0;
uint64_t g_entTreeChanges = 0;

void EntNoteChange(EntNode* node) {
    if (!node) return;
    ++g_entTreeChanges;
    if (node->cls) ++node->cls->changes;
}

// ---- name change counts ----

namespace {
// Slot 0 counts the edits that may have renamed anything, slot 1 renames from or to no name;
// the other names share the remaining slots by hash. Every patron is named as it arrives, so a
// slot per hash keeps those renames off the counts of the few names that caches look for.
constexpr size_t kNameSlots = 4096;
uint64_t s_nameChanges[kNameSlots] = {};

size_t NameSlot(const char* name) {
    if (!name || !*name) return 1;
    uint32_t h = 2166136261u; // FNV-1a
    for (const char* c = name; *c; ++c)
        h = (h ^ (uint8_t)*c) * 16777619u;
    return 2 + h % (kNameSlots - 2);
}
} // namespace

uint64_t EntNameChanges(const char* name) {
    return s_nameChanges[0] + s_nameChanges[NameSlot(name)];
}

void EntNoteRename(const char* from, const char* to) {
    ++s_nameChanges[NameSlot(from)];
    ++s_nameChanges[NameSlot(to)];
}

void EntNoteNamesEdited() {
    ++s_nameChanges[0];
}

namespace {

int s_walkDepth = 0;
bool s_sweeping = false;
std::vector<EntNode*> s_marked; // marked nodes not yet swept, each once

// Adds (sign 1) or takes away (-1) n's hearing counts along the chain of its ancestors.
void CountHearingAbove(const EntNode* n, int sign) {
    for (EntNode* p = n->parent; p; p = p->parent)
        for (int k = 0; k < 8; ++k)
            p->hearing[k] += sign * n->hearing[k];
}

void Unlink(EntNode* n) {
    if (EntNode* p = n->parent) {
        EntNoteChange(n);
        CountHearingAbove(n, -1);
        if (p->firstChild == n) p->firstChild = n->next;
        if (p->lastChild == n) p->lastChild = n->prev;
    }
    if (n->prev) n->prev->next = n->next;
    if (n->next) n->next->prev = n->prev;
    n->prev = n->next = nullptr;
    n->parent = nullptr;
}

void LinkLast(EntNode* n, EntNode* parent) {
    n->parent = parent;
    n->next = nullptr;
    n->prev = parent->lastChild;
    if (parent->lastChild)
        parent->lastChild->next = n;
    else
        parent->firstChild = n;
    parent->lastChild = n;
    CountHearingAbove(n, 1);
    EntNoteChange(n);
}

bool IsBelow(const EntNode* n, const EntNode* ancestor) {
    for (; n; n = n->parent)
        if (n == ancestor) return true;
    return false;
}

// Destroys, children first, every entity still alive below n. Their Destroy calls only mark
// nodes (a sweep is running), so the links stay as they are while we walk them.
bool DestroyLiveBelow(EntNode* n) {
    bool any = false;
    for (EntNode *c = n->firstChild, *next = nullptr; c; c = next) {
        next = c->next;
        any = DestroyLiveBelow(c) || any;
        if (c->object) {
            c->object->Destroy();
            any = true;
        }
    }
    return any;
}

void CollectSubtree(EntNode* n, std::vector<EntNode*>& out) {
    n->swept = true;
    out.push_back(n);
    for (EntNode* c = n->firstChild; c; c = c->next)
        CollectSubtree(c, out);
}

// Frees every marked node with its subtree. Runs only when no walk is running; the Destroy
// calls it makes may mark more nodes, which join the same sweep.
void Sweep() {
    if (s_sweeping) return;
    s_sweeping = true;
    ++s_walkDepth;
    std::vector<EntNode*> freed;
    while (!s_marked.empty()) {
        EntNode* n = s_marked.back();
        s_marked.pop_back();
        if (n->swept) continue;
        // A Destroy may create children under a dying node; keep going until none lives, or a
        // live entity would be left in a freed subtree. Many passes mean a class that makes
        // something whenever it is destroyed: worth a line in the log.
        for (int pass = 1; DestroyLiveBelow(n); ++pass)
            if (pass == 100)
                DbgPrintf(DBG_ENTITY,
                          "EntTree: still destroying below %p after 100 passes: a Destroy keeps "
                          "making entities\n",
                          static_cast<void*>(n));
        Unlink(n);
        CollectSubtree(n, freed);
    }
    for (EntNode* n : freed)
        MemFree(n);
    g_entPendingDeletes = 0;
    --s_walkDepth;
    s_sweeping = false;
}

} // namespace

EntWalkGuard::EntWalkGuard() {
    ++s_walkDepth;
}

EntWalkGuard::~EntWalkGuard() {
    if (--s_walkDepth == 0 && !s_marked.empty()) Sweep();
}

int EntDeferDelete(EntNode* node) {
    if (!node) return -1;
    if (node->object) EntLiveRemove(node->object);
    EntNoteChange(node);
    if (node->deleteCount++ == 0) {
        s_marked.push_back(node);
        ++g_entPendingDeletes;
    }
    node->object = nullptr;
    return 0;
}

void EntNodeFree(EntNode* node) {
    if (!node) return;
    EntWalkGuard guard;
    if (node->object) {
        node->object->Destroy();
        return;
    }
    EntDeferDelete(node);
}

// ---- creation ----

EntNode* EntCreate(const char* className, EntNode* parent, intptr_t a, intptr_t b, intptr_t c) {
    EntClass* cls = EntClassFind(className);
    if (!cls) return nullptr;
    if (parent && parent->deleteCount != 0) return nullptr;
    EntWalkGuard guard;
    auto* node = static_cast<EntNode*>(MemAlloc(sizeof(EntNode)));
    if (!node) return nullptr;
    std::memset(node, 0, sizeof *node);
    node->cls = cls;
    node->proc = cls->proc;
    node->hears = cls->removalHears;
    for (int k = 0; k < 8; ++k)
        node->hearing[k] = (node->hears >> k) & 1;
    if (parent) LinkLast(node, parent);
    intptr_t answer = cls->proc(node, ENT_CLASS_MSG_CREATE, a, b, c);
    if (answer == ENT_RESULT_FAILED || !node->object) {
        // Nothing must stay behind a refused creation: a node without its entity would hide
        // from walks, and its later siblings with it.
        if (node->object) {
            node->object->Destroy();
        } else {
            EntDeferDelete(node);
        }
        return nullptr;
    }
    // A class that names its entities as it makes them.
    if (node->object->GetName()[0]) EntNoteRename(nullptr, node->object->GetName());
    return node;
}

ENTBASE* EntCreateByName(const char* className, EntNode* parent) {
    EntNode* node = EntCreate(className, parent, 0, 0, 0);
    return node ? node->object : nullptr;
}

ENTBASE* EntCreateChild(const char* className, ENTBASE* parent) {
    if (parent && !parent->node) return nullptr;
    return EntCreateByName(className, parent ? parent->node : nullptr);
}

int EntLinkUnder(ENTBASE* entity, ENTBASE* parent) {
    if (!entity || !entity->node) return -1;
    EntNode* n = entity->node;
    EntNode* p = parent ? parent->node : nullptr;
    if (parent && (!p || p->deleteCount != 0 || IsBelow(p, n))) return -1;
    // A whole named subtree may join or leave a tree.
    EntNoteNamesEdited();
    Unlink(n);
    if (p) LinkLast(n, p);
    return 0;
}

ENTBASE* EntGetParent(ENTBASE* entity) {
    if (!entity || !entity->node || !entity->node->parent) return nullptr;
    return entity->node->parent->object;
}

// ---- destruction ----

void EntDestroyTree(ENTBASE* entity) {
    if (!entity) return;
    EntWalkGuard guard;
    EntDestroyChildren(entity);
    entity->Destroy();
}

void EntDestroyChildren(ENTBASE* entity) {
    if (!entity || !entity->node) return;
    EntWalkGuard guard;
    EntNode* self = entity->node;
    for (EntNode *c = self->firstChild, *next = nullptr; c; c = next) {
        next = c->next;
        if (c->deleteCount == 0 && c->object) EntDestroyTree(c->object);
    }
}

// ---- class procedure helpers ----

intptr_t EntProcCreate(EntNode* node, ENTBASE* object, PropDb* classDb) {
    if (!node || !object) return ENT_RESULT_FAILED;
    object->node = node;
    node->object = object;
    object->classDb = classDb;
    object->Create(node);
    return 0;
}

intptr_t EntProcForward(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    if (!node || !node->object || node->deleteCount != 0) return 0;
    return node->object->Dispatch(message, a, b, c);
}
