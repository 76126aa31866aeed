// The generated characters as skinned meshes: bind pose, every key of the clips against the
// generator's own forward kinematics, rigid boxes between keys, cross-fades, bounds that follow
// the playing clip, and the cached skinning matrices against the literal formula.
#include "gi/giSkinnedMesh.h"

#include "datagen/Characters/CharClips.h"
#include "datagen/Characters/CharRig.h"
#include "tests/gi/SkinTestSupport.h"

#include <gtest/gtest.h>

namespace {

const std::string kData = FAIRLARK_BUILD_DATA_DIR;

struct Vtx32 {
    float pos[3], nrm[3], uv[2];
};

giVec3 V(const float* f) {
    return {f[0], f[1], f[2]};
}

// One character kind loaded once per test: its model, skeleton and clips.
struct Character {
    giGmModel model;
    giSkeleton skel;
    std::vector<std::unique_ptr<giAnimation>> clips;

    explicit Character(bool child) {
        const std::string base = kData + "Characters/" + (child ? "Child" : "Adult");
        EXPECT_TRUE(model.Load((base + ".gmf").c_str()));
        EXPECT_TRUE(skel.Build(base + "Skel.gmf", model));
        for (const CharClipDef& def : CharClips()) {
            if (def.child != child) continue;
            auto a = std::make_unique<giAnimation>();
            EXPECT_TRUE(a->Load((kData + "Characters/Anims/" + def.name + ".gmf").c_str()));
            clips.push_back(std::move(a));
        }
    }
    void Give(giSkinnedMesh& mesh) const {
        mesh.SetModel(const_cast<giGmModel*>(&model));
        mesh.SetSkeleton(&skel);
        for (const auto& a : clips)
            mesh.AddAnimation(a.get());
    }
};

// Every part skinned, interleaved.
std::vector<std::vector<Vtx32>> SkinAll(const giSkinnedMesh& mesh) {
    std::vector<std::vector<Vtx32>> out;
    for (int m = 0; m < mesh.Model()->PartCount(); ++m) {
        std::vector<Vtx32> v((size_t)mesh.Model()->Part(m)->vertexCount);
        mesh.SkinVertices(m, v[0].pos, 32, v[0].nrm, 32, v[0].uv, 32, nullptr, 0, nullptr, 0);
        out.push_back(std::move(v));
    }
    return out;
}

// Puts the mesh's layers of group 0 at layer time t and evaluates them.
void PoseAt(giSkinnedMesh& mesh, float t) {
    const float now = (float)AppTimer(APPTIMER_APPTIME);
    for (const auto& l : mesh.GetGroup(0)->layers)
        l->startTime = now - t / mesh.speed;
    mesh.Animate(true);
}

void ExpectStoredVertices(const giSkinnedMesh& mesh, const char* when) {
    const std::vector<std::vector<Vtx32>> v = SkinAll(mesh);
    ASSERT_EQ(v.size(), 11u);
    for (int m = 0; m < 11; ++m) {
        const giMeshPart& part = *mesh.Model()->Part(m);
        for (size_t i = 0; i < v[(size_t)m].size(); ++i) {
            ASSERT_TRUE(Near(V(v[(size_t)m][i].pos), part.positions[i], 1e-5f))
                << when << ": part " << m << " vertex " << i;
            ASSERT_TRUE(Near(V(v[(size_t)m][i].nrm), part.normals[i], 1e-5f))
                << when << ": part " << m << " vertex " << i;
            ASSERT_EQ(v[(size_t)m][i].uv[0], part.texCoords[0][i].x);
        }
        // Separate arrays take the same values.
        std::vector<giVec3> pos(part.positions.size()), nrm(pos.size());
        std::vector<giVec2> uv(pos.size());
        mesh.SkinVertices(m, pos.data(), 12, nrm.data(), 12, uv.data(), 8, nullptr, 0, nullptr, 0);
        for (size_t i = 0; i < pos.size(); ++i) {
            ASSERT_TRUE(Near(pos[i], V(v[(size_t)m][i].pos), 0)) << when;
            ASSERT_TRUE(Near(nrm[i], V(v[(size_t)m][i].nrm), 0)) << when;
            ASSERT_EQ(uv[i].y, part.texCoords[0][i].y) << when;
        }
    }
}

} // namespace

