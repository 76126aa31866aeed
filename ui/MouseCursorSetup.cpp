// The mouse cursor's set-up hook.
#include "ui/MouseCursorSetup.h"

static MouseCursorSetupFn s_hook = nullptr;

void MouseCursorSetSetupHook(MouseCursorSetupFn hook) {
    s_hook = hook;
}

bool MouseCursorApplySetup(ENTBASE* cursor, const MouseCursorSetup& setup) {
    if (!s_hook) return false;
    s_hook(cursor, setup);
    return true;
}
