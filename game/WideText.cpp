// UTF-8 to UTF-16 and back for the game's shown text.
#include "game/WideText.h"

#include <cstdint>
#include <cstring>

// The code point of the valid sequence at `s` (n bytes left), with its length; 0 length when the
// bytes are not a valid, shortest-form sequence of a scalar value.
static uint32_t DecodeOne(const unsigned char* s, size_t n, int* length) {
    *length = 0;
    unsigned char b = s[0];
    int len;
    uint32_t cp, min;
    if (b < 0x80) {
        *length = 1;
        return b;
    } else if ((b & 0xE0) == 0xC0) {
        len = 2, cp = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3, cp = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4, cp = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (size_t(len) > n) return 0;
    for (int i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    *length = len;
    return cp;
}

int WideFromUtf8(const char* text, char16_t* out, int outCount) {
    if (!out || outCount < 1) return 0;
    int w = 0;
    if (text) {
        auto* s = reinterpret_cast<const unsigned char*>(text);
        size_t n = std::strlen(text);
        size_t i = 0;
        while (i < n && w < outCount - 1) {
            int len;
            uint32_t cp = DecodeOne(s + i, n - i, &len);
            if (len == 0) {
                cp = s[i];
                len = 1;
            }
            if (cp >= 0x10000) {
                if (w + 2 > outCount - 1) break;
                cp -= 0x10000;
                out[w++] = char16_t(0xD800 + (cp >> 10));
                out[w++] = char16_t(0xDC00 + (cp & 0x3FF));
            } else {
                out[w++] = char16_t(cp);
            }
            i += size_t(len);
        }
    }
    out[w] = 0;
    return w;
}

int WideFromNarrowInPlace(char16_t* field, int count) {
    if (!field || count < 1) return 0;
    // The narrow bytes overlap the wide result, so they are copied out first. The field holds
    // 2 x count bytes; text that fills them without a terminator is cut there.
    const char* bytes = reinterpret_cast<const char*>(field);
    std::string narrow(bytes, strnlen(bytes, size_t(count) * 2));
    return WideFromUtf8(narrow.c_str(), field, count);
}

std::string WideToUtf8(const char16_t* text) {
    std::string out;
    if (!text) return out;
    for (size_t i = 0; text[i]; ++i) {
        uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}
