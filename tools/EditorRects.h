// Where the editor-mode window puts its parts: the tool window down the right, the game view
// above the console and the params pane, all below the menu bar. Window coordinates.
#pragma once

struct EditorRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct EditorRects {
    EditorRect tool, view, console, params;
};

enum {
    EDITOR_TOOL_WIDTH = 224,
    EDITOR_BOTTOM_HEIGHT = 240,
    EDITOR_WIDTH = 1024,
    EDITOR_HEIGHT = 768,
};

// The parts of a window of width x height with a menu bar of menuBar pixels on top. The game
// view is never smaller than 1 x 1, however small the window.
EditorRects EditorComputeRects(int width, int height, int menuBar);
