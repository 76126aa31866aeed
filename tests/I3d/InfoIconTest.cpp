// Info icons on the recording layer: the shared sheet's references, the countdown and its
// alpha, and when an icon draws.
#include "I3d/Math/Mat4Math.h"
#include "tests/I3d/KernelFixture.h"

#include <cmath>
#include <cstring>

namespace {

const std::string kSheet = std::string(FAIRLARK_BUILD_DATA_DIR) + "Menu\\InfoIcons";

class InfoIcons : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        m_vb = I3dVbCreate(0, 71, 400);
        m_ib = I3dIbCreate(0, 800);
        I3dVbSetCurrent(m_vb);
        I3dIbSetCurrent(m_ib);
        const VECTOR3 eye{0, 0, -5}, at{0, 0, 0}, up{0, 1, 0};
        Mat4 view, proj;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, 1.0f, 0.75f, 0.1f, 100.0f));
    }
    void TearDown() override {
        while (InfoIconsSheet() >= 0)
            InfoIconsRelease();
        I3dVbFree(m_vb);
        I3dIbFree(m_ib);
        KernelTest::TearDown();
    }
    int Draws() { return Log().Count("DrawPrimitive"); }
    // The alpha the last draw was given through the texture factor.
    static DWORD LastAlpha() {
        DWORD factor = 0;
        D3dDevice()->GetRenderState(D3DRS_TEXTUREFACTOR, &factor);
        return factor >> 24;
    }

    I3dVertexBuffer* m_vb = nullptr;
    I3dIndexBuffer* m_ib = nullptr;
};

// The game object names the sheet; attractions, carnies and patrons acquire it unnamed, and
// may do so first.
TEST_F(InfoIcons, TheSheetLoadsOnTheFirstNamedAcquireAndGoesWithTheLastRelease) {
    InfoIconsAcquire(nullptr);
    EXPECT_EQ(InfoIconsSheet(), -1);
    InfoIconsAcquire(kSheet.c_str());
    const int slot = InfoIconsSheet();
    ASSERT_GE(slot, 0) << "the generated sheet was not loaded after an unnamed acquire";
    EXPECT_EQ(I3dTexGetSlot(slot)->width, 256);
    EXPECT_EQ(I3dTexGetSlot(slot)->height, 128);
    InfoIconsAcquire(kSheet.c_str());
    EXPECT_EQ(I3dTexGetSlot(slot)->count, 1) << "a held sheet is not loaded again";
    InfoIconsRelease();
    InfoIconsRelease();
    EXPECT_EQ(InfoIconsSheet(), slot);
    InfoIconsRelease();
    EXPECT_EQ(InfoIconsSheet(), -1);
    EXPECT_EQ(I3dTexGetSlot(slot)->count, 0) << "the last release frees the texture";
    InfoIconsRelease(); // at 0: nothing
}

TEST_F(InfoIcons, TimedIconsFadeOrBlinkThenTurnOff) {
    InfoIconsAcquire(kSheet.c_str());
    struct Case {
        float duration, timeLeft, dt;
        uint8_t blink;
        DWORD alpha; // 256: turned off, nothing drawn
    } cases[] = {
        {2, 2, 1, 0, 127},     // half the time left: half the alpha
        {2, 2, 2, 0, 256},     // the time ran out
        {1, 10, 0.5f, 0, 255}, // more time left than the duration: held at 255
        {0, 1, 0.1f, 0, 256},  // nothing to fade over
        {-1, 0, 5, 0, 255},    // shown until switched off
        {2, 2, 0.125f, 1, 0},  // a quarter of a blink: dark
        {2, 2, 0.25f, 1, 255}, // half a blink: bright
        {2, 2, 2.0f, 1, 256},  // blinking ends on time too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.duration << ", " << c.timeLeft << ", " << c.dt);
        InfoIcon icon;
        icon.duration = c.duration, icon.timeLeft = c.timeLeft, icon.blink = c.blink;
        Log().Clear();
        icon.UpdateDraw(c.dt);
        EXPECT_EQ(Draws(), c.alpha < 256 ? 1 : 0);
        EXPECT_EQ(icon.cell, c.alpha < 256 ? 0 : -1);
        if (c.alpha < 256) {
            EXPECT_EQ(LastAlpha(), c.alpha);
        }
    }
}

TEST_F(InfoIcons, IconsOffScreenOrWithoutASheetOnlyCountDown) {
    InfoIcon icon;
    icon.duration = icon.timeLeft = 3.0f;
    icon.UpdateDraw(1.0f); // no sheet yet
    InfoIconsAcquire(kSheet.c_str());
    icon.position = VECTOR3{0, 0, -10}; // behind the eye
    icon.UpdateDraw(1.0f);
    icon.position = VECTOR3{40, 0, 0}; // off to the side
    icon.UpdateDraw(0.5f);
    EXPECT_EQ(Draws(), 0);
    EXPECT_FLOAT_EQ(icon.timeLeft, 0.5f);

    Mat4 away;
    Mat4Identity(&away)->m[12] = 1000.0f; // the owner's world matrix, left from drawing itself
    I3dSetWorld(&away);
    icon.position = VECTOR3{0, 0, 0};
    icon.UpdateDraw(std::nanf(""));
    EXPECT_FLOAT_EQ(icon.timeLeft, 0.5f) << "a NaN step would leave the icon on for good";
    icon.cell = 32;
    icon.UpdateDraw(0.1f);
    icon.cell = 31, icon.size = std::nanf("");
    icon.UpdateDraw(0.1f);
    EXPECT_EQ(Draws(), 0) << "no cell 32, no NaN size sent to the device";
    icon.size = 0.06f;
    icon.UpdateDraw(0.1f);
    EXPECT_EQ(Draws(), 1) << "the owner's world matrix moved the icon off the screen";
    I3dGetWorldMatrix(&away);
    EXPECT_EQ(Mat4IsIdentity(&away), 1);
}

// The sheet is stored top row first: the icon's lower edge on screen takes its cell's larger v,
// so the picture stands upright.
TEST_F(InfoIcons, AnIconShowsItsCellUpright) {
    InfoIconsAcquire(kSheet.c_str());
    InfoIcon icon;
    icon.cell = 9; // column 2, row 1: u 0.25..0.375, v 0.25..0.5
    icon.UpdateDraw(0.1f);
    ASSERT_EQ(Draws(), 1);
    BYTE* p = nullptr;
    ASSERT_TRUE(SUCCEEDED(m_vb->buffer->Lock(0, 0, &p, D3DLOCK_READONLY)));
    for (int i = 0; i < 4; ++i) {
        const BYTE* at = p + (size_t)(m_vb->lastStart + i) * m_vb->stride;
        float pos[3], uv[2];
        std::memcpy(pos, at + m_vb->offPos, 12);
        std::memcpy(uv, at + m_vb->offUv0, 8);
        EXPECT_FLOAT_EQ(uv[0], pos[0] < 0 ? 0.25f : 0.375f) << i;
        EXPECT_FLOAT_EQ(uv[1], pos[1] < 0 ? 0.5f : 0.25f) << i << ": the cell stands on its head";
    }
    m_vb->buffer->Unlock();
}

} // namespace
