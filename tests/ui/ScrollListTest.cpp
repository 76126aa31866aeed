// The list selection: moves, page moves and clamps, hit rows and the bar position, as one table
// of cases, and the hostile counts and points.
#include "ui/ScrollList.h"

#include "engine/Input/SlInput.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <string>

namespace {
struct MoveCase {
    const char* name;
    int32_t count, top, selected;
    std::function<void(ScrollList&)> move;
    int32_t wantTop, wantSelected;
};

ScrollList Make(int32_t count, int32_t top, int32_t selected) {
    ScrollList list;
    list.SetCount(count);
    list.top = top;
    list.selected = selected;
    return list;
}

TEST(ScrollList, MovesFollowTheClampRules) {
    auto down = [](ScrollList& l) { l.Down(); };
    auto up = [](ScrollList& l) { l.Up(); };
    auto pageDown = [](ScrollList& l) { l.PageDown(); };
    auto pageUp = [](ScrollList& l) { l.PageUp(); };
    const MoveCase cases[] = {
        {"down past the last visible row scrolls", 20, 0, 11, down, 1, 12},
        {"down inside the page keeps the top", 20, 0, 3, down, 0, 4},
        {"down on the last row stays", 20, 8, 19, down, 8, 19},
        {"page down from the top", 20, 0, 3, pageDown, 8, 8},
        {"a second page down", 20, 8, 8, pageDown, 19, 19},
        {"a short list keeps its top row", 5, 0, 0, pageDown, 0, 4},
        {"up above the top scrolls", 20, 5, 5, up, 4, 4},
        {"up on row 0 stays", 20, 0, 0, up, 0, 0},
        {"page up stops at 0", 20, 8, 10, pageUp, 0, 0},
        {"page up a whole page", 30, 14, 15, pageUp, 2, 3},
        {"empty: down", 0, 0, 0, down, 0, 0},
        {"empty: up", 0, 0, 0, up, 0, 0},
        {"empty: page down", 0, 0, 0, pageDown, 0, 0},
        {"empty: page up", 0, 0, 0, pageUp, 0, 0},
        {"negative count is empty", -5, 0, 0, pageDown, 0, 0},
        {"select below the page", 20, 0, 0, [](ScrollList& l) { l.Select(15); }, 4, 15},
        {"select above the page", 20, 10, 12, [](ScrollList& l) { l.Select(3); }, 3, 3},
        {"select -1 is ignored", 20, 2, 4, [](ScrollList& l) { l.Select(-1); }, 2, 4},
        {"select count is ignored", 20, 2, 4, [](ScrollList& l) { l.Select(20); }, 2, 4},
        {"huge count: page down", INT_MAX, INT_MAX - 5, INT_MAX - 3, pageDown, INT_MAX - 1,
         INT_MAX - 1},
        {"huge count: select near the end", INT_MAX, INT_MAX - 20, INT_MAX - 20,
         [](ScrollList& l) { l.Select(INT_MAX - 1); }, INT_MAX - 12, INT_MAX - 1},
        {"huge count: down near the end", INT_MAX, INT_MAX - 13, INT_MAX - 2, down, INT_MAX - 12,
         INT_MAX - 1},
    };
    for (const MoveCase& k : cases) {
        ScrollList list = Make(k.count, k.top, k.selected);
        k.move(list);
        EXPECT_EQ(list.top, k.wantTop) << k.name;
        EXPECT_EQ(list.selected, k.wantSelected) << k.name;
        EXPECT_GE(list.top, 0) << k.name;
        EXPECT_LE(list.selected - list.top, list.visible - 1) << k.name << ": selection hidden";
    }
}

TEST(ScrollList, RowsUnderPointsAndTheBar) {
    ScrollList list;
    EXPECT_EQ(list.bar.value, 305.0f) << "a new list's bar starts on the first row";
    EXPECT_EQ(list.bar.target, 305.0f);
    list.SetCount(20);
    struct Case {
        float x, y;
        int32_t row;
    } cases[] = {{160, 300, 0},     {866, 420, 12},          {500, 355, 5},  {159.9f, 350, -1},
                 {866.1f, 350, -1}, {500, 299, -1},          {500, 421, -1}, {NAN, 350, -1},
                 {500, NAN, -1},    {INFINITY, INFINITY, -1}};
    for (const Case& k : cases)
        EXPECT_EQ(list.RowAt(k.x, k.y), k.row) << k.x << ", " << k.y;
    list.SetCount(3);
    EXPECT_EQ(list.RowAt(500, 355), -1) << "a row beyond the count was hit";

    list.SetCount(20);
    list.top = 2;
    list.selected = 5;
    list.SetTarget(false);
    EXPECT_EQ(list.bar.target, (5 - 2) * 10.0f + 5.0f + 300.0f);
    list.SetTarget(true);
    EXPECT_EQ(list.bar.value, list.bar.target);
    list.Reset();
    EXPECT_EQ(list.top, 0);
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(list.bar.target, 305.0f);

    // The pointer is kept by event 21; event 7 picks the row under it.
    const SlEvent move{21, SlPackFloat(400.0f), SlPackFloat(372.0f), 0};
    const SlEvent click{7, 0, 0, 0};
    list.OnMessage(&move);
    list.OnMessage(&click);
    EXPECT_EQ(list.selected, 7);
    const SlEvent away{21, SlPackFloat(10.0f), SlPackFloat(10.0f), 0};
    list.OnMessage(&away);
    list.OnMessage(&click);
    EXPECT_EQ(list.selected, 7) << "a click outside the list changed the selection";
    list.OnMessage(nullptr);
}

} // namespace
