// The generated character set read back through the library: exactly the files the game needs,
// identical on a re-run, checked by the generator's rules, and loading into skeletons, clips,
// model parts and descriptors that agree with the generator's own forward kinematics.
#include "datagen/Characters/CharCheck.h"
#include "datagen/Characters/CharDescriptors.h"
#include "datagen/Characters/CharSet.h"

#include "gi/GM_Animation.h"
#include "gi/GM_Material.h"
#include "gi/GM_ModelFile.h"
#include "gi/GM_Skeleton.h"
#include "gi/GM_Stream.h"
#include "gi/giAnimation.h"
#include "gi/giGmModel.h"
#include "gi/giPath.h"
#include "gi/giSkeleton.h"
#include "gi/giXmlDocument.h"
#include "gi/giXmlValue.h"

#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

namespace {

const std::string kData = FAIRLARK_BUILD_DATA_DIR;

std::string CharFile(const char* file) {
    return kData + "Characters/" + file;
}

// Bone matrices of a clip's key posed as skinned meshes pose them: the rotation from the key's
// quaternion, the root's translation from its key, every other bone placed by its offset from
// its parent.
std::vector<giMat44> PoseKey(const giSkeleton& skel, const giAnimation& anim, int key) {
    auto place = [](giMat44& m, const giVec3& at) {
        m.m[3][0] = at.x, m.m[3][1] = at.y, m.m[3][2] = at.z;
    };
    std::vector<giMat44> m((size_t)skel.BoneCount());
    for (int b = 0; b < skel.BoneCount(); ++b) {
        const giAnimKey& k = anim.Tracks()[(size_t)b].keys[(size_t)key];
        m[(size_t)b] = giMatrixRotationQuaternion(k.Rotation());
        if (skel.Bone(b).parentIndex < 0) place(m[(size_t)b], {k.pos[0], k.pos[1], k.pos[2]});
    }
    // Parents come first in these files, so one pass in index order places every child.
    for (int b = 0; b < skel.BoneCount(); ++b) {
        const int p = skel.Bone(b).parentIndex;
        if (p >= 0) place(m[(size_t)b], giVec3TransformCoord(skel.Bone(b).offset, m[(size_t)p]));
    }
    return m;
}

GM_Animation& AnimOf(CharGmf& f) {
    return *static_cast<GM_Animation*>(f.objects->Head());
}

} // namespace

TEST(CharacterData, ExactlyTheSetAndTheSameBytesOnARerun) {
    const CharSet set = CharBuildSet();
    const std::vector<std::string> expected = CharSetFiles(set);
    EXPECT_EQ(expected.size(), 87u);
    std::set<std::string> found;
    for (const auto& e : std::filesystem::recursive_directory_iterator(kData + "Characters"))
        if (e.is_regular_file())
            found.insert(std::filesystem::relative(e.path(), kData).generic_string());
    EXPECT_EQ(found, std::set<std::string>(expected.begin(), expected.end()))
        << "the build's Characters folder holds exactly the generated set";

    TempDir dir;
    ASSERT_EQ(CharWriteSet(set, dir.Path()), "");
    for (const std::string& f : expected)
        EXPECT_EQ(FileBytes(dir / f), FileBytes(kData + f)) << f << " differs on a second run";
}

TEST(CharacterData, GmfFilesReReadWithEqualFields) {
    TempDir dir;
    const CharSet set = CharBuildSet();
    for (const auto* list : {&set.models, &set.skeletons, &set.animations})
        for (const CharGmf& f : *list) {
            GM_Stream in;
            ASSERT_TRUE(in.OpenRead((kData + f.path).c_str(), GM_STREAM_BINARY)) << f.path;
            ASSERT_TRUE(in.ReadBinaryHeader());
            GM_ModelFile m;
            ASSERT_EQ(m.LoadFile(&in), 1) << f.path;
            EXPECT_EQ(m.Scene() != nullptr, f.scene != nullptr) << f.path;
            EXPECT_EQ(m.Materials() != nullptr, f.materials != nullptr) << f.path;
            // Every field read is written again: equal bytes mean equal fields.
            GM_Stream out;
            ASSERT_TRUE(out.OpenWrite((dir / "again.gmf").c_str(), GM_STREAM_BINARY));
            ASSERT_TRUE(out.WriteHeader(in.Comment(), in.ModelType()));
            if (m.Scene()) {
                ASSERT_TRUE(m.Scene()->Write(&out));
            }
            if (m.Materials()) {
                ASSERT_TRUE(m.Materials()->Write(&out));
            }
            ASSERT_TRUE(m.Objects() && m.Objects()->Write(&out)) << f.path;
            out.Close();
            EXPECT_EQ(FileBytes(dir / "again.gmf"), FileBytes(kData + f.path)) << f.path;
        }
}

