// Random numbers. The "run-time" generator stands in for the C library's rand()/srand() with
// the classic 15-bit recurrence (seed x 214013 + 2531011, result (seed >> 16) & 0x7FFF), so
// draws match what the game was tuned with; glibc's rand() is never used. MsSeed/MsRand keep a
// second, separate state of the same recurrence.
#pragma once

#include <cstdint>

constexpr int kCrtRandMax = 32767;

// The run-time generator: CrtSrand seeds it (tests seed it for deterministic draws).
int CrtRand();
void CrtSrand(uint32_t seed);

// The second generator.
void MsSeed(uint32_t seed);
int MsRand();

// A source of draws in 0..max.
struct RandSource {
    int (*draw)() = CrtRand;
    void (*seed)(uint32_t) = CrtSrand;
    uint32_t seedValue = 0;
    int max = kCrtRandMax;

    RandSource() = default;
    // Seeds through `seedFn` with the time of day.
    RandSource(void (*seedFn)(uint32_t), int (*drawFn)());
    // The run-time generator, seeded with the time of day.
    void InitCrt();
};

// The game's source of skewed draws (patron attributes, ratings, a new ride's wear): the second
// generator, seeded with the time of day once as the program starts, so these differ from run to
// run and never share a sequence with the rand(n) draws. Tests seed it with MsSeed.
RandSource* RandGameSource();

float RandRangeF(RandSource* source, float a, float b);
// Mean of four draws / max: 0..1, clustering near 0.5.
float RandAvg4(RandSource* source);
// 0..1 with the middle moved to m.
float RandBellSkewF(RandSource* source, float m);

// On the run-time generator. RandInt(n) is 0..n-1 (0 for n <= 1); computed in 64 bits, so wide
// spans stay in range.
int RandInt(int n);
int RandIntRange(int lo, int hi);
float RandFloat(float max);
float RandFloatRange(float lo, float hi);
