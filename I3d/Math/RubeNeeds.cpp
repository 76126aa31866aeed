// Patron needs (see RubeNeeds.h).
#include "I3d/Math/RubeNeeds.h"

const float g_rubeNeedRates[RUBE_NEED_COUNT] = {0.001f, 0.001f,  0.002f, 0.001f,
                                                0.001f, 0.0005f, 0.001f, 0.0f};

RubeNeeds::RubeNeeds() {
    for (int i = 0; i < RUBE_NEED_COUNT; ++i) {
        level[i] = 0.0f;
        multiplier[i] = 1.0f;
    }
}

// The level held in 0..1; NaN keeps the old one, so a bad step never poisons a patron for good.
static float Held(float next, float old) {
    if (next != next) return old;
    return next < 0.0f ? 0.0f : next > 1.0f ? 1.0f : next;
}

void RubeNeeds::Update(float dt) {
    for (int i = 0; i < RUBE_NEED_COUNT; ++i)
        level[i] = Held(level[i] + g_rubeNeedRates[i] * multiplier[i] * dt, level[i]);
}

// Held in 0..1, not only at 0: levels live in that range (Update clamps there too), so a negative
// need value in an attraction's record (a ride that makes patrons thirsty) raises the need to
// at most 1.0.
void RubeNeeds::Satisfy(const float values[RUBE_NEED_COUNT]) {
    if (!values) return;
    for (int i = 0; i < RUBE_NEED_COUNT; ++i)
        level[i] = Held(level[i] - values[i], level[i]);
}
