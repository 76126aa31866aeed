// The terrain's three pass lists on the recording layer: each pass sends exactly its own render
// and stage states, no more, and leaves the material the terrain's constant colours.
#include "world/TerrainShaders.h"
#include "I3d/Materials.h"
#include "I3d/PassLists.h"
#include "I3d/StateCache.h"
#include "tests/I3d/KernelFixture.h"

#include <map>
#include <utility>

namespace {

using RenderStates = std::map<uint64_t, uint64_t>;
using StageStates = std::map<std::pair<uint64_t, uint64_t>, uint64_t>;

class TerrainPassStates : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        TerrainShadersCreate(shaders);
        I3dShaderSetTechnique(0);
    }
    void TearDown() override {
        TerrainShadersFree(shaders);
        KernelTest::TearDown();
    }

    // Pass `i` of the shader from a cache that has sent nothing (so every state it sets
    // reaches the device) and a grey material of power 3: the states sent, last value kept.
    void Run(int shader, int i) {
        const D3DMATERIAL8 grey = {{0.5f, 0.5f, 0.5f, 0.5f},
                                   {0.5f, 0.5f, 0.5f, 0.5f},
                                   {0.5f, 0.5f, 0.5f, 0.5f},
                                   {0.5f, 0.5f, 0.5f, 0.5f},
                                   3.0f};
        D3dSetMaterial(&grey);
        I3dResetStateCache();
        Log().Clear();
        ASSERT_GT(I3dShaderBegin(shaders[shader]), i);
        I3dShaderPass(i);
        I3dShaderEnd();
        render.clear();
        stage.clear();
        others.clear();
        for (const D3dCall& c : Log().Calls()) {
            if (c.name == "SetRenderState")
                render[c.args[0]] = c.args[1];
            else if (c.name == "SetTextureStageState")
                stage[{c.args[0], c.args[1]}] = c.args[2];
            else if (c.name != "SetMaterial")
                others.push_back(c.name);
        }
        D3dGetMaterial(&material);
    }

    I3dShader* shaders[3] = {};
    RenderStates render;
    StageStates stage;
    std::vector<std::string> others;
    D3DMATERIAL8 material{};
};

const RenderStates kRenderStates = {
    {D3DRS_ALPHATESTENABLE, 0},
    {D3DRS_ZWRITEENABLE, 1},
    {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
    {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_LIGHTING, 1},
    {D3DRS_SPECULARENABLE, 0},
    {D3DRS_ALPHABLENDENABLE, 0},
    {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1},
    {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
    {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL},
};

void ExpectTerrainColours(const D3DMATERIAL8& m) {
    const float black[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
    auto same = [](const D3DCOLORVALUE& c, const float* want) {
        return c.r == want[0] && c.g == want[1] && c.b == want[2];
    };
    EXPECT_TRUE(same(m.Emissive, black)) << "a glowing ground ignores the light";
    EXPECT_TRUE(same(m.Diffuse, white));
    EXPECT_TRUE(same(m.Ambient, white)) << "\"fullAmbient\" relies on a white ambient material";
    EXPECT_TRUE(same(m.Specular, black));
}

TEST_F(TerrainPassStates, TheBasePassSetsExactlyItsStates) {
    Run(TERRAIN_SHADER_BASE, 0);
    EXPECT_EQ(render, kRenderStates);
    const StageStates want = {
        {{0, D3DTSS_TEXCOORDINDEX}, 0},
        {{0, D3DTSS_TEXTURETRANSFORMFLAGS}, D3DTTFF_COUNT3},
        {{0, D3DTSS_COLOROP}, D3DTOP_MODULATE},
        {{0, D3DTSS_COLORARG1}, D3DTA_TEXTURE},
        {{0, D3DTSS_COLORARG2}, D3DTA_DIFFUSE},
        {{0, D3DTSS_ADDRESSU}, D3DTADDRESS_CLAMP},
        {{0, D3DTSS_ADDRESSV}, D3DTADDRESS_CLAMP},
        {{0, D3DTSS_ALPHAOP}, D3DTOP_DISABLE},
        {{1, D3DTSS_COLOROP}, D3DTOP_DISABLE},
    };
    EXPECT_EQ(stage, want);
    EXPECT_TRUE(others.empty()) << others.front();
    ExpectTerrainColours(material);
    EXPECT_EQ(material.Power, 10.0f);
}

// The single and the double detail pass lists run the same pass; the detail pass leaves the
// power as it found it.
TEST_F(TerrainPassStates, TheDetailPassesSetExactlyTheirStates) {
    const StageStates want = {
        {{0, D3DTSS_TEXCOORDINDEX}, 0},
        {{0, D3DTSS_TEXTURETRANSFORMFLAGS}, D3DTTFF_COUNT3},
        {{0, D3DTSS_ADDRESSU}, D3DTADDRESS_CLAMP},
        {{0, D3DTSS_ADDRESSV}, D3DTADDRESS_CLAMP},
        {{0, D3DTSS_COLOROP}, D3DTOP_SELECTARG1},
        {{0, D3DTSS_COLORARG1}, D3DTA_TEXTURE},
        {{0, D3DTSS_ALPHAOP}, D3DTOP_DISABLE},
        {{1, D3DTSS_TEXCOORDINDEX}, 0},
        {{1, D3DTSS_TEXTURETRANSFORMFLAGS}, D3DTTFF_COUNT2},
        {{1, D3DTSS_ADDRESSU}, D3DTADDRESS_WRAP},
        {{1, D3DTSS_ADDRESSV}, D3DTADDRESS_WRAP},
        {{1, D3DTSS_COLOROP}, 8}, // ADDSIGNED: grey detail texels leave the tile as it is
        {{1, D3DTSS_COLORARG1}, D3DTA_CURRENT},
        {{1, D3DTSS_COLORARG2}, D3DTA_TEXTURE},
        {{2, D3DTSS_COLOROP}, D3DTOP_MODULATE},
        {{2, D3DTSS_COLORARG1}, D3DTA_CURRENT},
        {{2, D3DTSS_COLORARG2}, D3DTA_DIFFUSE},
        {{3, D3DTSS_COLOROP}, D3DTOP_DISABLE},
    };
    EXPECT_EQ(I3dShaderBegin(shaders[TERRAIN_SHADER_BASE]), 1);
    EXPECT_EQ(I3dShaderBegin(shaders[TERRAIN_SHADER_DETAIL]), 1);
    EXPECT_EQ(I3dShaderBegin(shaders[TERRAIN_SHADER_DOUBLE]), 2);
    I3dShaderEnd();
    for (auto [shader, pass] : {std::pair{TERRAIN_SHADER_DETAIL, 0},
                                {TERRAIN_SHADER_DOUBLE, 0},
                                {TERRAIN_SHADER_DOUBLE, 1}}) {
        SCOPED_TRACE(testing::Message() << "shader " << shader << " pass " << pass);
        Run(shader, pass);
        EXPECT_EQ(render, kRenderStates);
        EXPECT_EQ(stage, want);
        EXPECT_TRUE(others.empty()) << others.front();
        ExpectTerrainColours(material);
        EXPECT_EQ(material.Power, 3.0f);
    }
}

} // namespace
