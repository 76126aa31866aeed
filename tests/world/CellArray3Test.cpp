// The block's cell array: its word order, bounds, layer edits and removal.
#include "world/CellArray3.h"

#include <gtest/gtest.h>

namespace {

struct Cells {
    CellArray3 a;
    Cells(int x, int y, int z) { EXPECT_EQ(CellArray3Init(&a, x, y, z), 1); }
    ~Cells() { CellArray3Free(&a); }
    int Present() const {
        int n = 0;
        for (uint32_t i = 0; i < a.count; ++i)
            n += a.cells[i] & 1u;
        return n;
    }
};

TEST(CellArray3, InitFillsEveryWordAndSetsFullBoundsInWordOrder) {
    Cells c(3, 4, 5);
    EXPECT_EQ(c.a.count, 60u);
    for (uint32_t i = 0; i < c.a.count; ++i)
        ASSERT_EQ(c.a.cells[i], 1u);
    EXPECT_EQ(c.a.maxX, 2);
    EXPECT_EQ(c.a.maxY, 3);
    EXPECT_EQ(c.a.maxZ, 4);
    EXPECT_EQ(c.a.extX, 3);
    EXPECT_EQ(c.a.extZ, 5);
    EXPECT_EQ(&CellArray3At(&c.a, 2, 1, 3), &c.a.cells[(3 * 4 + 1) * 3 + 2])
        << "the word order is (z x dimY + y) x dimX + x";
}

TEST(CellArray3, BoundsOfAnEmptiedArrayAndOfAPartialOne) {
    Cells c(2, 3, 4);
    for (uint32_t i = 0; i < c.a.count; ++i)
        c.a.cells[i] = 6u; // other bits set, bit 0 clear: nothing present
    CellArray3Bounds(&c.a);
    EXPECT_EQ(c.a.minX, 2);
    EXPECT_EQ(c.a.minY, 3);
    EXPECT_EQ(c.a.minZ, 4);
    EXPECT_EQ(c.a.maxX, -1);
    EXPECT_EQ(c.a.extX + c.a.extY + c.a.extZ, 0);

    CellArray3At(&c.a, 1, 1, 2) = 1u;
    CellArray3Bounds(&c.a);
    EXPECT_EQ(c.a.minY, 1);
    EXPECT_EQ(c.a.extX, 2);
    EXPECT_EQ(c.a.extY, 2);
    EXPECT_EQ(c.a.extZ, 3);
}

TEST(CellArray3, EditOnTheLastLayerClearsItAndThenDoesNothing) {
    Cells c(1, 2, 2);
    EXPECT_EQ(CellArray3Edit(&c.a, 2), 0);
    EXPECT_EQ(c.a.extX, 0);
    EXPECT_EQ(c.Present(), 0) << "removing layer 0 of a one-layer array clears it";
    CellArray3At(&c.a, 0, 0, 0) = 1u; // a further edit must not touch it
    CellArray3Edit(&c.a, 1);
    CellArray3Edit(&c.a, 2);
    EXPECT_EQ(c.a.extX, 0) << "an axis with no layer left must not go negative";
    EXPECT_EQ(c.Present(), 1);
    CellArray3Edit(&c.a, 3); // not a code
    EXPECT_EQ(c.a.extY, 2);
}

TEST(CellArray3, RemoveLayerYMovesEveryLayerDownOne) {
    Cells c(2, 3, 2);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x)
            for (int z = 0; z < 2; ++z)
                CellArray3At(&c.a, x, y, z) = 1u | (uint32_t)(y << 4);
    CellArray3RemoveLayerY(&c.a, 0);
    EXPECT_EQ(c.a.extY, 2);
    for (int x = 0; x < 2; ++x)
        for (int z = 0; z < 2; ++z) {
            EXPECT_EQ(CellArray3At(&c.a, x, 0, z), 1u | (1u << 4));
            EXPECT_EQ(CellArray3At(&c.a, x, 1, z), 1u | (2u << 4));
            EXPECT_EQ(CellArray3At(&c.a, x, 2, z), 0u) << "the old top layer is cleared";
        }
}

TEST(CellArray3, EditCodesNameTheirAxisAndEnd) {
    Cells c(3, 3, 3);
    CellArray3At(&c.a, 0, 0, 1) = 5u;
    CellArray3Edit(&c.a, 32); // first layer along z: z 1 moves to z 0
    EXPECT_EQ(c.a.extZ, 2);
    EXPECT_EQ(CellArray3At(&c.a, 0, 0, 0), 5u);
    CellArray3Edit(&c.a, 4); // last layer along y
    EXPECT_EQ(c.a.extY, 2);
    EXPECT_EQ(CellArray3At(&c.a, 1, 2, 0), 0u);
    EXPECT_EQ(CellArray3At(&c.a, 1, 1, 0), 1u);
    CellArray3ClearLayerX(&c.a, 7); // outside: nothing
    EXPECT_EQ(c.Present(), 3 * 2 * 2);
}

TEST(CellArray3, EmptyDimensionsHoldNoWords) {
    Cells c(0, 4, 4);
    EXPECT_EQ(c.a.count, 0u);
    CellArray3Bounds(&c.a);
    CellArray3Edit(&c.a, 2);
    CellArray3Edit(&c.a, 8);
    EXPECT_EQ(c.a.extX, 0);
}

} // namespace
