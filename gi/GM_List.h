// Counted lists of GMF records, linked through the records' own next and previous links; the
// list owns its members. The object list holds the records the factory makes; the material and
// texture lists hold materials and textures, and nest inside them.
#pragma once

#include <cstdint>

class GM_Object;
class GM_Stream;
class GM_Material;
class GM_Texture;

class GM_List {
  public:
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
    // Member i from the head (null out of range); the cursor stays where it is.
    GM_Object* At(int i) const;

    uint32_t TypeId() const { return m_typeId; }
    uint32_t Version() const { return m_version; }
    // Members appended.
    uint32_t Appended() const { return m_count; }

    // 4 + the sum of (member payload + 12).
    uint32_t ComputeSize();
    // Type id, version 2, size and count, then every member; the text form is the keyword,
    // a count line and the members in a block. An empty list writes nothing and gives 0, so
    // writers never write one.
    int Write(GM_Stream* s);

  protected:
    GM_List(uint32_t typeId, const char* countKeyword, const char* writeError)
        : m_typeId(typeId), m_countKeyword(countKeyword), m_writeError(writeError) {}
    // After a failed member: back to its version word and on past its payload by its size
    // word. False when that cannot be done; the list then ends.
    static bool SkipFailedRecord(GM_Stream* s, int64_t versionAt);
    // Reads up to count materials or textures, each made here and read by its own Read (which
    // starts at its type id); `prepare` sees each before it reads. A failed one is logged with
    // `failLine`, freed and skipped.
    template <class T, class Prepare>
    void ReadMembers(GM_Stream* s, uint32_t count, int depth, const char* failLine,
                     Prepare prepare);

    uint32_t m_typeId;
    uint32_t m_version = 1;
    uint32_t m_count = 0;
    GM_Object* m_head = nullptr;
    GM_Object* m_tail = nullptr;
    GM_Object* m_cursor = nullptr;
    const char* m_countKeyword;
    const char* m_writeError;
};

// Lists nest inside materials and textures; a list nested deeper than this fails.
constexpr int GM_MAX_LIST_DEPTH = 8;

class GM_ObjectList : public GM_List {
  public:
    GM_ObjectList();

    // Reads the list's version, size word and count, then up to count records through the
    // factory (the list's type id is read by the caller). 1; 0 for a null or text stream or a
    // failed list header ("Exporter Error" box). Reading stops at the end of the file. A member
    // whose Read fails is freed and not appended, and reading goes on after its payload (by
    // its size word); a member whose size word cannot be read again ends the list.
    int Read(GM_Stream* s);
};

class GM_MaterialList : public GM_List {
  public:
    GM_MaterialList();

    // Version, size word and count (the type id has been read by the caller), then the
    // materials, each given its list index as reference number first. A failed member is
    // logged ("ERROR Reading Material\n"), freed and skipped as in the object list. `depth` is
    // the nesting level, 1 for a top-level list.
    int Read(GM_Stream* s, int depth = 1);
    GM_Material* Material(int i) const;
};

class GM_TextureList : public GM_List {
  public:
    GM_TextureList();

    // Reads its own type id (14), then as the material list ("ERROR Reading Texture\n").
    int Read(GM_Stream* s, int depth = 1);
    GM_Texture* Texture(int i) const;
};
