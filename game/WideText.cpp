// UTF-8 to UTF-16 and back for the game's shown text.
#include "game/WideText.h"

#include "engine/Utf8.h"

#include <cstdint>
#include <cstring>

int WideFromUtf8(const char* text, char16_t* out, int outCount) {
    if (!out || outCount < 1) return 0;
    int w = 0;
    if (text) {
        auto* s = reinterpret_cast<const unsigned char*>(text);
        size_t n = std::strlen(text);
        size_t i = 0;
        while (i < n && w < outCount - 1) {
            int len;
            uint32_t cp = Utf8DecodeOne(s + i, n - i, &len);
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
