// Costs of every frame's character work: skinning into interleaved 32-byte vertices by the
// literal two-transform formula against the cached skinning matrices, and evaluating two
// animation layers per character, with the share of it spent finding keys.
#include "gi/giAnimation.h"
#include "gi/giGmModel.h"
#include "gi/giSkeleton.h"
#include "gi/giSkinnedMesh.h"

#include "engine/Random.h"
#include "engine/Timers.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kChars = std::string(FAIRLARK_BUILD_DATA_DIR) + "Characters/";

struct Vtx32 {
    float pos[3], nrm[3], uv[2];
};

uint64_t s_nowUs = 1000000;
uint64_t Now() {
    return s_nowUs;
}

// The literal formula: every influence carried through its inverse bind, then its bone matrix.
void SkinLiteral(const giSkinnedMesh& mesh, int part, Vtx32* out) {
    const giSkeleton& skel = *mesh.Skeleton();
    const giSkinVertex* skin = skel.SkinVertices(part);
    const auto& uvs = mesh.Model()->Part(part)->texCoords[0];
    for (int v = 0; v < skel.MeshVertexCount(part); ++v) {
        const giSkinVertex& s = skin[v];
        giVec3 p, n;
        for (int i = 0; i < s.influenceCount; ++i) {
            const giMat44& inv = skel.Bone(s.bones[i]).inverseBind;
            const giMat44& bone = *mesh.BoneMatrix(s.bones[i]);
            p += giVec3TransformCoord(giVec3TransformCoord(s.position, inv), bone) * s.weights[i];
            n += giVec3TransformNormal(giVec3TransformNormal(s.normal, inv), bone) * s.weights[i];
        }
        Vtx32& o = out[v];
        o.pos[0] = p.x, o.pos[1] = p.y, o.pos[2] = p.z;
        o.nrm[0] = n.x, o.nrm[1] = n.y, o.nrm[2] = n.z;
        o.uv[0] = uvs[(size_t)v].x, o.uv[1] = uvs[(size_t)v].y;
    }
}

// 200 adults, each posed at its own time of the walk.
struct Adults {
    giGmModel model;
    giSkeleton skel;
    giAnimation walk, run;
    std::vector<std::unique_ptr<giSkinnedMesh>> meshes;
    bool ok = false;

    Adults() {
        TimerSetTestSource(&Now);
        AppTimer(APPTIMER_START);
        AppTimer(APPTIMER_RESET);
        ok = model.Load((kChars + "Adult.gmf").c_str()) &&
             skel.Build(kChars + "AdultSkel.gmf", model) &&
             walk.Load((kChars + "Anims/AdultWalk.gmf").c_str()) &&
             run.Load((kChars + "Anims/AdultRun.gmf").c_str());
        for (int i = 0; ok && i < 200; ++i) {
            auto m = std::make_unique<giSkinnedMesh>();
            m->SetModel(&model);
            m->SetSkeleton(&skel);
            m->AddAnimation(&walk);
            m->AddAnimation(&run);
            m->AddLayer("AdultWalk", true, 0, 1, 0);
            m->AddLayer("AdultRun", true, 0, 0.5f, 0);
            s_nowUs += 4999; // a spread of phases
            m->Animate(true);
            meshes.push_back(std::move(m));
        }
    }
    ~Adults() { TimerSetTestSource(nullptr); }
};

// One mesh of 600 vertices with two influences each over the eleven bones of a chain.
struct Synthetic {
    GM_Skeleton rec;
    giGmModel model;
    giSkeleton skel;
    giSkinnedMesh mesh;

