// The grid pathfinder: node grid, open-list heap, search and the walk back from the goal. The
// move order, the heap's tie rules and the squared h decide which of several equal routes comes
// back, so they are kept exactly as they are.
#include "PathFind/PathFinder.h"

#include "engine/DebugLog.h"
#include "engine/Memory.h"

#include <algorithm>
#include <bit>
#include <cstdint>

static void* (*s_openAlloc)(size_t) = MemAlloc;

namespace {

struct Move {
    int dx, dy;
    float mult;
};

// Straight moves first; with diagonals off only the first four are tried.
constexpr Move kMoves[8] = {
    {0, -1, 1.0f},     {1, 0, 1.0f},     {0, 1, 1.0f},      {-1, 0, 1.0f},
    {1, -1, 1.41421f}, {1, 1, 1.41421f}, {-1, 1, 1.41421f}, {-1, -1, 1.41421f},
};

} // namespace

// ---- creation ----

PathFinder* PathFindCreate(int nodeCapacity, int pathCapacity, int openStartCapacity) {
    if (nodeCapacity < 1 || pathCapacity < 1 || openStartCapacity < 1) return nullptr;
    auto* pf = static_cast<PathFinder*>(MemAlloc(sizeof(PathFinder)));
    if (!pf) return nullptr;
    MemZero(pf, sizeof(PathFinder));
    pf->nodeCapacity = nodeCapacity;
    pf->pathCapacity = pathCapacity;
    pf->openStartCapacity = openStartCapacity;
    pf->openCapacity = openStartCapacity + 1;
    pf->lastFullLength = -1;
    pf->nodes = static_cast<PathNode*>(MemAlloc(sizeof(PathNode) * size_t(nodeCapacity)));
    pf->open =
        static_cast<PathOpenEntry*>(MemAlloc(sizeof(PathOpenEntry) * size_t(pf->openCapacity)));
    pf->stack = new xqstack<PathStackEntry>(nodeCapacity);
    if (!pf->nodes || !pf->open || !pf->stack->Valid()) {
        PathFindDestroy(pf);
        return nullptr;
    }
    PathFindResetNodes(pf);
    return pf;
}

void PathFindDestroy(PathFinder* pf) {
    if (!pf) return;
    MemFree(pf->regions[0]);
    MemFree(pf->regions[1]);
    MemFree(pf->regionQueue);
    MemFree(pf->nodes);
    MemFree(pf->open);
    delete pf->stack;
    MemFree(pf);
}

void PathFindResetNodes(PathFinder* pf) {
    for (int i = 0; i < pf->nodeCapacity; ++i)
        pf->nodes[i] = PathNode{0.0f, -1, 0};
    pf->generation = 0;
}

void PathFindMapChanged(PathFinder* pf) {
    if (!pf) return;
    pf->regionsValid[0] = pf->regionsValid[1] = false;
    if (pf->regionsWanted) return;
    for (int32_t** labels : {&pf->regions[0], &pf->regions[1], &pf->regionQueue})
        if (!*labels)
            *labels = static_cast<int32_t*>(MemAlloc(sizeof(int32_t) * size_t(pf->nodeCapacity)));
    // Without the memory the finder searches to the end, as one never told does.
    pf->regionsWanted = pf->regions[0] && pf->regions[1] && pf->regionQueue;
}

void PathFindSetOpenListAlloc(void* (*alloc)(size_t bytes)) {
    s_openAlloc = alloc ? alloc : MemAlloc;
}

int PathFindFullLength(const PathFinder* pf) {
    return pf ? pf->lastFullLength : -1;
}

// ---- open list ----

// The sifts move a hole rather than swapping at each level: the same comparisons, so the same
// heap, with half the stores.
static void OpenSiftUp(PathOpenEntry* heap, int i) {
    const PathOpenEntry moving = heap[i];
    while (i > 1 && moving.f < heap[i / 2].f) {
        heap[i] = heap[i / 2];
        i /= 2;
    }
    heap[i] = moving;
}

static void OpenSiftDown(PathOpenEntry* heap, int count, int i) {
    const PathOpenEntry moving = heap[i];
    for (;;) {
        int child = i * 2;
        if (child > count) break;
        // Ties take the left child.
        if (child + 1 <= count && heap[child].f > heap[child + 1].f) ++child;
        if (moving.f <= heap[child].f) break;
        heap[i] = heap[child];
        i = child;
    }
    heap[i] = moving;
}

// Doubles the list; false when it could not grow, the old list then kept as it was. Apart from
// the push, which is on the search's every step.
[[gnu::noinline]] static bool OpenGrow(PathFinder* pf) {
    if (pf->openCapacity > INT32_MAX / 2) return false;
    int grown = pf->openCapacity * 2;
    auto* bigger = static_cast<PathOpenEntry*>(s_openAlloc(sizeof(PathOpenEntry) * size_t(grown)));
    if (!bigger) {
        DbgPrintf(DBG_GENERAL, "PathFind: no memory to grow the open list past %i entries\n",
                  pf->openCapacity);
        return false;
    }
    MemCopyBytes(bigger, pf->open, sizeof(PathOpenEntry) * size_t(pf->openCapacity));
    MemFree(pf->open);
    pf->open = bigger;
    pf->openCapacity = grown;
    return true;
}

