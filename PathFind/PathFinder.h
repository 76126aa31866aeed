// The grid pathfinder: a best-first search over a grid of float step costs, with a binary-heap
// open list keyed on g + h, h being the squared cell distance to the goal (greedy toward the goal,
// not strictly shortest). The placement grid owns one and asks it for every walking route.
#pragma once

#include "PathFind/xqstack.h"

#include <cstddef>
#include <cstdint>

// One cell of the search. Parent (-1, -1) = never reached in this query. A node whose stamp is
// not the finder's current generation belongs to an earlier query and reads as fresh.
struct PathNode {
    uint8_t closed;
    float g;
    int32_t parentX;
    int32_t parentY;
    uint32_t stamp;
};

struct PathOpenEntry {
    int32_t x;
    int32_t y;
    float f;
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

// Forgets every node of the whole capacity at once: closed 0, g 0, no parent. Queries only do it
// when the generation count wraps.
void PathFindResetNodes(PathFinder* pf);

// Replaces the allocator used when the open list doubles (tests make it fail to prove the search
// survives); null restores MemAlloc.
void PathFindSetOpenListAlloc(void* (*alloc)(size_t bytes));
