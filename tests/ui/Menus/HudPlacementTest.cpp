// Placing and removing attractions through the HUD: the cursor cell under the mouse, the cursor
// model, the cells a placement tests and blocks, its money, and removal with its refund.
#include "tests/ui/Menus/HudFixture.h"

#include "I3d/Math/Pick.h"
#include "engine/EntIniLoader.h"
#include "engine/Input/SlInput.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "game/MtGameSave.h"
#include "game/Placement.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/HudPlacement.h"
#include "world/StaticObject.h"

#include <SDL.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr float kQuarter = 1.570796f;

// Takes a class out of the registry for the guard's life, as a build without it would be.
class ClassHidden {
  public:
    explicit ClassHidden(const char* name) : m_class(EntClassFind(name)) {
        if (m_class) {
            std::memcpy(m_saved, m_class->name, sizeof m_saved);
            std::snprintf(m_class->name, sizeof m_class->name, "~hidden~");
        }
    }
    ~ClassHidden() {
        if (m_class) std::memcpy(m_class->name, m_saved, sizeof m_saved);
    }

  private:
    EntClass* m_class;
    char m_saved[64] = {};
};

} // namespace

class HudPlacementTest : public HudTest {
  protected:
    // The HUD up over the default venue, with a clear patch of ground round cell (10, 20) and
    // type 0 reshaped as the 2 x 3 type the cases use.
    void StartPlacing() {
        StartHud();
        if (HasFatalFailure()) return;
        grid = GameGridFrom(hud->grid.Get());
        ASSERT_NE(grid, nullptr);
        ASSERT_GE(grid->cols, 40);
        ASSERT_GE(grid->rows, 40);
        GameGridMarkRect(grid, 0, 30, 10, 35, 1.0f);
        type = Game()->attrList->Get(0);
        ASSERT_NE(type, nullptr);
        type->footX = 2;
        type->footZ = 3;
        type->footOffsetX = 1.5f;
        type->footOffsetZ = 2.5f;
        type->deposit = 50000;
        type->defTicketPrice = 175;
        cursor = dynamic_cast<StaticObject*>(hud->attrCursor.Get());
        ASSERT_NE(cursor, nullptr) << "the venue has no \"AttrCursor\"";
    }

    void Choose(int index, int turn, int cx, int cz) {
        hud->chosenType = Game()->attrList->Get(index);
        hud->chosenIndex = index;
        hud->rotation = turn;
        hud->cursorCellX = cx;
        hud->cursorCellZ = cz;
        GameGridSetCursor(grid, cx, cz);
        HudRefreshCursor(hud);
    }

    std::vector<float> Cells() const {
        return std::vector<float>(grid->cells, grid->cells + size_t(grid->cols) * grid->rows);
    }
    float Cell(int x, int z) const { return grid->cells[size_t(z) * grid->cols + x]; }

    // The attractions under "First", in order.
    std::vector<AttrBase*> Placed() const {
        std::vector<AttrBase*> out;
        ENTBASE* first = hud->first.Get();
        for (EntNode* c = first ? first->node->firstChild : nullptr; c; c = c->next)
            if (auto* a = c->deleteCount == 0 ? dynamic_cast<AttrBase*>(c->object) : nullptr)
                out.push_back(a);
        return out;
    }

    // The screen point of the middle of a cell on the grid's plane.
    bool CellOnScreen(int cx, int cz, float* x, float* y) {
        float wx, wz;
        GameGridCellToWorld(grid, cx, cz, &wx, &wz);
        return ScreenOf({wx + grid->tileWidth / 2, grid->originY, wz + grid->tileHeight / 2}, x, y);
    }

    GameGridCore* grid = nullptr;
    AttrInfo* type = nullptr;
    StaticObject* cursor = nullptr;
};

// ---- the cursor ----

