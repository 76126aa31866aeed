// An editor window host of the editor's own size that changes nothing: the editor benchmarks
// measure the editor, not a window.
#pragma once

#include "tools/MasterEdit.h"

#include <string>

class FixedEditorHost : public EditorHost {
  public:
    void GetWindowSize(int* w, int* h) override { *w = EDITOR_WIDTH, *h = EDITOR_HEIGHT; }
    void SetWindowSize(int, int) override {}
    std::string GetTitle() override { return "Fairlark"; }
    void SetTitle(const char*) override {}
    void WarpMouse(int, int) override {}
    void CaptureMouse(bool) override {}
};
