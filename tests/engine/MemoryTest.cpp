// Fills and copies by element width, and the live-block count.
#include "engine/Memory.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Memory, FillsAndCopiesCountElements) {
    uint16_t w16[5];
    MemFill16(w16, 0xBEEF, 5);
    for (uint16_t v : w16)
        EXPECT_EQ(v, 0xBEEF);
    uint32_t w32[3] = {1, 2, 3}, c32[3] = {};
    MemCopy32(c32, w32, 3);
    EXPECT_EQ(std::memcmp(w32, c32, sizeof w32), 0);
    MemFill32(w32, 0xDEADBEEFu, 3);
    EXPECT_EQ(w32[2], 0xDEADBEEFu);
    EXPECT_EQ(MemZero32(w32, 3), 0);
    EXPECT_EQ(w32[0] | w32[1] | w32[2], 0u);
    unsigned char b[7];
    MemFill8(b, 0xAB, 7);
    EXPECT_EQ(b[6], 0xAB);
    char text[] = "abcdefgh";
    MemCopyFwd(text, text + 2, 6); // dst below src: allowed to overlap
    EXPECT_STREQ(text, "cdefghgh");
}

TEST(Memory, LiveBlocksAreCounted) {
    int64_t before = MemLiveBlocks();
    void* a = MemAlloc(16);
    void* b = MemAllocTag(0, "zero", __LINE__);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr) << "a zero-byte block is still a block";
    EXPECT_EQ(MemLiveBlocks(), before + 2);
    MemFree(a);
    MemFree(b);
    MemFree(nullptr);
    EXPECT_EQ(MemLiveBlocks(), before);
}
