// The rules of the generated character files.
#include "datagen/Characters/CharCheck.h"

#include "gi/GM_Animation.h"
#include "gi/GM_GeoObject.h"
#include "gi/GM_Material.h"
#include "gi/GM_ModelFile.h"
#include "gi/GM_Skeleton.h"
#include "gi/GM_Texture.h"
#include "gi/giPath.h"
#include "gi/giXmlValue.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

namespace {

std::string Fail(const std::string& path, const std::string& rule) {
    return path + ": " + rule;
}

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return s;
}

template <class T>
T* OnlyRecord(const CharGmf& f, uint32_t typeId) {
    if (!f.objects || f.objects->Head() != f.objects->Tail()) return nullptr;
    return typeId == f.objects->Head()->TypeId() ? dynamic_cast<T*>(f.objects->Head()) : nullptr;
}

std::vector<GM_GeoObject*> GeoObjects(const CharGmf& model) {
    std::vector<GM_GeoObject*> out;
    for (GM_Object* o = model.objects ? model.objects->Head() : nullptr; o; o = o->Next())
        if (auto* g = dynamic_cast<GM_GeoObject*>(o)) out.push_back(g);
    return out;
}

std::string CheckDiffuseMap(const CharGmf& model, const std::string& modelName) {
    GM_Material* mat = model.materials ? model.materials->Material(0) : nullptr;
    if (!mat) return Fail(model.path, "no material 0");
    for (GM_Object* o = mat->textures.Head(); o; o = o->Next()) {
        auto* t = dynamic_cast<GM_Texture*>(o);
        if (!t || t->mapSlot != 1) continue;
        const char* bitmap = t->bitmap.c_str();
        if (!bitmap || std::strpbrk(bitmap, "\\/:") || modelName + ".tga" != bitmap)
            return Fail(model.path, "the diffuse map is not the bare name " + modelName + ".tga");
        return "";
    }
    return Fail(model.path, "material 0 has no diffuse map (slot 1)");
}

// The welded triangles face outwards, like their corner normals, and up in the model is up in
// the map.
std::string CheckWelded(const std::string& path, const GM_GeoObject& g) {
    GM_WeldedMesh w;
    if (!GM_WeldMesh(g.mesh, w)) return Fail(path, std::string(g.Name()) + " cannot be welded");
    if (g.mesh.vertices.size() != 8 || g.mesh.faces.size() != 12 || w.vertexCount != 24)
        return Fail(path, std::string(g.Name()) + " is not a box of 8 positions, 12 faces and "
                                                  "24 welded vertices");
    giVec3 centre;
    for (const giVec3& p : g.mesh.vertices)
        centre += p * 0.125f;
    for (size_t t = 0; t + 2 < w.indices.size(); t += 3) {
        const uint16_t i0 = w.indices[t], i1 = w.indices[t + 1], i2 = w.indices[t + 2];
        const giVec3 &p0 = w.positions[i0], &p1 = w.positions[i1], &p2 = w.positions[i2];
        const giVec3 cross = (p1 - p0).Cross(p2 - p0);
        const giVec3 out = (p0 + p1 + p2) * (1.0f / 3.0f) - centre;
        bool normalsAgree = true;
        for (uint16_t i : {i0, i1, i2})
            normalsAgree = normalsAgree && cross.Dot(w.normals[i]) > 0;
        if (cross.Dot(out) <= 0 || !normalsAgree)
            return Fail(path, std::string(g.Name()) + " has a welded triangle facing inwards");
        for (uint16_t a : {i0, i1, i2})
            for (uint16_t b : {i0, i1, i2})
                if (w.positions[a].y > w.positions[b].y + 1e-6f &&
                    !(w.texCoords[0][a].y < w.texCoords[0][b].y))
                    return Fail(path, std::string(g.Name()) + " maps up in the model to down in "
                                                              "the map (V = 0 is the top row)");
    }
    return "";
}

} // namespace

