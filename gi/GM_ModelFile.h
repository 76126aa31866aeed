// A whole GMF model in memory: its scene, material list and object list, indexes of the
// objects by kind, the attachment points' user properties (flags, point sets, hazard points),
// welded meshes and the conversion to the engine's axes.
#pragma once

#include "gi/GM_GeoObject.h"
#include "gi/GM_Object.h"
#include "gi/giMath.h"

#include <memory>
#include <string>
#include <vector>

class GM_AttachmentPt;
class GM_Camera;
class GM_CollisionObject;
class GM_DataTag;
class GM_Light;
class GM_MaterialList;
class GM_ObjectList;
class GM_Primitive;
class GM_Scene;

// Welds one mesh: faces in the corner order a, c, b, one vertex per distinct combination of
// position, corner normal, texture coordinates and colour (compared exactly; the first
// occurrence keeps its index). False, with `out` emptied, when more than 65535 vertices would
// be needed or an index of the mesh is out of range. `linearSearch` compares every vertex
// emitted so far instead of hashing; the output is the same.
bool GM_WeldMesh(const GM_Mesh& mesh, GM_WeldedMesh& out, bool linearSearch = false);

class GM_ModelFile : public GM_Object {
  public:
    // Tables of lights, cameras, data tags, collision objects and attachment points keep the
    // first 32 of each kind.
    static constexpr int kTableSize = 32;

    GM_ModelFile();
    // The model's name is the file name up to its first ".".
    explicit GM_ModelFile(const char* fileName);
    ~GM_ModelFile() override;
    GM_ModelFile(const GM_ModelFile&) = delete;
    GM_ModelFile& operator=(const GM_ModelFile&) = delete;

    // LoadFile, then (once) IndexObjects. 1 or 0.
    int Read(GM_Stream* s) override;
    // Reads the top-level records (scene, material list, object list, each at most once) until
    // the end of the file; 1, or 0 at the first failing record (what was read stays).
    virtual int LoadFile(GM_Stream* s);
    // Swaps Y and Z of positions, normals and transforms, once; the loaders never call it.
    virtual int ConvertAxes();
    // Welds the mesh of every geometry object (see GM_WeldMesh). A mesh that cannot be welded
    // is logged and its object gets no welded data.
    virtual void BuildMeshes();
    // Indexes the objects by kind and reads the attachment points' user properties. 1.
    virtual int IndexObjects(GM_Stream* s, int unused);
    // Opens, records (giFileIO::Track), reads the header, names the model, reads it and builds
    // its meshes. 1 or 0.
    int LoadFromFile(const char* fileName);

    const std::string& ModelName() const { return m_modelName; }
    GM_Scene* Scene() const { return m_scene.get(); }
    GM_MaterialList* Materials() const { return m_materials.get(); }
    GM_ObjectList* Objects() const { return m_objects.get(); }
    bool Indexed() const { return m_indexed; }
    bool AxesConverted() const { return m_converted; }
    // The node transform of the first geometry object; null when there is none.
    GM_NodeTM* RootTransform() const { return m_root; }
    // The last "size" user property; 0 when there is none.
    int32_t Size() const { return m_size; }
    giMat44 matrix = giMat44::Identity();

    // By index: null (or 0, "", identity) outside 0 <= i < count.
    int GeoObjectCount() const { return (int)m_geo.size(); }
    GM_GeoObject* GeoObject(int i) const;
    int PrimitiveCount() const { return (int)m_prims.size(); }
    GM_Primitive* Primitive(int i) const;
    int CollisionCount() const { return (int)m_collisions.size(); }
    GM_CollisionObject* Collision(int i) const;
    int LightCount() const { return (int)m_lights.size(); }
    GM_Light* Light(int i) const;
    int CameraCount() const { return (int)m_cameras.size(); }
    GM_Camera* Camera(int i) const;
    int DataTagCount() const { return (int)m_tags.size(); }
    GM_DataTag* DataTag(int i) const;
    int AttachmentCount() const { return (int)m_attach.size(); }
    GM_AttachmentPt* Attachment(int i) const;

    giMat44 AttachmentTransform(int i) const;
    // Nonzero when any bit of mask is set in the point's flags.
    uint32_t AttachmentFlags(int i, uint32_t mask) const;
    std::string AttachmentName(int i) const;
    // The number of sets and the two partner tables (five entries each, -1 when empty); 0 and
    // null tables out of range.
    int AttachmentSets(int i, const int32_t** first, const int32_t** second) const;
    // The set bits among the hazard flags 0x80 to 0x4000.
    static int HazardFlagCount(const GM_AttachmentPt* p);
    // Hazard point i: the i-th attachment point whose upper-cased name holds "HAZARDPOINT".
    GM_AttachmentPt* FindHazardPoint(int i) const;
    int HazardPointFlagCount(int i) const { return HazardFlagCount(FindHazardPoint(i)); }

  private:
    void ReadUserProperties();
    void ApplyProperty(int owner, const std::string& key, const std::vector<std::string>& values);
    int FindAttachment(const std::string& name) const;

    std::string m_modelName;
    GM_NodeTM* m_root = nullptr;
    std::unique_ptr<GM_ObjectList> m_objects;
    std::unique_ptr<GM_MaterialList> m_materials;
    bool m_converted = false;
    std::unique_ptr<GM_Scene> m_scene;
    bool m_indexed = false;
    std::vector<GM_AttachmentPt*> m_attach;
    int32_t m_size = 0;
    std::vector<GM_CollisionObject*> m_collisions;
    std::vector<GM_GeoObject*> m_geo;
    std::vector<GM_Primitive*> m_prims;
    std::vector<GM_Light*> m_lights;
    std::vector<GM_Camera*> m_cameras;
    std::vector<GM_DataTag*> m_tags;
};
