// UTF-8 decoding.
#include "engine/Utf8.h"

uint32_t Utf8DecodeOne(const unsigned char* s, size_t n, int* length) {
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
