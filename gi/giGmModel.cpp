// GM models: loading a GMF model file into mesh parts, and the bounds of parts and models.
#include "gi/giGmModel.h"

#include "gi/GM_GeoObject.h"
#include "gi/GM_Material.h"
#include "gi/GM_ModelFile.h"
#include "gi/GM_Texture.h"
#include "gi/giDebug.h"
#include "gi/giString.h"

#include <algorithm>
#include <cmath>

namespace {

// GMF map type -> texture slot; -1 for the types that fill none.
int SlotOfMapType(int32_t mapType) {
    switch (mapType) {
        case 1: return GI_TEX_DIFFUSE;
        case 4: return GI_TEX_SPECULAR_LEVEL;
        case 5: return GI_TEX_SELF_ILLUM;
        case 6: return GI_TEX_OPACITY;
        case 8: return GI_TEX_BUMP;
        case 9: return GI_TEX_REFLECTION;
        default: return -1;
    }
}

// A GMF colour's byte i (low byte first: red, green, blue, alpha) as 0..1.
float Channel(uint32_t colour, int i) {
    return (float)((colour >> (8 * i)) & 0xFF) * (1.0f / 255.0f);
}

void TakeMaterial(giMeshPart& part, GM_Material& mat) {
    for (GM_Object* o = mat.textures.Head(); o; o = o->Next()) {
        auto* t = dynamic_cast<GM_Texture*>(o);
        int slot = t ? SlotOfMapType(t->mapSlot) : -1;
        if (slot >= 0 && t->bitmap.c_str()) part.textures[slot] = t->bitmap.c_str();
    }
    part.diffuse = {Channel(mat.diffuse, 0), Channel(mat.diffuse, 1), Channel(mat.diffuse, 2)};
    part.opacity = 1.0f - mat.transparency;
    part.specularPower = mat.shine * 100.0f;
    const float k = mat.shineStrength;
    part.specularColor = giColorToByte(Channel(mat.specular, 0) * k, Channel(mat.specular, 1) * k,
                                       Channel(mat.specular, 2) * k, Channel(mat.specular, 3) * k);
    part.specularValue = (float)part.specularColor;
}

} // namespace

// ---- parts ----

void giMeshPart::ComputeBounds() {
    if (positions.empty()) return;
    boundsMin = boundsMax = positions[0];
    for (const giVec3& p : positions) {
        boundsMin = {std::min(boundsMin.x, p.x), std::min(boundsMin.y, p.y),
                     std::min(boundsMin.z, p.z)};
        boundsMax = {std::max(boundsMax.x, p.x), std::max(boundsMax.y, p.y),
                     std::max(boundsMax.z, p.z)};
    }
    radius = (boundsMax - boundsMin).Length() * 0.5f;
    centre = (boundsMin + boundsMax) * 0.5f;
}

float giMeshPart::MaxDistance(const giVec3& point) const {
    float best = 0;
    for (const giVec3& p : positions)
        best = std::max(best, giDistance(point, p));
    return best;
}

