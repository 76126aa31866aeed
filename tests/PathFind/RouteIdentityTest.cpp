// The routes on the benchmark maps, held cell for cell to the ones the search has always given:
// a digest of every answer (count, full length and each cell) over 2,000 pairs per map, with and
// without diagonals, plus pairs whose ends may be blocked. A faster search must not change one.
#include "PathFind/PathFinder.h"
#include "tests/PathFind/RouteMaps.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct Digest {
    uint64_t h = 1469598103934665603ull;
    int reached = 0, refused = 0;
    void Add(int32_t v) {
        for (int i = 0; i < 4; ++i) {
            h ^= uint8_t(uint32_t(v) >> (8 * i));
            h *= 1099511628211ull;
        }
    }
};

// With `regions`, the finder is told of the map and answers goals out of reach at once.
Digest RouteDigest(const RouteMap& m, const std::vector<RoutePair>& pairs, bool diagonal,
                   bool regions) {
    PathFinder* pf = PathFindCreate(22500, 128, 768);
    if (regions) PathFindMapChanged(pf);
    Digest d;
    std::vector<int> out(128);
    for (const RoutePair& p : pairs) {
        const int r = PathFindFind(pf, m.cells.data(), m.width, m.height, p.sx, p.sy, p.gx, p.gy,
                                   out.data(), 128, diagonal);
        d.Add(r);
        d.Add(PathFindFullLength(pf));
        for (int i = 0; i < r; ++i)
            d.Add(out[size_t(i)]);
        (r < 0 ? d.refused : d.reached) += 1;
    }
    PathFindDestroy(pf);
    return d;
}

// Any cells, blocked or not.
std::vector<RoutePair> AnyPairs(const RouteMap& m, int count, uint32_t seed) {
    RouteRng rng(seed);
    std::vector<RoutePair> pairs;
    for (int i = 0; i < count; ++i)
        pairs.push_back(RoutePair{rng.Below(m.width), rng.Below(m.height), rng.Below(m.width),
                                  rng.Below(m.height)});
    return pairs;
}

void ExpectDigest(const RouteMap& m, const std::vector<RoutePair>& pairs, bool diagonal,
                  uint64_t hash, int reached, int refused) {
    for (bool regions : {false, true}) {
        SCOPED_TRACE(regions ? "with the map's regions" : "searching to the end");
        const Digest d = RouteDigest(m, pairs, diagonal, regions);
        EXPECT_EQ(d.reached, reached);
        EXPECT_EQ(d.refused, refused);
        EXPECT_EQ(d.h, hash) << "a route changed";
    }
}

} // namespace

TEST(RouteIdentity, BlockedThirtyPercentDiagonal) {
    const RouteMap m = RandomBlockedMap(150, 30, 79);
    ExpectDigest(m, OpenPairs(m, 2000, 7901), true, 13284708231749664430ull, 2000, 0);
}

TEST(RouteIdentity, BlockedThirtyPercentStraightOnly) {
    const RouteMap m = RandomBlockedMap(150, 30, 79);
    ExpectDigest(m, OpenPairs(m, 2000, 7902), false, 15258670610118762976ull, 1888, 112);
}

TEST(RouteIdentity, FootprintsDiagonal) {
    const RouteMap m = FootprintMap(128, 20240501);
    ExpectDigest(m, OpenPairs(m, 2000, 7903), true, 10597908351197992753ull, 2000, 0);
}

TEST(RouteIdentity, EndsThatMayBeBlocked) {
    const RouteMap m = RandomBlockedMap(150, 30, 80);
    const std::vector<RoutePair> pairs = AnyPairs(m, 500, 7904);
    ExpectDigest(m, pairs, true, 10109813062316088847ull, 348, 152);
    ExpectDigest(m, pairs, false, 2682685312223404555ull, 332, 168);
}

TEST(RouteIdentity, AMapToldOfEachChangeIsLabelledAgain) {
    // A wall across column 5 with one gap at row 9; the goal is across it.
    RouteMap m{12, 10, std::vector<float>(120, 1.0f)};
    for (int y = 0; y < 9; ++y)
        m.cells[size_t(y) * 12 + 5] = -1.0f;
    PathFinder* pf = PathFindCreate(22500, 128, 768);
    PathFindMapChanged(pf);
    EXPECT_GT(PathFindFind(pf, m.cells.data(), 12, 10, 1, 1, 10, 1, nullptr, 0, true), 0);
    m.cells[9 * 12 + 5] = -1.0f;
    PathFindMapChanged(pf);
    EXPECT_EQ(PathFindFind(pf, m.cells.data(), 12, 10, 1, 1, 10, 1, nullptr, 0, true), -1);
    EXPECT_GT(PathFindFind(pf, m.cells.data(), 12, 10, 1, 1, 4, 8, nullptr, 0, false), 0)
        << "on the near side";
    m.cells[4 * 12 + 5] = 2.0f;
    PathFindMapChanged(pf);
    EXPECT_GT(PathFindFind(pf, m.cells.data(), 12, 10, 1, 1, 10, 1, nullptr, 0, false), 0)
        << "through the new gap";
    PathFindDestroy(pf);
}
