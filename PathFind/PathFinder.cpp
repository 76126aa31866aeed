// The grid pathfinder: node grid, open-list heap, search and the walk back from the goal. The
// move order, the heap's tie rules and the squared h decide which of several equal routes comes
// back, so they are kept exactly as they are.
#include "PathFind/PathFinder.h"

#include "engine/DebugLog.h"
#include "engine/Memory.h"

#include <algorithm>
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
    MemFree(pf->nodes);
    MemFree(pf->open);
    delete pf->stack;
    MemFree(pf);
}

void PathFindResetNodes(PathFinder* pf) {
    for (int i = 0; i < pf->nodeCapacity; ++i)
        pf->nodes[i] = PathNode{0, 0.0f, -1, -1, 0};
    pf->generation = 0;
}

void PathFindSetOpenListAlloc(void* (*alloc)(size_t bytes)) {
    s_openAlloc = alloc ? alloc : MemAlloc;
}

int PathFindFullLength(const PathFinder* pf) {
    return pf ? pf->lastFullLength : -1;
}

// ---- open list ----

static void OpenSiftUp(PathOpenEntry* heap, int i) {
    while (i > 1 && heap[i].f < heap[i / 2].f) {
        std::swap(heap[i], heap[i / 2]);
        i /= 2;
    }
}

static void OpenSiftDown(PathOpenEntry* heap, int count, int i) {
    for (;;) {
        int child = i * 2;
        if (child > count) return;
        // Ties take the left child.
        if (child + 1 <= count && heap[child].f > heap[child + 1].f) ++child;
        if (heap[i].f <= heap[child].f) return;
        std::swap(heap[i], heap[child]);
        i = child;
    }
}

// False when the list was full and could not grow; the old list is then kept as it was.
static bool OpenPush(PathFinder* pf, int x, int y, float f) {
    int n = pf->openCount + 1;
    if (n >= pf->openCapacity) {
        if (pf->openCapacity > INT32_MAX / 2) return false;
        int grown = pf->openCapacity * 2;
        auto* bigger =
            static_cast<PathOpenEntry*>(s_openAlloc(sizeof(PathOpenEntry) * size_t(grown)));
        if (!bigger) {
            DbgPrintf(DBG_GENERAL, "PathFind: no memory to grow the open list past %i entries\n",
                      pf->openCapacity);
            return false;
        }
        MemCopyBytes(bigger, pf->open, sizeof(PathOpenEntry) * size_t(pf->openCapacity));
        MemFree(pf->open);
        pf->open = bigger;
        pf->openCapacity = grown;
    }
    pf->openCount = n;
    pf->open[n] = PathOpenEntry{x, y, f};
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

// The node of (x, y), reset on first touch in this query.
static PathNode& NodeAt(PathFinder* pf, int x, int y) {
    PathNode& n = pf->nodes[y * pf->width + x];
    if (n.stamp != pf->generation) n = PathNode{0, 0.0f, -1, -1, pf->generation};
    return n;
}

// True when the goal was closed. Closed cells are never reopened, so every cell is expanded at
// most once and the search ends after at most width x height expansions.
static bool Search(PathFinder* pf, const float* map, int startX, int startY, int goalX, int goalY,
                   bool diagonal) {
    pf->openCount = 0;
    if (!OpenPush(pf, startX, startY, 0.0f)) return false;
    int moves = diagonal ? 8 : 4;
    while (pf->openCount > 0) {
        PathOpenEntry e = OpenPop(pf);
        PathNode& node = NodeAt(pf, e.x, e.y);
        if (node.closed) continue; // a stale entry left behind when g improved
        node.closed = 1;
        if (e.x == goalX && e.y == goalY) return true;
        for (int m = 0; m < moves; ++m) {
            int nx = e.x + kMoves[m].dx;
            int ny = e.y + kMoves[m].dy;
            if (nx < 0 || nx >= pf->width || ny < 0 || ny >= pf->height) continue;
            float cost = map[ny * pf->width + nx];
            // Written this way so NaN is impassable too and never reaches the heap.
            if (!(cost > 0.0f)) continue;
            PathNode& next = NodeAt(pf, nx, ny);
            if (next.closed) continue;
            float g = cost * kMoves[m].mult + node.g;
            if (next.parentX != -1 && !(g < next.g)) continue;
            next.parentX = e.x;
            next.parentY = e.y;
            next.g = g;
            int64_t hx = nx - goalX;
            int64_t hy = ny - goalY;
            int64_t h = hx * hx + hy * hy;
            if (!OpenPush(pf, nx, ny, g + float(h))) return false;
        }
    }
    return false;
}

// Fills the stack from the goal back to the start, so the start ends on top.
static bool WalkBack(PathFinder* pf, int startX, int startY, int goalX, int goalY) {
    xqstack<PathStackEntry>& stack = *pf->stack;
    stack.Clear();
    stack.Push(PathStackEntry{goalX, goalY, 0.0f});
    int x = goalX, y = goalY;
    // A path visits each cell once at most; the bound only guards against a corrupt chain.
    for (int steps = pf->width * pf->height; x != startX || y != startY; --steps) {
        const PathNode& node = NodeAt(pf, x, y);
        if (steps <= 0 || node.parentX == -1 || node.parentY == -1) return false;
        x = node.parentX;
        y = node.parentY;
        if (!stack.Push(PathStackEntry{x, y, 0.0f})) return false;
    }
    return true;
}

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

    if (++pf->generation == 0) {
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
