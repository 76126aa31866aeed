// A change detector: the routes on the benchmark maps, held cell for cell to the ones the search
// has always given, as a digest of every answer (count, full length and each cell) over 2,000
// pairs per map, with and without diagonals, plus pairs whose ends may be blocked. It says that a
// route changed, not that one is wrong (RouteLegalityTest says what every route must be): a faster
// search must not change one; a change meant to move routes re-pins the digests.
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

TEST(RouteChangeDetector, BlockedThirtyPercentDiagonal) {
    const RouteMap m = RandomBlockedMap(150, 30, 79);
    ExpectDigest(m, OpenPairs(m, 2000, 7901), true, 13284708231749664430ull, 2000, 0);
}

TEST(RouteChangeDetector, BlockedThirtyPercentStraightOnly) {
    const RouteMap m = RandomBlockedMap(150, 30, 79);
    ExpectDigest(m, OpenPairs(m, 2000, 7902), false, 15258670610118762976ull, 1888, 112);
}

TEST(RouteChangeDetector, FootprintsDiagonal) {
    const RouteMap m = FootprintMap(128, 20240501);
    ExpectDigest(m, OpenPairs(m, 2000, 7903), true, 10597908351197992753ull, 2000, 0);
}

TEST(RouteChangeDetector, EndsThatMayBeBlocked) {
    const RouteMap m = RandomBlockedMap(150, 30, 80);
    const std::vector<RoutePair> pairs = AnyPairs(m, 500, 7904);
    ExpectDigest(m, pairs, true, 10109813062316088847ull, 348, 152);
    ExpectDigest(m, pairs, false, 2682685312223404555ull, 332, 168);
}