TEST(SkinnedCharacter, BindPoseSkinsToTheStoredVertices) {
    TempDir dir;
    SkinClock clock;
    Character adult(false);
    giSkinnedMesh mesh;
    adult.Give(mesh);
    ExpectStoredVertices(mesh, "before any animation");

    // A clip of the bind pose, built from the skeleton.
    std::vector<std::vector<ClipKey>> tracks;
    for (int b = 0; b < adult.skel.BoneCount(); ++b) {
        const giMat44& bind = adult.skel.Bone(b).bind;
        const ClipKey k{0, V(bind.m[3]), giQuaternionRotationMatrix(bind)};
        tracks.push_back({k, {1000, k.pos, k.rot}});
    }
    auto bind = WriteClip(dir, "Bind", tracks, 1000);
    ASSERT_TRUE(bind);
    mesh.AddAnimation(bind.get());
    mesh.AddLayer("Bind", true, 0, 1, 0);
    clock.Advance(0.3);
    mesh.Animate(false);
    ExpectStoredVertices(mesh, "posed by a bind-pose clip");

    // The same with a twelfth track, as a clip of a larger rig has: it is not played.
    tracks.push_back(tracks[0]);
    tracks.back()[0].pos = tracks.back()[1].pos = {9, 9, 9};
    auto wide = WriteClip(dir, "Wide", tracks, 1000);
    ASSERT_TRUE(wide);
    giSkinnedMesh other;
    adult.Give(other);
    other.AddAnimation(wide.get());
    other.AddLayer("Wide", true, 0, 1, 0);
    clock.Advance(0.3);
    other.Animate(false);
    ExpectStoredVertices(other, "posed by a twelve-track clip");
}

TEST(SkinnedCharacter, EveryKeyMatchesTheGeneratorsForwardKinematics) {
    SkinClock clock;
    Character adult(false), child(true);
    for (const char* name : {"AdultWalk", "AdultRun", "AdultIdle1", "AdultSitting1", "ChildWalk"}) {
        const CharClipDef& def = *CharFindClip(name);
        const CharRig rig = CharMakeRig(def.child ? kChildScale : 1.0f);
        giSkinnedMesh mesh;
        (def.child ? child : adult).Give(mesh);
        const giAnimation& anim = *mesh.FindAnimation(name);
        mesh.AddLayer(name, true, 0, 1, 0);
        for (int k = 0; k < anim.KeyCount(); ++k) {
            PoseAt(mesh, anim.KeyTimes()[(size_t)k]);
            const CharWorldPose fk = CharClipKeyPose(rig, def, k);
            const auto v = SkinAll(mesh);
            for (int m = 0; m < 11; ++m)
                for (size_t i = 0; i < v[(size_t)m].size(); ++i) {
                    const giVec3 expect =
                        CharPosePoint(rig, fk, m, mesh.Model()->Part(m)->positions[i]);
                    ASSERT_TRUE(Near(V(v[(size_t)m][i].pos), expect, 1e-4f))
                        << name << " key " << k << " part " << m << " vertex " << i;
                }
        }
        // Between keys the boxes stay rigid: slerped rotations keep every edge.
        for (int k = 0; k + 1 < anim.KeyCount(); ++k) {
            PoseAt(mesh, (anim.KeyTimes()[(size_t)k] + anim.KeyTimes()[(size_t)k + 1]) / 2);
            const auto v = SkinAll(mesh);
            for (int m = 0; m < 11; ++m) {
                const auto& rest = mesh.Model()->Part(m)->positions;
                for (size_t i = 1; i < v[(size_t)m].size(); ++i)
                    ASSERT_NEAR(giDistance(V(v[(size_t)m][i].pos), V(v[(size_t)m][0].pos)),
                                giDistance(rest[i], rest[0]), 1e-4f)
                        << name << " between keys " << k << " and " << k + 1 << " part " << m;
            }
        }
    }

    giSkinnedMesh walk;
    adult.Give(walk);
    walk.AddLayer("AdultWalk", true, 0, 1, 0);
    PoseAt(walk, 0);
    const auto start = SkinAll(walk);
    PoseAt(walk, 1.0f);
    const auto end = SkinAll(walk);
    for (int m = 0; m < 11; ++m)
        for (size_t i = 0; i < start[(size_t)m].size(); ++i)
            ASSERT_TRUE(Near(V(end[(size_t)m][i].pos), V(start[(size_t)m][i].pos), 1e-5f))
                << "the walk's end is its start";
}

