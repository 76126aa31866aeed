// The selection of a scrolling list: which rows show, which one is chosen, and the highlight
// bar that glides to it.
#pragma once

#include "I3d/Math/SmoothFloat.h"

#include <cstdint>

struct SlEvent;

class ScrollList {
  public:
    ScrollList();

    void Reset();
    void Up();
    void Down();
    void PageUp();
    void PageDown();
    // Ignored outside 0..count-1; the selection stays among the visible rows.
    void Select(int32_t index);
    // The row under the point, or -1 (outside the list, below the last row, or NaN).
    int32_t RowAt(float x, float y) const;
    // 21 keeps the pointer; 7 selects the row under it.
    void OnMessage(const SlEvent* event);
    // The target to the selected row's bar position; with snap the bar jumps there.
    void SetTarget(bool snap);
    // A negative count is no rows.
    void SetCount(int32_t count);
    float BarY() const;

    SmoothFloat bar;
    int32_t top = 0;
    int32_t selected = 0;
    int32_t count = 0;
    int32_t visible = 12;
    float rowHeight = 10.0f;
    float left = 160.0f;
    float hitTop = 300.0f;
    float right = 866.0f;
    float bottom = 420.0f;
    float columnX = 706.0f;
    float pointerX = 0.0f;
    float pointerY = 0.0f;
};
