// Record lists and their readers.
#include "gi/GM_List.h"

#include "gi/GM_Factory.h"
#include "gi/GM_Material.h"
#include "gi/GM_Object.h"
#include "gi/GM_Record.h"
#include "gi/GM_Stream.h"
#include "gi/GM_Texture.h"
#include "gi/giDebug.h"

#include <cstdio>

// ---- list operations ----

void GM_List::Append(GM_Object* o) {
    if (!o) return;
    o->SetNext(nullptr);
    o->SetPrev(m_tail);
    if (m_tail)
        m_tail->SetNext(o);
    else
        m_head = o;
    m_tail = o;
    ++m_count;
}

int GM_List::Count() {
    int n = 0;
    for (m_cursor = m_head; m_cursor; m_cursor = m_cursor->Next())
        ++n;
    return n;
}

void GM_List::DestroyAll() {
    for (GM_Object* o = m_head; o;) {
        GM_Object* next = o->Next();
        delete o;
        o = next;
    }
    m_head = m_tail = m_cursor = nullptr;
    m_count = 0;
}

GM_Object* GM_List::First() {
    return m_cursor = m_head;
}

GM_Object* GM_List::Next() {
    if (m_cursor) m_cursor = m_cursor->Next();
    return m_cursor;
}

GM_Object* GM_List::At(int i) const {
    GM_Object* o = i >= 0 ? m_head : nullptr;
    for (; o && i > 0; --i)
        o = o->Next();
    return o;
}

uint32_t GM_List::ComputeSize() {
    uint32_t n = 4;
    for (GM_Object* o = m_head; o; o = o->Next())
        n += o->ComputeSize() + 12;
    return n;
}

int GM_List::Write(GM_Stream* s) {
    if (!s || !m_head) return 0;
    int count = Count();
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY)
        ok = gm::W32(s, m_typeId) && gm::W32(s, 2) && gm::W32(s, ComputeSize()) &&
             gm::W32(s, (uint32_t)count);
    else if (s->Mode() == GM_STREAM_TEXT)
        ok = gm::Block(s, GM_Keyword(m_typeId)) && gm::Int(s, m_countKeyword, count);
    else
        return 0;
    for (GM_Object* o = m_head; ok && o; o = o->Next())
        ok = o->Write(s) == 1;
    if (ok && s->Mode() == GM_STREAM_TEXT) ok = gm::Close(s);
    return ok ? 1 : gm::WriteError(m_writeError);
}

bool GM_List::SkipFailedRecord(GM_Stream* s, int64_t versionAt) {
    uint32_t version = 0, size = 0;
    if (versionAt < 0 || !s->Seek((long)versionAt, SEEK_SET)) return false;
    if (!gm::U32(s, version) || version <= 1 || !gm::U32(s, size)) return false;
    return s->Seek((long)size, SEEK_CUR) == 1;
}

template <class T, class Prepare>
void GM_List::ReadMembers(GM_Stream* s, uint32_t count, int depth, const char* failLine,
                          Prepare prepare) {
    for (uint32_t i = 0; i < count && s->Remaining() > 0; ++i) {
        int64_t start = s->Tell();
        T* o = new T();
        prepare(o, i);
        if (o->Read(s, depth)) {
            Append(o);
            continue;
        }
        giOutputDebugString(failLine);
        delete o;
        if (!SkipFailedRecord(s, start + 4)) break; // past the type id to the version word
    }
}

// ---- object list ----

GM_ObjectList::GM_ObjectList()
    : GM_List(GMID_OBJECT_LIST, "*OBJECT_COUNT", "Error Writing GM_ObjectList Data") {}

int GM_ObjectList::Read(GM_Stream* s) {
    if (!s || s->Mode() == GM_STREAM_TEXT) return 0;
    if (s->Mode() != GM_STREAM_BINARY) return 1;
    uint32_t version = 0, size = 0, count = 0;
    if (!gm::U32(s, version) || (version > 1 && !gm::U32(s, size)) || !gm::U32(s, count))
        return gm::ReadError("Error Reading GM_ObjectList Data");
    m_version = version;
    // The count comes from the file: the loop also ends with the file, so a broken count costs
    // no more than the records that are there.
    for (uint32_t i = 0; i < count && s->Remaining() > 0; ++i) {
        bool ended = false;
        GM_Object* o = GM_CreateObject(s, &ended);
        if (ended) break;
        if (!o) continue;
        int64_t start = s->Tell();
        if (o->Read(s)) {
            Append(o);
            continue;
        }
        delete o;
        if (!SkipFailedRecord(s, start)) break;
    }
    return 1;
}

// ---- material and texture lists ----

GM_MaterialList::GM_MaterialList()
    : GM_List(GMID_MATERIAL_LIST, "*MATERIAL_COUNT", "Error Writing GM_MaterialList Data") {}

int GM_MaterialList::Read(GM_Stream* s, int depth) {
    if (!s || s->Mode() == GM_STREAM_TEXT) return 0;
    if (s->Mode() != GM_STREAM_BINARY) return 1;
    uint32_t version = 0, size = 0, count = 0;
    if (depth > GM_MAX_LIST_DEPTH || !gm::U32(s, version) || (version > 1 && !gm::U32(s, size)) ||
        !gm::U32(s, count)) {
        giOutputDebugString("\nError Reading Material List\n");
        return 0;
    }
    m_version = version;
    ReadMembers<GM_Material>(s, count, depth, "ERROR Reading Material\n",
                             [](GM_Material* m, uint32_t i) { m->refNo = i; });
    return 1;
}

GM_Material* GM_MaterialList::Material(int i) const {
    return static_cast<GM_Material*>(At(i));
}

GM_TextureList::GM_TextureList()
    : GM_List(GMID_TEXTURE_LIST, "*TEXTURE_COUNT", "Error Writing GM_TextureList Data") {}

int GM_TextureList::Read(GM_Stream* s, int depth) {
    if (!s || s->Mode() == GM_STREAM_TEXT) return 0;
    if (s->Mode() != GM_STREAM_BINARY) return 1;
    uint32_t id = 0, version = 0, size = 0, count = 0;
    if (depth > GM_MAX_LIST_DEPTH || !gm::U32(s, id) || id != GMID_TEXTURE_LIST ||
        !gm::U32(s, version) || (version > 1 && !gm::U32(s, size)) || !gm::U32(s, count))
        return gm::ReadError("Error Reading GM_TextureList Data");
    m_version = version;
    ReadMembers<GM_Texture>(s, count, depth, "ERROR Reading Texture\n",
                            [](GM_Texture*, uint32_t) {});
    return 1;
}

GM_Texture* GM_TextureList::Texture(int i) const {
    return static_cast<GM_Texture*>(At(i));
}
