// A GMF string: a u32 byte count that includes the terminating zero, then the bytes with the
// zero. A count of 0 means no string.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

class GM_Stream;

class GM_String {
  public:
    GM_String() = default;
    explicit GM_String(const char* text) { Set(text); }

    // Null means none (count 0); "" is one byte.
    void Set(const char* text);
    // Null when there is none; always terminated, whatever the file held.
    const char* c_str() const { return m_bytes.empty() ? nullptr : m_bytes.data(); }
    // The byte count as stored in a file, with the zero.
    uint32_t Length() const { return m_bytes.empty() ? 0 : (uint32_t)(m_bytes.size() - 1); }

    // Reads the count and the bytes. A count larger than `limit` or than what is left of the
    // file is refused before anything is allocated. 1 or 0 (the string is then unchanged).
    int Read(GM_Stream* s, uint64_t limit = std::numeric_limits<uint64_t>::max());
    // Writes the count and the bytes; 1 or 0.
    int Write(GM_Stream* s) const;

  private:
    // The stored bytes and one zero more, so that bytes from a file without their zero still
    // end in one; empty when there is no string.
    std::vector<char> m_bytes;
};
