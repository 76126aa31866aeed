// String functions of the model library.
#include "gi/giString.h"

#include <cstdarg>
#include <cstdio>

std::string giStrFormat(const char* format, ...) {
    if (!format) return std::string();
    // The buffer doubles from 1024 while the text does not fit; past 10240 the text is given up.
    // A text fits a buffer of n bytes when it has at most n characters (no room is kept for the
    // terminator), so 8192 characters is the longest text that comes back.
    std::string out;
    for (size_t size = 1024; size <= 10240; size *= 2) {
        out.resize(size + 1);
        va_list args;
        va_start(args, format);
        int n = std::vsnprintf(out.data(), out.size(), format, args);
        va_end(args);
        if (n < 0) return std::string();
        if ((size_t)n <= size) {
            out.resize((size_t)n);
            return out;
        }
    }
    return std::string();
}

std::string giStrTrim(const std::string& s) {
    size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    size_t last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

std::string giStrRemoveChars(const std::string& s, const char* set) {
    if (!set || !*set) return s;
    std::string out;
    out.reserve(s.size());
    const std::string chars(set);
    for (char c : s)
        if (chars.find(c) == std::string::npos) out.push_back(c);
    return out;
}

void giStrReplaceAll(std::string& s, const std::string& find, const std::string& with) {
    if (find.empty()) return;
    for (size_t pos = s.find(find); pos != std::string::npos; pos = s.find(find, pos + with.size()))
        s.replace(pos, find.size(), with);
}

uint32_t giHashString(const char* s) {
    uint32_t h = 5381;
    if (!s) return h;
    for (; *s; ++s)
        h = h * 33u + (uint32_t)(int32_t)(signed char)*s;
    return h;
}

static uint32_t ColorByte(float c) {
    if (c >= 1.0f) return 255;
    if (!(c > 0.0f)) return 0; // also NaN, whose conversion to an integer is undefined
    return (uint32_t)(c * 255.0f + 0.5f);
}

uint32_t giColorToByte(float r, float g, float b, float a) {
    return ColorByte(a) << 24 | ColorByte(r) << 16 | ColorByte(g) << 8 | ColorByte(b);
}
