// The GMF record: a header of type id, version and (above version 1) payload size, then a
// payload that each record class writes and reads itself. Also the table of type ids and their
// text keywords.
#pragma once

#include "gi/GM_String.h"

#include <cstdint>

class GM_Stream;

enum : uint32_t {
    GMID_NULL = 0,
    GMID_SCENE = 1,
    GMID_GEOMOBJECT = 2,
    GMID_SHAPE = 3,
    GMID_CAMERA = 4,
    GMID_LIGHT = 5,
    GMID_HELPER = 6,
    GMID_MATERIAL_LIST = 7,
    GMID_MATERIAL = 8,
    // 9 to 13 only name the material shadings.
    GMID_SHADING_CONSTANT = 9,
    GMID_SHADING_PHONG = 10,
    GMID_SHADING_METAL = 11,
    GMID_SHADING_BLINN = 12,
    GMID_SHADING_OTHER = 13,
    GMID_TEXTURE_LIST = 14,
    GMID_TEXTURE = 15,
    GMID_MESH = 16,
    GMID_NODE_TM = 17,
    GMID_OBJECT_LIST = 18,
    GMID_MODEL_LIST = 19,
    GMID_MESH_LIST = 20,
    GMID_ATTACHMENTPT = 21,
    GMID_ATTACHMENTPTLIST = 22,
    GMID_COLLISION_OBJECT = 23,
    GMID_COLLISION_MESH = 24,
    GMID_COLLISION_BOX = 25,
    GMID_COLLISION_SPHERE = 26,
    GMID_COLLISION_CYLINDER = 27,
    GMID_COLLISION_PLANE = 28,
    GMID_COLLISION_OBJECT_LIST = 29,
    GMID_GENERIC_GROUPING = 41,
    GMID_DATA_TAG = 52,
    GMID_LPHYS_SPRING = 56,
    GMID_ANIMATION = 57,
    GMID_SKELETON = 58,
    GMID_PRIMITIVE = 59,
};

constexpr uint32_t GM_KEYWORD_COUNT = 60;
// The text keyword of every type id (index = id), as the text writer prints it.
extern const char* const GM_Keywords[GM_KEYWORD_COUNT];
// Null for an id outside the table.
const char* GM_Keyword(uint32_t typeId);

// The caption of the records' message boxes.
constexpr const char* GM_EXPORTER_ERROR = "Exporter Error";

class GM_Object {
  public:
    GM_Object(uint32_t typeId = GMID_NULL, uint32_t version = 2)
        : m_typeId(typeId), m_version(version) {}
    // A copy is not a member of any list.
    GM_Object(const GM_Object& o);
    GM_Object& operator=(const GM_Object& o);
    virtual ~GM_Object() = default;

    // Writes the record, header first: 1, or 0 and the caller stops. The base writes the header
    // (binary: type id, version and size words; text: the keyword line).
    virtual int Write(GM_Stream* s);
    // Reads version, size and payload; the type id has been read by whoever chose the class.
    // 1 or 0 (the object is then partly filled). The base reads nothing.
    virtual int Read(GM_Stream* s);
    // Computes the payload size, stores it and returns it.
    virtual uint32_t ComputeSize();

    uint32_t TypeId() const { return m_typeId; }
    uint32_t Version() const { return m_version; }
    // Writers may choose an older layout of a record (the readers take every version).
    void SetVersion(uint32_t version) { m_version = version; }
    uint32_t PayloadSize() const { return m_payloadSize; }
    // Null when the record has no name.
    const char* Name() const { return m_name.c_str(); }
    // Bytes of the name with its zero; 0 without a name.
    uint32_t NameLength() const { return m_name.Length(); }
    void SetName(const char* name) { m_name.Set(name); }

    GM_Object* Next() const { return m_next; }
    GM_Object* Prev() const { return m_prev; }
    void SetNext(GM_Object* o) { m_next = o; }
    void SetPrev(GM_Object* o) { m_prev = o; }

  protected:
    // How every record's Write begins: the size made current, then the header. False for a
    // null stream or a failed header.
    bool BeginWrite(GM_Stream* s) { return s && (ComputeSize(), GM_Object::Write(s) == 1); }
    // The version word and, above version 1, the size word, read strictly. 1 or 0.
    int ReadHeader(GM_Stream* s);

    GM_String m_name;
    uint32_t m_typeId;
    uint32_t m_version;
    uint32_t m_payloadSize = 0;
    GM_Object* m_next = nullptr;
    GM_Object* m_prev = nullptr;
};