TEST_F(HudPlacementTest, TheCursorCellFollowsTheMouseAndKeepsItsLastCellOffTheGrid) {
    StartPlacing();
    ASSERT_FALSE(HasFatalFailure());
    int tried = 0;
    for (int cz = 0; cz < grid->rows; cz += 7)
        for (int cx = 0; cx < grid->cols; cx += 7) {
            float x, y;
            if (!CellOnScreen(cx, cz, &x, &y) || x < 1 || x > 1023 || y < 1 || y > 767) continue;
            ++tried;
            hud->mouseX = int32_t(x);
            hud->mouseY = int32_t(y);
            HudUpdateCursorCell(hud);
            // A pixel is wider than a cell far off: one cell of slack.
            EXPECT_NEAR(hud->cursorCellX, cx, 1) << "cell " << cx << ", " << cz;
            EXPECT_NEAR(hud->cursorCellZ, cz, 1) << "cell " << cx << ", " << cz;
            EXPECT_EQ(grid->cursorX, hud->cursorCellX) << "the grid's cursor cell disagrees";
            EXPECT_EQ(grid->cursorZ, hud->cursorCellZ) << "the grid's cursor cell disagrees";
        }
    ASSERT_GT(tried, 3) << "the camera shows too few cells of the grid";

    // Points of the view above the horizon, and a pointer off the screen: no cell.
    ASSERT_TRUE(venue.Fly(512.0f, 0.0f, 520.0f, 0.0f, 0.3f, 70.0f));
    Step(100); // the camera glides there
    hud->mouseX = 512;
    hud->mouseY = 700;
    HudUpdateCursorCell(hud);
    const int keptX = hud->cursorCellX, keptZ = hud->cursorCellZ;
    ASSERT_EQ(grid->cursorX, keptX);
    int misses = 0;
    for (int y = 0; y < 768; y += 24)
        for (int x = 0; x < 1024; x += 32) {
            VECTOR3 o, d;
            int cx, cz;
            if (!PickRay(2.0f * x / 1024 - 1, 1 - 2.0f * y / 768, &o, &d)) continue;
            if (GameGridPick(grid, &o, &d, &cx, &cz) &&
                GameGridWorldToCell(grid, grid->picked.x, grid->picked.z, &cx, &cz))
                continue;
            ++misses;
            hud->mouseX = x;
            hud->mouseY = y;
            HudUpdateCursorCell(hud);
        }
    EXPECT_GT(misses, 0) << "the view shows nothing beyond the grid";
    hud->mouseX = -1;
    hud->mouseY = -1;
    HudUpdateCursorCell(hud);
    EXPECT_EQ(hud->cursorCellX, keptX) << "a miss moved the cursor cell";
    EXPECT_EQ(hud->cursorCellZ, keptZ);
    EXPECT_EQ(grid->cursorX, keptX);

    // Up to one tile before the origin truncates to cell 0.
    int cx = -5, cz = -5;
    EXPECT_TRUE(GameGridWorldToCell(grid, grid->originX - 0.9f * grid->tileWidth,
                                    grid->originZ - 0.5f * grid->tileHeight, &cx, &cz));
    EXPECT_EQ(cx, 0);
    EXPECT_EQ(cz, 0);
}

TEST_F(HudPlacementTest, TheCursorShowsTheChosenTypeAndItsRingAndFollowsTheTable) {
    StartPlacing();
    ASSERT_FALSE(HasFatalFailure());
    HudEndPlacement(hud);
    EXPECT_STREQ(cursor->modelFile, "");
    EXPECT_EQ(cursor->instance, nullptr) << "an empty name loads nothing";
    EXPECT_EQ(grid->showFootprint, 0);

    Choose(0, 0, 10, 20);
    EXPECT_STREQ(cursor->modelFile, type->modelFileName);
    EXPECT_NE(cursor->instance, nullptr) << "the cursor did not load " << type->modelFileName;
    EXPECT_EQ(grid->showFootprint, 1);
    EXPECT_EQ(grid->footWidth, 4);
    EXPECT_EQ(grid->footHeight, 5);
    hud->rotation = 1;
    HudRefreshCursor(hud);
    EXPECT_EQ(grid->footWidth, 5);
    EXPECT_EQ(grid->footHeight, 4);

    // The table, written out: anchor (X, Z) is the far corner of the cursor cell, 2W the width.
    const float tx = grid->tileWidth, tz = grid->tileHeight;
    const float X = 11 * tx + grid->originX, Z = 21 * tz + grid->originZ;
    const float ox = 1.5f, oz = 2.5f;
    const float want[4][2] = {
        {X + ox, Z + oz}, {X + oz, Z + 2 * tz - ox}, {X + 2 * tx - ox, Z + oz}, {X + oz, Z + ox}};
    for (int r = 0; r < 4; ++r) {
        hud->rotation = r;
        HudPositionCursor(hud);
        EXPECT_FLOAT_EQ(cursor->pos.x, want[r][0]) << "rotation " << r;
        EXPECT_FLOAT_EQ(cursor->pos.z, want[r][1]) << "rotation " << r;
        EXPECT_FLOAT_EQ(cursor->GetYaw(), r * kQuarter) << "rotation " << r;
    }
    // No type: the cursor stays where it was.
    HudEndPlacement(hud);
    const VECTOR3 before = cursor->pos;
    hud->cursorCellX = 30;
    HudPositionCursor(hud);
    EXPECT_FLOAT_EQ(cursor->pos.x, before.x);
}

