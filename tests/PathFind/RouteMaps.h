// The maps the route benchmarks run on, made the same way for the test that holds the routes to
// what they were: a 150 x 150 grid with 30% of its cells blocked, and the 128 x 128 ground of
// scattered footprints, each with 2,000 pairs of open cells. Their own generator, so neither
// depends on the game's random numbers.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

struct RouteMap {
    int width = 0, height = 0;
    std::vector<float> cells;
};

struct RoutePair {
    int sx, sy, gx, gy;
};

// A small fixed generator (xorshift32).
struct RouteRng {
    uint32_t s;
    explicit RouteRng(uint32_t seed) : s(seed ? seed : 1u) {}
    uint32_t Next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    int Below(int n) { return int(Next() % uint32_t(n)); }
};

// Blocked cells at random (blockedPercent of them); some cells cost 2 or 3 to cross.
inline RouteMap RandomBlockedMap(int size, int blockedPercent, uint32_t seed) {
    RouteRng rng(seed);
    RouteMap m{size, size, std::vector<float>(size_t(size) * size, 1.0f)};
    for (float& c : m.cells) {
        const int roll = rng.Below(100);
        if (roll < blockedPercent)
            c = -1.0f;
        else if (roll >= 95)
            c = float(2 + rng.Below(2));
    }
    return m;
}

// About 150 footprints of 4 x 3 to 6 x 5 cells on open ground.
inline RouteMap FootprintMap(int size, uint32_t seed) {
    RouteRng rng(seed);
    RouteMap m{size, size, std::vector<float>(size_t(size) * size, 1.0f)};
    for (int i = 0; i < 150; ++i) {
        const int x0 = rng.Below(size), y0 = rng.Below(size);
        const int x1 = std::min(x0 + 3 + rng.Below(3), size - 1);
        const int y1 = std::min(y0 + 2 + rng.Below(3), size - 1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                m.cells[size_t(y) * size + x] = -1.0f;
    }
    return m;
}

// Pairs of open cells; reachable or not, as they fall.
inline std::vector<RoutePair> OpenPairs(const RouteMap& m, int count, uint32_t seed) {
    RouteRng rng(seed);
    std::vector<RoutePair> pairs;
    while (int(pairs.size()) < count) {
        RoutePair p{rng.Below(m.width), rng.Below(m.height), rng.Below(m.width),
                    rng.Below(m.height)};
        if (m.cells[size_t(p.sy) * m.width + p.sx] > 0.0f &&
            m.cells[size_t(p.gy) * m.width + p.gx] > 0.0f)
            pairs.push_back(p);
    }
    return pairs;
}

// Any cells, blocked or not.
inline std::vector<RoutePair> AnyPairs(const RouteMap& m, int count, uint32_t seed) {
    RouteRng rng(seed);
    std::vector<RoutePair> pairs;
    for (int i = 0; i < count; ++i)
        pairs.push_back(RoutePair{rng.Below(m.width), rng.Below(m.height), rng.Below(m.width),
                                  rng.Below(m.height)});
    return pairs;
}
