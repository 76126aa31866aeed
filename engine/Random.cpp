// The two linear congruential generators and the draws built on them.
#include "engine/Random.h"

#include <ctime>

namespace {
uint32_t s_crtSeed = 1; // the C library's rand() starts as if seeded with 1
uint32_t s_msSeed = 1;

int Step(uint32_t* seed) {
    *seed = *seed * 214013u + 2531011u;
    return (int)((*seed >> 16) & 0x7FFF);
}
} // namespace

int CrtRand() {
    return Step(&s_crtSeed);
}
void CrtSrand(uint32_t seed) {
    s_crtSeed = seed;
}

void MsSeed(uint32_t seed) {
    s_msSeed = seed;
}
int MsRand() {
    return Step(&s_msSeed);
}

RandSource::RandSource(void (*seedFn)(uint32_t), int (*drawFn)()) : draw(drawFn), seed(seedFn) {
    seedValue = (uint32_t)std::time(nullptr);
    seed(seedValue);
}

namespace {
// Made before main: a first use inside a frame would reseed from the clock, and a test's MsSeed
// made before that use would be lost.
RandSource s_gameSource(MsSeed, MsRand);
} // namespace

RandSource* RandGameSource() {
    return &s_gameSource;
}

void RandSource::InitCrt() {
    draw = CrtRand;
    seed = CrtSrand;
    max = kCrtRandMax;
    seedValue = (uint32_t)std::time(nullptr);
    seed(seedValue);
}

float RandRangeF(RandSource* source, float a, float b) {
    return (float)source->draw() / (float)source->max * (b - a) + a;
}

float RandAvg4(RandSource* source) {
    int sum = source->draw() + source->draw() + source->draw() + source->draw();
    return (float)sum * 0.25f / (float)source->max;
}

float RandBellSkewF(RandSource* source, float m) {
    float s = RandAvg4(source);
    if (s <= 0.5f) return 2.0f * s * m;
    return m + 2.0f * (s - 0.5f) * (1.0f - m);
}

int RandInt(int n) {
    return (int)((int64_t)CrtRand() * n / 32768);
}

int RandIntRange(int lo, int hi) {
    return (int)(lo + (int64_t)CrtRand() * ((int64_t)hi - lo) / 32768);
}

float RandFloat(float max) {
    return (float)CrtRand() * max * 3.0517578e-5f;
}

float RandFloatRange(float lo, float hi) {
    return lo + (float)CrtRand() * (hi - lo) * 3.0517578e-5f;
}