TEST_F(HudPlacementTest, QuarterTurnsOfYaws) {
    EXPECT_EQ(YawToQuarterTurn(6.25f), 0);
    EXPECT_EQ(YawToQuarterTurn(6.2f), 3);
    EXPECT_EQ(YawToQuarterTurn(4.6f), 2);
    EXPECT_EQ(YawToQuarterTurn(3.1f), 1);
    EXPECT_EQ(YawToQuarterTurn(1.5f), 0);
    EXPECT_EQ(YawToQuarterTurn(std::numeric_limits<float>::quiet_NaN()), 0);
}

// ---- placing ----

TEST_F(HudPlacementTest, APlacementTestsTheRingBlocksTheFootprintAndTakesTheDeposit) {
    StartPlacing();
    ASSERT_FALSE(HasFatalFailure());
    MtGame* game = Game();
    game->cash = 80000;
    game->onDeposit = 1000;
    const std::vector<float> before = Cells();
    const size_t placedBefore = Placed().size();

    // One blocked cell at the far corner of the ring refuses the click and keeps the choice.
    Choose(0, 1, 10, 20);
    GameGridMarkRect(grid, 14, 14, 23, 23, -1.0f);
    HudPlaceAttraction(hud);
    EXPECT_EQ(hud->chosenType, type) << "a refused click ended the placement";
    EXPECT_EQ(Placed().size(), placedBefore);
    EXPECT_EQ(game->cash, 80000);
    // Just outside the tested 5 x 4 rectangle does not matter.
    GameGridMarkRect(grid, 14, 14, 23, 23, 1.0f);
    GameGridMarkRect(grid, 15, 15, 20, 23, -1.0f);
    GameGridMarkRect(grid, 10, 14, 24, 24, -1.0f);
    std::vector<float> marked = Cells();
    char nameBefore[33];
    EntMakeAutoName(nameBefore);
    HudPlaceAttraction(hud);

    const std::vector<AttrBase*> placed = Placed();
    ASSERT_EQ(placed.size(), placedBefore + 1) << "nothing was placed on free ground";
    AttrBase* attr = placed.back();
    // Blocked: exactly x 11..13, z 21..22.
    const std::vector<float> after = Cells();
    for (int z = 0; z < grid->rows; ++z)
        for (int x = 0; x < grid->cols; ++x) {
            const bool inside = x >= 11 && x <= 13 && z >= 21 && z <= 22;
            const size_t i = size_t(z) * grid->cols + x;
            if (inside)
                EXPECT_EQ(after[i], -1.0f) << "footprint cell " << x << ", " << z;
            else
                EXPECT_EQ(after[i], marked[i]) << "cell " << x << ", " << z << " changed";
        }
    EXPECT_EQ(Cell(10, 20), 1.0f) << "the ring was blocked";

    EXPECT_EQ(EntGetParent(attr), hud->first.Get());
    const int next = std::atoi(nameBefore + 4) + 1;
    EXPECT_EQ(std::string(attr->GetName()), "ENT~" + std::to_string(next));
    EXPECT_EQ(attr->type, 0);
    EXPECT_EQ(attr->agl, 1) << "the attraction does not follow the terrain";
    const float tx = grid->tileWidth, tz = grid->tileHeight;
    EXPECT_FLOAT_EQ(attr->pos.x, 11 * tx + grid->originX + 2.5f);
    EXPECT_FLOAT_EQ(attr->pos.z, 21 * tz + grid->originZ + 2 * tz - 1.5f);
    EXPECT_FLOAT_EQ(attr->yaw, 1.570796f);
    ASSERT_NE(attr->sourceFile, nullptr);
    EXPECT_STREQ(attr->sourceFile, ENT_SAVEGAME) << "the saved game would not write it";
    EXPECT_EQ(attr->ticketPrice, 175);
    EXPECT_EQ(attr->info, type) << "the attraction was not started";

    EXPECT_EQ(hud->rotation, 0);
    EXPECT_EQ(game->cash, 30000);
    EXPECT_EQ(game->onDeposit, 51000);
    EXPECT_EQ(hud->chosenType, nullptr) << "the placement did not end";
    EXPECT_EQ(hud->chosenIndex, -1);
    EXPECT_STREQ(cursor->modelFile, "");

    // A deposit larger than the cash: the cash stops at 0, the deposits count it all.
    Choose(0, 0, 20, 12);
    HudPlaceAttraction(hud);
    EXPECT_EQ(Placed().size(), placedBefore + 2);
    EXPECT_EQ(game->cash, 0);
    EXPECT_EQ(game->onDeposit, 101000);
    (void)before;
}

