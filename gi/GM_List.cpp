// Record lists and the object-list reader.
#include "gi/GM_List.h"

#include "gi/GM_Factory.h"
#include "gi/GM_Object.h"
#include "gi/GM_Stream.h"
#include "gi/giDebug.h"

#include <cstdio>

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

GM_ObjectList::GM_ObjectList() : GM_List(GMID_OBJECT_LIST) {}

// After a failed member: back to the start of its version word, and on past its payload by its
// size word. False when that cannot be done (the list then ends).
static bool SkipFailedRecord(GM_Stream* s, int64_t start) {
    uint32_t version = 0, size = 0;
    if (start < 0 || !s->Seek((long)start, SEEK_SET)) return false;
    if (!s->ReadExact(&version, 4, 1) || version <= 1 || !s->ReadExact(&size, 4, 1)) return false;
    return s->Seek((long)size, SEEK_CUR) == 1;
}

int GM_ObjectList::Read(GM_Stream* s) {
    if (!s || s->Mode() == GM_STREAM_TEXT) return 0;
    if (s->Mode() != GM_STREAM_BINARY) return 1;
    uint32_t version = 0, size = 0, count = 0;
    if (!s->ReadExact(&version, 4, 1) || (version > 1 && !s->ReadExact(&size, 4, 1)) ||
        !s->ReadExact(&count, 4, 1)) {
        giMessageBox("Error Reading GM_ObjectList Data", GM_EXPORTER_ERROR);
        return 0;
    }
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
