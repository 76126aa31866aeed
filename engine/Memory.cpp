// Raw allocations through the C heap, counted; fills and copies by element width.
#include "engine/Memory.h"

#include <cstdlib>
#include <cstring>

static int64_t s_liveBlocks = 0;

void* MemAlloc(size_t bytes) {
    // A zero-byte request still gives a distinct block, as the run-time heap did.
    void* p = std::malloc(bytes ? bytes : 1);
    if (p) ++s_liveBlocks;
    return p;
}

void* MemAllocTag(size_t bytes, const char*, int) {
    return MemAlloc(bytes);
}

void MemFree(void* block) {
    if (!block) return;
    --s_liveBlocks;
    std::free(block);
}

int64_t MemLiveBlocks() {
    return s_liveBlocks;
}

void MemZero(void* dst, size_t bytes) {
    if (bytes) std::memset(dst, 0, bytes);
}

int MemZero32(void* dst, size_t count) {
    MemZero(dst, count * 4);
    return 0;
}

void MemFill8(void* dst, uint8_t value, size_t count) {
    if (count) std::memset(dst, value, count);
}

// Fills through memcpy of the value so unaligned destinations stay well defined.
void MemFill16(void* dst, uint16_t value, size_t count) {
    auto* d = static_cast<unsigned char*>(dst);
    for (size_t i = 0; i < count; ++i)
        std::memcpy(d + i * 2, &value, 2);
}

void MemFill32(void* dst, uint32_t value, size_t count) {
    auto* d = static_cast<unsigned char*>(dst);
    for (size_t i = 0; i < count; ++i)
        std::memcpy(d + i * 4, &value, 4);
}

void MemCopyBytes(void* dst, const void* src, size_t bytes) {
    if (bytes) std::memmove(dst, src, bytes);
}

void MemCopy16(void* dst, const void* src, size_t count) {
    MemCopyBytes(dst, src, count * 2);
}

void MemCopy32(void* dst, const void* src, size_t count) {
    MemCopyBytes(dst, src, count * 4);
}

void MemCopyFwd(void* dst, const void* src, size_t bytes) {
    auto* d = static_cast<unsigned char*>(dst);
    auto* s = static_cast<const unsigned char*>(src);
    for (size_t i = 0; i < bytes; ++i)
        d[i] = s[i];
}
