// The slide show's cross-fade at the level of device calls, on the recording layer: one draw,
// the next slide on stage 1 blending by the factor's alpha from the quad's one uv pair, the
// factor's alpha the colour's times the blend, and stage 1 switched off again afterwards.
#include "tests/I3d/KernelFixture.h"
#include "tests/ui/SlidePictures.h"

#include "I3d/Textures.h"
#include "engine/EntTree.h"
#include "ui/Ctl3SlideShow.h"

#include <string>

namespace {
class SlideShowCallTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        CreateCurrentPair();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        EntSystemInit();
        EntCreateClass(EcCtl3SlideshowProc, 0, 0);
        m_oldData = Ctl3DataFolder();
        Ctl3SetDataFolder((std::string(m_slides / "") + "/").c_str());
        ASSERT_TRUE(WriteSlides("Calls/Slide", 0, 2, 32, 16));
    }
    void TearDown() override {
        Ctl3SetDataFolder(m_oldData.c_str());
        EntSystemShutdown();
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    int Draws() {
        return Log().Count("DrawPrimitive") + Log().Count("DrawPrimitiveUP") +
               Log().Count("DrawIndexedPrimitive");
    }
    TempDir m_slides;
    std::string m_oldData;
};
} // namespace

TEST_F(SlideShowCallTest, AFadeIsOneDrawBlendingStageOneByTheFactorsAlpha) {
    auto* s = dynamic_cast<Ctl3SlideShow*>(EntCreateByName("Ctl3SlideShow", nullptr));
    ASSERT_TRUE(s) << "the class is found whatever the case of its name";
    std::snprintf(s->textureName, sizeof s->textureName, "%s", "Calls\\Slide");
    s->width = s->height = 64;
    s->colour = 0x80FFFFFFu;
    s->Start();
    ASSERT_GE(s->currentSlot, 0);
    ASSERT_GE(s->nextSlot, 0);
    s->blend = 0.5f;
    Log().Clear();
    EXPECT_EQ(s->DrawPre(), 1);
    EXPECT_EQ(Draws(), 1) << "a fade is one pass";
    const uint64_t next = 1;
    EXPECT_EQ(Log().Count("SetTexture", {next, 1}), 1) << "the next slide is not on stage 1";
    EXPECT_EQ(Log().Count("SetTextureStageState", {1, D3DTSS_TEXCOORDINDEX, 0}), 1)
        << "stage 1 must read the quad's one uv pair";
    EXPECT_EQ(Log().Count("SetTextureStageState", {1, D3DTSS_COLOROP, D3DTOP_BLENDFACTORALPHA}), 1);
    EXPECT_EQ(Log().Count("SetTextureStageState", {1, D3DTSS_COLORARG1, D3DTA_TEXTURE}), 1);
    EXPECT_EQ(Log().Count("SetTextureStageState", {1, D3DTSS_COLORARG2, D3DTA_CURRENT}), 1);
    EXPECT_EQ(Log().Count("SetTextureStageState", {0, D3DTSS_COLOROP, D3DTOP_SELECTARG1}), 1);
    // 0x80 x 0.5 = 0x40.
    EXPECT_EQ(Log().Count("SetRenderState", {D3DRS_TEXTUREFACTOR, 0x40FFFFFFu}), 1);
    int draw = -1;
    for (const char* name : {"DrawPrimitive", "DrawPrimitiveUP", "DrawIndexedPrimitive"})
        if (Log().Find(name) >= 0) draw = Log().Find(name);
    ASSERT_GE(draw, 0);
    EXPECT_GT(Log().Find("SetTextureStageState", {1, D3DTSS_COLOROP, D3DTOP_DISABLE}, draw), draw)
        << "stage 1 stays on after the show: the next control would blend in the slide";
    EntDestroyTree(s);
}

TEST_F(SlideShowCallTest, ASeriesWithNoFramesNeverReachesTheDevice) {
    auto* s = dynamic_cast<Ctl3SlideShow*>(EntCreateByName("Ctl3Slideshow", nullptr));
    ASSERT_TRUE(s);
    std::snprintf(s->textureName, sizeof s->textureName, "%s", "Calls\\Missing");
    s->width = s->height = 64;
    s->Start();
    Log().Clear();
    s->DrawPre();
    EXPECT_EQ(Draws(), 0);
    EXPECT_EQ(Log().Count("SetTexture"), 0);
    EntDestroyTree(s);
}