TEST_F(HudPlacementTest, ClicksThatCannotFitAreRefused) {
    StartPlacing();
    ASSERT_FALSE(HasFatalFailure());
    MtGame* game = Game();
    game->cash = 1000000;
    const size_t placedBefore = Placed().size();
    GameGridMarkRect(grid, grid->cols - 6, grid->cols - 1, 10, 20, 1.0f);

    // The footprint would fit at the last columns, but not its ring.
    Choose(0, 0, grid->cols - 3, 12);
    HudPlaceAttraction(hud);
    EXPECT_EQ(Placed().size(), placedBefore) << "a ring past the grid's edge was accepted";
    EXPECT_EQ(hud->chosenType, type);

    // A footprint of no cells, and one bigger than the grid.
    type->footX = 0;
    Choose(0, 0, 10, 20);
    HudPlaceAttraction(hud);
    type->footX = -2;
    HudPlaceAttraction(hud);
    type->footX = grid->cols + 1;
    Choose(0, 0, 0, 0);
    HudPlaceAttraction(hud);
    EXPECT_EQ(Placed().size(), placedBefore);
    EXPECT_EQ(game->cash, 1000000);

    // No type chosen.
    HudEndPlacement(hud);
    HudPlaceAttraction(hud);
    EXPECT_EQ(Placed().size(), placedBefore);
}

TEST_F(HudPlacementTest, AFailedCreationTakesNothing) {
    keepLog = true;
    StartPlacing();
    ASSERT_FALSE(HasFatalFailure());
    MtGame* game = Game();
    game->cash = 80000;
    game->onDeposit = 0;
    Choose(0, 1, 10, 20);
    const std::vector<float> before = Cells();
    const size_t placedBefore = Placed().size();
    {
        ClassHidden gone("AttrBase");
        HudPlaceAttraction(hud);
    }
    EXPECT_EQ(Placed().size(), placedBefore);
    EXPECT_EQ(Cells(), before) << "cells were blocked with no attraction to free them";
    EXPECT_EQ(game->cash, 80000) << "the deposit was taken for nothing";
    EXPECT_EQ(game->onDeposit, 0);
    EXPECT_EQ(hud->chosenType, nullptr) << "the placement did not end";
    const std::string log = LogText();
    const std::string line = "HudPlaceAttraction: cannot create AttrBase\n";
    const size_t at = log.find(line);
    EXPECT_NE(at, std::string::npos);
    EXPECT_EQ(log.find(line, at + 1), std::string::npos) << "logged more than once";
}