// False when the list was full and could not grow; the old list is then kept as it was.
static inline bool OpenPush(PathFinder* pf, int32_t cell, float f) {
    int n = pf->openCount + 1;
    if (n >= pf->openCapacity && !OpenGrow(pf)) return false;
    pf->openCount = n;
    pf->open[n] = PathOpenEntry{f, cell};
    OpenSiftUp(pf->open, n);
    return true;
}

static PathOpenEntry OpenPop(PathFinder* pf) {
    PathOpenEntry top = pf->open[1];
    pf->open[1] = pf->open[pf->openCount];
    --pf->openCount;
    OpenSiftDown(pf->open, pf->openCount, 1);
    return top;
}

// ---- search ----

namespace {

// The node of a cell, reset on first touch in this query.
PathNode& NodeAt(PathFinder* pf, int32_t cell) {
    PathNode& n = pf->nodes[cell];
    const uint32_t open = pf->generation * 2u;
    if (n.mark != open && n.mark != open + 1u) n = PathNode{0.0f, -1, open};
    return n;
}

bool Closed(const PathFinder* pf, const PathNode& n) {
    return n.mark == pf->generation * 2u + 1u;
}

bool Passable(float cost) {
    // Written this way so NaN is impassable too and never reaches the heap.
    return cost > 0.0f;
}

// The first `moves` moves from a cell that lead onto passable cells, one bit each in move order.
// Away from the edge it is worked out without a branch: among scattered obstacles whether the
// next cell is passable is a coin toss, which a branch would guess wrong half the time.
uint32_t OpenMoves(const float* map, int32_t cell, int x, int y, int w, int h,
                   const int32_t offset[8], int moves) {
    uint32_t bits = 0;
    if (x > 0 && x < w - 1 && y > 0 && y < h - 1) {
        for (int m = 0; m < 8; ++m)
            bits |= uint32_t(Passable(map[cell + offset[m]])) << m;
        return bits & ((1u << moves) - 1u);
    }
    for (int m = 0; m < moves; ++m) {
        const int nx = x + kMoves[m].dx, ny = y + kMoves[m].dy;
        if (nx >= 0 && nx < w && ny >= 0 && ny < h)
            bits |= uint32_t(Passable(map[cell + offset[m]])) << m;
    }
    return bits;
}

// True when the goal was closed. Closed cells are never reopened, so every cell is expanded at
// most once and the search ends after at most width x height expansions.
bool Search(PathFinder* pf, const float* map, int startX, int startY, int goalX, int goalY,
            bool diagonal) {
    const int w = pf->width, h = pf->height;
    const int32_t goal = goalY * w + goalX;
    int32_t offset[8];
    for (int m = 0; m < 8; ++m)
        offset[m] = kMoves[m].dy * w + kMoves[m].dx;
    pf->openCount = 0;
    if (!OpenPush(pf, startY * w + startX, 0.0f)) return false;
    const int moves = diagonal ? 8 : 4;
    while (pf->openCount > 0) {
        const int32_t cell = OpenPop(pf).cell;
        PathNode& node = NodeAt(pf, cell);
        if (Closed(pf, node)) continue; // a stale entry left behind when g improved
        node.mark = pf->generation * 2u + 1u;
        if (cell == goal) return true;
        const int x = cell % w, y = cell / w;
        // The moves in their order, lowest bit first.
        for (uint32_t bits = OpenMoves(map, cell, x, y, w, h, offset, moves); bits;
             bits &= bits - 1u) {
            const int m = std::countr_zero(bits);
            const int nx = x + kMoves[m].dx;
            const int ny = y + kMoves[m].dy;
            const int32_t next = cell + offset[m];
            const float cost = map[next];
            PathNode& n = NodeAt(pf, next);
            if (Closed(pf, n)) continue;
            const float g = cost * kMoves[m].mult + node.g;
            if (n.parent != -1 && !(g < n.g)) continue;
            n.parent = cell;
            n.g = g;
            const int64_t hx = nx - goalX;
            const int64_t hy = ny - goalY;
            if (!OpenPush(pf, next, g + float(hx * hx + hy * hy))) return false;
        }
    }
    return false;
}

// Fills the stack from the goal back to the start, so the start ends on top.
bool WalkBack(PathFinder* pf, int startX, int startY, int goalX, int goalY) {
    xqstack<PathStackEntry>& stack = *pf->stack;
    const int w = pf->width;
    stack.Clear();
    stack.Push(PathStackEntry{goalX, goalY, 0.0f});
    const int32_t start = startY * w + startX;
    int32_t cell = goalY * w + goalX;
    // A path visits each cell once at most; the bound only guards against a corrupt chain.
    for (int steps = w * pf->height; cell != start; --steps) {
        const PathNode& node = NodeAt(pf, cell);
        if (steps <= 0 || node.parent == -1) return false;
        cell = node.parent;
        if (!stack.Push(PathStackEntry{cell % w, cell / w, 0.0f})) return false;
    }
    return true;
}

// Labels the connected regions of passable cells under the moves of one mode (diagonals cut
// corners, as the search does), 1 upward; impassable cells get 0.
void LabelRegions(PathFinder* pf, const float* map, int w, int h, bool diagonal) {
    int32_t* labels = pf->regions[diagonal ? 1 : 0];
    const int count = w * h;
    const int moves = diagonal ? 8 : 4;
    int32_t* queue = pf->regionQueue;
    for (int i = 0; i < count; ++i)
        labels[i] = -1;
    int32_t next = 0;
    for (int seed = 0; seed < count; ++seed) {
        if (labels[seed] != -1) continue;
        if (!Passable(map[seed])) {
            labels[seed] = 0;
            continue;
        }
        const int32_t label = ++next;
        int head = 0, tail = 0;
        queue[tail++] = seed;
        labels[seed] = label;
        while (head < tail) {
            const int32_t cell = queue[head++];
            const int x = cell % w, y = cell / w;
            for (int m = 0; m < moves; ++m) {
                const int nx = x + kMoves[m].dx, ny = y + kMoves[m].dy;
                if (nx < 0 || nx >= w || ny < 0 || ny >= h) continue;
                const int32_t n = ny * w + nx;
                if (labels[n] != -1 || !Passable(map[n])) continue;
                labels[n] = label;
                queue[tail++] = n;
            }
        }
    }
    pf->regionsValid[diagonal ? 1 : 0] = true;
}

// False only when the labels show the goal out of the start's reach; a start that is itself
// impassable is still expanded, so it reaches the regions of its neighbours.
bool MayReach(PathFinder* pf, const float* map, int w, int h, int startX, int startY, int goalX,
              int goalY, bool diagonal) {
    if (!pf->regionsWanted || (startX == goalX && startY == goalY)) return true;
    if (pf->regionMap != map || pf->regionWidth != w || pf->regionHeight != h) {
        pf->regionsValid[0] = pf->regionsValid[1] = false;
        pf->regionMap = map;
        pf->regionWidth = w;
        pf->regionHeight = h;
    }
    if (!pf->regionsValid[diagonal ? 1 : 0]) LabelRegions(pf, map, w, h, diagonal);
    const int32_t* labels = pf->regions[diagonal ? 1 : 0];
    const int32_t goal = labels[goalY * w + goalX];
    if (goal == 0) return false;
    const int32_t start = labels[startY * w + startX];
    if (start != 0) return start == goal;
    for (int m = 0; m < (diagonal ? 8 : 4); ++m) {
        const int nx = startX + kMoves[m].dx, ny = startY + kMoves[m].dy;
        if (nx >= 0 && nx < w && ny >= 0 && ny < h && labels[ny * w + nx] == goal) return true;
    }
    return false;
}

} // namespace

