// A fresh render kernel per test on the recording layer or on OpenGL (llvmpipe), with the run
// log switched on into a scratch folder.
#pragma once

#include "I3d/Device.h"
#include "I3d/I3d.h"
#include "engine/DebugLog.h"
#include "platform/d3d8/D3d8.h"
#include "platform/d3d8/Recording.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

class KernelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DbgSetLogFile(LogPath().c_str());
        DbgSetLevelMask(0xFFFFFFFFu);
        DbgSetOutputMask(DBG_OUT_FILE);
    }
    void TearDown() override {
        I3dVbFree(m_currentVb);
        I3dIbFree(m_currentIb);
        I3dStop();
        DbgSetLevelMask(0);
        DbgSetOutputMask(0);
        DbgSetLogFile("Debug.txt");
    }

    // Starts the kernel on the recording layer with that configuration.
    void StartRecording(const D3dRecordingConfig& config = D3dRecordingConfig{}) {
        D3dRecordingSetup(config);
        D3dSetCreateEntry(Direct3DCreate8Recording);
        ASSERT_EQ(I3dStart(), 0);
    }
    // The recording layer with an offscreen 1024 x 768 device, the log emptied of the start.
    void StartRecordingDevice() {
        StartRecording();
        CreateOffscreen();
        Log().Clear();
    }
    // Starts the kernel on OpenGL.
    void StartGl() { ASSERT_EQ(I3dStart(), 0) << "no OpenGL through EGL's surfaceless platform"; }
    // An offscreen device, lockable so that pixels can be read back.
    void CreateOffscreen(int width = 1024, int height = 768, int windowed = 1,
                         I3dDeviceFlags flags = I3D_DEVICE_LOCKABLE,
                         D3DFORMAT format = D3DFMT_X8R8G8B8) {
        ASSERT_EQ(D3dCreateDevice(0, nullptr, windowed, width, height, format, flags), 0);
    }

    // The shared pair of current buffers, made as the application makes it (dynamic, format 71,
    // 4000 vertices; 8000 indices); freed before the kernel stops.
    void CreateCurrentPair() {
        m_currentVb = I3dVbCreate(0, 71, 4000);
        m_currentIb = I3dIbCreate(0, 8000);
        ASSERT_TRUE(m_currentVb && m_currentIb);
        I3dVbSetCurrent(m_currentVb);
        I3dIbSetCurrent(m_currentIb);
    }

    D3dCallLog& Log() { return D3dRecordingLog(); }
    std::string LogPath() const { return m_dir / "Debug.txt"; }
    std::string LogText() const {
        return PathExistsOnDisk(LogPath()) ? ReadTextFile(LogPath()) : std::string();
    }

    I3dVertexBuffer* m_currentVb = nullptr;
    I3dIndexBuffer* m_currentIb = nullptr;

  private:
    TempDir m_dir;
};
