// The GM model: a GMF model file turned into mesh parts (one per geometry object with a
// material: vertices, triangle indices, material colours and texture names) and the bounds of
// the whole model.
#pragma once

#include "gi/giMath.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GM_GeoObject;
class GM_MaterialList;

// Texture slots of a part, filled by the GMF map type (1 diffuse, 8 bump, 9 reflection,
// 6 opacity, 4 specular level, 5 self-illumination); no map type fills the third slot.
enum : int {
    GI_TEX_DIFFUSE = 0,
    GI_TEX_BUMP = 1,
    GI_TEX_UNUSED = 2,
    GI_TEX_REFLECTION = 3,
    GI_TEX_OPACITY = 4,
    GI_TEX_SPECULAR_LEVEL = 5,
    GI_TEX_SELF_ILLUM = 6,
    GI_TEX_SLOTS = 7,
};

struct giMeshPart {
    int32_t vertexCount = 0;
    int32_t indexCount = 0;
    int32_t triangleCount = 0;
    std::vector<uint16_t> indices; // three per triangle, into the part's own vertices
    std::vector<giVec3> positions;
    std::vector<giVec3> normals; // empty when the object has none
    // One array per texture-coordinate channel of the object.
    std::vector<std::vector<giVec2>> texCoords;
    // Per vertex, the mesh vertex (position index) it came from: the index a skeleton's weights
    // use. Emptied by giGmModel::ReleaseSourceData.
    std::vector<uint32_t> source;
    // The number of positions of the object's mesh: what the skeleton's running vertex offset
    // grows by.
    uint32_t sourceVertexCount = 0;
    std::string textures[GI_TEX_SLOTS];
    std::string name;
    // The mesh culls its back faces.
    bool objectFlag = true;
    giVec3 diffuse{1, 1, 1};
    float opacity = 1.0f;
    float specularPower = 100.0f;
    // The specular colour times the shine strength, packed 0xAARRGGBB, and the same number as a
    // float, as the part has always carried it.
    uint32_t specularColor = 0;
    float specularValue = 1.0f;
    giVec3 boundsMin, boundsMax, centre;
    float radius = 0;

    // Part bounds from the positions; nothing without vertices.
    void ComputeBounds();
    // The largest distance from the point to a position; 0 without vertices.
    float MaxDistance(const giVec3& point) const;
};

class giGmModel {
  public:
    giGmModel() = default;
    giGmModel(const giGmModel&) = delete;
    giGmModel& operator=(const giGmModel&) = delete;

    // Loads the model file (in the engine's axes, as written) and builds the parts and the
    // bounds. False when the file cannot be opened or read; the model then has no parts.
    bool Load(const char* fileName);
    // The part of one geometry object of a welded model file; null for an object without a
    // material (a material index of -1, or one beyond the list, which is logged) or whose
    // welded indices point past its vertices. `partsBefore` numbers the part of a
    // multi-material object.
    static std::unique_ptr<giMeshPart> BuildPart(const GM_GeoObject& object,
                                                 GM_MaterialList* materials, int partsBefore);

    // Model bounds from the parts; nothing changes without parts.
    void ComputeBounds();
    // The box (min x, y, z, max x, y, z) enclosing the eight corners of `box` (the model's bounds
    // when null) transformed by the matrix.
    void TransformBounds(float out[6], const giMat44& m, const float* box = nullptr) const;
    void ReleaseSourceData();

    void AddPart(std::unique_ptr<giMeshPart> part) { m_parts.push_back(std::move(part)); }
    int PartCount() const { return (int)m_parts.size(); }
    giMeshPart* Part(int i) const {
        return i >= 0 && i < PartCount() ? m_parts[(size_t)i].get() : nullptr;
    }
    const giVec3& BoundsMin() const { return m_min; }
    const giVec3& BoundsMax() const { return m_max; }
    const giVec3& Centre() const { return m_centre; }
    float Radius() const { return m_radius; }
    // The file name up to its first ".".
    const std::string& Name() const { return m_name; }
    const std::string& FileName() const { return m_fileName; }
    void SetName(const std::string& name) { m_name = name; }
    // Kept by the model cache of the descriptor manager.
    int32_t refCount = 0;

  private:
    std::vector<std::unique_ptr<giMeshPart>> m_parts;
    giVec3 m_min, m_max, m_centre;
    float m_radius = 0;
    std::string m_fileName;
    std::string m_name;
};
