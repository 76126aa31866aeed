// The kernel's multi-pass recipes: the technique every shader runs, pass lists of at most 8, the
// caller's further arguments reaching the pass, and nothing run before a technique is chosen.
#include "I3d/PassLists.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> s_calls; // pass id, then the two arguments each pass reads

template <int Id>
void Pass(I3dShader*, va_list args) {
    s_calls.push_back(Id);
    s_calls.push_back(va_arg(args, int));
    s_calls.push_back((int)(va_arg(args, double) * 10));
}

struct PassLists : ::testing::Test {
    I3dShader* shader = nullptr;
    void SetUp() override {
        s_calls.clear();
        shader = I3dShaderCreate(1, "TerDif");
        ASSERT_NE(shader, nullptr);
    }
    void TearDown() override { EXPECT_EQ(I3dShaderFree(shader), 0); }
};

// The technique index starts at -1: a shader begun before the terrain chooses one must not
// index its lists with it.
TEST_F(PassLists, NoTechniqueChosenMeansNoPasses) {
    for (uint32_t word : shader->params)
        EXPECT_EQ(word, 0xFFFFFFFFu);
    ASSERT_EQ(I3dShaderAddPass(shader, 0, Pass<1>), 0);
    EXPECT_EQ(I3dShaderBegin(shader), 0);
    I3dShaderPass(0, 1, 1.0);
    EXPECT_TRUE(s_calls.empty());
    I3dShaderEnd();
}

TEST_F(PassLists, TheChosenTechniqueRunsItsPassesWithTheCallersArguments) {
    ASSERT_EQ(I3dShaderAddPass(shader, 0, Pass<1>), 0);
    ASSERT_EQ(I3dShaderAddPass(shader, 0, Pass<2>), 0);
    ASSERT_EQ(I3dShaderAddPass(shader, 1, Pass<3>), 0);
    I3dShaderSetTechnique(0);
    ASSERT_EQ(I3dShaderBegin(shader), 2);
    I3dShaderPass(1, 7, 2.5);
    I3dShaderPass(2, 0, 0.0); // beyond the list
    I3dShaderPass(-1, 0, 0.0);
    EXPECT_EQ(s_calls, (std::vector<int>{2, 7, 25}));
    I3dShaderEnd();
    I3dShaderPass(0, 1, 1.0);
    EXPECT_EQ(s_calls.size(), 3u) << "no shader is current after the end";

    I3dShaderSetTechnique(1);
    EXPECT_EQ(I3dShaderBegin(shader), 1);
    I3dShaderPass(0, 4, 0.5);
    EXPECT_EQ(s_calls, (std::vector<int>{2, 7, 25, 3, 4, 5}));
    I3dShaderEnd();
}

TEST_F(PassLists, FullListsBadTechniquesAndNullShadersAreRefused) {
    for (int i = 0; i < I3D_SHADER_MAX_PASSES; ++i)
        ASSERT_EQ(I3dShaderAddPass(shader, 2, Pass<1>), 0);
    EXPECT_DEBUG_DEATH(EXPECT_EQ(I3dShaderAddPass(shader, 2, Pass<1>), -1), "at most 8 passes");
    EXPECT_EQ(I3dShaderAddPass(shader, 3, Pass<1>), -1);
    EXPECT_EQ(I3dShaderAddPass(shader, 0, nullptr), -1);
    EXPECT_EQ(I3dShaderAddPass(nullptr, 0, Pass<1>), -1);

    I3dShaderSetTechnique(2);
    EXPECT_DEBUG_DEATH(I3dShaderSetTechnique(3), "technique is 0, 1 or 2");
    EXPECT_DEBUG_DEATH(I3dShaderSetTechnique(-1), "technique is 0, 1 or 2");
    EXPECT_EQ(I3dShaderBegin(shader), 8) << "a refused technique keeps the previous one";
    EXPECT_EQ(I3dShaderBegin(nullptr), -1);
    EXPECT_EQ(I3dShaderFree(nullptr), -1);
}

TEST(PassListsFree, FreeingTheCurrentShaderLeavesNoneCurrent) {
    I3dShader* shader = I3dShaderCreate(1, "TerDifDetail");
    ASSERT_NE(shader, nullptr);
    I3dShaderAddPass(shader, 0, Pass<1>);
    I3dShaderSetTechnique(0);
    ASSERT_EQ(I3dShaderBegin(shader), 1);
    I3dShaderFree(shader);
    s_calls.clear();
    I3dShaderPass(0, 1, 1.0); // would call through freed memory
    EXPECT_TRUE(s_calls.empty());
}

} // namespace