// ---- removal ----

TEST_F(HudPlacementTest, RemovalUndoesAPlacementForEveryQuarterTurn) {
    StartPlacing();
    ASSERT_FALSE(HasFatalFailure());
    MtGame* game = Game();
    for (int turn = 0; turn < 4; ++turn) {
        const std::vector<float> before = Cells();
        Choose(0, turn, 10, 20);
        HudPlaceAttraction(hud);
        ASSERT_EQ(hud->chosenType, nullptr) << "turn " << turn << " was not placed";
        AttrBase* attr = Placed().back();
        EXPECT_NE(Cells(), before);
        ASSERT_EQ(HudRemoveAttraction(hud, attr), 1);
        EXPECT_EQ(Cells(), before) << "turn " << turn << " left cells behind";
    }

    // A neighbour sharing the far ring column keeps its cells.
    game->cash = 1000000;
    Choose(0, 0, 10, 20); // footprint x 11..12, ring column 13
    HudPlaceAttraction(hud);
    AttrBase* a = Placed().back();
    Choose(0, 0, 13, 20); // ring column 13, footprint x 14..15
    HudPlaceAttraction(hud);
    AttrBase* b = Placed().back();
    ASSERT_NE(a, b) << "the neighbour was refused";
    ASSERT_EQ(HudRemoveAttraction(hud, a), 1);
    for (int z = 21; z <= 23; ++z)
        for (int x = 14; x <= 15; ++x)
            EXPECT_EQ(Cell(x, z), -1.0f) << "the neighbour lost cell " << x << ", " << z;
    EXPECT_EQ(Cell(12, 21), 1.0f);
    (void)b;
}

TEST_F(HudPlacementTest, RemovalRefundsTheValueAndDropsTheSelection) {
    StartPlacing();
    ASSERT_FALSE(HasFatalFailure());
    MtGame* game = Game();
    game->cash = 60000;
    game->onDeposit = 0;
    Choose(0, 2, 10, 20);
    HudPlaceAttraction(hud);
    AttrBase* attr = Placed().back();
    ASSERT_EQ(game->cash, 10000);
    ASSERT_EQ(game->onDeposit, 50000);
    game->onDeposit = 70000;
    attr->repair = 0.75f;
    ASSERT_TRUE(HudSelect(hud, attr));
    ASSERT_TRUE(hud->Inspector(HUD_KIND_ATTRACTION)->shown);

    EXPECT_EQ(HudRemoveAttraction(hud, attr), 1);
    EXPECT_EQ(game->cash, 10000 + 25000) << "the refund is half the deposit at wear 0.75";
    EXPECT_EQ(game->onDeposit, 20000) << "the deposits drop by the whole deposit";
    EXPECT_FALSE(EntIsLive(attr));
    EXPECT_EQ(hud->selected.Get(), nullptr);
    for (int kind = 0; kind < 3; ++kind)
        EXPECT_FALSE(hud->Inspector(kind)->shown);

    // The deposits on hand never go below 0.
    Choose(0, 0, 10, 20);
    HudPlaceAttraction(hud);
    game->onDeposit = 100;
    HudRemoveAttraction(hud, Placed().back());
    EXPECT_EQ(game->onDeposit, 0);

    EXPECT_EQ(HudRemoveAttraction(hud, nullptr), 0);

    // Once the day is closed its money is settled: the attraction stays.
    Choose(0, 0, 10, 20);
    HudPlaceAttraction(hud);
    AttrBase* kept = Placed().back();
    game->dayClosed = 1;
    EXPECT_EQ(HudRemoveAttraction(hud, kept), 0);
    EXPECT_TRUE(EntIsLive(kept));
    game->dayClosed = 0;
}

