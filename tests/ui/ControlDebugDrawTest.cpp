// The debug outline every control draws in the debug pass, on the recording layer: green, the
// rectangle's outline, a 6 x 6 square on the position and the name in the debug font.
#include "tests/I3d/KernelFixture.h"

#include "I3d/Font.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntTree.h"
#include "ui/GraphicButton.h"
#include "ui/IncDecButton.h"

namespace {
class ControlDebugDrawTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        CreateCurrentPair();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        EntSystemInit();
        EntCreateClass(EcGraphicButtonProc, 0, 0);
        EntCreateClass(EcIncDecButtonProc, 0, 0);
        font = FontAcquire(FAIRLARK_BUILD_DATA_DIR "Fonts/CourierNew9o");
        Ent3dSetDebugFont(font);
    }
    void TearDown() override {
        Ent3dSetDebugFont(nullptr);
        if (font) SharedObjRelease(font);
        EntSystemShutdown();
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    Font* font = nullptr;
};
} // namespace

TEST_F(ControlDebugDrawTest, OutlineSquareAndNameInGreen) {
    ASSERT_TRUE(font) << "the generated debug font is missing";
    auto* b = dynamic_cast<GraphicButton*>(EntCreateByName("GraphicButton", nullptr));
    ASSERT_TRUE(b);
    b->SetText("Quit");
    b->SetPos2D(100, 50);
    b->width = 80, b->height = 20;
    b->Start();
    Log().Clear();
    EXPECT_EQ(b->Draw(), 1);
    EXPECT_EQ(Log().Count("SetRenderState", {D3DRS_TEXTUREFACTOR, 0xFF00FF00u}), 1);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive", {D3DPT_LINELIST}), 1) << "the outline";
    EXPECT_GE(Log().Count("DrawPrimitive", {D3DPT_TRIANGLEFAN}), 1) << "the square";
    EXPECT_GE(Log().Count("DrawIndexedPrimitive", {D3DPT_TRIANGLELIST}), 1) << "the name";

    // Without a size only the square and the name: no outline.
    b->width = 0;
    b->VarsChanged();
    Log().Clear();
    b->Draw();
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive", {D3DPT_LINELIST}), 0);

    auto* v = dynamic_cast<IncDecButton*>(EntCreateByName("IncDecButton", nullptr));
    ASSERT_TRUE(v);
    v->Start();
    Log().Clear();
    v->Draw();
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive", {D3DPT_LINELIST}), 4)
        << "its own outline, the image cell and the two halves";
    EntDestroyTree(b);
    EntDestroyTree(v);
}
