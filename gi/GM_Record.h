// Helpers of the record classes: strict payload reads whose counts are checked before anything
// is allocated, binary writes, and the lines of the text form.
#pragma once

#include "gi/GM_Stream.h"
#include "gi/GM_String.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gm {

// ---- binary reads: 1 item whole, within the payload, or false ----
inline bool U32(GM_Stream* s, uint32_t& v) {
    return s->ReadExact(&v, 4, 1) == 1;
}
inline bool I32(GM_Stream* s, int32_t& v) {
    return s->ReadExact(&v, 4, 1) == 1;
}
inline bool F32(GM_Stream* s, float& v) {
    return s->ReadExact(&v, 4, 1) == 1;
}
// True when n items of itemSize bytes fit in what is left of the payload and the file.
inline bool Fits(GM_Stream* s, uint64_t n, uint64_t itemSize) {
    return itemSize == 0 || n <= s->Remaining() / itemSize;
}
// A count stored as a signed word: it must be 0 or more and its items must fit.
inline bool Count(GM_Stream* s, int32_t& n, uint64_t itemSize) {
    return I32(s, n) && n >= 0 && Fits(s, (uint64_t)n, itemSize);
}
// A count stored as an unsigned word whose items must fit.
inline bool Count(GM_Stream* s, uint32_t& n, uint64_t itemSize) {
    return U32(s, n) && Fits(s, n, itemSize);
}
// n plain items into a vector, checked before the vector grows.
template <class T>
bool Array(GM_Stream* s, std::vector<T>& out, uint64_t n) {
    if (!Fits(s, n, sizeof(T))) return false;
    out.resize((size_t)n);
    return n == 0 || s->ReadExact(out.data(), sizeof(T), (size_t)n) == 1;
}
// A u32 byte count and the bytes; the text is taken up to its first zero, TABs dropped when
// asked.
bool Text(GM_Stream* s, std::string& out, bool dropTabs);

// ---- binary writes ----
inline bool W32(GM_Stream* s, uint32_t v) {
    return s->Write(&v, 4, 1) == 1;
}
inline bool WI32(GM_Stream* s, int32_t v) {
    return s->Write(&v, 4, 1) == 1;
}
inline bool WF32(GM_Stream* s, float v) {
    return s->Write(&v, 4, 1) == 1;
}
template <class T>
bool WArray(GM_Stream* s, const std::vector<T>& v) {
    return v.empty() || s->Write(v.data(), sizeof(T), v.size()) == 1;
}
// The count with the zero, the bytes and the zero (an empty text is one zero byte).
bool WText(GM_Stream* s, const std::string& text);
inline uint32_t TextSize(const std::string& text) {
    return 4 + (uint32_t)text.size() + 1;
}

// ---- text form: every line starts with the stream's indent ----
bool Line(GM_Stream* s, const char* keyword);               // "%s%s\n"
bool Int(GM_Stream* s, const char* keyword, int v);         // "%s%s\t%d\n"
bool Float(GM_Stream* s, const char* keyword, double v);    // "%s%s\t%f\n"
bool Hex(GM_Stream* s, const char* keyword, uint32_t v);    // "%s%s\t0x%x\n"
bool Str(GM_Stream* s, const char* keyword, const char* v); // "%s%s\t%s\n" (null prints "")
bool Open(GM_Stream* s);                                    // "{" and one level in
bool Close(GM_Stream* s);                                   // one level out and "}"
// A keyword line and an opened block: how a block of lines begins.
inline bool Block(GM_Stream* s, const char* keyword) {
    return Line(s, keyword) && Open(s);
}

// The caption of every record box; readers and writers report through these.
int ReadError(const char* text);
int WriteError(const char* text);

// While a file is read, its first read error names it (one log line and one box, the record's
// words and the file) and the errors of the outer records that fail with it say nothing more.
// The scope restores the file of an outer read when it ends; Reported tells whether anything was.
class FileReadScope {
  public:
    explicit FileReadScope(const char* path);
    ~FileReadScope();
    FileReadScope(const FileReadScope&) = delete;
    FileReadScope& operator=(const FileReadScope&) = delete;
    bool Reported() const;
    // Names the file for a failure that no record reported (a cut header, say).
    void Report(const char* text);

  private:
    const char* m_outerPath;
    bool m_outerReported;
};

} // namespace gm
