// One device of the layer over OpenGL (Mesa's llvmpipe through EGL, no display) per test. At
// the end no GL error may be pending and no reference may keep the device alive.
#pragma once

#include "platform/d3d8/D3d8.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

struct GlDeviceTest : ::testing::Test {
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* dev = nullptr;

    void CreateGlDevice(D3DPRESENT_PARAMETERS params) {
        d3d = Direct3DCreate8(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr) << "no OpenGL through EGL's surfaceless platform";
        ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                    &params, &dev),
                  D3D_OK);
    }
    void TearDown() override {
        if (dev) {
            dev->EndScene(); // a scene left open; refused when none is
            dev->SetTexture(0, nullptr);
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the layer left a GL error";
            EXPECT_EQ(dev->Release(), 0u) << "a reference kept the device alive";
        }
        if (d3d) d3d->Release();
    }
};