int PathFindFind(PathFinder* pf, const float* map, int width, int height, int startX, int startY,
                 int goalX, int goalY, int* out, int maxPoints, bool diagonal) {
    if (!pf) return -1;
    pf->lastFullLength = -1;
    if (!map || width < 1 || height < 1 || int64_t(width) * height > pf->nodeCapacity) {
        DbgPrintf(DBG_GENERAL, "PathFind: a %i x %i map does not fit %i nodes\n", width, height,
                  pf->nodeCapacity);
        return -1;
    }
    if (startX < 0 || startX >= width || startY < 0 || startY >= height || goalX < 0 ||
        goalX >= width || goalY < 0 || goalY >= height)
        return -1;

    if (!MayReach(pf, map, width, height, startX, startY, goalX, goalY, diagonal)) return -1;
    // Two marks per generation: it wraps at 2^31.
    if (++pf->generation > 0x7FFFFFFFu) {
        PathFindResetNodes(pf);
        pf->generation = 1;
    }
    pf->width = width;
    pf->height = height;
    if (!Search(pf, map, startX, startY, goalX, goalY, diagonal)) return -1;
    if (!WalkBack(pf, startX, startY, goalX, goalY)) return -1;

    xqstack<PathStackEntry>& stack = *pf->stack;
    int full = stack.Count();
    int result = std::min(full, pf->pathCapacity);
    int wanted = out ? std::clamp(maxPoints, 0, result) : 0;
    for (int i = 0; i < wanted; ++i) {
        PathStackEntry e{};
        stack.Pop(&e);
        out[i] = e.y * width + e.x;
    }
    stack.Clear();
    pf->lastFullLength = full;
    return result;
}
