// Building and writing the characters' GMF records.
#include "datagen/Characters/CharRecords.h"

#include "datagen/Characters/CharTextures.h"

#include "engine/Dirs.h"
#include "gi/GM_Animation.h"
#include "gi/GM_GeoObject.h"
#include "gi/GM_Material.h"
#include "gi/GM_Skeleton.h"
#include "gi/GM_Stream.h"
#include "gi/GM_Texture.h"

#include <cstring>

namespace {

constexpr const char* kComment = "Fairlark character generator";
constexpr int kCornersPerBox = 8;

// One side of a box seen from outside: its outward normal, the direction that is up in the
// map, and its corners top left, top right, bottom right, bottom left.
struct Side {
    giVec3 normal, up;
};
const Side kSides[6] = {
    {{1, 0, 0}, {0, 1, 0}},  {{-1, 0, 0}, {0, 1, 0}}, {{0, 1, 0}, {0, 0, -1}},
    {{0, -1, 0}, {0, 0, 1}}, {{0, 0, 1}, {0, 1, 0}},  {{0, 0, -1}, {0, 1, 0}},
};

// The box corner in the direction d from the centre (each component -1 or 1).
int CornerIndex(const giVec3& d) {
    return (d.x > 0 ? 1 : 0) | (d.y > 0 ? 2 : 0) | (d.z > 0 ? 4 : 0);
}

GM_GeoObject* BoxObject(const CharRig& rig, int b) {
    const CharBoneDef& d = rig.bones[(size_t)b];
    auto* g = new GM_GeoObject();
    g->SetName(d.name);
    g->parent.Set(d.parent >= 0 ? rig.bones[(size_t)d.parent].name : "");
    g->node.SetName(d.name);
    giMat44 pivot = giMat44::Identity();
    pivot.m[3][0] = d.joint.x, pivot.m[3][1] = d.joint.y, pivot.m[3][2] = d.joint.z;
    g->node.SetMatrix(pivot);

    GM_Mesh& m = g->mesh;
    m.materialRef = 0;
    for (int c = 0; c < kCornersPerBox; ++c)
        m.vertices.push_back(CharBoxCorner(d.boxMin, d.boxMax, c));
    for (int s = 0; s < 6; ++s) {
        const giVec3 n = kSides[s].normal, up = kSides[s].up;
        // Right as seen from outside: with it the map reads left to right.
        const giVec3 right = n.Cross(up);
        const giVec3 quad[4] = {n + up - right, n + up + right, n + right - up, n - right - up};
        const CharCellRect r = CharCellUv(d.cells[s]);
        const giVec3 uv[4] = {{r.u0, r.v0, 0}, {r.u1, r.v0, 0}, {r.u1, r.v1, 0}, {r.u0, r.v1, 0}};
        const uint32_t t = (uint32_t)m.texVerts.size();
        for (const giVec3& v : uv)
            m.texVerts.push_back(v);
        uint32_t v[4];
        for (int k = 0; k < 4; ++k)
            v[k] = (uint32_t)CornerIndex(quad[k]);
        // Stored so that (b - a) x (c - a) points into the box: welding takes the corners as
        // a, c, b, and the welded triangles then face outwards, as counter-clockwise culling
        // needs.
        const uint32_t tris[2][3] = {{0, 2, 1}, {0, 3, 2}};
        for (const auto& tri : tris) {
            m.faces.push_back({v[tri[0]], v[tri[1]], v[tri[2]], 0});
            m.texFaces.push_back({t + tri[0], t + tri[1], t + tri[2]});
            m.normals.push_back({n, {n, n, n}});
        }
    }
    return g;
}

GM_Material* Material(const std::string& name) {
    auto* mat = new GM_Material();
    mat->SetName(name.c_str());
    mat->className.Set("Standard");
    mat->ambient = 0xFF808080;
    mat->diffuse = 0xFFFFFFFF;
    mat->specular = 0xFF303030;
    mat->shine = 0.2f;
    mat->shineStrength = 0.3f;
    mat->shading = (int32_t)GMID_SHADING_BLINN;
    auto* tex = new GM_Texture();
    tex->SetName((name + " diffuse").c_str());
    tex->className.Set("Bitmap");
    tex->bitmap.Set((name + ".tga").c_str()); // a bare name: the loader adds the maps folder
    tex->amount = 1.0f;
    tex->mapSlot = 1;
    tex->uTiling = tex->vTiling = 1.0f;
    tex->mapChannel = 1;
    mat->textures.Append(tex);
    return mat;
}

} // namespace

giVec3 CharBoxCorner(const giVec3& min, const giVec3& max, int c) {
    return {c & 1 ? max.x : min.x, c & 2 ? max.y : min.y, c & 4 ? max.z : min.z};
}

