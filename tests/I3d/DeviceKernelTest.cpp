// The device kernel's rules on the recording layer: start and stop, the device-creation steps
// and present parameters, frames, the loss and reset protocol, the fatal-error box.
#include "tests/I3d/KernelFixture.h"

#include <vector>

namespace {

using Kernel = KernelTest;

D3DPRESENT_PARAMETERS CreatedParams() {
    std::vector<D3dCall> calls = D3dRecordingLog().Named("CreateDevice");
    return calls.empty() ? D3DPRESENT_PARAMETERS{} : calls.back().DataAs<D3DPRESENT_PARAMETERS>();
}

uint64_t CreatedBehavior() {
    std::vector<D3dCall> calls = D3dRecordingLog().Named("CreateDevice");
    return calls.empty() ? 0 : calls.back().args[3];
}

// The states the kernel sets past the cache, each found in the log at or after `from`.
void ExpectDirectStatesSince(int from, DWORD normalize) {
    const D3dCallLog& log = D3dRecordingLog();
    auto rs = [&](DWORD state, DWORD value) {
        EXPECT_GE(log.Find("SetRenderState", {state, value}, from), 0)
            << "render state " << state << " = " << value << " was not sent";
    };
    for (DWORD s : {D3DRS_DIFFUSEMATERIALSOURCE, D3DRS_AMBIENTMATERIALSOURCE,
                    D3DRS_SPECULARMATERIALSOURCE, D3DRS_EMISSIVEMATERIALSOURCE})
        rs(s, D3DMCS_MATERIAL);
    for (DWORD stage = 0; stage < 3; ++stage) {
        EXPECT_GE(log.Find("SetTextureStageState",
                           {stage, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2}, from),
                  0);
        EXPECT_GE(log.Find("SetTextureStageState",
                           {stage, D3DTSS_MIPMAPLODBIAS, D3dFloatBits(-1.0f)}, from),
                  0);
        EXPECT_GE(log.Find("SetTextureStageState", {stage, D3DTSS_MIPFILTER, D3DTEXF_LINEAR}, from),
                  0);
    }
    rs(D3DRS_POINTSPRITEENABLE, 0);
    rs(D3DRS_POINTSCALEENABLE, 0);
    rs(D3DRS_POINTSIZE, D3dFloatBits(1.0f));
    rs(D3DRS_POINTSIZE_MIN, D3dFloatBits(0.0f));
    rs(D3DRS_POINTSIZE_MAX, D3dFloatBits(64.0f));
    rs(D3DRS_POINTSCALE_A, D3dFloatBits(0.0f));
    rs(D3DRS_POINTSCALE_B, D3dFloatBits(0.0f));
    rs(D3DRS_POINTSCALE_C, D3dFloatBits(1.0f));
    rs(D3DRS_COLORVERTEX, 0);
    rs(D3DRS_NORMALIZENORMALS, normalize);
}

TEST_F(Kernel, StopBeforeStartFailsAndTheLayerIsTakenOnlyOnce) {
    EXPECT_EQ(I3dStop(), -1);
    StartRecording();
    EXPECT_EQ(D3dLoadDll(), -1) << "a second load must fail while the layer is held";
    EXPECT_EQ(I3dStop(), 0);
    EXPECT_EQ(I3dStop(), -1);
}

TEST_F(Kernel, AStartWithoutAnAdapterFailsWithALogLineAndCanBeRetried) {
    D3dRecordingConfig broken;
    broken.failCreate = true;
    D3dRecordingSetup(broken);
    D3dSetCreateEntry(Direct3DCreate8Recording);
    EXPECT_EQ(I3dStart(), -1);
    EXPECT_NE(LogText().find("I3dStart: the render layer offers no adapter"), std::string::npos);
    StartRecording();
}

TEST_F(Kernel, CreationLeavesTheDefaultMaterialFillModeAndDirectStates) {
    StartRecording();
    ASSERT_EQ(I3dTexTableAlloc(800), 0);
    CreateOffscreen();
    for (int stage = 0; stage < 4; ++stage) {
        D3dSetMinFilter(stage, D3DTEXF_LINEAR);
        D3dSetMagFilter(stage, D3DTEXF_LINEAR);
    }
    std::vector<D3dCall> materials = Log().Named("SetMaterial");
    ASSERT_FALSE(materials.empty());
    D3DMATERIAL8 m = materials.back().DataAs<D3DMATERIAL8>();
    for (const D3DCOLORVALUE& c : {m.Diffuse, m.Ambient, m.Specular, m.Emissive}) {
        EXPECT_EQ(c.r, 1.0f);
        EXPECT_EQ(c.g, 1.0f);
        EXPECT_EQ(c.b, 1.0f);
        EXPECT_EQ(c.a, 1.0f);
    }
    EXPECT_EQ(m.Power, 10.0f);
    EXPECT_EQ(Log().Count("SetRenderState", {D3DRS_FILLMODE, D3DFILL_SOLID}), 1);
    ExpectDirectStatesSince(0, 0);
    for (DWORD stage = 0; stage < 4; ++stage) {
        EXPECT_EQ(Log().Count("SetTextureStageState", {stage, D3DTSS_MINFILTER, D3DTEXF_LINEAR}),
                  1);
        EXPECT_EQ(Log().Count("SetTextureStageState", {stage, D3DTSS_MAGFILTER, D3DTEXF_LINEAR}),
                  1);
    }
    D3DVIEWPORT8 vp = Log().Named("SetViewport").back().DataAs<D3DVIEWPORT8>();
    EXPECT_EQ(vp.Width, 1024u);
    EXPECT_EQ(vp.Height, 768u);
    EXPECT_EQ(I3dTexTgaFormat(0), 3) << "24-bit TGA files load as R5G6B5";
    EXPECT_EQ(I3dTexTgaFormat(13), 1) << "grey TGA files load as A8R8G8B8";
}

TEST_F(Kernel, FormatNamesAndStencilBits) {
    EXPECT_STREQ(D3dFormatName(D3DFMT_A8R8G8B8), "ARGB 8888");
    EXPECT_STREQ(D3dFormatName(D3DFMT_X8R8G8B8), "32bit color");
    EXPECT_STREQ(D3dFormatName(D3DFMT_R3G3B2), "RGB 332");
    EXPECT_STREQ(D3dFormatName(99), "UNKNOWN");
    EXPECT_EQ(D3dDepthStencilBits(D3DFMT_D15S1), 1);
    EXPECT_EQ(D3dDepthStencilBits(D3DFMT_D24S8), 8);
    EXPECT_EQ(D3dDepthStencilBits(D3DFMT_D24X4S4), 4);
    EXPECT_EQ(D3dDepthStencilBits(D3DFMT_D32), 0);
    EXPECT_EQ(D3dDepthStencilBits(D3DFMT_D16), 0);
}

TEST_F(Kernel, DeviceListLogsOnlyModesOfAtLeast640By480) {
    D3dRecordingConfig config;
    config.modes = {{640, 480, 60, D3DFMT_X8R8G8B8},
                    {639, 480, 60, D3DFMT_X8R8G8B8},
                    {640, 479, 60, D3DFMT_X8R8G8B8},
                    {1024, 768, 60, D3DFMT_R5G6B5},
                    {320, 200, 70, D3DFMT_X8R8G8B8}};
    StartRecording(config);
    std::string log = LogText();
    EXPECT_NE(log.find("\nDevice:Recording adapter (recorder)\n"), std::string::npos) << log;
    EXPECT_NE(log.find("  640x480 32bit color\n"), std::string::npos);
    EXPECT_NE(log.find("  1024x768 16bit color\n"), std::string::npos);
    EXPECT_EQ(log.find("639x"), std::string::npos);
    EXPECT_EQ(log.find("x479"), std::string::npos);
    EXPECT_EQ(log.find("320x"), std::string::npos);
}

TEST_F(Kernel, PresentParametersFollowTheFlags) {
    struct Case {
        int windowed;
        I3dDeviceFlags flags;
        UINT interval, backBuffers;
        DWORD presentFlags;
    } cases[] = {
        {0, 0, D3DPRESENT_INTERVAL_IMMEDIATE, 1, 0},
        {0, I3D_DEVICE_VSYNC | I3D_DEVICE_TWO_BACKBUFFERS, D3DPRESENT_INTERVAL_ONE, 2, 0},
        {1, I3D_DEVICE_VSYNC | I3D_DEVICE_TWO_BACKBUFFERS, 0, 1, 0},
        {1, I3D_DEVICE_LOCKABLE, 0, 1, D3DPRESENTFLAG_LOCKABLE_BACKBUFFER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "windowed " << c.windowed << ", flags " << c.flags);
        D3dRecordingConfig config;
        config.displayMode.Format = D3DFMT_A8R8G8B8;
        StartRecording(config);
        CreateOffscreen(800, 600, c.windowed, c.flags, D3DFMT_X8R8G8B8);
        D3DPRESENT_PARAMETERS pp = CreatedParams();
        EXPECT_EQ(pp.FullScreen_PresentationInterval, c.interval);
        EXPECT_EQ(pp.BackBufferCount, c.backBuffers);
        EXPECT_EQ(pp.Flags, c.presentFlags);
        EXPECT_EQ(pp.Windowed, c.windowed);
        EXPECT_EQ(pp.BackBufferWidth, 800u);
        EXPECT_EQ(pp.SwapEffect, (D3DSWAPEFFECT)D3DSWAPEFFECT_DISCARD);
        EXPECT_EQ(pp.EnableAutoDepthStencil, 1);
        EXPECT_EQ(pp.BackBufferFormat, c.windowed ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8)
            << "windowed takes the display's format, full screen the one asked for";
        EXPECT_EQ(CreatedBehavior(), (uint64_t)D3DCREATE_HARDWARE_VERTEXPROCESSING);
        I3dStop();
    }
}

TEST_F(Kernel, SoftwareVertexProcessingWhenAskedOrWithoutHardwareTnl) {
    StartRecording();
    CreateOffscreen(640, 480, 1, I3D_DEVICE_SOFTWARE_VP);
    EXPECT_EQ(CreatedBehavior(), (uint64_t)D3DCREATE_SOFTWARE_VERTEXPROCESSING);
    I3dStop();
    D3dRecordingConfig noTnl;
    noTnl.devCaps = 0;
    StartRecording(noTnl);
    CreateOffscreen(640, 480, 1, 0);
    EXPECT_EQ(CreatedBehavior(), (uint64_t)D3DCREATE_SOFTWARE_VERTEXPROCESSING);
}

TEST_F(Kernel, DepthFormatsAreTriedInTheirOrder) {
    struct Case {
        std::vector<D3DFORMAT> offered;
        D3DFORMAT chosen;
    } cases[] = {
        {{D3DFMT_D16, D3DFMT_D24S8, D3DFMT_D32}, D3DFMT_D32},
        {{D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8}, D3DFMT_D24S8},
        {{D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24X4S4}, D3DFMT_D24X4S4},
        {{D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8}, D3DFMT_D24X8},
        {{D3DFMT_D16, D3DFMT_D15S1}, D3DFMT_D15S1},
        {{D3DFMT_D16}, D3DFMT_D16},
        {{}, D3DFMT_UNKNOWN},
    };
    for (const Case& c : cases) {
        D3dRecordingConfig config;
        config.depthFormats = c.offered;
        StartRecording(config);
        EXPECT_EQ(D3dChooseDepthFormat(D3dObject(), D3DFMT_X8R8G8B8), c.chosen);
        I3dStop();
    }
}

TEST_F(Kernel, ClearDropsTheStencilFlagWithoutAStencilFormat) {
    D3dRecordingConfig config;
    config.depthFormats = {D3DFMT_D16};
    StartRecording(config);
    CreateOffscreen();
    EXPECT_EQ(D3dClear(7), D3D_OK);
    EXPECT_EQ(Log().Named("Clear").back().args[2], 3u) << "target and depth only";
    I3dStop();
    StartRecording();
    CreateOffscreen();
    EXPECT_EQ(D3dClear(7), D3D_OK);
    EXPECT_EQ(Log().Named("Clear").back().args[2], 7u);
}

TEST_F(Kernel, AZeroScreenSideDrawsAndPresentsNothing) {
    StartRecording();
    CreateOffscreen();
    for (auto [w, h] : {std::pair{0, 0}, std::pair{0, 768}, std::pair{1024, 0}}) {
        I3dSetScreenSize(w, h);
        Log().Clear();
        EXPECT_EQ(D3dBeginScene(), -1);
        EXPECT_EQ(D3dPresent(), 0);
        EXPECT_EQ(Log().Count("BeginScene"), 0);
        EXPECT_EQ(Log().Count("Present"), 0);
    }
    I3dSetScreenSize(1024, 768);
    EXPECT_EQ(D3dBeginScene(), 0);
    EXPECT_EQ(D3dEndScene(), 0);
    EXPECT_EQ(D3dPresent(), 0);
    D3dCall present = Log().Named("Present").back();
    RECT r = present.DataAs<RECT>();
    EXPECT_EQ(r.right, 1024);
    EXPECT_EQ(r.bottom, 768);
}

TEST_F(Kernel, WindowedScreenSizeCarriesTheRequestedSize) {
    StartRecording();
    CreateOffscreen(1024, 768, 1);
    I3dSetScreenSize(800, 600);
    int w = 0, h = 0;
    I3dGetRequestedSize(&w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    D3dSetViewport(0, 0, 1024, 768); // past the requested size: the whole back buffer
    D3DVIEWPORT8 vp = Log().Named("SetViewport").back().DataAs<D3DVIEWPORT8>();
    EXPECT_EQ(vp.Width, 800u);
    EXPECT_EQ(vp.Height, 600u);
}

TEST_F(Kernel, LossAndResetProtocolRestoresTheDirectStates) {
    StartRecording();
    CreateOffscreen();
    D3dSetNormalizeNormals(1);
    D3dSetCullMode(D3DCULL_NONE);
    IDirect3DDevice8* dev = D3dDevice();

    D3dTestLoseDevice(dev);
    EXPECT_EQ(D3dDeviceNeedsReset(), 0) << "a lost device cannot be reset yet";
    EXPECT_EQ(D3dDeviceOk(), 0);
    EXPECT_EQ(D3dDeviceNeedsReset(), 1);

    IDirect3DSurface8* held = nullptr;
    ASSERT_EQ(dev->GetRenderTarget(&held), D3D_OK);
    EXPECT_EQ(D3dReset(), -1) << "refused while a default-pool resource lives";
    held->Release();
    D3dTestFailResets(dev, 1);
    EXPECT_EQ(D3dReset(), -1);
    int from = (int)Log().Calls().size();
    ASSERT_EQ(D3dReset(), 0);
    EXPECT_EQ(D3dDeviceOk(), 1);

    // Fault: a reset returns the device to its defaults; what the kernel set past the cache
    // must be there again.
    ExpectDirectStatesSince(from, 1);
    DWORD v = 0;
    dev->GetRenderState(D3DRS_NORMALIZENORMALS, &v);
    EXPECT_EQ(v, 1u) << "renormalisation was lost in the reset";
    dev->GetRenderState(D3DRS_COLORVERTEX, &v);
    EXPECT_EQ(v, 0u);
    dev->GetTextureStageState(2, D3DTSS_MIPMAPLODBIAS, &v);
    EXPECT_EQ(v, D3dFloatBits(-1.0f));
    D3DMATERIAL8 m{};
    dev->GetMaterial(&m);
    EXPECT_EQ(m.Power, 10.0f) << "the kept material is the device's again";

    I3dResetStateCache();
    Log().Clear();
    D3dSetCullMode(D3DCULL_NONE);
    EXPECT_EQ(Log().Count("SetRenderState", {D3DRS_CULLMODE, D3DCULL_NONE}), 1)
        << "after the cache reset the setters reach the device again";
}

TEST_F(Kernel, AFailedCreationShowsTheErrorBoxAndDoesNotBlock) {
    D3dRecordingConfig config;
    config.createFailures = 1;
    StartRecording(config);
    testing::internal::CaptureStderr();
    EXPECT_EQ(D3dCreateDevice(0, nullptr, 1, 640, 480, D3DFMT_X8R8G8B8, 0), -1);
    std::string err = testing::internal::GetCapturedStderr();
    const std::string expected =
        "[D3D8 Error] File: Dx8Kernel, line:385\nD3DERR_NOTAVAILABLE: the device does not offer";
    EXPECT_NE(err.find(expected), std::string::npos) << err;
    EXPECT_NE(LogText().find(expected), std::string::npos) << LogText();
    EXPECT_EQ(D3dDevice(), nullptr);
}

} // namespace
