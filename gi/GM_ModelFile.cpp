// Loading and indexing of GMF model files, and the queries on them.
#include "gi/GM_ModelFile.h"

#include "gi/GM_AttachmentPt.h"
#include "gi/GM_Camera.h"
#include "gi/GM_Collision.h"
#include "gi/GM_DataTag.h"
#include "gi/GM_Light.h"
#include "gi/GM_List.h"
#include "gi/GM_Primitive.h"
#include "gi/GM_Record.h"
#include "gi/GM_Scene.h"
#include "gi/GM_Stream.h"
#include "gi/giDebug.h"
#include "gi/giFileIO.h"

#include <bit>
#include <cstdint>

static std::string NameBeforeFirstDot(const char* fileName) {
    std::string name = fileName ? fileName : "";
    size_t dot = name.find('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

GM_ModelFile::GM_ModelFile() = default;

GM_ModelFile::GM_ModelFile(const char* fileName) : m_modelName(NameBeforeFirstDot(fileName)) {}

GM_ModelFile::~GM_ModelFile() = default;

int GM_ModelFile::Read(GM_Stream* s) {
    if (!LoadFile(s)) return 0;
    if (!m_indexed) {
        IndexObjects(s, 0);
        m_indexed = true;
    }
    return 1;
}

int GM_ModelFile::LoadFile(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    for (;;) {
        uint32_t id = 0;
        if (!s->Read(&id, 4, 1)) return 0;
        if (s->AtEnd()) return 1;
        switch (id) {
            case GMID_SCENE: {
                if (m_scene) {
                    giOutputDebugString("Scene already generated\n");
                    return 0;
                }
                auto scene = std::make_unique<GM_Scene>();
                if (!scene->Read(s)) {
                    giOutputDebugString("ERROR READING GM_SCENE\n");
                    return 0;
                }
                m_scene = std::move(scene);
                break;
            }
            case GMID_MATERIAL_LIST: {
                if (m_materials) {
                    giOutputDebugString("Material List already generated\n");
                    return 0;
                }
                auto list = std::make_unique<GM_MaterialList>();
                if (!list->Read(s)) {
                    giOutputDebugString("ERROR READING GM_MATERIALLIST\n");
                    return 0;
                }
                m_materials = std::move(list);
                break;
            }
            case GMID_OBJECT_LIST: {
                if (m_objects) return 0;
                auto list = std::make_unique<GM_ObjectList>();
                if (!list->Read(s)) {
                    giOutputDebugString("ERROR READING GMOBJECTLIST\n");
                    return 0;
                }
                m_objects = std::move(list);
                break;
            }
            default:
                // Nothing is skipped: the next word is taken as the next record's type.
                giOutputDebugString("\n*********ERRONEOUS DATA IN MODEL FILE********\n");
                break;
        }
    }
}

// Indexes an object of the kind its type id names; a record of another class under that id is
// passed over.
template <class T>
static void Keep(std::vector<T*>& table, GM_Object* o, size_t limit) {
    if (table.size() >= limit) return;
    if (T* t = dynamic_cast<T*>(o)) table.push_back(t);
}

int GM_ModelFile::IndexObjects(GM_Stream*, int) {
    m_geo.clear();
    m_prims.clear();
    m_collisions.clear();
    m_attach.clear();
    m_lights.clear();
    m_cameras.clear();
    m_tags.clear();
    m_root = nullptr;
    GM_Object* head = m_objects ? m_objects->Head() : nullptr;
    for (GM_Object* o = head; o; o = o->Next()) {
        switch (o->TypeId()) {
            case GMID_GEOMOBJECT: Keep(m_geo, o, SIZE_MAX); break;
            case GMID_PRIMITIVE: Keep(m_prims, o, SIZE_MAX); break;
            case GMID_COLLISION_MESH:
            case GMID_COLLISION_BOX:
            case GMID_COLLISION_SPHERE:
            case GMID_COLLISION_CYLINDER:
            case GMID_COLLISION_PLANE: Keep(m_collisions, o, kTableSize); break;
            case GMID_ATTACHMENTPT: Keep(m_attach, o, kTableSize); break;
            case GMID_LIGHT: Keep(m_lights, o, kTableSize); break;
            case GMID_CAMERA: Keep(m_cameras, o, kTableSize); break;
            case GMID_DATA_TAG: Keep(m_tags, o, kTableSize); break;
            default: break;
        }
    }
    if (!m_geo.empty()) m_root = &m_geo[0]->node;
    ReadUserProperties();
    return 1;
}

int GM_ModelFile::LoadFromFile(const char* fileName) {
    GM_Stream s;
    if (!s.OpenRead(fileName, GM_STREAM_BINARY)) return 0;
    if (giFileIO* io = giFileIO::Get()) io->Track(fileName);
    gm::FileReadScope scope(fileName);
    if (!s.ReadBinaryHeader()) {
        scope.Report("Error Reading the GMF header");
        return 0;
    }
    m_modelName = NameBeforeFirstDot(fileName);
    if (!Read(&s)) {
        scope.Report("Error Reading GM_ModelFile Data");
        return 0;
    }
    BuildMeshes();
    s.Close();
    return 1;
}

// ---- queries ----

template <class T>
static T* At(const std::vector<T*>& v, int i) {
    return i >= 0 && i < (int)v.size() ? v[(size_t)i] : nullptr;
}

GM_GeoObject* GM_ModelFile::GeoObject(int i) const {
    return At(m_geo, i);
}
GM_Primitive* GM_ModelFile::Primitive(int i) const {
    return At(m_prims, i);
}
GM_CollisionObject* GM_ModelFile::Collision(int i) const {
    return At(m_collisions, i);
}
GM_Light* GM_ModelFile::Light(int i) const {
    return At(m_lights, i);
}
GM_Camera* GM_ModelFile::Camera(int i) const {
    return At(m_cameras, i);
}
GM_DataTag* GM_ModelFile::DataTag(int i) const {
    return At(m_tags, i);
}
GM_AttachmentPt* GM_ModelFile::Attachment(int i) const {
    return At(m_attach, i);
}

giMat44 GM_ModelFile::AttachmentTransform(int i) const {
    GM_AttachmentPt* p = Attachment(i);
    return p ? p->node.GetMatrix() : giMat44::Identity();
}

uint32_t GM_ModelFile::AttachmentFlags(int i, uint32_t mask) const {
    GM_AttachmentPt* p = Attachment(i);
    return p ? p->flags & mask : 0;
}

std::string GM_ModelFile::AttachmentName(int i) const {
    GM_AttachmentPt* p = Attachment(i);
    return p && p->Name() ? p->Name() : "";
}

int GM_ModelFile::AttachmentSets(int i, const int32_t** first, const int32_t** second) const {
    GM_AttachmentPt* p = Attachment(i);
    if (first) *first = p ? p->setFirst : nullptr;
    if (second) *second = p ? p->setSecond : nullptr;
    return p ? p->setCount : 0;
}

int GM_ModelFile::HazardFlagCount(const GM_AttachmentPt* p) {
    return p ? std::popcount(p->flags & 0x7F80u) : 0;
}