TEST(CharacterData, TheGeneratorRefusesBrokenRules) {
    struct Case {
        const char* rule;
        void (*tamper)(CharSet&);
    } cases[] = {
        {"not in skeleton order",
         [](CharSet& s) {
             std::swap(AnimOf(s.animations[0]).boneAnims[1], AnimOf(s.animations[0]).boneAnims[2]);
         }},
        {"key times differ",
         [](CharSet& s) { AnimOf(s.animations[2]).boneAnims[5].keys[3].time += 1; }},
        {"length is not above 0",
         [](CharSet& s) {
             GM_Animation& a = AnimOf(s.animations[1]);
             a.animLength = 0;
             for (auto& [i, t] : a.boneAnims)
                 for (GM_BoneKey& k : t.keys)
                     k.time = 0;
         }},
        {"not unit length",
         [](CharSet& s) {
             for (float& q : AnimOf(s.animations[0]).boneAnims[3].keys[2].quat)
                 q *= 1.01f;
         }},
        {"facing inwards",
         [](CharSet& s) {
             auto* g = static_cast<GM_GeoObject*>(s.models[0].objects->At(4));
             std::swap(g->mesh.faces[3].b, g->mesh.faces[3].c);
             std::swap(g->mesh.texFaces[3].b, g->mesh.texFaces[3].c);
         }},
        {"no material list",
         [](CharSet& s) { s.skeletons[1].materials = std::make_unique<GM_MaterialList>(); }},
        {"sum to 1",
         [](CharSet& s) {
             auto* k = static_cast<GM_Skeleton*>(s.skeletons[0].objects->Head());
             k->bones[2].weights[0].weight = 0.5f;
         }},
    };
    for (const Case& c : cases) {
        CharSet set = CharBuildSet();
        c.tamper(set);
        const std::string why = CharCheckSet(set);
        EXPECT_NE(why.find(c.rule), std::string::npos) << c.rule << " was not refused: " << why;
        TempDir dir;
        EXPECT_NE(CharWriteSet(set, dir.Path()), "");
        EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << "a refused set writes nothing";
    }
}

TEST(CharacterData, AdultSkeletonSkinsTheAdultModel) {
    giGmModel model;
    ASSERT_TRUE(model.Load(CharFile("Adult.gmf").c_str()));
    giSkeleton skel;
    ASSERT_TRUE(skel.Build(CharFile("AdultSkel.gmf"), model));
    const char* names[] = {"pelvis",   "spine",  "head",  "upperarml", "forearml", "upperarmr",
                           "forearmr", "thighl", "calfl", "thighr",    "calfr"};
    const int parents[] = {-1, 0, 1, 1, 3, 1, 5, 0, 7, 0, 9};
    ASSERT_EQ(skel.BoneCount(), 11);
    for (int b = 0; b < 11; ++b) {
        const giSkeletonBone& bone = skel.Bone(b);
        EXPECT_EQ(bone.name, names[b]);
        EXPECT_EQ(bone.parentIndex, parents[b]) << names[b];
        EXPECT_TRUE(std::is_sorted(bone.children.begin(), bone.children.end()));
        const giMat44 id = bone.bind * bone.inverseBind;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                EXPECT_NEAR(id.m[r][c], r == c ? 1.0f : 0.0f, 1e-6f) << names[b];
        if (!bone.parent) continue;
        const giVec3 at = giVec3TransformCoord(bone.offset, bone.parent->bind);
        EXPECT_NEAR(at.x, bone.bind.m[3][0], 1e-5f) << names[b];
        EXPECT_NEAR(at.y, bone.bind.m[3][1], 1e-5f) << names[b];
        EXPECT_NEAR(at.z, bone.bind.m[3][2], 1e-5f) << names[b];
    }
    EXPECT_EQ(skel.Bone(1).children, (std::vector<int32_t>{2, 3, 5}));
    EXPECT_EQ(skel.FindBone("SPINE"), skel.FindBone("spine"));
    ASSERT_EQ(skel.MeshCount(), 11);
    for (int m = 0; m < 11; ++m) {
        ASSERT_EQ(skel.MeshVertexCount(m), 24);
        for (int v = 0; v < 24; ++v) {
            const giSkinVertex& sv = skel.SkinVertices(m)[v];
            ASSERT_EQ(sv.influenceCount, 1) << "mesh " << m << " vertex " << v;
            EXPECT_EQ(sv.bones[0], m) << "box m is bone m's, found through the running offset";
            EXPECT_EQ(sv.weights[0], 1.0f);
        }
    }
}

