// Small string functions of the model library: formatting, trimming, replacing, the name hash
// and the colour clamp. Everything works on byte strings and returns new strings.
#pragma once

#include <cstdint>
#include <string>

// printf into a string. Output longer than 8192 bytes gives "" (the buffer doubles from 1024 and
// the library gives up past 10240).
std::string giStrFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Copy without leading and trailing blanks (" " only).
std::string giStrTrim(const std::string& s);
// Copy with every character of `set` removed; a null or empty set changes nothing.
std::string giStrRemoveChars(const std::string& s, const char* set);
// Replaces every occurrence of `find`, left to right, in place; an empty `find` does nothing.
void giStrReplaceAll(std::string& s, const std::string& find, const std::string& with);

// Writes fn(c) for every character of [first, last) to `out` (used with tolower). Characters go
// to `fn` as unsigned char values, since the C classification functions are undefined for the
// negative values a plain char can hold.
template <class In, class Out, class Fn>
Out giStrTransform(In first, In last, Out out, Fn fn) {
    for (; first != last; ++first)
        *out++ = (char)fn((unsigned char)*first);
    return out;
}

// djb2: h = 5381, then h = h * 33 + c per byte, each byte taken as a signed char whatever the
// platform's char is, so that names with bytes >= 0x80 hash as they always have.
uint32_t giHashString(const char* s);

// Packs (r, g, b, a) as 0xAARRGGBB: 1 or more gives 255, 0 or less gives 0, else c * 255 + 0.5.
uint32_t giColorToByte(float r, float g, float b, float a);