// The clips keep each pair of keys' arc: between keys a bone turns exactly as the slerp of its
// two keys would turn it, to the last bit.
TEST(SkinnedCharacter, BetweenKeysEveryBoneTurnsAsTheSlerpOfItsKeys) {
    SkinClock clock;
    Character adult(false);
    giSkinnedMesh mesh;
    adult.Give(mesh);
    mesh.AddLayer("AdultWalk", true, 0, 1, 0);
    const giAnimation& anim = *mesh.FindAnimation("AdultWalk");
    const std::vector<float>& times = anim.KeyTimes();
    int compared = 0;
    for (size_t k = 1; k < times.size(); ++k)
        for (float f : {0.1f, 0.5f, 0.93f}) {
            PoseAt(mesh, times[k - 1] + (times[k] - times[k - 1]) * f);
            const float u = (mesh.time - times[k - 1]) / (times[k] - times[k - 1]);
            if (!(u > 0 && u < 1)) continue;
            for (const giAnimTrack& track : anim.Tracks()) {
                const giQuat want =
                    giQuaternionSlerp(track.keys[k - 1].Rotation(), track.keys[k].Rotation(), u);
                const giQuat& got = mesh.boneRot[(size_t)track.boneIndex];
                ASSERT_TRUE(got.x == want.x && got.y == want.y && got.z == want.z &&
                            got.w == want.w)
                    << "key " << k << " at " << f << ", bone " << track.boneIndex;
                ++compared;
            }
        }
    EXPECT_GT(compared, 100);
}

TEST(SkinnedCharacter, CachedSkinMatricesMatchTheLiteralFormula) {
    SkinClock clock;
    for (bool kid : {false, true}) {
        Character c(kid);
        for (const auto& clip : c.clips) {
            giSkinnedMesh mesh;
            c.Give(mesh);
            mesh.AddLayer(clip->Name(), true, 0, 1, 0);
            for (int s = 0; s < 40; ++s) {
                PoseAt(mesh, clip->Length() * (float)s / 40);
                const auto v = SkinAll(mesh);
                for (int m = 0; m < 11; ++m)
                    for (size_t i = 0; i < v[(size_t)m].size(); ++i) {
                        const giSkinVertex& sv = c.skel.SkinVertices(m)[i];
                        giVec3 p, n;
                        for (int j = 0; j < sv.influenceCount; ++j) {
                            const giMat44& inv = c.skel.Bone(sv.bones[j]).inverseBind;
                            const giMat44& bone = *mesh.BoneMatrix(sv.bones[j]);
                            p +=
                                giVec3TransformCoord(giVec3TransformCoord(sv.position, inv), bone) *
                                sv.weights[j];
                            n +=
                                giVec3TransformNormal(giVec3TransformNormal(sv.normal, inv), bone) *
                                sv.weights[j];
                        }
                        ASSERT_TRUE(Near(V(v[(size_t)m][i].pos), p, 1e-5f))
                            << clip->Name() << " sample " << s << " part " << m;
                        ASSERT_TRUE(Near(V(v[(size_t)m][i].nrm), n, 1e-5f))
                            << clip->Name() << " sample " << s << " part " << m;
                    }
            }
        }
    }
}

