// The GMF record base and the type-id keyword table.
#include "gi/GM_Object.h"

#include "gi/GM_Stream.h"
#include "gi/giDebug.h"

const char* const GM_Keywords[GM_KEYWORD_COUNT] = {
    "*NULL",
    "*SCENE",
    "*GEOMOBJECT",
    "*SHAPE",
    "*CAMERA",
    "*LIGHT",
    "*HELPER",
    "*MATERIAL_LIST",
    "*MATERIAL",
    "Constant",
    "Phong",
    "Metal",
    "Blinn",
    "Other",
    "*TEXTURE_LIST",
    "*TEXTURE",
    "*MESH",
    "*NODE_TM",
    "*OBJECT_LIST",
    "*MODEL_LIST",
    "*MESH_LIST",
    "*GMID_ATTACHMENTPT",
    "*GMID_ATTACHMENTPTLIST",
    "*GMID_COLLISION_OBJECT",
    "*GMID_COLLISION_MESH",
    "*GMID_COLLISION_BOX",
    "*GMID_COLLISION_SPHERE",
    "*GMID_COLLISION_CYLINDER",
    "*GMID_COLLISION_PLANE",
    "*GMID_COLLISION_OBJECT_LIST",
    "*GMID_LPHYS_SIMOBJECT",
    "*GMID_LPHYS_RBCOLLECTION",
    "*GMID_LPHYS_RIGIDBODY",
    "*GMID_LPHYS_RIGIDBODY_LIST",
    "*GMID_LPHYS_FCCOLLECTION",
    "*GMID_LPHYS_FASTCLOTH",
    "*GMID_LPHYS_FSCOLLECTION",
    "*GMID_LPHYS_FASTSOFT",
    "*GMID_LPHYS_FRCOLLECTION",
    "*GMID_LPHYS_FASTROPE",
    "*GMID_LPHYS_DASHPOT",
    "*GMID_GENERIC_GROUPING",
    "*GMID_LPHYS_CONSTRAINTSOLVER",
    "*GMID_LPHYS_CONSTRAINT",
    "*GMID_LPHYS_CONSTRAINT_LIST",
    "*GMID_LPHYS_LIMITEDPTTOPT",
    "*GMID_LPHYS_WHEEL_CONSTRAINT",
    "*GMID_LPHYS_HINGE_CONSTRAINT",
    "*GMID_LPHYS_LINEAR_DASHPOT",
    "*GMID_LPHYS_ANGULAR_DASHPOT",
    "*GMID_LPHYS_COLLISION_PAIR",
    "*GMID_LPHYS_DIS_COLLISION_PAIRS",
    "*GMID_DATA_TAG",
    "*GMID_LPHYS_POINTTOPOINT",
    "*GMID_LPHYS_RAGDOLL",
    "*GMID_LPHYS_PRISMATIC_CONSTRAINT",
    "*GMID_LPHYS_SPRING",
    "*GMID_ANIMATION",
    "*GMID_SKELETON",
    "*GMID_PRIMITIVE",
};

const char* GM_Keyword(uint32_t typeId) {
    return typeId < GM_KEYWORD_COUNT ? GM_Keywords[typeId] : nullptr;
}

GM_Object::GM_Object(const GM_Object& o)
    : m_name(o.m_name), m_typeId(o.m_typeId), m_version(o.m_version),
      m_payloadSize(o.m_payloadSize) {}

GM_Object& GM_Object::operator=(const GM_Object& o) {
    m_name = o.m_name;
    m_typeId = o.m_typeId;
    m_version = o.m_version;
    m_payloadSize = o.m_payloadSize;
    return *this;
}

int GM_Object::Write(GM_Stream* s) {
    if (!s) return 0;
    if (s->Mode() == GM_STREAM_BINARY) {
        if (!s->Write(&m_typeId, 4, 1)) {
            giMessageBox("Error Writing GM_Object Type", GM_EXPORTER_ERROR);
            return 0;
        }
        if (!s->Write(&m_version, 4, 1) || (m_version > 1 && !s->Write(&m_payloadSize, 4, 1))) {
            giMessageBox("Error Writing GM_Object Version", GM_EXPORTER_ERROR);
            return 0;
        }
        return 1;
    }
    if (s->Mode() == GM_STREAM_TEXT) {
        const char* keyword = GM_Keyword(m_typeId);
        if (!keyword || !s->Printf("%s%s\n", s->IndentString(), keyword)) {
            giMessageBox("Error Writing GM_Object Type", GM_EXPORTER_ERROR);
            return 0;
        }
        return 1;
    }
    return 0;
}

int GM_Object::Read(GM_Stream*) {
    return 1;
}

uint32_t GM_Object::ComputeSize() {
    return 0;
}

int GM_Object::ReadHeader(GM_Stream* s) {
    if (!s || !s->ReadExact(&m_version, 4, 1)) return 0;
    return m_version > 1 ? s->ReadExact(&m_payloadSize, 4, 1) : 1;
}
