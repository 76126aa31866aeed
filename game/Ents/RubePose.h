// How a patron shows: the drawing modes of `Rube1::animMode`, and the attraction types (the type
// index an attraction was made from) by the pose a patron takes inside.
#pragma once

#include <cstddef>
#include <cstdint>

// Whose transform draws the patron.
enum RubeAnimMode {
    RUBE_MODE_FREE = 0,   // its own position and heading
    RUBE_MODE_SEATED = 1, // the seat transform a ride animator gives it
    RUBE_MODE_HIDDEN = 2  // inside an attraction that hides it: neither drawn nor picked
};

// A run of attraction types, first and last included.
struct RubePoseRange {
    int32_t first;
    int32_t last;
};

// The stands: the patron pays and stays in sight.
inline constexpr RubePoseRange kRubePayTypes[] = {{0, 11}, {23, 23}, {42, 49}};
// The rides with seats: the patron sits, out of sight until a seat shows it.
inline constexpr RubePoseRange kRubeSeatTypes[] = {{14, 21}, {26, 26}, {32, 32}, {34, 34},
                                                   {38, 41}, {50, 57}, {59, 61}};
// The attractions a patron stands idle in, out of sight.
inline constexpr RubePoseRange kRubeHiddenIdleTypes[] = {{24, 24}, {58, 58}};

template <size_t N>
constexpr bool RubePoseIn(const RubePoseRange (&ranges)[N], int type) {
    for (const RubePoseRange& r : ranges)
        if (type >= r.first && type <= r.last) return true;
    return false;
}
