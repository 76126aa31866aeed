// Where a character's next pose is read and written, noted after one pose for the next: a
// caller that knows which character it poses next asks for that memory while it works on
// another, so that a crowd too large for the cache does not wait on each of a pose's pointers
// in turn. Hints only: nothing is read through them, and a stale one costs a useless fetch.
#pragma once

#include <cstddef>
#include <cstdint>

struct giPoseMemory {
    static constexpr int kMax = 12;
    // A block longer than this is asked for in part: its first lines are read first.
    static constexpr size_t kMaxBytes = 1024;

    // Addresses as numbers: a block freed since it was noted is never touched as an object.
    uintptr_t at[kMax] = {};
    uint32_t bytes[kMax] = {};
    int count = 0;

    void Clear() { count = 0; }
    // Nothing for a null or empty block, or once full.
    void Add(const void* block, size_t size) {
        if (!block || size == 0 || count >= kMax) return;
        at[count] = reinterpret_cast<uintptr_t>(block);
        bytes[count] = (uint32_t)(size < kMaxBytes ? size : kMaxBytes);
        ++count;
    }
    void Prefetch() const {
        for (int i = 0; i < count && i < kMax; ++i)
            for (uint32_t offset = 0; offset < bytes[i]; offset += 64)
                __builtin_prefetch(reinterpret_cast<const void*>(at[i] + offset), 1);
    }
};
