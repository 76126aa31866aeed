// Counted lists of GMF records, linked through the records' own next and previous links; the
// list owns its members. GM_ObjectList holds the records the factory makes.
#pragma once

#include <cstdint>

class GM_Object;
class GM_Stream;

class GM_List {
  public:
    explicit GM_List(uint32_t typeId) : m_typeId(typeId) {}
    ~GM_List() { DestroyAll(); }
    GM_List(const GM_List&) = delete;
    GM_List& operator=(const GM_List&) = delete;

    // Appends at the tail; the list owns the object from then on.
    void Append(GM_Object* o);
    // Walks the list with its own cursor from the head.
    int Count();
    bool HasItems() { return Count() != 0; }
    // Deletes every member.
    void DestroyAll();

    GM_Object* Head() const { return m_head; }
    GM_Object* Tail() const { return m_tail; }
    // The cursor walk: First moves to the head, Next one on; null past the end.
    GM_Object* First();
    GM_Object* Next();

    uint32_t TypeId() const { return m_typeId; }
    uint32_t Version() const { return m_version; }
    // Members appended.
    uint32_t Appended() const { return m_count; }

  protected:
    uint32_t m_typeId;
    uint32_t m_version = 1;
    uint32_t m_count = 0;
    GM_Object* m_head = nullptr;
    GM_Object* m_tail = nullptr;
    GM_Object* m_cursor = nullptr;
};

class GM_ObjectList : public GM_List {
  public:
    GM_ObjectList();

    // Reads the list's version, size word and count, then up to count records through the
    // factory. 1; 0 for a null or text stream or a failed list header ("Exporter Error" box).
    // Reading stops at the end of the file. A member whose Read fails is freed and not
    // appended, and reading goes on after its payload (by its size word); a member whose size
    // word cannot be read again ends the list.
    int Read(GM_Stream* s);
};
