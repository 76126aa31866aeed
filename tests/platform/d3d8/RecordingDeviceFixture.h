// One recording device of the layer per test. At the end the buffers it binds are let go and no
// other reference may keep the device alive.
#pragma once

#include "platform/d3d8/Recording.h"

#include <gtest/gtest.h>

struct RecordingDeviceTest : ::testing::Test {
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* dev = nullptr;

    // With the recording configuration's defaults and an empty log.
    void CreateRecordingDevice(D3DPRESENT_PARAMETERS params) {
        D3dRecordingSetup(D3dRecordingConfig{});
        d3d = Direct3DCreate8Recording(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                    &params, &dev),
                  D3D_OK);
    }
    void TearDown() override {
        if (dev) {
            dev->SetStreamSource(0, nullptr, 0);
            dev->SetIndices(nullptr, 0);
            EXPECT_EQ(dev->Release(), 0u) << "a resource kept the device alive";
        }
        if (d3d) d3d->Release();
    }
};
