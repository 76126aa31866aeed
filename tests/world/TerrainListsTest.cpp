// The terrain patches' shared index lists: counts, winding, coverage, the height query's
// diagonals and the stitched edges' skipped vertices.
#include "world/TerrainDraw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

struct V2 {
    int c, r;
};

std::vector<uint16_t> List(int kind, int n, int* triangles) {
    std::vector<uint16_t> out(6 * size_t(n) * size_t(n) + 3);
    *triangles = TerrainListIndices(kind, n, out.data());
    out.resize(3 * size_t(*triangles));
    return out;
}

V2 At(int index, int n) {
    return {index % (n + 1), index / (n + 1)};
}

// Twice the signed area seen from +y, positive for the lists' winding (the whole list's first
// triangle (a, d, e)).
int Cross(V2 a, V2 b, V2 c) {
    const int ux = b.c - a.c, uz = b.r - a.r, vx = c.c - a.c, vz = c.r - a.r;
    return uz * vx - ux * vz;
}

bool Inside(V2 a, V2 b, V2 c, double x, double z) {
    auto side = [](V2 p, V2 q, double x, double z) {
        return (q.r - p.r) * (x - p.c) - (q.c - p.c) * (z - p.r);
    };
    const double s0 = side(a, b, x, z), s1 = side(b, c, x, z), s2 = side(c, a, x, z);
    return (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
}

TEST(TerrainLists, TriangleCountsPerLevel) {
    const int whole[4] = {2048, 512, 128, 32}, inner[4] = {1800, 392, 72, 8};
    const int edge[4] = {62, 30, 14, 6}, stitched[4] = {46, 22, 10, 4};
    for (int level = 0; level < 4; ++level) {
        const int n = 32 >> level;
        int count = 0;
        List(TERRAIN_LIST_WHOLE, n, &count);
        EXPECT_EQ(count, whole[level]);
        List(TERRAIN_LIST_INNER, n, &count);
        EXPECT_EQ(count, inner[level]);
        for (int side = 0; side < 4; ++side) {
            List(TERRAIN_LIST_EDGE + side, n, &count);
            EXPECT_EQ(count, edge[level]) << "side " << side;
            List(TERRAIN_LIST_STITCHED + side, n, &count);
            EXPECT_EQ(count, stitched[level]) << "side " << side;
        }
    }
}

TEST(TerrainLists, EveryTriangleIsClockwiseFromAboveAndInsideThePatch) {
    for (int n : {32, 16, 8, 4}) {
        for (int kind = 0; kind < TERRAIN_LIST_KINDS; ++kind) {
            int count = 0;
            const auto idx = List(kind, n, &count);
            for (int i = 0; i < count; ++i) {
                for (int k = 0; k < 3; ++k)
                    ASSERT_LT(idx[3 * i + k], (n + 1) * (n + 1));
                EXPECT_GT(Cross(At(idx[3 * i], n), At(idx[3 * i + 1], n), At(idx[3 * i + 2], n)), 0)
                    << "n " << n << " kind " << kind << " triangle " << i;
            }
        }
    }
}

// Inner plus the four edges (stitched or not) cover each cell's area once: points off every
// diagonal and edge lie in exactly one triangle, and the areas add up to the patch.
TEST(TerrainLists, InnerAndEdgesTileThePatchOnce) {
    const double fxs[4] = {0.1, 0.35, 0.6, 0.85}, fzs[4] = {0.2, 0.45, 0.7, 0.95};
    for (int n : {32, 8, 4}) {
        for (int mask = 0; mask < 16; ++mask) {
            std::vector<std::array<V2, 3>> tris;
            auto add = [&](int kind) {
                int count = 0;
                const auto idx = List(kind, n, &count);
                for (int i = 0; i < count; ++i)
                    tris.push_back(
                        {At(idx[3 * i], n), At(idx[3 * i + 1], n), At(idx[3 * i + 2], n)});
            };
            add(TERRAIN_LIST_INNER);
            for (int side = 0; side < 4; ++side)
                add((mask & (1 << side) ? TERRAIN_LIST_STITCHED : TERRAIN_LIST_EDGE) + side);
            long area2 = 0;
            // Each cell's candidates: the triangles whose bounds reach it.
            std::vector<std::vector<int>> near(size_t(n) * size_t(n));
            for (size_t k = 0; k < tris.size(); ++k) {
                const auto& t = tris[k];
                area2 += Cross(t[0], t[1], t[2]);
                const int c0 = std::min({t[0].c, t[1].c, t[2].c}),
                          c1 = std::max({t[0].c, t[1].c, t[2].c});
                const int r0 = std::min({t[0].r, t[1].r, t[2].r}),
                          r1 = std::max({t[0].r, t[1].r, t[2].r});
                for (int r = r0; r < r1; ++r)
                    for (int c = c0; c < c1; ++c)
                        near[size_t(r) * size_t(n) + size_t(c)].push_back(int(k));
            }
            EXPECT_EQ(area2, 2L * n * n) << "n " << n << " mask " << mask;
            for (int r = 0; r < n; ++r)
                for (int c = 0; c < n; ++c)
                    for (double fx : fxs)
                        for (double fz : fzs) {
                            int hits = 0;
                            for (int k : near[size_t(r) * size_t(n) + size_t(c)])
                                hits += Inside(tris[k][0], tris[k][1], tris[k][2], c + fx, r + fz);
                            ASSERT_EQ(hits, 1)
                                << "n " << n << " mask " << mask << " cell " << c << ", " << r;
                        }
        }
    }
}

// At level 0 the drawn triangles are the height query's: equal parity of the cell splits along
// (c, r)-(c + 1, r + 1), odd parity along (c + 1, r)-(c, r + 1).
TEST(TerrainLists, LevelZeroDiagonalsMatchTheHeightQuery) {
    const int n = 32;
    for (int kind = 0; kind < TERRAIN_LIST_STITCHED; ++kind) {
        int count = 0;
        const auto idx = List(kind, n, &count);
        for (int i = 0; i < count; ++i) {
            V2 v[3] = {At(idx[3 * i], n), At(idx[3 * i + 1], n), At(idx[3 * i + 2], n)};
            const int c = std::min({v[0].c, v[1].c, v[2].c}),
                      r = std::min({v[0].r, v[1].r, v[2].r});
            const bool equal = ((c ^ r) & 1) == 0;
            // The diagonal is the one pair of vertices that are opposite corners of the cell.
            int diagonalPairs = 0;
            for (int a = 0; a < 3; ++a)
                for (int b = a + 1; b < 3; ++b) {
                    if (v[a].c == v[b].c || v[a].r == v[b].r) continue;
                    ++diagonalPairs;
                    const bool mainDiagonal = (v[a].c - v[b].c) == (v[a].r - v[b].r);
                    EXPECT_EQ(mainDiagonal, equal) << "kind " << kind << " cell " << c << ", " << r;
                }
            EXPECT_EQ(diagonalPairs, 1) << "kind " << kind << " triangle " << i;
        }
    }
}

TEST(TerrainLists, StitchedEdgesSkipEveryOddBorderVertex) {
    for (int n : {32, 16, 8, 4}) {
        for (int side = 0; side < 4; ++side) {
            int count = 0;
            const auto idx = List(TERRAIN_LIST_STITCHED + side, n, &count);
            for (uint16_t i : idx) {
                const V2 v = At(i, n);
                const int border[4] = {v.r == n, v.r == 0, v.c == n, v.c == 0};
                const int along = side < 2 ? v.c : v.r;
                EXPECT_FALSE(border[side] && (along & 1))
                    << "n " << n << " side " << side << " vertex " << v.c << ", " << v.r;
            }
        }
    }
}

TEST(TerrainLists, RefusesSizesItHasNoListFor) {
    uint16_t out[8];
    EXPECT_EQ(TerrainListIndices(TERRAIN_LIST_WHOLE, 2, out), 0);
    EXPECT_EQ(TerrainListIndices(TERRAIN_LIST_KINDS, 4, out), 0);
    EXPECT_EQ(TerrainListIndices(TERRAIN_LIST_WHOLE, 4, nullptr), 0);
}

} // namespace