TEST_F(HudPlacementTest, RemovingAnAttractionOfNoListedTypeTouchesNoCells) {
    StartPlacing();
    ASSERT_FALSE(HasFatalFailure());
    MtGame* game = Game();
    game->cash = 5000;
    game->onDeposit = 3000;
    Choose(0, 0, 10, 20);
    auto* stray = dynamic_cast<AttrBase*>(EntCreateChild("AttrBase", hud->first.Get()));
    ASSERT_NE(stray, nullptr);
    stray->SetType(100000);
    stray->SetPosXYZ(grid->originX + 23.0f, 0.0f, grid->originZ + 43.0f);
    stray->Start();
    GameGridMarkRect(grid, 11, 12, 21, 23, -1.0f);
    const std::vector<float> before = Cells();
    EXPECT_EQ(HudRemoveAttraction(hud, stray), 1);
    EXPECT_FALSE(EntIsLive(stray));
    EXPECT_EQ(Cells(), before);
    EXPECT_EQ(game->cash, 5000);
    EXPECT_EQ(game->onDeposit, 3000);
}

// ---- by input ----

TEST_F(HudPlacementTest, SpaceTurnsAndAClickPlacesWhatTheCatalogueChose) {
    StartPlacing();
    ASSERT_FALSE(HasFatalFailure());
    MtGame* game = Game();
    game->cash = 90000;
    game->onDeposit = 0;
    // What the catalogue writes through the HUD's pointers.
    hud->chosenType = type;
    hud->chosenIndex = 0;
    HudRefreshCursor(hud);
    Key(SDL_SCANCODE_SPACE, true);
    Key(SDL_SCANCODE_SPACE, false);
    Step();
    EXPECT_EQ(hud->rotation, 1);
    EXPECT_EQ(grid->footWidth, 5) << "the turn did not refresh the footprint";

    // Clear ground in the middle of the view.
    const float x = 512, y = 470;
    VECTOR3 o, d;
    int hx = 0, hz = 0;
    ASSERT_TRUE(PickRay(2.0f * x / 1024 - 1, 1 - 2.0f * y / 768, &o, &d));
    ASSERT_TRUE(GameGridPick(grid, &o, &d, &hx, &hz)) << "the middle of the view shows no grid";
    GameGridMarkRect(grid, hx - 2, hx + 8, hz - 2, hz + 8, 1.0f);
    MouseMove(x, y);
    Step();
    // The model's cells (inside the ring from the cursor cell) are centred on the point the
    // pointer meets, within half a cell.
    const float w = float(grid->footWidth - 2), h = float(grid->footHeight - 2);
    const float px = (grid->picked.x - grid->originX) / grid->tileWidth;
    const float pz = (grid->picked.z - grid->originZ) / grid->tileHeight;
    EXPECT_NEAR(float(hud->cursorCellX) + 1.0f + w / 2, px, 0.5f) << "picked cell " << hx;
    EXPECT_NEAR(float(hud->cursorCellZ) + 1.0f + h / 2, pz, 0.5f) << "picked cell " << hz;
    EXPECT_EQ(cursor->GetYaw(), kQuarter) << "the cursor does not follow the turn";
    const int cx = hud->cursorCellX, cz = hud->cursorCellZ;
    const size_t placedBefore = Placed().size();
    ClickAt(x, y);
    ASSERT_EQ(Placed().size(), placedBefore + 1) << "the click placed nothing";
    AttrBase* attr = Placed().back();
    EXPECT_EQ(game->cash, 40000);
    EXPECT_EQ(Cell(cx + 1, cz + 1), -1.0f);
    EXPECT_EQ(Cell(cx + 3, cz + 2), -1.0f);
    EXPECT_EQ(hud->chosenType, nullptr);

    // The saved game holds it.
    const std::string folder = MtGameSaveFolder();
    mkdir(folder.c_str(), 0755);
    ASSERT_TRUE(MtGameSaveSandbox(game, "HudPlaced"));
    const std::string text = ReadTextFile(folder + "HudPlaced.sbx");
    const size_t at = text.find(std::string("[") + attr->GetName() + "]");
    ASSERT_NE(at, std::string::npos) << "the saved game has no section for the attraction";
    const std::string section = text.substr(at, text.find("\n[", at + 1) - at);
    EXPECT_NE(section.find("class=AttrBase"), std::string::npos) << section;
    EXPECT_NE(section.find("parent=First"), std::string::npos) << section;
}
