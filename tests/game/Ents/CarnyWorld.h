// The patrons' carnival with the carny class registered: carnies made under the generator as
// the game object hires them, and the seeds that make the next draw of rand(n) a given value.
#pragma once

#include "engine/Random.h"
#include "game/Ents/Carny.h"
#include "tests/game/Ents/PatronWorld.h"

#include <cstdio>
#include <string>

struct CarnyWorld {
    explicit CarnyWorld(uint32_t seed = 1, bool withGrid = true, const std::string& data = {})
        : w(seed, withGrid, data) {
        EntCreateClass(EcCarnyProc, 0, 0);
    }

    // A started carny under the generator at (x, z).
    Carny* AddCarny(float x, float z) {
        auto* c = static_cast<Carny*>(EntCreateChild("Carny", w.gen));
        char name[32];
        std::snprintf(name, sizeof name, "Carny %i", made++);
        c->SetName(name);
        c->pos = VECTOR3{x, 0.0f, z};
        c->Start();
        return c;
    }

    // The centre of grid cell (cx, cz).
    VECTOR3 Cell(int cx, int cz) const {
        return VECTOR3{w.grid->originX + 2.0f * (float)cx + 1.0f, 0.0f,
                       w.grid->originZ + 2.0f * (float)cz + 1.0f};
    }

    int CountOf(const char* type) const {
        ENTBASE* all[4096];
        return EntFindAllOfType(w.h->root, type, all, 4096);
    }

    PatronWorld w;
    int made = 0;
};

// A seed after which the run-time generator's next RandInt(n) is r.
inline uint32_t SeedForDraw(int n, int r) {
    for (uint32_t s = 1;; ++s) {
        CrtSrand(s);
        if (RandInt(n) == r) return s;
    }
}
