// The numbers entities are spoken to with, in one place: the class messages every class
// procedure answers, the entity messages ENTBASE::Dispatch maps onto its operations and those a
// class answers in its own Dispatch, the instance and class flag bits, and the result codes.
// The values are fixed: scripts, saved editor settings and every class procedure rely on them.
#pragma once

#include <cstdint>

// ---- class messages (sent with node null, except ENT_CLASS_MSG_CREATE) ----

enum : int {
    // Build the class's property database; most classes also set their data folder from b (a
    // file path or null).
    ENT_CLASS_MSG_BUILD_DB = 0,
    ENT_CLASS_MSG_RESET = 1,      // empty the source-file table; answers what that answered
    ENT_CLASS_MSG_UNREGISTER = 2, // the class's own shut-down
    ENT_CLASS_MSG_CLASS_NAME = 4, // copy the class string into the 64-byte buffer at b
    ENT_CLASS_MSG_CREATE = 6,     // make the instance for node
};

// ---- entity messages: ENTBASE::Dispatch's table, named after the operation each reaches ----

enum : int {
    ENT_MSG_FIRST = 7, // ids below this and above ENT_MSG_LAST answer 0
    ENT_MSG_START = 7,
    ENT_MSG_SHUTDOWN = 8,
    ENT_MSG_DESTROY = 9,
    ENT_MSG_DRAW_PRE = 10,
    ENT_MSG_UPDATE = 12, // b: the seconds, a float in the low 32 bits
    ENT_MSG_HOOK13 = 13,
    ENT_MSG_ON_MESSAGE = 14, // b: the input event
    ENT_MSG_HOOK15 = 15,
    ENT_MSG_SET_POS = 16,
    ENT_MSG_COPY_POS = 17,
    ENT_MSG_SET_ORIENTATION = 18,
    ENT_MSG_GET_MATRIX = 19,
    ENT_MSG_HOOK24 = 24,
    ENT_MSG_HOOK25 = 25,
    ENT_MSG_HOOK26 = 26,
    ENT_MSG_HOOK27 = 27,
    ENT_MSG_HOOK28 = 28,
    ENT_MSG_HOOK29 = 29,
    ENT_MSG_HOOK33 = 33,
    ENT_MSG_SET_HEADING = 34, // b: a float in the low 32 bits
    ENT_MSG_GET_YAW = 35,     // the float is stored at b
    ENT_MSG_SET_YAW = 36,     // b: a float in the low 32 bits
    ENT_MSG_HOOK39 = 39,
    ENT_MSG_HOOK40 = 40,
    ENT_MSG_GET_ORIENTATION = 43,
    ENT_MSG_SET_TYPE = 55,
    ENT_MSG_HOOK56 = 56,
    ENT_MSG_BOUNDS_QUERY = 68, // b: an EntBoundsQuery
    ENT_MSG_HOOK69 = 69,
    ENT_MSG_SET_NAME = 83,
    ENT_MSG_COPY_NAME = 84,
    ENT_MSG_GET_VAR_TABLE = 89, // the table is stored at b, the entity itself at c
    ENT_MSG_DRAW = 90,
    ENT_MSG_HOOK91 = 91,
    ENT_MSG_SET_LOCAL_PLAYER = 106,
    ENT_MSG_SAVE_VARS = 108,
    ENT_MSG_LOAD_VARS = 109,
    ENT_MSG_RAY_QUERY = 112, // b: an EntRayQuery; sent down a subtree by the gated walk
    ENT_MSG_VARS_CHANGED = 116,
    ENT_MSG_HOOK118 = 118, // the word is a
    ENT_MSG_HOOK130 = 130, // the word is a
    ENT_MSG_HOOK136 = 136,
    ENT_MSG_HOOK143 = 143,
    ENT_MSG_PICK_TEST = 149, // b: a PickQuery
    ENT_MSG_GET_WORLD_MATRIX = 156,
    ENT_MSG_HOOK157 = 157,
    ENT_MSG_HOOK158 = 158,
    ENT_MSG_DRAW_WORLD_BOUNDS = 159,
    ENT_MSG_DRAW_LOCAL_BOUNDS = 160,
    ENT_MSG_COPY_BOUNDS = 161,
    ENT_MSG_SET_BOUNDS = 162,
    ENT_MSG_SET_ACTIVE = 163,
    ENT_MSG_CLEAR_ACTIVE = 164,
    ENT_MSG_IS_ACTIVE = 165, // the answer, widened, is stored at b
    ENT_MSG_SET_TAG = 166,
    ENT_MSG_GET_TAG = 167,
    ENT_MSG_GAME_EVENT = 170, // b: the event, c: the value
    ENT_MSG_SET_VIEW_TAG = 171,
    ENT_MSG_GET_VIEW_TAG = 172, // the word is stored at b
    ENT_MSG_HOOK174 = 174,
    ENT_MSG_SCALE_POS = 175,
    ENT_MSG_GET_CAMERA = 176, // b: a CameraDesc
    ENT_MSG_HOOK177 = 177,
    ENT_MSG_LAST = 177,
};