std::string CharCheckModel(const CharGmf& model, const CharRig& rig, const CharMap& map) {
    const std::vector<GM_GeoObject*> geo = GeoObjects(model);
    if (!model.scene || !model.materials || geo.size() != (size_t)kCharBoneCount)
        return Fail(model.path, "a model needs a scene, a material list and one box per bone");
    const std::string name = giPath(model.path).BaseName();
    if (std::string e = CheckDiffuseMap(model, name); !e.empty()) return e;

    float lowest = INFINITY, highest = -INFINITY;
    for (GM_GeoObject* g : geo) {
        if (g->mesh.materialRef != 0) return Fail(model.path, "every box uses material 0");
        for (const giVec3& p : g->mesh.vertices)
            lowest = std::min(lowest, p.y), highest = std::max(highest, p.y);
        if (std::string e = CheckWelded(model.path, *g); !e.empty()) return e;
    }
    if (std::fabs(lowest) > 1e-6f || std::fabs(highest - kAdultHeight * rig.scale) > 1e-4f)
        return Fail(model.path, "not in the engine's axes: the character must stand on y = 0, "
                                "y up");

    // The face is on the head's +z side, and its eyes are in the upper half of what that side
    // shows of the map.
    const GM_GeoObject* head = geo[kHead];
    const GM_Mesh& m = head->mesh;
    for (size_t f = 0; f < m.faces.size(); ++f) {
        if (m.normals[f].face.z < 0.5f) continue;
        float v0 = 1, v1 = 0, u0 = 1, u1 = 0;
        for (uint32_t t : {m.texFaces[f].a, m.texFaces[f].b, m.texFaces[f].c}) {
            v0 = std::min(v0, m.texVerts[t].y), v1 = std::max(v1, m.texVerts[t].y);
            u0 = std::min(u0, m.texVerts[t].x), u1 = std::max(u1, m.texVerts[t].x);
        }
        bool eyesHigh = false;
        const int yMid = (int)((v0 + v1) * 0.5f * kCharMapSize);
        for (int y = (int)(v0 * kCharMapSize); y < yMid; ++y)
            for (int x = (int)(u0 * kCharMapSize); x <= (int)(u1 * kCharMapSize); ++x)
                eyesHigh = eyesHigh || map.At(x, y) == kCharEyeColour;
        if (!eyesHigh) return Fail(model.path, "the head's +z side does not show the face upright");
    }
    return "";
}

std::string CharCheckSkeleton(const CharGmf& skeleton, const CharGmf& model) {
    auto* skel = OnlyRecord<GM_Skeleton>(skeleton, GMID_SKELETON);
    if (!skel || skeleton.materials || skeleton.scene)
        return Fail(skeleton.path, "a skeleton file holds one object list with one skeleton and "
                                   "no material list");
    if (skel->boneCount != skel->bones.size())
        return Fail(skeleton.path, "the stored bone count differs from the bone records");
    std::map<std::string, uint32_t> index;
    for (const auto& [i, bone] : skel->bones) {
        if (i >= skel->boneCount) return Fail(skeleton.path, "bone indices are not 0 .. n - 1");
        if (!index.emplace(LowerAscii(bone.name), i).second)
            return Fail(skeleton.path, "two bones are named " + bone.name +
                                           " without regard "
                                           "to case");
        if (!bone.parent.empty()) {
            auto p = index.find(LowerAscii(bone.parent));
            if (p == index.end() || p->second >= i)
                return Fail(skeleton.path, bone.name + " comes before its parent");
        }
        const float* m = bone.orient;
        if (m[3] != 0 || m[7] != 0 || m[11] != 0 || m[15] != 1)
            return Fail(skeleton.path, bone.name + "'s bind matrix does not keep its translation "
                                                   "in elements 12 to 14");
        if (bone.vertexCount != bone.weights.size())
            return Fail(skeleton.path, bone.name + "'s vertex count is not its weight count");
    }
    // Weights by vertex: a mesh's positions follow those of the meshes before it.
    size_t positions = 0;
    for (GM_GeoObject* g : GeoObjects(model))
        positions += g->mesh.vertices.size();
    std::vector<double> sums(positions, 0.0);
    for (const auto& [i, bone] : skel->bones)
        for (const GM_BoneWeight& w : bone.weights) {
            if (w.vertex >= positions)
                return Fail(skeleton.path, bone.name + " weights a vertex the model lacks");
            sums[w.vertex] += w.weight;
        }
    for (double s : sums)
        if (std::fabs(s - 1.0) > 1e-6)
            return Fail(skeleton.path, "a vertex's weights do not "
                                       "sum to 1");
    return "";
}