TEST(CharacterData, EveryClipLoadsAsALoopPosedLikeTheGenerator) {
    for (const CharClipDef& clip : CharClips()) {
        const CharRig rig = CharMakeRig(clip.child ? kChildScale : 1.0f);
        giAnimation anim;
        ASSERT_TRUE(
            anim.Load(CharFile((std::string("Anims/") + clip.name + ".gmf").c_str()).c_str()))
            << clip.name;
        EXPECT_EQ(anim.Name(), clip.name);
        ASSERT_EQ(anim.BoneCount(), 11);
        EXPECT_FLOAT_EQ(anim.Length(), (float)clip.lengthMs / 1000);
        EXPECT_EQ(anim.KeyTimes().front(), 0.0f);
        EXPECT_FLOAT_EQ(anim.KeyTimes().back(), anim.Length());
        for (const giAnimTrack& t : anim.Tracks()) {
            const giAnimKey &first = t.keys.front(), &last = t.keys.back();
            EXPECT_TRUE(std::equal(first.pos, first.pos + 3, last.pos) &&
                        std::equal(first.quat, first.quat + 4, last.quat))
                << clip.name << " " << t.boneName << ": the first pose is the last";
        }

        // Every key posed from the file puts every joint where the generator put it.
        giGmModel model;
        ASSERT_TRUE(model.Load(CharFile(clip.child ? "Child.gmf" : "Adult.gmf").c_str()));
        giSkeleton skel;
        ASSERT_TRUE(skel.Build(CharFile(clip.child ? "ChildSkel.gmf" : "AdultSkel.gmf"), model));
        for (int k = 0; k < anim.KeyCount(); ++k) {
            const std::vector<giMat44> m = PoseKey(skel, anim, k);
            const CharWorldPose fk = CharClipKeyPose(rig, clip, k);
            for (int b = 0; b < 11; ++b) {
                const giVec3& j = fk.joint[(size_t)b];
                ASSERT_NEAR(m[(size_t)b].m[3][0], j.x, 1e-4f) << clip.name << " key " << k;
                ASSERT_NEAR(m[(size_t)b].m[3][1], j.y, 1e-4f) << clip.name << " key " << k;
                ASSERT_NEAR(m[(size_t)b].m[3][2], j.z, 1e-4f) << clip.name << " key " << k;
            }
        }
    }
    giAnimation walk;
    ASSERT_TRUE(walk.Load(CharFile("Anims/AdultWalk.gmf").c_str()));
    ASSERT_EQ(walk.KeyCount(), 9);
    for (int k = 0; k < 9; ++k)
        EXPECT_FLOAT_EQ(walk.KeyTimes()[(size_t)k], 0.125f * (float)k);
    EXPECT_EQ(walk.KeyTimes()[4], 0.5f);
}

TEST(CharacterData, AdultModelParts) {
    giGmModel model;
    ASSERT_TRUE(model.Load(CharFile("Adult.gmf").c_str()));
    ASSERT_EQ(model.PartCount(), 11);
    EXPECT_EQ(model.Part(0)->name, "Pelvis");
    EXPECT_EQ(model.Part(10)->name, "CalfR");
    for (int i = 0; i < model.PartCount(); ++i) {
        const giMeshPart& p = *model.Part(i);
        EXPECT_EQ(p.vertexCount, 24);
        EXPECT_EQ(p.indexCount, 36);
        EXPECT_EQ(p.triangleCount, 12);
        EXPECT_EQ(p.textures[GI_TEX_DIFFUSE], "Adult.tga");
        for (int s = 1; s < GI_TEX_SLOTS; ++s)
            EXPECT_EQ(p.textures[s], "");
        EXPECT_EQ(p.opacity, 1.0f);
        for (int t = 0; t < p.indexCount; t += 3) {
            const giVec3 &a = p.positions[p.indices[(size_t)t]],
                         &b = p.positions[p.indices[(size_t)t + 1]],
                         &c = p.positions[p.indices[(size_t)t + 2]];
            EXPECT_GT((b - a).Cross(c - a).Dot(p.normals[p.indices[(size_t)t]]), 0.0f)
                << p.name << " triangle " << t / 3 << " faces inwards";
        }
    }
    EXPECT_EQ(model.BoundsMin().y, 0.0f);
    EXPECT_NEAR(model.BoundsMax().y, 1.8f, 1e-5f);
    EXPECT_NEAR(model.Centre().x, 0.0f, 1e-6f);
}