TEST(SkinnedCharacter, CrossFadesRetargetsAndUnknownClips) {
    SkinClock clock;
    Character adult(false);
    // Each clip alone, as the reference.
    giSkinnedMesh walkOnly, runOnly, mesh;
    for (giSkinnedMesh* m : {&walkOnly, &runOnly, &mesh})
        adult.Give(*m);
    walkOnly.AddLayer("AdultWalk", true, 0, 1, 0);
    runOnly.AddLayer("AdultRun", true, 0, 1, 0);
    EventLog log;
    mesh.listener = &log;
    mesh.AddLayer("AdultWalk", true, 0, 1, 0);
    mesh.PlayExclusive("AdultRun", true, 0.5f, 1.0f, 0);
    clock.Advance(0.25);
    for (giSkinnedMesh* m : {&walkOnly, &runOnly, &mesh})
        m->Animate(false);
    for (int b = 0; b < 11; ++b) {
        EXPECT_TRUE(SameTurn(
            mesh.boneRot[(size_t)b],
            giQuaternionSlerp(walkOnly.boneRot[(size_t)b], runOnly.boneRot[(size_t)b], 0.5f),
            1e-6f))
            << "half-way through the fade, half-way between the clips; bone " << b;
    }
    clock.Advance(0.25);
    for (giSkinnedMesh* m : {&runOnly, &mesh})
        m->Animate(false);
    for (int b = 0; b < 11; ++b)
        EXPECT_TRUE(SameTurn(mesh.boneRot[(size_t)b], runOnly.boneRot[(size_t)b], 1e-6f))
            << "after the fade, the run alone; bone " << b;
    EXPECT_EQ(log.Count(1), 0);
    mesh.Animate(false);
    EXPECT_EQ(log.Count(1), 1) << "the walk goes once it has faded out";
    ASSERT_EQ(mesh.GetGroup(0)->layers.size(), 1u);

    // Asking again for what plays only retargets its weight.
    giAnimLayer* run = mesh.GetGroup(0)->layers[0].get();
    const float started = run->startTime;
    mesh.AddLayer("AdultRun", true, 0.2f, 0.5f, 0);
    EXPECT_EQ(mesh.GetGroup(0)->layers.size(), 1u);
    EXPECT_EQ(run->startTime, started) << "the run is not restarted";
    EXPECT_EQ(run->fadeFinal, 0.5f);

    // An unknown name fades the group out at once; the pose stays where it was left.
    mesh.PlayExclusive("NoSuchClip", true, 0, 1, 0);
    mesh.Animate(false);
    EXPECT_EQ(run->fadeCurrent, 0.0f);
    mesh.Animate(false);
    EXPECT_TRUE(mesh.GetGroup(0)->layers.empty());
    const std::vector<giQuat> left = mesh.boneRot;
    clock.Advance(0.3);
    mesh.Animate(false);
    for (int b = 0; b < 11; ++b)
        EXPECT_TRUE(SameTurn(mesh.boneRot[(size_t)b], left[(size_t)b], 0)) << b;
}

TEST(SkinnedCharacter, BoundsFollowThePlayingClip) {
    SkinClock clock;
    Character adult(false);
    giSkinnedMesh mesh;
    adult.Give(mesh);
    auto box = [](const char* name, giVec3 lo, giVec3 hi) {
        auto b = std::make_unique<giBox>();
        b->name = name;
        b->min[0] = lo.x, b->min[1] = lo.y, b->min[2] = lo.z;
        b->max[0] = hi.x, b->max[1] = hi.y, b->max[2] = hi.z;
        return b;
    };
    mesh.AddBox(box("AdultWalk", {-0.4f, 0, -0.5f}, {0.4f, 1.8f, 0.5f}));
    mesh.AddBox(box("AdultSitting1", {-0.3f, 0, -0.2f}, {0.3f, 1.3f, 0.8f}));
    EXPECT_TRUE(mesh.hasBoxes);
    mesh.SetTransform({5, 0, 2}, AxisTurn({0, 1, 0}, (float)M_PI / 2));
    mesh.AddLayer("AdultWalk", true, 0, 1, 0);
    // Turned a quarter about y, x becomes -z and z becomes x.
    EXPECT_TRUE(Near(mesh.worldMin, {4.5f, 0, 1.6f}, 1e-5f));
    EXPECT_TRUE(Near(mesh.worldMax, {5.5f, 1.8f, 2.4f}, 1e-5f));
    EXPECT_TRUE(Near(mesh.sphereCentre, {5, 0.9f, 2}, 1e-5f));
    EXPECT_NEAR(mesh.sphereRadius, giVec3(1.0f, 1.8f, 0.8f).Length() / 2, 1e-5f);

    mesh.PlayExclusive("AdultSitting1", true, 0.2f, 1, 0);
    EXPECT_TRUE(Near(mesh.worldMax, {5.8f, 1.8f, 2.4f}, 1e-5f)) << "both while they cross-fade";
    clock.Advance(0.5);
    mesh.Animate(false);
    mesh.Animate(false);
    EXPECT_TRUE(Near(mesh.worldMin, {4.8f, 0, 1.7f}, 1e-5f)) << "the sitting box alone";
    EXPECT_TRUE(Near(mesh.worldMax, {5.8f, 1.3f, 2.3f}, 1e-5f));

    // The head through the world, where the generator puts it.
    const CharRig rig = CharMakeRig(1);
    const CharClipDef& sit = *CharFindClip("AdultSitting1");
    PoseAt(mesh, mesh.FindAnimation("AdultSitting1")->KeyTimes()[2]);
    const giVec3 head = CharClipKeyPose(rig, sit, 2).joint[kHead];
    EXPECT_TRUE(
        Near(mesh.GetBoneWorldPosition("HEAD"), giVec3TransformCoord(head, mesh.world), 1e-4f));
}
