// The grid pathfinder: a best-first search over a grid of float step costs, with a binary-heap
// open list keyed on g + h, h being the squared cell distance to the goal (greedy toward the goal,
// not strictly shortest). The placement grid owns one and asks it for every walking route.
#pragma once

#include "PathFind/xqstack.h"

#include <cstddef>
#include <cstdint>

// One cell of the search, twelve bytes. `mark` says which query last touched it: 2 x generation
// while it is open, 2 x generation + 1 once closed, anything else reads as fresh (never reached,
// g 0). parent is the cell index it was reached from, -1 = none.
struct PathNode {
    float g;
    int32_t parent;
    uint32_t mark;
};

// An open-list entry, eight bytes: the cell index and its g + h.
struct PathOpenEntry {
    float f;
    int32_t cell;
};

struct PathStackEntry {
    int32_t x;
    int32_t y;
    float cost; // always 0
};

struct PathFinder {
    int nodeCapacity;
    int pathCapacity;
    int openStartCapacity;

    PathNode* nodes; // nodeCapacity, indexed y x width + x
    int width;
    int height;
    // Bumped by every query instead of clearing all the nodes, which cost as much as the search
    // itself on a typical route.
    uint32_t generation;

    // Connected regions of the map, with and without diagonals (nodeCapacity labels each; 0 is
    // an impassable cell), so that a goal out of reach is answered without flooding the map.
    // Kept only once the owner has said it tells the finder of every change to its map.
    int32_t* regions[2];
    int32_t* regionQueue; // the labelling's work list
    bool regionsValid[2];
    bool regionsWanted;
    const float* regionMap;
    int regionWidth;
    int regionHeight;

    // 1-based binary min-heap on f; slot 0 is scratch. Grows by doubling.
    PathOpenEntry* open;
    int openCount;
    int openCapacity;

    // The walk back from the goal. It holds a whole grid's worth of cells, so a route longer than
    // the path capacity still knows its start.
    xqstack<PathStackEntry>* stack;

    // Cells on the last path found, before the cut to the path capacity; -1 after a failure.
    int lastFullLength;
};

// Null when a capacity is below 1 or the arrays cannot be allocated. The grid makes one with
// 22500 nodes, 128 path cells and 768 open entries.
PathFinder* PathFindCreate(int nodeCapacity, int pathCapacity, int openStartCapacity);
void PathFindDestroy(PathFinder* pf);

// Finds a path from (startX, startY) to (goalX, goalY) over `map` (width x height costs, index
// y x width + x; a cost that is not above 0 is impassable, anything above is the cost of entering
// by a straight move, diagonals cost 1.41421 times as much). Returns the number of cells on the
// path, start and goal included, cut to the path capacity, or -1 when the goal cannot be reached
// or the request is malformed (no map, a dimension below 1, more cells than nodes, an end outside
// the map, no memory). Writes min(maxPoints, result) cell indices to `out` in walking order from
// the start; with maxPoints 0 or a null `out` only the count is returned. Routes longer than the
// path capacity hand out their first cells: the caller walks those and routes again from there.
int PathFindFind(PathFinder* pf, const float* map, int width, int height, int startX, int startY,
                 int goalX, int goalY, int* out, int maxPoints, bool diagonal);

// The full cell count of the last path found (may exceed the path capacity), or -1.
int PathFindFullLength(const PathFinder* pf);

// The map routed on has changed (or is about to be routed on for the first time). Calling it is
// a promise to call it after every later change to the map: from then on the finder labels the
// map's connected regions once per change and answers a goal in another region at once. A finder
// never told keeps searching every query to the end.
void PathFindMapChanged(PathFinder* pf);

// Forgets every node of the whole capacity at once: closed 0, g 0, no parent. Queries only do it
// when the generation count wraps.
void PathFindResetNodes(PathFinder* pf);

// Replaces the allocator used when the open list doubles (tests make it fail to prove the search
// survives); null restores MemAlloc.
void PathFindSetOpenListAlloc(void* (*alloc)(size_t bytes));