TEST(CharacterData, DescriptorsNameTheirFilesAndClips) {
    const std::set<std::string> adult = {"AdultWalk", "AdultRun", "AdultIdle1", "AdultPayMoney",
                                         "AdultSitting1"};
    const std::set<std::string> child = {"ChildWalk", "ChildRun", "ChildIdle1", "ChildPayMoney",
                                         "ChildSitting1"};
    const std::set<std::string> carny = {"AdultWalk",      "AdultIdle1",      "AdultSweeping",
                                         "AdultMalePound", "AdultMaleWrench", "CarnyNap",
                                         "CarnySleepy"};
    const std::pair<const char*, const std::set<std::string>*> kinds[] = {
        {"AdultMale", &adult},   {"AdultFemale", &adult}, {"ChildMale", &child},
        {"ChildFemale", &child}, {"CarnyMale", &carny},   {"CarnyFemale", &carny}};
    for (const auto& [kind, clips] : kinds) {
        giXmlDocument doc;
        ASSERT_TRUE(doc.LoadFile(CharFile((std::string(kind) + ".xml").c_str())))
            << doc.ErrorDesc();
        auto exists = [](const TiXmlElement* e) {
            const std::string path = kData + giXmlGetText(e);
            std::FILE* f = giFileIO::Get()->Open(path.c_str(), "rb");
            if (f) std::fclose(f);
            return f != nullptr;
        };
        EXPECT_FALSE(giXmlGetBool(doc.FirstChildElement("DiffuseAsDecal")));
        EXPECT_FALSE(giXmlGetBool(doc.FirstChildElement("UseBumpGlossShader")));
        EXPECT_TRUE(exists(doc.FirstChildElement("Model"))) << kind;
        EXPECT_TRUE(exists(doc.FirstChildElement("Skeleton"))) << kind;
        EXPECT_NE(giXmlGetText(doc.FirstChildElement("Model")).find('\\'), std::string::npos)
            << "paths are written with \\";
        std::set<std::string> listed;
        for (const TiXmlElement* a = doc.FirstChildElement("animation"); a;
             a = a->NextSiblingElement("animation")) {
            EXPECT_TRUE(exists(a->FirstChildElement("file"))) << kind;
            listed.insert(giPath(giXmlGetText(a->FirstChildElement("file"))).BaseName());
        }
        EXPECT_EQ(listed, *clips) << kind;
        const CharRig rig = CharMakeRig(clips == &child ? kChildScale : 1.0f);
        int boxes = 0;
        for (const TiXmlElement* b = doc.FirstChildElement("Box"); b;
             b = b->NextSiblingElement("Box"), ++boxes) {
            const std::string name = giXmlGetText(b->FirstChildElement("Name"));
            float want[6];
            CharClipBounds(rig, name.c_str(), want);
            const char* keys[6] = {"MinX", "MinY", "MinZ", "MaxX", "MaxY", "MaxZ"};
            for (int i = 0; i < 6; ++i)
                EXPECT_NEAR(giXmlGetFloat(b->FirstChildElement(keys[i])), want[i], 1e-5f)
                    << kind << " " << name << " " << keys[i];
            EXPECT_LT(want[1], want[4]);
        }
        EXPECT_EQ(boxes, (int)clips->size());
    }
    giXmlDocument missing;
    EXPECT_FALSE(missing.LoadFile(CharFile("Nobody.xml")));
    EXPECT_EQ(missing.ErrorId(), 2);
    EXPECT_STREQ(missing.ErrorDesc(), "Failed to open file");
}
