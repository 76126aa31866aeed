// The engine's raw allocations and block fills and copies. Every engine-side raw buffer (file
// buffers, tables, records) goes through MemAlloc/MemFree, which count live blocks.
#pragma once

#include <cstddef>
#include <cstdint>

void* MemAlloc(size_t bytes);
void* MemAllocTag(size_t bytes, const char* tag, int line); // tag and line are only for readers
void MemFree(void* block);
// Blocks handed out by MemAlloc and not yet freed (leak checks in tests and at shutdown).
int64_t MemLiveBlocks();

// Counts are in elements of the named width, not bytes, except where the name says bytes.
void MemZero(void* dst, size_t bytes);
int MemZero32(void* dst, size_t count);
void MemFill8(void* dst, uint8_t value, size_t count);
void MemFill16(void* dst, uint16_t value, size_t count);
void MemFill32(void* dst, uint32_t value, size_t count);
void MemCopyBytes(void* dst, const void* src, size_t bytes);
void MemCopy16(void* dst, const void* src, size_t count);
void MemCopy32(void* dst, const void* src, size_t count);
// Forward copy: safe for overlapping blocks only when dst lies below src.
void MemCopyFwd(void* dst, const void* src, size_t bytes);
