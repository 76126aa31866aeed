// Helpers of the model-library tests: a fresh file-access object, little-endian byte building
// and a small record class that the factory can be given for a test's duration.
#pragma once

#include "gi/GM_Factory.h"
#include "gi/GM_List.h"
#include "gi/GM_Object.h"
#include "gi/GM_Stream.h"
#include "gi/giFileIO.h"

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// Deletes the file-access object that giFileIO::Get made for an earlier test in this process,
// so that the test can make its own (only one may live).
inline void DropSharedFileIO() {
    delete giFileIO::Instance();
}

// Builds GMF bytes by hand, so that golden bytes live in the tests rather than in binaries.
struct GmfBytes {
    std::string b;
    GmfBytes& U32(uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.push_back((char)(v >> (8 * i)));
        return *this;
    }
    GmfBytes& Raw(const std::string& s) {
        b += s;
        return *this;
    }
    // u32 count with the zero, then the bytes and the zero.
    GmfBytes& Str(const char* s) {
        std::string t(s);
        U32((uint32_t)t.size() + 1);
        b += t;
        b.push_back('\0');
        return *this;
    }
};

// A record with a name and a counted run of u32 values. A value of 0xDEAD makes its Read fail
// half-way through the payload; live objects are counted so that tests see frees.
class GmTestRecord : public GM_Object {
  public:
    static inline int s_live = 0;
    std::vector<uint32_t> values;

    GmTestRecord() : GM_Object(GMID_DATA_TAG, 2) { ++s_live; }
    ~GmTestRecord() override { --s_live; }
    static GM_Object* Make() { return new GmTestRecord(); }

    uint32_t ComputeSize() override {
        return m_payloadSize = 4 + NameLength() + 4 + 4 * (uint32_t)values.size();
    }
    int Write(GM_Stream* s) override {
        ComputeSize();
        if (!GM_Object::Write(s) || !m_name.Write(s)) return 0;
        uint32_t n = (uint32_t)values.size();
        return s->Write(&n, 4, 1) && s->Write(values.data(), 4, n);
    }
    int Read(GM_Stream* s) override {
        uint32_t n = 0;
        if (!ReadHeader(s) || !m_name.Read(s) || !s->ReadExact(&n, 4, 1)) return 0;
        if ((uint64_t)n * 4 > s->Remaining()) return 0;
        values.assign(n, 0);
        for (uint32_t& v : values) {
            if (!s->ReadExact(&v, 4, 1)) return 0;
            if (v == 0xDEAD) return 0;
        }
        return 1;
    }
};

// Puts a maker into the factory for the life of the object.
class ScopedMaker {
  public:
    ScopedMaker(uint32_t id, GM_Maker maker) : m_id(id), m_old(GM_SetMaker(id, maker)) {}
    ~ScopedMaker() { GM_SetMaker(m_id, m_old); }

  private:
    uint32_t m_id;
    GM_Maker m_old;
};

inline std::string FileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// The bytes of a record written alone in the given mode ("" when the write failed).
inline std::string WriteRecord(GM_Object& o, const std::string& path, int mode = GM_STREAM_BINARY) {
    GM_Stream s;
    if (!s.OpenWrite(path.c_str(), mode) || !o.Write(&s)) return "";
    s.Close();
    return FileBytes(path);
}

// A GMF file: the header, then each given record or list, then `tail` as raw bytes.
inline std::string WriteModel(const std::string& path, std::initializer_list<GM_Object*> records,
                              std::initializer_list<GM_List*> lists, const std::string& tail = "") {
    GM_Stream s;
    if (!s.OpenWrite(path.c_str(), GM_STREAM_BINARY) || !s.WriteHeader(nullptr, GM_MODEL_BASIC))
        return "";
    for (GM_Object* r : records)
        if (!r->Write(&s)) return "";
    for (GM_List* l : lists)
        if (!l->Write(&s)) return "";
    if (!tail.empty()) s.Write(tail.data(), 1, tail.size());
    s.Close();
    return FileBytes(path);
}

// How a record comes to be read: through the factory; by its own Read, which reads its type id
// (the records their owners read); or by its own Read after the caller took the type id (the
// top-level records and those the factory does not make).
enum class ReadBy { Factory, OwnId, Caller };

// Reads back a record written alone.
template <class T>
std::unique_ptr<T> ReadRecord(const std::string& path, ReadBy how) {
    GM_Stream s;
    if (!s.OpenRead(path.c_str(), GM_STREAM_BINARY)) return nullptr;
    uint32_t id = 0;
    if (how == ReadBy::Caller && !s.ReadExact(&id, 4, 1)) return nullptr;
    std::unique_ptr<GM_Object> o(how == ReadBy::Factory ? GM_CreateObject(&s) : new T());
    T* t = dynamic_cast<T*>(o.get());
    if (!t || !o->Read(&s)) return nullptr;
    o.release();
    return std::unique_ptr<T>(t);
}
