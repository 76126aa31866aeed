// The progress hook.
#include "I3d/Progress.h"

namespace {
I3dProgressHook g_hook = nullptr;
} // namespace

void I3dSetProgressHook(I3dProgressHook hook) {
    g_hook = hook;
}

void I3dProgress(const char* text, int level) {
    if (g_hook) g_hook(text, level);
}