CharGmf CharBuildModel(const CharRig& rig, const std::string& name) {
    CharGmf out;
    out.path = "Characters/" + name + ".gmf";
    out.scene = std::make_unique<GM_Scene>();
    out.scene->fileName.Set((name + ".max").c_str());
    out.scene->frameSpeed = 30;
    out.scene->ticksPerFrame = 160;
    out.scene->ambient = 0xFF404040;
    out.materials = std::make_unique<GM_MaterialList>();
    out.materials->Append(Material(name));
    out.objects = std::make_unique<GM_ObjectList>();
    for (int b = 0; b < kCharBoneCount; ++b)
        out.objects->Append(BoxObject(rig, b));
    return out;
}

CharGmf CharBuildSkeleton(const CharRig& rig, const std::string& name) {
    CharGmf out;
    out.path = "Characters/" + name + ".gmf";
    auto* skel = new GM_Skeleton();
    skel->SetName(name.c_str());
    skel->boneCount = kCharBoneCount;
    for (int b = 0; b < kCharBoneCount; ++b) {
        const CharBoneDef& d = rig.bones[(size_t)b];
        GM_SkelBoneData& bone = skel->bones[(uint32_t)b];
        bone.name = d.name;
        bone.parent = d.parent >= 0 ? rig.bones[(size_t)d.parent].name : "";
        giMat44 bind = giMat44::Identity();
        bind.m[3][0] = d.joint.x, bind.m[3][1] = d.joint.y, bind.m[3][2] = d.joint.z;
        std::memcpy(bone.orient, bind.m, sizeof bone.orient);
        // The boxes are the model's meshes in bone order, eight positions each.
        for (int c = 0; c < kCornersPerBox; ++c)
            bone.weights.push_back({(uint32_t)(b * kCornersPerBox + c), 1.0f});
        bone.vertexCount = (uint32_t)bone.weights.size();
    }
    out.objects = std::make_unique<GM_ObjectList>();
    out.objects->Append(skel);
    return out;
}

CharGmf CharBuildAnimation(const CharRig& rig, const CharClipDef& clip) {
    CharGmf out;
    out.path = std::string("Characters/Anims/") + clip.name + ".gmf";
    auto* anim = new GM_Animation();
    anim->SetName(clip.name);
    anim->animName = clip.name;
    anim->boneCount = kCharBoneCount;
    anim->animLength = clip.lengthMs;
    anim->fps = 30;
    anim->keyCount = clip.keyCount;
    for (int b = 0; b < kCharBoneCount; ++b) {
        const CharBoneDef& d = rig.bones[(size_t)b];
        GM_BoneAnimData& track = anim->boneAnims[(uint32_t)b];
        track.name = d.name;
        track.parent = d.parent >= 0 ? rig.bones[(size_t)d.parent].name : "";
    }
    for (int k = 0; k < clip.keyCount; ++k) {
        const CharWorldPose pose = CharClipKeyPose(rig, clip, k);
        for (int b = 0; b < kCharBoneCount; ++b) {
            GM_BoneKey key{};
            key.time = CharClipKeyTime(clip, k);
            const giVec3& j = pose.joint[(size_t)b];
            key.pos[0] = j.x, key.pos[1] = j.y, key.pos[2] = j.z;
            giQuat q = giQuaternionRotationMatrix(pose.orient[(size_t)b]);
            // q and -q turn alike; neighbouring keys keep one hemisphere so that blending
            // between them takes the short way.
            std::vector<GM_BoneKey>& keys = anim->boneAnims[(uint32_t)b].keys;
            if (!keys.empty()) {
                const float* p = keys.back().quat;
                if (p[0] * q.x + p[1] * q.y + p[2] * q.z + p[3] * q.w < 0)
                    q = {-q.x, -q.y, -q.z, -q.w};
            }
            key.quat[0] = q.x, key.quat[1] = q.y, key.quat[2] = q.z, key.quat[3] = q.w;
            if (k == clip.keyCount - 1) std::memcpy(key.quat, keys.front().quat, sizeof key.quat);
            keys.push_back(key);
        }
    }
    out.objects = std::make_unique<GM_ObjectList>();
    out.objects->Append(anim);
    return out;
}

bool CharWriteGmf(const CharGmf& gmf, const std::string& dataDir) {
    const std::string path = dataDir + gmf.path;
    if (DirCreateForFile(path.c_str()) != 1) return false;
    GM_Stream s;
    if (!s.OpenWrite(path.c_str(), GM_STREAM_BINARY) || !s.WriteHeader(kComment, GM_MODEL_BASIC))
        return false;
    bool ok = (!gmf.scene || gmf.scene->Write(&s)) &&
              (!gmf.materials || gmf.materials->Write(&s)) &&
              (!gmf.objects || gmf.objects->Write(&s));
    return s.Close() == 0 && ok;
}
