// Recovering a lost device: what lives in the default pool is released once per loss, the reset
// is tried on every idle pass, and after a successful one the states, the lights and the shared
// buffers are made again.
#include "engine/App/AppBase.h"

#include "I3d/Buffers.h"
#include "I3d/Device.h"
#include "I3d/Lights.h"
#include "I3d/SpriteBatch.h"
#include "I3d/StateCache.h"

// ---- reset ----

// Direct3D's defaults are not the game's: these are what every frame expects to find.
static void SetDefaultStates() {
    D3dSetCullMode(D3DCULL_CCW);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetLighting(0);
    D3dSetFogEnable(0);
    D3dSetAlphaBlendDefaults();
    D3dSetFactorStages();
    for (int stage = 0; stage < 4; ++stage) {
        D3dSetMinFilter(stage, D3DTEXF_LINEAR);
        D3dSetMagFilter(stage, D3DTEXF_LINEAR);
    }
}

int AppBase::AppDeviceReset() {
    // A failed reset is tried again on the next pass: the game hears of the loss once, and
    // what was released stays released.
    if (!m_lostNotified) {
        FreeDynamicBuffers();
        I3dSpriteBatchRelease();
        DeviceLost();
        m_lostNotified = true;
    }
    if (D3dReset() != 0) return -1;
    deviceLost = 0;
    m_lostNotified = false;
    I3dResetBufferSelection();
    I3dResetStateCache();
    SetDefaultStates();
    I3dLightsRestore();
    CreateDynamicBuffers();
    I3dSpriteBatchRestore(); // -1 when the game made no batch
    DeviceReset();
    return 0;
}
