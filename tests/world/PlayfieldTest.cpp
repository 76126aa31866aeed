// The test board's rules against the real entity tree: its table, positions to tiles and back,
// marks, the cursor, and points, sizes and tiles that are not on a board.
#include "engine/Files.h"
#include "engine/VarTable.h"
#include "tests/world/CamerasFixture.h"

#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

class PlayfieldTest : public CamerasTest {
  protected:
    Playfield1* Board(int dx, int dy, float tile, VECTOR3 at = {0, 0, 0}) {
        auto* b = Make<Playfield1>("Playfield1", world, "Board");
        b->dimX = dx;
        b->dimY = dy;
        b->tileSize = tile;
        b->pos = at;
        b->Start();
        return b;
    }
    static std::vector<uint32_t> Cells(const Playfield1* b) {
        return b->cells ? std::vector<uint32_t>(b->cells, b->cells + b->dimX * b->dimY)
                        : std::vector<uint32_t>();
    }
};

TEST_F(PlayfieldTest, TableAndCreatedValues) {
    VarTable* t = PlayfieldVars();
    ASSERT_NE(t, nullptr);
    std::string rows;
    for (int i = 0; i < t->count; ++i)
        rows += std::string(rows.empty() ? "" : " ") + t->Entries()[i].name;
    EXPECT_EQ(rows, "name pos.x pos.y pos.z tileSize dim.x dim.y textureNormal textureMarked");
    EXPECT_EQ(VarTableFind(t, "dim.x")->max.i, 256);
    EXPECT_EQ(VarTableFind(t, "tileSize")->max.f, 20.0f);
    auto* b = Make<Playfield1>("Playfield1", world, "Fresh");
    EXPECT_EQ(b->tileSize, 1.0f);
    EXPECT_EQ(b->dimX, 0);
    EXPECT_EQ(b->cells, nullptr);
    EXPECT_STREQ(b->textureNormal, "");
    EXPECT_EQ(b->Update(0.1f), 1);
}

TEST_F(PlayfieldTest, ASingleTileHoldsEveryPointOnIt) {
    Playfield1* b = Board(1, 1, 2.0f, {50, 0, 60});
    for (float dx : {-0.9f, 0.0f, 0.9f})
        for (float dz : {-0.9f, 0.5f, 0.9f}) {
            int i = -5, j = -5;
            EXPECT_EQ(PlayfieldWorldToCell(b, 50 + dx, 60 + dz, &i, &j), 1);
            EXPECT_EQ(i, 0);
            EXPECT_EQ(j, 0);
        }
    EXPECT_EQ(b->boardMatrix.m[0], 2.0f);
    EXPECT_EQ(b->boardMatrix.m[12], 50.0f);
}

TEST_F(PlayfieldTest, ToggleFlipsTheMarkOfTheTileUnderThePoint) {
    Playfield1* b = Board(4, 4, 10.0f);
    EXPECT_EQ(PlayfieldToggleMarkAt(b, 5.0f, -15.0f), 1);
    EXPECT_EQ(b->cells[0 * 4 + 2], 1u) << "x 5 is column 2, z -15 row 0";
    EXPECT_EQ(PlayfieldToggleMarkAt(b, 9.0f, -11.0f), 0) << "the same tile again clears it";
    EXPECT_EQ(Cells(b), std::vector<uint32_t>(16, 0u));

    PlayfieldToggleMarkAt(b, 1.0f, 1.0f);
    b->VarsChanged();
    EXPECT_EQ(Cells(b), std::vector<uint32_t>(16, 0u)) << "a changed board starts unmarked";
}

TEST_F(PlayfieldTest, TheCursorSitsOnAnEvenBoardsTileAndHalfATileOverOnAnOddOne) {
    Playfield1* even = Board(4, 4, 10.0f, {100, 0, 100});
    PlayfieldSetCursorAt(even, 95.0f, 115.0f); // tile (1, 3), corner (90, 110)
    EXPECT_EQ(even->cursor.x, 90.0f);
    EXPECT_EQ(even->cursor.z, 110.0f);
    EXPECT_EQ(even->cursor.y, 0.0f);

    Playfield1* odd = Board(3, 3, 10.0f, {100, 0, 100});
    PlayfieldSetCursorAt(odd, 100.0f, 100.0f); // the middle tile, corner (95, 95)
    EXPECT_EQ(odd->cursor.x, 100.0f) << "half a tile toward +x of the tile's corner";
    EXPECT_EQ(odd->cursor.z, 100.0f);
}