// ---- entity messages a class answers in its own Dispatch ----

enum : int {
    // A class-specific query that ENTBASE::Dispatch does not map; a class that answers it does
    // so in its own class procedure.
    ENT_MSG_CLASS_QUERY = 50,
    // The terrain's (see EntQueries.h for the records they carry).
    ENT_MSG_TERRAIN_OBJECT = 114, // b: where the terrain object's pointer goes
    ENT_MSG_GROUND_HEIGHT = 147,  // b: const VECTOR3* position, c: float* height
    ENT_MSG_GROUND_SURFACE = 155, // b: const VECTOR3* position, c: EntSurfaceQuery*
    ENT_MSG_GROUND_RECORD = 168,  // b: const VECTOR3* position, c: EntGroundRecord*
    ENT_MSG_TERRAIN_LOD = 169,    // b: a float in the low 32 bits
};

// ---- instance flags (ENTBASE::flags) ----

enum : uint32_t {
    // Set at construction; the lens flare shows its halos only while it is clear.
    ENT_FLAG_HIDDEN = 0x1,
    ENT_FLAG_ACTIVE = 0x2, // SetActive / ClearActive / IsActive
    // Cleared by the world models at creation; nothing tests it.
    ENT_FLAG_SPARE_4 = 0x4,
    // Takes part in the third draw pass (EntTreeDrawPost): set by the menu root and the
    // viewports, and by the editor on the entities it highlights.
    ENT_FLAG_DRAWPOST = 0x8,
    ENT_FLAG_PASSABLE = 0x100, // scenery the placement grid lets patrons through
    // The editor's "changed" mark, set after a variable edit. Its own bit: on 0x2 it made an
    // edited inactive menu take input.
    ENT_FLAG_CHANGED = 0x10000,
    ENT_FLAGS_INITIAL = 0xF1,
};

// ---- class flags (the class-wide word of GetClassFlags) ----

enum : uint32_t {
    ENT_CLASS_PICKABLE = 0x1,   // PickTest may answer true (the editor's "Select")
    ENT_CLASS_DRAW = 0x2,       // the class draws in its first walk, DrawPre ("Draw")
    ENT_CLASS_DEBUG_DRAW = 0x4, // Draw shows the name tag, both boxes and the class's own aids
    ENT_CLASS_MOVE = 0x8,       // a particle spray emits and moves its particles ("Move")
    ENT_CLASS_GLARE = 0x10,     // the sun draws its glare
    ENT_CLASS_FLAGS_INITIAL = 0x1F,
    ENT_CLASS_FLAGS_BASE = 0xEAEAEAEA, // Ent3dBase's answer: a class that keeps no word of its own
};

// ---- result codes ----

enum : int {
    // Handled, or success; a message Dispatch maps to an operation whose answer it does not pass
    // on. To the gated walks: go on into the children.
    ENT_RESULT_HANDLED = 1,
    // Not handled (an id Dispatch does not map); a class message done. To the gated walks: stop.
    ENT_RESULT_NONE = 0,
    // Not found, or failure; to ENT_CLASS_MSG_CREATE: the creation is refused.
    ENT_RESULT_FAILED = -1,
};
