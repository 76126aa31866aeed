// The named messages, flags and result codes keep their fixed values: scripts, saved editor
// settings and every class procedure speak these numbers, so a name that drifted would break
// them without a compile error.
#include "engine/EntCodes.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(EntCodes, ClassMessagesKeepTheirIds) {
    EXPECT_EQ(ENT_CLASS_MSG_BUILD_DB, 0);
    EXPECT_EQ(ENT_CLASS_MSG_RESET, 1);
    EXPECT_EQ(ENT_CLASS_MSG_UNREGISTER, 2);
    EXPECT_EQ(ENT_CLASS_MSG_CLASS_NAME, 4);
    EXPECT_EQ(ENT_CLASS_MSG_CREATE, 6);
}

TEST(EntCodes, EntityMessagesKeepTheirIds) {
    const std::vector<std::pair<int, int>> ids = {
        {ENT_MSG_START, 7},
        {ENT_MSG_SHUTDOWN, 8},
        {ENT_MSG_DESTROY, 9},
        {ENT_MSG_DRAW_PRE, 10},
        {ENT_MSG_UPDATE, 12},
        {ENT_MSG_HOOK13, 13},
        {ENT_MSG_ON_MESSAGE, 14},
        {ENT_MSG_HOOK15, 15},
        {ENT_MSG_SET_POS, 16},
        {ENT_MSG_COPY_POS, 17},
        {ENT_MSG_SET_ORIENTATION, 18},
        {ENT_MSG_GET_MATRIX, 19},
        {ENT_MSG_HOOK24, 24},
        {ENT_MSG_HOOK25, 25},
        {ENT_MSG_HOOK26, 26},
        {ENT_MSG_HOOK27, 27},
        {ENT_MSG_HOOK28, 28},
        {ENT_MSG_HOOK29, 29},
        {ENT_MSG_HOOK33, 33},
        {ENT_MSG_SET_HEADING, 34},
        {ENT_MSG_GET_YAW, 35},
        {ENT_MSG_SET_YAW, 36},
        {ENT_MSG_HOOK39, 39},
        {ENT_MSG_HOOK40, 40},
        {ENT_MSG_GET_ORIENTATION, 43},
        {ENT_MSG_SET_TYPE, 55},
        {ENT_MSG_HOOK56, 56},
        {ENT_MSG_BOUNDS_QUERY, 68},
        {ENT_MSG_HOOK69, 69},
        {ENT_MSG_SET_NAME, 83},
        {ENT_MSG_COPY_NAME, 84},
        {ENT_MSG_GET_VAR_TABLE, 89},
        {ENT_MSG_DRAW, 90},
        {ENT_MSG_HOOK91, 91},
        {ENT_MSG_SET_LOCAL_PLAYER, 106},
        {ENT_MSG_SAVE_VARS, 108},
        {ENT_MSG_LOAD_VARS, 109},
        {ENT_MSG_RAY_QUERY, 112},
        {ENT_MSG_VARS_CHANGED, 116},
        {ENT_MSG_HOOK118, 118},
        {ENT_MSG_HOOK130, 130},
        {ENT_MSG_HOOK136, 136},
        {ENT_MSG_HOOK143, 143},
        {ENT_MSG_PICK_TEST, 149},
        {ENT_MSG_GET_WORLD_MATRIX, 156},
        {ENT_MSG_HOOK157, 157},
        {ENT_MSG_HOOK158, 158},
        {ENT_MSG_DRAW_WORLD_BOUNDS, 159},
        {ENT_MSG_DRAW_LOCAL_BOUNDS, 160},
        {ENT_MSG_COPY_BOUNDS, 161},
        {ENT_MSG_SET_BOUNDS, 162},
        {ENT_MSG_SET_ACTIVE, 163},
        {ENT_MSG_CLEAR_ACTIVE, 164},
        {ENT_MSG_IS_ACTIVE, 165},
        {ENT_MSG_SET_TAG, 166},
        {ENT_MSG_GET_TAG, 167},
        {ENT_MSG_GAME_EVENT, 170},
        {ENT_MSG_SET_VIEW_TAG, 171},
        {ENT_MSG_GET_VIEW_TAG, 172},
        {ENT_MSG_HOOK174, 174},
        {ENT_MSG_SCALE_POS, 175},
        {ENT_MSG_GET_CAMERA, 176},
        {ENT_MSG_HOOK177, 177},
        // answered by a class's own Dispatch or procedure
        {ENT_MSG_CLASS_QUERY, 50},
        {ENT_MSG_TERRAIN_OBJECT, 114},
        {ENT_MSG_GROUND_HEIGHT, 147},
        {ENT_MSG_GROUND_SURFACE, 155},
        {ENT_MSG_GROUND_RECORD, 168},
        {ENT_MSG_TERRAIN_LOD, 169},
    };
    for (const auto& [named, id] : ids)
        EXPECT_EQ(named, id) << "an entity message moved: senders and handlers no longer meet";
    EXPECT_EQ(ENT_MSG_FIRST, 7);
    EXPECT_EQ(ENT_MSG_LAST, 177);
}

TEST(EntCodes, FlagBitsKeepTheirValues) {
    EXPECT_EQ(ENT_FLAG_HIDDEN, 0x1u);
    EXPECT_EQ(ENT_FLAG_ACTIVE, 0x2u);
    EXPECT_EQ(ENT_FLAG_SPARE_4, 0x4u);
    EXPECT_EQ(ENT_FLAG_DRAWPOST, 0x8u);
    EXPECT_EQ(ENT_FLAG_PASSABLE, 0x100u) << "scripts know the bit as EF_PASSABLE = 256";
    EXPECT_EQ(ENT_FLAGS_INITIAL, 0xF1u);
    EXPECT_EQ(ENT_CLASS_PICKABLE, 0x1u);
    EXPECT_EQ(ENT_CLASS_DRAW, 0x2u);
    EXPECT_EQ(ENT_CLASS_DEBUG_DRAW, 0x4u);
    EXPECT_EQ(ENT_CLASS_MOVE, 0x8u);
    EXPECT_EQ(ENT_CLASS_GLARE, 0x10u);
    EXPECT_EQ(ENT_CLASS_FLAGS_INITIAL, 0x1Fu);
    EXPECT_EQ(ENT_CLASS_FLAGS_BASE, 0xEAEAEAEAu);
}

TEST(EntCodes, ResultCodesKeepTheirValues) {
    EXPECT_EQ(ENT_RESULT_HANDLED, 1);
    EXPECT_EQ(ENT_RESULT_NONE, 0);
    EXPECT_EQ(ENT_RESULT_FAILED, -1);
}
