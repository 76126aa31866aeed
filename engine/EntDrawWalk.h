// Which of the three draw walks is running, and each entity a walk visits. Draw is reached by
// the second walk in the running game and through DrawPost in the editor's pass: what a class
// draws in Draw for the editor alone keeps out of the second walk.
#pragma once

class ENTBASE;

// Each child of the container in turn: its first walk, then its second. A viewport's people
// (drawn in Draw) are drawn through its own camera before the next viewport clears over them.
void EntTreeDrawEach(ENTBASE* container);

enum EntDrawWalk {
    ENT_WALK_NONE = 0,
    ENT_WALK_DRAWPRE = 1,
    ENT_WALK_DRAW = 2,
    ENT_WALK_DRAWPOST = 3
};
// The draw walk running now (the innermost when walks nest), ENT_WALK_NONE outside any.
int EntTreeCurrentDrawWalk();
// True except inside the second walk: the editor's debug shapes and name tags may draw.
bool EntDebugDrawAllowed();

// One function told of every entity a draw walk visits, with the walk (tests and tools that
// count a frame's draws); null removes it.
using EntDrawVisitHook = void (*)(ENTBASE* entity, int walk, void* context);
void EntSetDrawVisitHook(EntDrawVisitHook hook, void* context);