TEST_F(PlayfieldTest, CellCentreInvertsWorldToCell) {
    Playfield1* b = Board(5, 3, 3.0f, {17.5f, 2.0f, -4.0f});
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 3; ++j) {
            float x, z;
            PlayfieldCellCentre(b, &x, &z, i, j);
            int ci = -1, cj = -1;
            EXPECT_EQ(PlayfieldWorldToCell(b, x, z, &ci, &cj), 1);
            EXPECT_EQ(ci, i);
            EXPECT_EQ(cj, j);
        }
}

TEST_F(PlayfieldTest, PointsOffTheBoardTouchNothing) {
    Playfield1* b = Board(4, 4, 10.0f);
    PlayfieldSetCursorAt(b, 5.0f, 5.0f);
    const VECTOR3 cursor = b->cursor;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float far[][2] = {{-100, -100}, {1e6f, 0}, {0, 1e30f},  {-20.5f, 0},
                            {20.0f, 0},   {nan, 0},  {0, -1e38f}, {-0.5f - 20, -19}};
    for (const auto& p : far) {
        int i, j;
        EXPECT_EQ(PlayfieldWorldToCell(b, p[0], p[1], &i, &j), 0) << p[0] << ", " << p[1];
        EXPECT_EQ(PlayfieldToggleMarkAt(b, p[0], p[1]), 0);
        PlayfieldSetCursorAt(b, p[0], p[1]);
        EXPECT_EQ(b->cursor.x, cursor.x);
        EXPECT_EQ(b->cursor.z, cursor.z);
    }
    EXPECT_EQ(Cells(b), std::vector<uint32_t>(16, 0u));
}

TEST_F(PlayfieldTest, BoardsWithoutTilesOrTileSizeTouchNothing) {
    auto* empty = Make<Playfield1>("Playfield1", world, "Empty"); // as created: 0 x 0
    int i, j;
    EXPECT_EQ(PlayfieldWorldToCell(empty, 0, 0, &i, &j), 0);
    EXPECT_EQ(PlayfieldToggleMarkAt(empty, 0, 0), 0);
    EXPECT_EQ(empty->DrawPre(), 1);
    for (float tile : {0.0f, -1.0f}) {
        Playfield1* b = Board(4, 4, tile);
        EXPECT_EQ(PlayfieldWorldToCell(b, 0, 0, &i, &j), 0) << tile;
        EXPECT_EQ(PlayfieldToggleMarkAt(b, 0.0f, 0.0f), 0);
        PlayfieldSetCursorAt(b, 1.0f, 1.0f);
        EXPECT_EQ(b->cursor.x, 0.0f);
        EXPECT_EQ(Cells(b), std::vector<uint32_t>(16, 0u));
        EXPECT_FALSE(b->Usable()) << "nothing is drawn";
    }
}

TEST_F(PlayfieldTest, SidesFromAFileAreHeldToTheBoardsLimits) {
    TempDir dir;
    const std::string path = dir / "Board.ini";
    const char* text = "[Board]\ndim.x=-3\ndim.y=300\ntileSize=2\n[Zero]\ndim.x=0\ndim.y=5\n";
    ASSERT_EQ(FileWriteAll(path.c_str(), text, std::strlen(text)), 1);
    auto* b = Make<Playfield1>("Playfield1", world, "Board");
    int flag;
    b->LoadVars(path.c_str(), &flag);
    b->Start();
    EXPECT_EQ(b->dimX, 0) << "a negative side is an empty board";
    EXPECT_EQ(b->dimY, 256);
    EXPECT_EQ(b->cells, nullptr);
    EXPECT_NE(LogText().find("dim.y 300 is taken as 256"), std::string::npos);

    b->dimX = 300;
    b->VarsChanged();
    EXPECT_EQ(b->dimX, 256);
    EXPECT_EQ(PlayfieldToggleMarkAt(b, 255.0f, 255.0f), 1) << "the far corner tile exists";
    EXPECT_EQ(b->cells[255 * 256 + 255], 1u);

    auto* zero = Make<Playfield1>("Playfield1", world, "Zero");
    zero->LoadVars(path.c_str(), &flag);
    zero->Start();
    EXPECT_EQ(zero->cells, nullptr);
    EXPECT_EQ(PlayfieldToggleMarkAt(zero, 0.0f, 0.0f), 0);
}

} // namespace