std::string CharCheckAnimation(const CharGmf& animation, const CharGmf& skeleton) {
    auto* anim = OnlyRecord<GM_Animation>(animation, GMID_ANIMATION);
    auto* skel = OnlyRecord<GM_Skeleton>(skeleton, GMID_SKELETON);
    const std::string& path = animation.path;
    if (!anim || !skel || animation.materials || animation.scene)
        return Fail(path, "an animation file holds one object list with one animation and no "
                          "material list");
    if (anim->animName != giPath(path).BaseName() || anim->animName != anim->Name())
        return Fail(path, "the animation is not named after its file");
    if (anim->boneCount != (int32_t)skel->bones.size() ||
        anim->boneAnims.size() != skel->bones.size())
        return Fail(path, "there is not one track per skeleton bone");
    if (anim->animLength <= 0) return Fail(path, "the length is not above 0");
    if (anim->keyCount < 2) return Fail(path, "a loop needs two keys or more");
    const GM_BoneAnimData* first = nullptr;
    for (const auto& [i, track] : anim->boneAnims) {
        auto bone = skel->bones.find(i);
        if (bone == skel->bones.end() || bone->second.name != track.name ||
            bone->second.parent != track.parent)
            return Fail(path, "track " + std::to_string(i) + " is not in skeleton order");
        const std::vector<GM_BoneKey>& keys = track.keys;
        if (keys.size() != (size_t)anim->keyCount)
            return Fail(path, track.name + " has not the key count");
        if (!first) first = &track;
        for (size_t k = 0; k < keys.size(); ++k) {
            if (keys[k].time != first->keys[k].time)
                return Fail(path, track.name + "'s key times differ from the first track's");
            if (k > 0 && keys[k].time <= keys[k - 1].time)
                return Fail(path, track.name + "'s key times do not increase");
            const float* q = keys[k].quat;
            const double len = std::sqrt((double)q[0] * q[0] + (double)q[1] * q[1] +
                                         (double)q[2] * q[2] + (double)q[3] * q[3]);
            if (std::fabs(len - 1.0) > 1e-5)
                return Fail(path, track.name + " has a quaternion that is not unit length");
            if (k > 0) {
                const float* p = keys[k - 1].quat;
                if (p[0] * q[0] + p[1] * q[1] + p[2] * q[2] + p[3] * q[3] < 0)
                    return Fail(path, track.name + " has neighbouring keys in opposite "
                                                   "hemispheres");
            }
        }
        if (keys.front().time != 0 || keys.back().time != anim->animLength)
            return Fail(path, "keys do not run from 0 to the length");
        if (std::memcmp(keys.front().pos, keys.back().pos, sizeof keys[0].pos) != 0 ||
            std::memcmp(keys.front().quat, keys.back().quat, sizeof keys[0].quat) != 0)
            return Fail(path, track.name + "'s last key is not its first");
        if (bone->second.parent.empty()) {
            // The root's keys carry where it is: nearer its bind origin than the model's origin.
            const float* o = bone->second.orient + 12;
            for (const GM_BoneKey& k : keys) {
                const float dx = k.pos[0] - o[0], dy = k.pos[1] - o[1], dz = k.pos[2] - o[2];
                if (std::sqrt(dx * dx + dy * dy + dz * dz) >= o[1])
                    return Fail(path, "the root's keys do not carry its position");
            }
        }
    }
    return "";
}

std::string CharCheckDescriptor(const std::string& path, const TiXmlDocument& doc,
                                const std::set<std::string>& files) {
    auto names = [&](const TiXmlElement* e) {
        std::string t = giXmlGetText(e);
        for (char& c : t)
            if (c == '\\') c = '/';
        return files.count(t) != 0;
    };
    for (const char* flag : {"DiffuseAsDecal", "UseBumpGlossShader"})
        if (giXmlGetText(doc.FirstChildElement(flag)) != "0")
            return Fail(path, std::string(flag) + " is not 0");
    for (const char* key : {"Model", "Skeleton"})
        if (!names(doc.FirstChildElement(key)))
            return Fail(path, std::string(key) + " names no generated file");
    std::set<std::string> clips, boxes;
    for (const TiXmlElement* a = doc.FirstChildElement("animation"); a;
         a = a->NextSiblingElement("animation")) {
        if (!names(a->FirstChildElement("file")))
            return Fail(path, "an animation names no generated file");
        clips.insert(giPath(giXmlGetText(a->FirstChildElement("file"))).BaseName());
    }
    for (const TiXmlElement* b = doc.FirstChildElement("Box"); b; b = b->NextSiblingElement("Box"))
        boxes.insert(giXmlGetText(b->FirstChildElement("Name")));
    if (clips.empty() || clips != boxes) return Fail(path, "there is not one box per clip");
    return "";
}
