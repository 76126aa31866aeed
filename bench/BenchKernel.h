// One render kernel at a time for the benchmarks, on the recording layer with its log off (the
// kernel's own CPU cost) or on OpenGL (Mesa's llvmpipe, offscreen): a 1024 x 768 device, the
// shared pair made as the application makes it and a pixel-space projection.
#pragma once

#include "I3d/I3d.h"
#include "I3d/Math/Mat4Math.h"
#include "platform/d3d8/Recording.h"

#include <cstdio>
#include <cstdlib>

enum class Layer { None, Recording, Gl };

// Switching layers (or device flags) stops the kernel and starts it again. False (logged)
// without a device.
inline bool UseLayer(Layer want, I3dDeviceFlags flags = 0) {
    static Layer s_layer = Layer::None;
    static I3dDeviceFlags s_flags = 0;
    static I3dVertexBuffer* s_vb = nullptr;
    static I3dIndexBuffer* s_ib = nullptr;
    if (s_layer == want && s_flags == flags) return true;
    if (s_layer != Layer::None) {
        I3dVbFree(s_vb);
        I3dIbFree(s_ib);
        I3dStop();
        s_layer = Layer::None;
    }
    if (want == Layer::Recording) {
        D3dRecordingConfig config;
        config.logCalls = false;
        D3dRecordingSetup(config);
        D3dSetCreateEntry(Direct3DCreate8Recording);
    } else {
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    }
    if (I3dStart() != 0 || D3dCreateDevice(0, nullptr, 1, 1024, 768, D3DFMT_X8R8G8B8, flags) != 0) {
        std::fprintf(stderr, "no device: the benchmark is skipped\n");
        I3dStop();
        return false;
    }
    s_vb = I3dVbCreate(0, 71, 4000);
    s_ib = I3dIbCreate(0, 8000);
    I3dVbSetCurrent(s_vb);
    I3dIbSetCurrent(s_ib);
    Mat4 ortho;
    I3dSetProj(Mat4OrthoScreen(&ortho, 1024, 768));
    s_layer = want;
    s_flags = flags;
    return true;
}
