// The list selection.
#include "ui/ScrollList.h"

#include "engine/Input/SlInput.h"
#include "ui/Ctl3Base.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kBarSeconds = 0.1f;
constexpr float kFirstBarY = 305.0f;
constexpr int32_t kPointerMoved = 21;
constexpr int32_t kButtonDown = 7;
} // namespace

ScrollList::ScrollList() {
    bar.SetTime(kBarSeconds);
    bar.SetImmediate(kFirstBarY);
}

float ScrollList::BarY() const {
    return float(selected - top) * rowHeight + rowHeight / 2.0f + hitTop;
}

void ScrollList::SetTarget(bool snap) {
    if (snap)
        bar.SetImmediate(BarY());
    else
        bar.SetTarget(BarY());
}

void ScrollList::SetCount(int32_t n) {
    count = std::max(n, 0);
}

void ScrollList::Reset() {
    top = 0;
    selected = 0;
    bar.SetTarget(hitTop + rowHeight / 2.0f);
}

void ScrollList::Up() {
    if (count <= 0 || selected <= 0) return;
    --selected;
    if (selected < top) top = selected;
    SetTarget(false);
}

void ScrollList::Down() {
    if (selected >= count - 1) return;
    ++selected;
    if (int64_t(selected) > int64_t(top) + visible - 1) top = selected - visible + 1;
    SetTarget(false);
}

void ScrollList::PageUp() {
    if (count < 1) return;
    top = std::max(top - visible, 0);
    selected = std::max(selected - visible, 0);
    SetTarget(true);
}

void ScrollList::PageDown() {
    if (count <= 0) return;
    // A list that fits on one page keeps its first row at the top.
    auto clamp = [this](int64_t v) {
        if (v > int64_t(count) - 1) return count - 1;
        if (v > int64_t(count) - visible) return std::max(count - visible, 0);
        return int32_t(v);
    };
    top = count <= visible ? 0 : clamp(int64_t(top) + visible);
    selected = clamp(int64_t(selected) + visible);
    SetTarget(true);
}

void ScrollList::Select(int32_t index) {
    if (index < 0 || index >= count) return;
    selected = index;
    if (index < top) top = index;
    if (int64_t(index) > int64_t(top) + visible - 1) top = index - visible + 1;
    SetTarget(false);
}

int32_t ScrollList::RowAt(float x, float y) const {
    // Comparisons with NaN are false: a NaN point is outside.
    if (!(x >= left && x <= right && y >= hitTop && y <= bottom)) return -1;
    if (!(rowHeight > 0.0f)) return -1;
    const int64_t row = int64_t(top) + int64_t((y - hitTop) / rowHeight);
    return row < count ? int32_t(row) : -1;
}

void ScrollList::OnMessage(const SlEvent* event) {
    if (!event) return;
    if (event->type == kPointerMoved) {
        pointerX = SlUnpackFloat(event->a);
        pointerY = SlUnpackFloat(event->b);
    } else if (event->type == kButtonDown) {
        // A list shown under a still pointer has heard no move: the row is the one under it.
        Ctl3PointerAt(&pointerX, &pointerY);
        const int32_t row = RowAt(pointerX, pointerY);
        if (row >= 0) Select(row);
    }
}
