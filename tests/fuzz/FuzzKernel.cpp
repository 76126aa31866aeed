// The recording kernel of the fuzz targets.
#include "tests/fuzz/FuzzKernel.h"

#include "I3d/I3d.h"
#include "I3d/Textures.h"
#include "platform/d3d8/Recording.h"

#include <cstdio>
#include <cstdlib>

namespace {

void StopKernel() {
    I3dStop();
}

} // namespace

void FuzzKernelReady() {
    static bool s_started = false;
    if (!s_started) {
        D3dRecordingSetup(D3dRecordingConfig{});
        D3dSetCreateEntry(Direct3DCreate8Recording);
        // The application's table of 800 texture slots, made before the device as it makes it.
        if (I3dStart() != 0 || I3dTexTableAlloc(800) != 0 ||
            D3dCreateDevice(0, nullptr, 1, 1024, 768, D3DFMT_X8R8G8B8, I3D_DEVICE_LOCKABLE) != 0) {
            std::fputs("fuzz: the recording kernel did not start\n", stderr);
            std::abort();
        }
        std::atexit(StopKernel);
        s_started = true;
    }
    D3dRecordingLog().Clear();
}
