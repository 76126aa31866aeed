// The terrain patches' shared index lists. Every triangle is wound clockwise seen from +y; the
// whole and inner lists' diagonals alternate in the height query's checkerboard.
#include "world/TerrainDraw.h"

namespace {

struct Writer {
    uint16_t* out;
    int n;
    int triangles = 0;
    void Tri(int c0, int r0, int c1, int r1, int c2, int r2) {
        const int w = n + 1;
        out[3 * triangles + 0] = uint16_t(r0 * w + c0);
        out[3 * triangles + 1] = uint16_t(r1 * w + c1);
        out[3 * triangles + 2] = uint16_t(r2 * w + c2);
        ++triangles;
    }
};

void Cell(Writer& w, int c, int r) {
    if (((c ^ r) & 1) == 0) {
        w.Tri(c, r, c, r + 1, c + 1, r + 1); // a d e
        w.Tri(c, r, c + 1, r + 1, c + 1, r); // a e b
    } else {
        w.Tri(c, r + 1, c + 1, r, c, r);         // d b a
        w.Tri(c, r + 1, c + 1, r + 1, c + 1, r); // d e b
    }
}

// The +z strip's fan around each odd inner vertex, carried to the other sides: -z mirrors z and
// +x swaps x and z (both reflections, so their triangles turn round), -x does both (a rotation).
void Edge(Writer& w, int side, bool stitched) {
    const int n = w.n;
    auto tri = [&](int a0, int w0, int a1, int w1, int a2, int w2) {
        // (a, row) in +z terms: `a` along the border, row n - 1 inner, n outer.
        auto map = [&](int a, int row, int* c, int* r) {
            switch (side) {
                case 0: *c = a, *r = row; break;
                case 1: *c = a, *r = n - row; break;
                case 2: *c = row, *r = a; break;
                default: *c = n - row, *r = a; break;
            }
        };
        int c0, r0, c1, r1, c2, r2;
        map(a0, w0, &c0, &r0);
        map(a1, w1, &c1, &r1);
        map(a2, w2, &c2, &r2);
        if (side == 1 || side == 2)
            w.Tri(c0, r0, c2, r2, c1, r1);
        else
            w.Tri(c0, r0, c1, r1, c2, r2);
    };
    const int in = n - 1, out = n;
    for (int k = 0; k < n / 2; ++k) {
        const int a0 = 2 * k, a1 = 2 * k + 1, a2 = 2 * k + 2;
        if (k != 0) tri(a0, in, a0, out, a1, in);
        if (stitched) {
            tri(a1, in, a0, out, a2, out);
        } else {
            tri(a1, in, a0, out, a1, out);
            tri(a1, in, a1, out, a2, out);
        }
        if (k != n / 2 - 1) tri(a1, in, a2, out, a2, in);
    }
}

} // namespace

int TerrainListIndices(int kind, int n, uint16_t* out) {
    if (!out || n < 4 || n > 32 || (n & 1) || kind < 0 || kind >= TERRAIN_LIST_KINDS) return 0;
    Writer w{out, n};
    if (kind == TERRAIN_LIST_WHOLE) {
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c)
                Cell(w, c, r);
    } else if (kind == TERRAIN_LIST_INNER) {
        for (int r = 1; r <= n - 2; ++r)
            for (int c = 1; c <= n - 2; ++c)
                Cell(w, c, r);
    } else if (kind < TERRAIN_LIST_STITCHED) {
        Edge(w, kind - TERRAIN_LIST_EDGE, false);
    } else {
        Edge(w, kind - TERRAIN_LIST_STITCHED, true);
    }
    return w.triangles;
}
