// The current camera (see CameraCurrent.h).
#include "world/CameraCurrent.h"

#include "engine/EntRef.h"

namespace {
EntRef s_current;
} // namespace

void CameraSetCurrent(ENTBASE* camera) {
    s_current = EntRef(camera);
}

ENTBASE* CameraGetCurrent() {
    return s_current.Get();
}