std::unique_ptr<giMeshPart> giGmModel::BuildPart(const GM_GeoObject& object,
                                                 GM_MaterialList* materials, int partsBefore) {
    const GM_Mesh& mesh = object.mesh;
    const char* objectName = object.Name() ? object.Name() : "";
    if (mesh.materialRef < 0) return nullptr;
    GM_Material* mat = materials ? materials->Material(mesh.materialRef) : nullptr;
    if (!mat) {
        giOutputDebugString(giStrFormat("giGmModel: %s names material %d, which the model does "
                                        "not have; it builds no part\n",
                                        objectName, (int)mesh.materialRef)
                                .c_str());
        return nullptr;
    }
    const GM_WeldedMesh& w = object.welded;
    const size_t vertices = w.positions.size();
    for (uint16_t i : w.indices) {
        if (i >= vertices) {
            giOutputDebugString(
                giStrFormat("giGmModel: %s has an index past its vertices; it builds no part\n",
                            objectName)
                    .c_str());
            return nullptr;
        }
    }

    auto part = std::make_unique<giMeshPart>();
    part->name = objectName;
    // A multi-material object gives one part holding all its faces, with the first
    // sub-material, or the last when the first face's id is past the sub-material count.
    const int subs = mat->subMaterials.Count();
    if (subs > 0) {
        part->name += " submaterial " + std::to_string(partsBefore + 1);
        uint32_t first = mesh.faces.empty() ? 0 : mesh.faces[0].mtlId;
        if (GM_Material* sub = mat->subMaterials.Material(first > (uint32_t)subs ? subs - 1 : 0))
            mat = sub;
    }
    // The geometry object's "type value" is its mesh's back-face culling word: it has no other.
    part->objectFlag = mesh.backfaceCull == 1;
    TakeMaterial(*part, *mat);

    // The used vertices in ascending order, renumbered from 0.
    std::vector<uint16_t> used(w.indices);
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    std::vector<uint16_t> renumber(vertices, 0);
    const bool hasNormals = w.normals.size() >= vertices;
    part->texCoords.resize(w.texCoords.size());
    for (size_t n = 0; n < used.size(); ++n) {
        const uint16_t old = used[n];
        renumber[old] = (uint16_t)n;
        part->positions.push_back(w.positions[old]);
        if (hasNormals) part->normals.push_back(w.normals[old]);
        for (size_t c = 0; c < w.texCoords.size(); ++c)
            part->texCoords[c].push_back(old < w.texCoords[c].size() ? w.texCoords[c][old]
                                                                     : giVec2());
        // The mesh vertex of the old vertex this one came from, not the entry at its new
        // position: paired by position, unused vertices would shift every skin weight after them.
        part->source.push_back(old < w.source.size() ? w.source[old] : 0);
    }
    part->indices.reserve(w.indices.size());
    for (uint16_t i : w.indices)
        part->indices.push_back(renumber[i]);
    part->vertexCount = (int32_t)used.size();
    part->indexCount = (int32_t)part->indices.size();
    part->triangleCount = part->indexCount / 3;
    part->sourceVertexCount = (uint32_t)mesh.vertices.size();
    return part;
}

// ---- the model ----

bool giGmModel::Load(const char* fileName) {
    m_parts.clear();
    GM_ModelFile file;
    if (!file.LoadFromFile(fileName)) return false;
    m_fileName = fileName;
    m_name = file.ModelName();
    for (int i = 0; i < file.GeoObjectCount(); ++i)
        if (auto part = BuildPart(*file.GeoObject(i), file.Materials(), PartCount()))
            AddPart(std::move(part));
    ComputeBounds();
    return true;
}

void giGmModel::ComputeBounds() {
    if (m_parts.empty()) return;
    for (size_t i = 0; i < m_parts.size(); ++i) {
        giMeshPart& p = *m_parts[i];
        p.ComputeBounds();
        if (i == 0) {
            m_min = p.boundsMin;
            m_max = p.boundsMax;
            continue;
        }
        m_min = {std::min(m_min.x, p.boundsMin.x), std::min(m_min.y, p.boundsMin.y),
                 std::min(m_min.z, p.boundsMin.z)};
        m_max = {std::max(m_max.x, p.boundsMax.x), std::max(m_max.y, p.boundsMax.y),
                 std::max(m_max.z, p.boundsMax.z)};
    }
    m_centre = (m_min + m_max) * 0.5f;
    m_radius = 0;
    for (const auto& p : m_parts)
        m_radius = std::max(m_radius, p->MaxDistance(m_centre));
}

void giGmModel::TransformBounds(float out[6], const giMat44& m, const float* box) const {
    // A copy, so that `out` may be the box itself.
    float b[6] = {m_min.x, m_min.y, m_min.z, m_max.x, m_max.y, m_max.z};
    if (box) std::copy(box, box + 6, b);
    for (int corner = 0; corner < 8; ++corner) {
        giVec3 p(b[(corner & 1) ? 3 : 0], b[(corner & 2) ? 4 : 1], b[(corner & 4) ? 5 : 2]);
        giVec3 t = giVec3TransformCoord(p, m);
        const float v[3] = {t.x, t.y, t.z};
        for (int a = 0; a < 3; ++a) {
            if (corner == 0 || v[a] < out[a]) out[a] = v[a];
            if (corner == 0 || v[a] > out[a + 3]) out[a + 3] = v[a];
        }
    }
}

void giGmModel::ReleaseSourceData() {
    for (auto& p : m_parts)
        std::vector<uint32_t>().swap(p->source);
}
