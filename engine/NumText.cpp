// Numbers as text in the "C" locale.
#include "engine/NumText.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace {

// The one "C" locale object of the process: strtod_l with it reads "1.5" whatever
// setlocale has done to LC_NUMERIC.
locale_t CLocale() {
    static locale_t s_c = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    return s_c;
}

int HexDigit(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

// A double out of float range would be undefined behaviour to convert; IEEE gives infinity.
float NarrowToFloat(double d) {
    if (std::isfinite(d) && std::fabs(d) > (double)FLT_MAX) return d > 0 ? INFINITY : -INFINITY;
    return (float)d;
}

} // namespace

int HexToInt(const char* text) {
    if (!text) return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    if (*p == '0') ++p;
    if (*p == 'x') ++p;
    if (*p == 'X') ++p;
    uint32_t value = 0;
    for (; *p; ++p) {
        if (*p & 0x80) return 0;
        value = (value << 4) | (uint32_t)HexDigit(*p);
    }
    return (int)value;
}

int DecToInt(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    // Accumulate in 64 bits and stop growing once past the 32-bit range: no overflow anywhere.
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if (value <= (int64_t)INT32_MAX + 1) value = value * 10 + (*p - '0');
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return (int)value;
}

float TextToFloat(const char* text) {
    if (!text) return 0.0f;
    return NarrowToFloat(strtod_l(text, nullptr, CLocale()));
}

char* StrTrimZeros(char* text) {
    if (!text || !std::strchr(text, '.')) return text;
    size_t len = std::strlen(text);
    while (len >= 2 && text[len - 1] == '0' && text[len - 2] != '.')
        text[--len] = 0;
    return text;
}

namespace {
int FormatFixed(float value, char* out, size_t outSize, bool trim) {
    if (!out || outSize == 0) return 0;
    // "%f" of the widest double is about 320 characters.
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf - 1, (double)value, std::chars_format::fixed, 6);
    *r.ptr = 0;
    if (trim) StrTrimZeros(buf);
    size_t len = std::strlen(buf);
    if (len >= outSize) len = outSize - 1;
    std::memcpy(out, buf, len);
    out[len] = 0;
    return (int)len;
}
} // namespace

int FloatToTextF(float value, char* out, size_t outSize) {
    return FormatFixed(value, out, outSize, false);
}

int FloatToText(float value, char* out, size_t outSize) {
    return FormatFixed(value, out, outSize, true);
}
