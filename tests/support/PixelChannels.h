// The colour channels of a pixel read back as 0xAARRGGBB.
#pragma once

#include <cstdint>

inline int Red(uint32_t c) {
    return int((c >> 16) & 0xFF);
}
inline int Green(uint32_t c) {
    return int((c >> 8) & 0xFF);
}
inline int Blue(uint32_t c) {
    return int(c & 0xFF);
}
