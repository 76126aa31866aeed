// Costs of the maths that picking sweeps and culling call per entity and per node every frame,
// each over 10,000 prepared inputs (the reported time is per call).
#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3.h"
#include "engine/Random.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {
constexpr int kCount = 10000;

std::vector<float> Scalars() {
    CrtSrand(1);
    std::vector<float> v(kCount);
    for (float& f : v)
        f = RandFloatRange(0.001f, 1000.0f);
    return v;
}

std::vector<VECTOR3> Points() {
    CrtSrand(2);
    std::vector<VECTOR3> v(kCount);
    for (VECTOR3& p : v)
        p = {RandFloatRange(-100, 100), RandFloatRange(-100, 100), RandFloatRange(-100, 100)};
    return v;
}

std::vector<Mat4> Matrices() {
    CrtSrand(3);
    std::vector<Mat4> v(kCount);
    for (Mat4& m : v) {
        Mat4FromEuler(&m, RandFloatRange(-3, 3), RandFloatRange(-3, 3), RandFloatRange(-3, 3));
        m.m[12] = RandFloatRange(-100, 100);
        m.m[13] = RandFloatRange(-100, 100);
        m.m[14] = RandFloatRange(-100, 100);
    }
    return v;
}

// Runs `fn(i)` over all inputs per iteration and reports the time per call.
template <typename Fn>
void Sweep(benchmark::State& state, Fn fn) {
    for (auto _ : state)
        for (int i = 0; i < kCount; ++i)
            fn(i);
    state.SetItemsProcessed(state.iterations() * kCount);
    state.counters["ns/call"] =
        benchmark::Counter((double)state.iterations() * kCount,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
} // namespace

static void BM_InvSqrtFast(benchmark::State& state) {
    auto xs = Scalars();
    Sweep(state, [&](int i) { benchmark::DoNotOptimize(InvSqrtFast(xs[i])); });
}
BENCHMARK(BM_InvSqrtFast);

static void BM_InvSqrtStd(benchmark::State& state) {
    auto xs = Scalars();
    Sweep(state, [&](int i) { benchmark::DoNotOptimize(1.0f / std::sqrt(xs[i])); });
}
BENCHMARK(BM_InvSqrtStd);

static void BM_Vec3NormalizeFast(benchmark::State& state) {
    auto ps = Points();
    Sweep(state, [&](int i) {
        VECTOR3 v = ps[i];
        Vec3NormalizeFast(&v);
        benchmark::DoNotOptimize(v);
    });
}
BENCHMARK(BM_Vec3NormalizeFast);

static void BM_Vec3NormalizeStd(benchmark::State& state) {
    auto ps = Points();
    Sweep(state, [&](int i) {
        VECTOR3 v = ps[i];
        float inv = 1.0f / std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        v = {v.x * inv, v.y * inv, v.z * inv};
        benchmark::DoNotOptimize(v);
    });
}
BENCHMARK(BM_Vec3NormalizeStd);

static void BM_Vec3DistSq(benchmark::State& state) {
    auto ps = Points();
    VECTOR3 eye = {1, 2, 3};
    Sweep(state, [&](int i) { benchmark::DoNotOptimize(Vec3DistSq(&ps[i], &eye)); });
}
BENCHMARK(BM_Vec3DistSq);

static void BM_Mat4Mul(benchmark::State& state) {
    auto ms = Matrices();
    Mat4 view = ms[0], out;
    Sweep(state, [&](int i) {
        Mat4Mul(&ms[i], &view, &out);
        benchmark::DoNotOptimize(out);
    });
}
BENCHMARK(BM_Mat4Mul);

static void BM_Mat4XformPoint(benchmark::State& state) {
    auto ms = Matrices();
    auto ps = Points();
    VECTOR3 out;
    Sweep(state, [&](int i) {
        Mat4XformPoint(&ps[i], &ms[i], &out);
        benchmark::DoNotOptimize(out);
    });
}
BENCHMARK(BM_Mat4XformPoint);

static void BM_BoxXform(benchmark::State& state) {
    auto ms = Matrices();
    float local[6], world[6];
    BoxFromSize(local, 4, 2, 6);
    Sweep(state, [&](int i) {
        BoxXform(local, &ms[i], world);
        benchmark::DoNotOptimize(world);
    });
}
BENCHMARK(BM_BoxXform);

static void BM_BoxRayTest(benchmark::State& state) {
    auto ps = Points();
    std::vector<float> boxes(6 * kCount);
    for (int i = 0; i < kCount; ++i) {
        VECTOR3 lo = {ps[i].x - 5, ps[i].y - 5, ps[i].z - 5},
                hi = {ps[i].x + 5, ps[i].y + 5, ps[i].z + 5};
        BoxSetMinMax(&boxes[6 * i], &lo, &hi);
    }
    Ray ray = {{0, 150, 0}, {0.1f, -1, 0.05f}};
    Sweep(state, [&](int i) {
        benchmark::DoNotOptimize(BoxRayTest(&boxes[6 * i], &ray, 0.0f, 100000.0f));
    });
}
BENCHMARK(BM_BoxRayTest);
