#include "tools/EditorRects.h"

#include <algorithm>

EditorRects EditorComputeRects(int width, int height, int menuBar) {
    // The client area below the menu bar; s leaves a 4-pixel gap left of the tool window.
    const int w = width;
    const int h = std::max(height - menuBar, 0);
    const int s = EDITOR_TOOL_WIDTH + 4;
    const int top = menuBar;
    EditorRects r;
    r.tool = {w - s, top, EDITOR_TOOL_WIDTH, h};
    r.view = {0, top, std::max(w - s, 1), std::max(h - EDITOR_BOTTOM_HEIGHT, 1)};
    r.console = {0, top + h - EDITOR_BOTTOM_HEIGHT, (w - EDITOR_TOOL_WIDTH) / 2,
                 EDITOR_BOTTOM_HEIGHT};
    r.params = {(w - s) / 2, top + h - EDITOR_BOTTOM_HEIGHT, (w - s) / 2, EDITOR_BOTTOM_HEIGHT};
    return r;
}
