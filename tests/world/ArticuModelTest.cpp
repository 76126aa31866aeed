// Articulated models on the recording device: the value table and its defaults, nodes and
// materials found by name, angles and offsets growing with the step, the turns and the scroll
// set only for the draw, and the table freed with the class.
#include "I3d/Math/Mat4Math.h"
#include "engine/VarTable.h"
#include "tests/world/StaticObjectFixture.h"

#include <cmath>
#include <string>

namespace {

bool Near(const Mat4& a, const Mat4& b) {
    for (int i = 0; i < 16; ++i)
        if (std::fabs(a.m[i] - b.m[i]) > 1e-4f) return false;
    return true;
}

class ArticuModelTest : public StaticObjectTest {
  protected:
    ArticuModel* Arm(const char* node0 = "Arm", const char* node1 = "Spinner",
                     const char* material = "beam2") {
        const std::string file = Model(kArm);
        auto* a = Make<ArticuModel>("ArticuModel", world, "Arm");
        EXPECT_EQ(a->SetString("modelFile", file.c_str()), true);
        a->SetString("node0Name", node0);
        a->SetString("node1Name", node1);
        a->SetString("material0Name", material);
        a->Start();
        return a;
    }
};

TEST_F(ArticuModelTest, TheValueTableHoldsTwentyOneEntriesWhoseDefaultsANewModelTakes) {
    VarTable* t = ArticuModelVars();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->count, 21);
    const char* names[] = {
        "name",          "modelFile",  "x",         "y",         "z",         "yaw",
        "pitch",         "roll",       "scale",     "agl",       "visFactor", "clsnBox",
        "node0Name",     "node0Axis",  "node0Rate", "node1Name", "node1Axis", "node1Rate",
        "material0Name", "material0X", "material0Y"};
    for (int i = 0; i < 21; ++i)
        EXPECT_STREQ(t->Entries()[i].name, names[i]);

    auto* a = Make<ArticuModel>("ArticuModel", world, "Made");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetInstanceVarTable(), t);
    EXPECT_STREQ(a->modelFile, "!");
    EXPECT_STREQ(a->nodes[0].name, "!");
    EXPECT_FLOAT_EQ(a->visFactor, 1.0f);
    EXPECT_EQ(a->agl, 0u);
    // Create gives every record zero rates after the table's defaults.
    EXPECT_EQ(a->nodes[0].rate, 0.0f);
    EXPECT_EQ(a->materials[0].rateU, 0.0f);
    EXPECT_EQ(a->nodeCount, 4);
    a->Start();
    EXPECT_EQ(a->instance, nullptr) << "\"!\" names no model";
    EXPECT_EQ(LogText().find("WARNING"), std::string::npos);

    // "y" is the height the matrix reads; "scale" the x scale only.
    a->SetFloat("y", 7.0f);
    a->SetFloat("scale", 3.0f);
    a->SetBool("agl", 1);
    a->VarsChanged();
    EXPECT_FLOAT_EQ(a->matrix.m[13], 7.0f);
    EXPECT_FLOAT_EQ(a->matrix.m[0], 3.0f);
    EXPECT_FLOAT_EQ(a->matrix.m[5], 1.0f);
    EXPECT_EQ(a->agl, 1u);

    // The class's shut-down frees the table.
    EntDestroyTree(root);
    root = nullptr;
    EntSystemShutdown();
    EXPECT_EQ(ArticuModelVars(), nullptr);
}

TEST_F(ArticuModelTest, NodesAndMaterialsAreFoundByNameAndTurnOnlyForTheDraw) {
    ArticuModel* a = Arm("Arm", "NoSuchNode", "BEAM2");
    ASSERT_NE(a->instance, nullptr);
    EXPECT_NE(a->nodes[0].node, nullptr);
    EXPECT_EQ(a->nodes[1].node, nullptr) << "an unknown name leaves its record inert";
    EXPECT_NE(a->materials[0].material, nullptr) << "materials are found ignoring case";
    EXPECT_EQ(a->materials[1].material, nullptr);

    a->nodes[0].rate = 1.0f;
    a->nodes[1].rate = 2.0f;
    a->nodes[2].rate = 0.5f; // set by hand: only records 0 and 1 have table entries
    a->materials[0].rateU = 0.5f;
    a->materials[0].rateV = 0.25f;
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(a->Update(0.5f), 1);
    EXPECT_FLOAT_EQ(a->nodes[0].angle, 5.0f) << "angles are not wrapped";
    EXPECT_FLOAT_EQ(a->nodes[1].angle, 10.0f) << "inert records still count";
    EXPECT_FLOAT_EQ(a->nodes[2].angle, 2.5f);
    EXPECT_FLOAT_EQ(a->materials[0].offsetU, 2.5f);
    EXPECT_FLOAT_EQ(a->materials[0].offsetV, 1.25f);

    Log().Clear();
    EXPECT_EQ(a->DrawPre(), 1);
    EXPECT_GT(Log().Count("DrawIndexedPrimitive"), 0);
    const Mat4* tex = ArticuModelTexMatrix(0);
    EXPECT_FLOAT_EQ(tex->m[8], 2.5f);
    EXPECT_FLOAT_EQ(tex->m[9], 1.25f);
    EXPECT_EQ(a->nodes[0].node->override, nullptr)
        << "a turn left on the shared model would turn every other object drawing it";
    EXPECT_FALSE(a->nodes[0].node->flags & MDL3_OVERRIDE);
    EXPECT_EQ(a->materials[0].material->texMatrix, nullptr);
}

TEST_F(ArticuModelTest, TheDrawTurnsEachNodeAboutItsAxis) {
    ArticuModel* a = Arm();
    ASSERT_NE(a->nodes[0].node, nullptr);
    const VECTOR3 at = {0, 0, 10};
    a->SetPos(&at);
    struct Case {
        int32_t axis;
        void (*rotate)(Mat4*, float);
    } cases[] = {{0, [](Mat4* m, float t) { Mat4RotateX(m, t); }},
                 {1, [](Mat4* m, float t) { Mat4RotateY(m, t); }},
                 {2, [](Mat4* m, float t) { Mat4RotateZ(m, t); }},
                 {5, [](Mat4* m, float t) { Mat4RotateZ(m, t); }}};
    for (const Case& c : cases) {
        a->nodes[0].axis = c.axis;
        a->nodes[0].angle = 0.5f;
        Mat4 turn, local, expected;
        Mat4Identity(&turn);
        c.rotate(&turn, 0.5f);
        Mat4Mul(&turn, &a->nodes[0].node->Matrix, &local);
        Mat4Mul(&local, &a->matrix, &expected);
        Log().Clear();
        a->DrawPre();
        bool found = false;
        for (const D3dCall& call : Log().Named("SetTransform"))
            if (call.args[0] == D3DTS_WORLD && Near(call.DataAs<Mat4>(), expected)) found = true;
        EXPECT_TRUE(found) << "the arm drawn turned about axis " << c.axis;
    }
    // Rate 0 keeps the node at angle 0 however long it runs.
    a->nodes[0].rate = 0.0f;
    a->nodes[0].angle = 0.0f;
    a->Update(100.0f);
    EXPECT_EQ(a->nodes[0].angle, 0.0f);
}

TEST_F(ArticuModelTest, ALongNodeNameIsCutThenLookedUp) {
    const std::string longName(40, 'A');
    ArticuModel* a = Arm(longName.c_str());
    EXPECT_EQ(std::string(a->nodes[0].name), std::string(32, 'A'));
    EXPECT_EQ(a->nodes[0].node, nullptr);
    a->DrawPre();
}

} // namespace
