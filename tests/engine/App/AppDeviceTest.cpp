// A lost device: no frame is drawn while lost, the game hears of each loss and each reset once,
// and after the reset the states, lights and shared buffers are back.
#include "tests/harness/AppFixture.h"

TEST_F(AppTest, NothingIsDrawnWhileTheDeviceIsLostNotEvenOnEvents) {
    Start();
    int rendersAtLoss = 0;
    auto stillLost = [&] {
        EXPECT_TRUE(app.deviceLost);
        EXPECT_EQ(app.renders, rendersAtLoss) << "a frame was drawn on a lost device";
        EXPECT_EQ(app.lostCalls, 0) << "a device that cannot be reset yet is not reset";
    };
    app.steps = {
        [&] {
            rendersAtLoss = app.renders;
            D3dTestKeepLost(D3dDevice(), 1);
        },
        [&] {
            stillLost();
            PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
            PushWindowEvent(SDL_WINDOWEVENT_MOVED);
            SDL_SetWindowSize(Window(), 800, 600);
        },
        [&] {
            stillLost();
            EXPECT_EQ(app.resizes.back(), std::make_pair(800, 600)) << "sizes still follow";
            D3dTestKeepLost(D3dDevice(), 0);
        },
        [&] { EXPECT_EQ(app.renders, rendersAtLoss + 1) << "frames resume after the reset"; },
    };
    RunToEnd();
    EXPECT_EQ(std::make_pair(app.lostCalls, app.resetCalls), std::make_pair(1, 1));
}

// Each failed reset is tried again on the next pass without releasing or notifying twice; the
// successful one brings back the game's default states, its lights and the shared buffers.
TEST_F(AppTest, ResetsThatFailTwiceNotifyOnceAndRestoreEverything) {
    int light = -1;
    app.onInit = [&] {
        light = I3dLightAlloc();
        I3dLightSetDiffuse(light, 0.25f, 0.5f, 0.75f);
        D3dSetCullMode(D3DCULL_NONE);
        D3dSetLighting(1);
        I3dSpriteBatchCreate(3000, 40);
    };
    app.onShutdown = [] { I3dSpriteBatchDestroy(); };
    Start();
    auto lostOnce = [&] {
        EXPECT_TRUE(app.deviceLost);
        EXPECT_EQ(app.lostCalls, 1) << "a retry told the game of the loss again";
        // Default-pool buffers still held would block the reset.
        EXPECT_EQ(app.dynamicVb, nullptr);
        EXPECT_EQ(I3dSpriteBatchGet()->vb, nullptr) << "the sprite batch was not released";
    };
    app.steps = {
        [] {
            D3dTestLoseDevice(D3dDevice());
            D3dTestFailResets(D3dDevice(), 2);
        },
        lostOnce,
        lostOnce,
        [&] {
            ASSERT_FALSE(app.deviceLost) << "the third reset should have succeeded";
            const std::pair<D3DRENDERSTATETYPE, DWORD> states[] = {
                {D3DRS_CULLMODE, 3},         {D3DRS_ZFUNC, 4},
                {D3DRS_LIGHTING, 0},         {D3DRS_FOGENABLE, 0},
                {D3DRS_ALPHABLENDENABLE, 1}, {D3DRS_SRCBLEND, 5},
                {D3DRS_DESTBLEND, 6},        {D3DRS_ALPHATESTENABLE, 1},
                {D3DRS_ALPHAREF, 2},         {D3DRS_ALPHAFUNC, 5},
                {D3DRS_NORMALIZENORMALS, 1}};
            for (auto [state, value] : states)
                EXPECT_EQ(RenderState(state), value) << "render state " << state;
            const std::tuple<DWORD, D3DTEXTURESTAGESTATETYPE, DWORD> stageStates[] = {
                {0, D3DTSS_COLOROP, 2},   {0, D3DTSS_COLORARG1, 3}, {0, D3DTSS_ALPHAOP, 2},
                {0, D3DTSS_ALPHAARG1, 3}, {1, D3DTSS_COLOROP, 1},   {1, D3DTSS_ALPHAOP, 1},
                {3, D3DTSS_MINFILTER, 2}, {3, D3DTSS_MAGFILTER, 2}};
            for (auto [stage, type, value] : stageStates)
                EXPECT_EQ(StageState(stage, type), value) << "stage " << stage << " state " << type;

            BOOL enabled = 0;
            D3DLIGHT8 restored{};
            D3dDevice()->GetLightEnable((DWORD)light, &enabled);
            D3dDevice()->GetLight((DWORD)light, &restored);
            EXPECT_TRUE(enabled) << "the lights were not restored";
            EXPECT_FLOAT_EQ(restored.Diffuse.g, 0.5f);
            ExpectDynamicBuffersCurrent();
            EXPECT_NE(I3dSpriteBatchGet()->vb, nullptr) << "the sprite batch was not rebuilt";
        },
    };
    RunToEnd();
    EXPECT_EQ(std::make_pair(app.lostCalls, app.resetCalls), std::make_pair(1, 1));
    EXPECT_EQ(app.failedFrames, 0);
}
