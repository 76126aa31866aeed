// The entity tree and the class registry: classes registered by name with their class
// procedure, entities created under parents, walked every frame, found by name or type, and
// destroyed subtree by subtree.
//
// Deletion rule. An entity's Destroy frees the object, clears its node's object pointer and
// marks the node (EntDeferDelete). Every walk and search skips marked nodes together with their
// subtrees, so no walk ever reaches a freed object. Nodes themselves are unlinked and freed only
// while no walk runs: every walk, EntCreate, EntDestroyTree and Destroy count themselves in a
// walk depth, and when the outermost of them returns, a sweep frees the marked nodes. Before
// freeing a node the sweep destroys, children first, whatever still lives below it, so nothing
// is orphaned. A walk may therefore destroy anything (itself, its next sibling, its parent)
// and carry on safely: the nodes it holds stay allocated until it returns.
#pragma once

#include "engine/EntCodes.h"

#include <cstdint>

class ENTBASE;
class PropDb;
struct EntNode;
struct EntClass;

// A class procedure: (node, message, a, b, c) -> result, every word pointer-sized. The class
// messages (ENT_CLASS_MSG_, EntCodes.h) are the class's own; every other message goes to the
// instance's Dispatch (EntProcForward).
using EntClassProc = intptr_t (*)(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

struct EntNode {
    EntClass* cls;
    int32_t deleteCount; // 0 while alive; nonzero once marked for deletion
    EntClassProc proc;
    EntNode* parent;
    EntNode* prev;
    EntNode* next;
    EntNode* firstChild;
    ENTBASE* object; // null once the entity is destroyed
    bool swept;      // unlinked by the sweep, about to be freed
    // The kinds of removal this node's class hears (its class's at creation), and for each kind
    // bit how many nodes of the subtree, this one included, hear it: the removal notice walk
    // leaves out a subtree where nobody hears the kind going away.
    uint8_t hears;
    int32_t hearing[8];
    EntNode* lastChild; // linking last takes one step, not a walk over the siblings
};

// Removal kinds, one bit each: a class is of one kind as an entity going away and hears the
// removal of a set of kinds. The game gives the other bits their meaning.
inline constexpr uint8_t ENT_REMOVAL_KIND_DEFAULT = 0x1; // every class's, unless it says otherwise
inline constexpr uint8_t ENT_REMOVAL_HEARS_ALL = 0xFF;   // what every class hears, likewise

struct EntClass {
    char name[64]; // at most 63 characters
    EntClassProc proc;
    EntClass* next;
    uint8_t removalKind;  // ENT_REMOVAL_KIND_DEFAULT unless set
    uint8_t removalHears; // ENT_REMOVAL_HEARS_ALL unless set
    // Counts every link, unlink, mark and rename of one of its entities, so that a cache of
    // what the tree holds can tell whether this class could have changed it.
    uint64_t changes;
    // How many bytes from its start an entity's update reads (0: its first line only): the
    // frame's walk asks for them ahead, one sibling early.
    uint32_t updateBytes;
    // Null, or asks for memory the entity's update reaches through its pointers: the frame's
    // walk calls it on the next sibling once this one has updated, when the next one's own
    // bytes have come. Hints only: it must change nothing.
    void (*updateAhead)(const ENTBASE* entity);
};

// Marked nodes not yet freed; the sweep sets it back to 0.
extern int g_entPendingDeletes;
// Counts every link, unlink, mark and rename in any tree (the sum of the classes' changes).
extern uint64_t g_entTreeChanges;
// One more change of the node (its class's count and the total); nothing for null.
void EntNoteChange(EntNode* node);

// For caches of a search by name (EntTreeFindName): a count that moves whenever a search for
// `name` could find an entity it did not find before. It moves on a rename to or from a name
// that shares the name's slot, on an entity made with a name already set, on any move by
// EntLinkUnder, and on any edit that may have renamed an entity without saying how (property
// edits, undo, variables loaded from a file). An entity made by EntCreate is linked before it
// has a name, and marking or sweeping only takes entities out of the searches, so those leave
// it alone: the patrons that come and go by the thousand do not move it. A cache that kept what
// it found must still check that the entity lives and has the name.
uint64_t EntNameChanges(const char* name);
// A rename from `from` to `to` (null or empty for no name).
void EntNoteRename(const char* from, const char* to);
// An edit that may have renamed an entity to anything.
void EntNoteNamesEdited();

// ---- registry ----

// Resets the class list; 0.
int EntSystemInit();
// Registers a class: asks the procedure for its class string (ENT_CLASS_MSG_CLASS_NAME), refuses
// (-1) an empty string, one longer than 63 characters, or a name registered already (ignoring
// case); then puts the class first in the list, sends it ENT_CLASS_MSG_BUILD_DB with b and c, and
// logs at level 4. 0 on success.
int EntCreateClass(EntClassProc proc, intptr_t b, intptr_t c);
// The first class in list order (the last registered first) whose name equals name, ignoring
// case; null when none.
EntClass* EntClassFind(const char* name);
// Sets the kind of the class's entities as removed entities and the kinds whose removal its
// OnEntityRemoved acts on. A class that hears a kind only through ENTBASE's default answer may
// leave it out; its entities made from then on skip those notices (their children still hear
// them). -1 for a class not registered, else 0.
int EntClassSetRemoval(const char* className, uint8_t kind, uint8_t hears);
// Sets the class's updateBytes (clamped to 0..4096); -1 for a class not registered, else 0.
int EntClassSetUpdateBytes(const char* className, int bytes);
// Sets the class's updateAhead (null for none); -1 for a class not registered, else 0.
int EntClassSetUpdateAhead(const char* className, void (*ahead)(const ENTBASE* entity));
// ENT_CLASS_MSG_RESET to every class, in list order.
void EntResetClasses();
// ENT_CLASS_MSG_UNREGISTER to every class, then the records are freed.
void EntSystemShutdown();

// ---- creation and linking ----

// Creates an entity of the named class as the last child of parent (or with no parent): the
// class procedure gets ENT_CLASS_MSG_CREATE with a, b, c. A class that refuses (-1) or makes no
// object leaves nothing behind: the result is null. Null also for an unknown class or a marked
// parent.
EntNode* EntCreate(const char* className, EntNode* parent, intptr_t a, intptr_t b, intptr_t c);
ENTBASE* EntCreateByName(const char* className, EntNode* parent);
ENTBASE* EntCreateChild(const char* className, ENTBASE* parent);
// Makes the entity the parent's last child, unlinking it first from where it was; a null parent
// leaves it without one. Refused (-1) when it would put an entity below itself.
int EntLinkUnder(ENTBASE* entity, ENTBASE* parent);
ENTBASE* EntGetParent(ENTBASE* entity);
// Marks the node for deletion and clears its object pointer (the caller frees the object);
// -1 for null, else 0.
int EntDeferDelete(EntNode* node);
// Marks the node and frees it with the rule above (at once when no walk runs).
void EntNodeFree(EntNode* node);
// Destroys the entity and all its descendants, children before parents, siblings in order.
void EntDestroyTree(ENTBASE* entity);
// The same for every descendant; the entity stays.
void EntDestroyChildren(ENTBASE* entity);

// The set of entities that exist: an entity joins it when constructed and leaves it when its
// node is marked for deletion or the object is deleted. A null entity is not live.
//
// An address alone does not name an entity: the allocator hands a destroyed entity's address to
// the next one made. So every entity also gets a serial number when it joins, from a 64-bit
// counter that never repeats, and links kept across calls (EntRef, script handles) hold both
// and are live only while both match.
bool EntIsLive(const ENTBASE* entity);
// Live and still the entity that had this serial number.
bool EntIsLiveSerial(const ENTBASE* entity, uint64_t serial);
// The serial number of a live entity; 0 (never a serial) for anything else.
uint64_t EntSerialOf(const ENTBASE* entity);
// Joins the set with a new serial number, which it returns.
uint64_t EntLiveAdd(const ENTBASE* entity);
void EntLiveRemove(const ENTBASE* entity);
// One function told of every entity that leaves the live set (the editor drops its pointers
// there); null removes it. It must not create or destroy entities.
using EntRemovalHook = void (*)(const ENTBASE* gone, void* context);
void EntSetRemovalHook(EntRemovalHook hook, void* context);

// Holding one counts as a running walk: nodes destroyed meanwhile stay allocated (marked) until
// the outermost holder lets go. Code that keeps node or entity pointers across calls that may
// destroy entities holds one.
class EntWalkGuard {
  public:
    EntWalkGuard();
    ~EntWalkGuard();
    EntWalkGuard(const EntWalkGuard&) = delete;
    EntWalkGuard& operator=(const EntWalkGuard&) = delete;
};

// ---- walks ----

void EntTreeUpdate(ENTBASE* entity, float seconds); // children only when Update answers nonzero
void EntTreeStart(ENTBASE* entity);                 // Start everywhere, pre-order
void EntTreeDrawPre(ENTBASE* entity);               // children only when DrawPre answers nonzero
void EntTreeDraw(ENTBASE* entity);                  // Draw everywhere
void EntTreeDrawPost(ENTBASE* entity);              // DrawPost on ENT_FLAG_DRAWPOST ones only
// OnEntityRemoved (gone) everywhere its answer is nonzero above, in pre-order; an entity whose
// class does not hear gone's kind is passed over, and so is a subtree where nobody hears it.
void EntTreeNotifyRemoved(ENTBASE* root, ENTBASE* gone);

// The input walk: OnMessage; an answer other than 1 is returned without visiting the children;
// a child walk answering 0 ends the whole walk with 0; else 1.
struct SlEvent;
intptr_t EntTreeSendMessage(ENTBASE* entity, const SlEvent* event);
intptr_t EntTreeMessage(ENTBASE* entity, const SlEvent* event); // the same walk

// The class procedure of every node below (and of) node: an answer other than 1 is returned
// without descending; children's answers are ignored; 1. Marked nodes are skipped (0).
intptr_t EntTreeSendGated(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// Callbacks for code that takes one function per entity: Start or VarsChanged; 0.
int EntStartCallback(ENTBASE* entity);
int EntVarsChangedCallback(ENTBASE* entity);

// ---- lookups (pre-order, the entity first; marked nodes and their subtrees are skipped) ----

ENTBASE* EntTreeFindName(ENTBASE* entity, const char* name); // exact name
ENTBASE* EntTreeFindType(ENTBASE* entity, const char* type); // GetTypeName, with case
bool EntIsType(ENTBASE* entity, const char* type);           // GetTypeName, without case
int EntFindAllOfType(ENTBASE* entity, const char* type, ENTBASE** out, int max);
EntNode* EntTreeFindByClass(EntNode* root, const char* className);
int EntTreeCount(ENTBASE* entity);
// The entity of the top node above the entity (the entity itself when it has no parent).
ENTBASE* EntGetRoot(ENTBASE* entity);

// ---- class procedure helpers ----

// ENT_CLASS_MSG_CREATE: links object and node, sets the class database, calls Create; 0, or -1
// (nothing made) for a null object.
intptr_t EntProcCreate(EntNode* node, ENTBASE* object, PropDb* classDb);
// Any other message: the instance's Dispatch, or 0 when the node holds no entity.
intptr_t EntProcForward(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
