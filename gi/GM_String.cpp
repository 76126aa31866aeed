// GMF strings.
#include "gi/GM_String.h"

#include "gi/GM_Stream.h"

#include <algorithm>
#include <cstring>

void GM_String::Set(const char* text) {
    m_bytes.clear();
    if (!text) return;
    size_t n = std::strlen(text);
    m_bytes.assign(text, text + n);
    m_bytes.push_back(0); // the stored zero
    m_bytes.push_back(0); // the guard
}

int GM_String::Read(GM_Stream* s, uint64_t limit) {
    uint32_t length = 0;
    if (!s || !s->ReadExact(&length, 4, 1)) return 0;
    if (length > std::min(limit, s->Remaining())) return 0;
    std::vector<char> bytes(length + (size_t)1, 0);
    if (length && !s->ReadExact(bytes.data(), 1, length)) return 0;
    if (length)
        m_bytes.swap(bytes);
    else
        m_bytes.clear();
    return 1;
}

int GM_String::Write(GM_Stream* s) const {
    uint32_t length = Length();
    if (!s || !s->Write(&length, 4, 1)) return 0;
    return length ? s->Write(m_bytes.data(), 1, length) : 1;
}