    Synthetic() {
        constexpr int kBones = 11, kVertices = 600;
        MsSeed(46);
        for (int b = 0; b < kBones; ++b) {
            GM_SkelBoneData& bone = rec.bones[(uint32_t)b];
            bone.name = "Bone" + std::to_string(b);
            bone.parent = b ? "Bone" + std::to_string(b - 1) : "";
            bone.orient[0] = bone.orient[5] = bone.orient[10] = bone.orient[15] = 1;
            bone.orient[13] = 0.1f * (float)b;
        }
        auto part = std::make_unique<giMeshPart>();
        part->vertexCount = kVertices;
        part->texCoords.resize(1);
        for (int v = 0; v < kVertices; ++v) {
            part->positions.push_back({(float)(MsRand() % 100) / 100, (float)v / kVertices, 0});
            part->normals.push_back({0, 0, 1});
            part->texCoords[0].push_back({0.5f, 0.5f});
            part->source.push_back((uint32_t)v);
            const int b = v * kBones / kVertices;
            for (int j = 0; j < 2; ++j) {
                GM_SkelBoneData& bone = rec.bones[(uint32_t)((b + j) % kBones)];
                bone.weights.push_back({(uint32_t)v, 0.5f});
                bone.vertexCount = (uint32_t)bone.weights.size();
            }
        }
        part->sourceVertexCount = kVertices;
        rec.boneCount = kBones;
        model.AddPart(std::move(part));
        skel.BuildFrom(rec, model);
        mesh.SetModel(&model);
        mesh.SetSkeleton(&skel);
        for (int b = 0; b < kBones; ++b)
            mesh.boneRot[(size_t)b] = {0.1f, 0, 0, 0.995f};
        mesh.BuildBoneMatrices();
    }
};

void BM_SkinVertices(benchmark::State& state) {
    const bool cached = state.range(1) != 0;
    std::vector<Vtx32> out(1000);
    int64_t vertices = 0;
    if (state.range(0) == 0) {
        static Adults adults;
        if (!adults.ok) {
            state.SkipWithError("the character data is not built (target data)");
            return;
        }
        for (auto _ : state)
            for (const auto& m : adults.meshes)
                for (int p = 0; p < adults.model.PartCount(); ++p) {
                    if (cached)
                        m->SkinVertices(p, out[0].pos, 32, out[0].nrm, 32, out[0].uv, 32, nullptr,
                                        0, nullptr, 0);
                    else
                        SkinLiteral(*m, p, out.data());
                    vertices += adults.skel.MeshVertexCount(p);
                    benchmark::DoNotOptimize(out.data());
                }
    } else {
        static Synthetic synthetic;
        for (auto _ : state) {
            if (cached)
                synthetic.mesh.SkinVertices(0, out[0].pos, 32, out[0].nrm, 32, out[0].uv, 32,
                                            nullptr, 0, nullptr, 0);
            else
                SkinLiteral(synthetic.mesh, 0, out.data());
            vertices += 600;
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetItemsProcessed(vertices);
    state.SetLabel(std::string(state.range(0) ? "600 vertices x 2 influences" : "200 adults") +
                   (cached ? ", cached" : ", literal"));
}
BENCHMARK(BM_SkinVertices)->ArgsProduct({{0, 1}, {0, 1}});

void BM_Animate(benchmark::State& state) {
    static Adults adults;
    if (!adults.ok) {
        state.SkipWithError("the character data is not built (target data)");
        return;
    }
    int64_t meshes = 0;
    for (auto _ : state) {
        s_nowUs += 16667;
        for (const auto& m : adults.meshes)
            m->Animate(false);
        meshes += (int64_t)adults.meshes.size();
    }
    state.SetItemsProcessed(meshes);
}
BENCHMARK(BM_Animate);

// The key searches BM_Animate makes, alone: two layers per mesh at their own times.
void BM_AnimateKeySearch(benchmark::State& state) {
    static Adults adults;
    if (!adults.ok) {
        state.SkipWithError("the character data is not built (target data)");
        return;
    }
    float t = 0;
    int64_t meshes = 0;
    for (auto _ : state) {
        t += 0.016667f;
        for (size_t i = 0; i < adults.meshes.size(); ++i) {
            const float at = t + 0.005f * (float)i;
            benchmark::DoNotOptimize(
                giAnimKeyIndex(adults.walk.KeyTimes(), at - (float)(int)(at / 1.0f)));
            benchmark::DoNotOptimize(
                giAnimKeyIndex(adults.run.KeyTimes(), at - 0.6f * (float)(int)(at / 0.6f)));
        }
        meshes += (int64_t)adults.meshes.size();
    }
    state.SetItemsProcessed(meshes);
}
BENCHMARK(BM_AnimateKeySearch);

} // namespace
