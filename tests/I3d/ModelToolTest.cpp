// The model tool: description errors with their lines and no files, what a description stores,
// the shape and winding of its primitives, and its textures.
#include "I3d/Image.h"
#include "I3d/Math/Vec3Ops.h"
#include "tests/I3d/ModelFiles.h"

#include <filesystem>

namespace {

TEST(ModelTool, DescriptionErrorsNameTheirLineAndWriteNothing) {
    const std::string longTitle(32, 'T');
    const struct {
        std::string description, error;
    } cases[] = {
        {"model A\nnode R\nnode B parent R wobble 3\n", "line 3: unknown keyword 'wobble'"},
        {"model A\nnode R\nnode B parent C\nnode C parent B\n", "line 3: node 'B' is its own"},
        {"model " + longTitle + "\nnode R\n", "line 1: the title"},
        {"model !Skip\nnode R\n", "line 1: the title"},
        {"model ../Up\nnode R\n", "line 1: the title"},
        {"model A\nnode R\nnode S1 parent R sphere 256 1\nnode S2 parent R sphere 256 1\n",
         "line 4: the model needs more than 65536 vertices"},
        {"node R\n", "line 1: the first statement is 'model'"},
        {"model A\nnode R translate 1 0 0\n", "line 2: the root 'R' neither moves nor turns"},
        {"model A\nnode R\nnode X parent R\nnode X parent R\n", "line 4: a second node 'X'"},
        {"model A\nnode R\nnode B parent Q\n", "line 3: no node 'Q'"},
        {"model A\nnode R\nnode S\n", "line 3: a second root 'S'"},
        {"model A\nmaterial M map Nope\nnode R\n", "line 2: no texture 'Nope' above"},
        {"model A\nnode R tri 0 0 0 1 0 0 2 0 0\n", "line 2: a degenerate triangle"},
        {"model A\nmaterial M shininess 200\nnode R\n", "line 2: shininess must lie in 0..128"},
        {"model A\nnode R box 1 x 1\n", "line 2: 'x' is not a number"},
        {"model A\n# no nodes\n", "no nodes"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string scene = dir / "Scene.mds", out = dir / "Out/";
        WriteTextFile(scene, c.description);
        std::string error;
        EXPECT_FALSE(MdlCompileFile(scene, out, &error)) << c.description;
        EXPECT_NE(error.find(c.error), std::string::npos)
            << "got \"" << error << "\", wanted \"" << c.error << "\"";
        EXPECT_NE(error.find("Scene.mds"), std::string::npos) << "the error names its file";
        EXPECT_FALSE(PathExistsOnDisk(out)) << "a description with an error writes nothing";
    }
}

TEST(ModelTool, NodesAndMaterialsStoreWhatTheDescriptionSays) {
    const MdlModel m = BuildModel(R"(
model RideTest
texture Stripes checker 64 255 0 0 255 255 255
material Red diffuse 1 0 0 0.5 shininess 128 doublesided reflective map Stripes bump Stripes tile 2 3
node Root
node Base     parent Root  box 4 0.5 4            material Red
node Arm      parent Base  translate 0 1 0 rotate-y 30  cylinder 12 0.2 3  material Red  nocollision
node Attach00 parent Arm   translate 1.5 0 0
node Sign     parent Root  quad 2 1  material Red  infinitevis castshadow maxdist 50 mindist 2
)");
    ASSERT_EQ(m.nodes.size(), 5u);
    const MDL3NODE &arm = m.nodes[2], &attach = m.nodes[3], &sign = m.nodes[4];
    EXPECT_EQ(arm.flags, uint32_t(MDL3_VISIBLE | MDL3_NODETRANSFORM));
    EXPECT_EQ(attach.flags, uint32_t(MDL3_NODETRANSFORM | MDL3_COLLISION)) << "no triangles";
    EXPECT_EQ(sign.flags,
              uint32_t(MDL3_VISIBLE | MDL3_COLLISION | MDL3_INFINITEVIS | MDL3_CASTSHADOW));
    EXPECT_EQ(sign.minDist, 2.0f);
    EXPECT_NEAR(arm.Matrix.m[2], -0.5f, 1e-6f) << "turned by 30 degrees about y";
    EXPECT_EQ(arm.Matrix.m[13], 1.0f) << "then moved";
    const MDL3MTRL& red = m.materials[0];
    EXPECT_EQ(red.ambient[0], 1.0f) << "unnamed colours keep their defaults";
    EXPECT_TRUE(red.doubleSided && red.reflective && red.shininess == 128.0f);
    EXPECT_EQ(red.bumpTile[1], 3.0f);
    EXPECT_EQ(red.detailTile[0], 1.0f);
}

// Every primitive's triangles are front faces seen from outside (clockwise on screen, what
// the kernel's culling keeps), its normals point the same way and its vertices lie on it.
TEST(ModelTool, PrimitivesFaceOutwardsWithMatchingNormals) {
    const struct {
        const char* prim;
        VECTOR3 half; // the bounds' half extents
    } prims[] = {
        {"box 2 4 6", {1, 2, 3}},
        {"cylinder 8 1 2", {1, 1, 1}},
        {"sphere 8 1.5", {1.5f, 1.5f, 1.5f}},
    };
    for (const auto& p : prims) {
        SCOPED_TRACE(p.prim);
        const MdlModel m = BuildModel(std::string("model P\nnode R ") + p.prim + "\n");
        ASSERT_GT(m.indices.size(), 0u);
        for (size_t t = 0; t < m.indices.size(); t += 3) {
            const MDL3VERTEX &a = m.verts[m.indices[t]], &b = m.verts[m.indices[t + 1]],
                             &c = m.verts[m.indices[t + 2]];
            const VECTOR3 n = v3::Cross(v3::Sub(b.pos, a.pos), v3::Sub(c.pos, a.pos));
            const VECTOR3 centre = v3::Scale(v3::Add(v3::Add(a.pos, b.pos), c.pos), 1.0f / 3);
            ASSERT_GT(v3::Dot(n, centre), 0.0f) << "triangle " << t / 3 << " faces inwards";
            for (const MDL3VERTEX* v : {&a, &b, &c})
                ASSERT_GT(v3::Dot(n, v->normal), 0.0f) << "a normal disagrees with its face";
        }
        for (const MDL3VERTEX& v : m.verts)
            ASSERT_NEAR(v3::Length(v.normal), 1.0f, 1e-5f);
        const MDL3NODE& r = m.nodes[0];
        EXPECT_NEAR(r.boundsMax.x, p.half.x, 1e-5f);
        EXPECT_NEAR(r.boundsMax.y, p.half.y, 1e-5f);
        EXPECT_NEAR(r.boundsMin.z, -p.half.z, 1e-5f);
    }
    const MdlModel quad = BuildModel("model Q\nnode R quad 2 1\n");
    ASSERT_EQ(quad.indices.size(), 6u);
    const VECTOR3 n = v3::Cross(v3::Sub(quad.verts[quad.indices[1]].pos, quad.verts[0].pos),
                                v3::Sub(quad.verts[quad.indices[2]].pos, quad.verts[0].pos));
    EXPECT_LT(n.z, 0.0f) << "a quad faces -z";
    EXPECT_EQ(quad.nodes[0].boundsMax.y, 0.5f);
}

TEST(ModelTool, TexturesAreThirtyTwoBitTgaFilesOfTheirPattern) {
    TempDir dir;
    WriteScene(dir, "model T\ntexture Check checker 16 255 0 0 0 0 255\nnode R\n");
    I3dImage* check = ImgLoadTga((dir / "Check.tga").c_str(), nullptr);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->format, IMG_A8R8G8B8);
    EXPECT_EQ(check->width, 16);
    auto texel = [](const I3dImage* img, int x, int y) {
        const uint8_t* p = img->pixels + size_t(y) * img->pitch + size_t(x) * 4;
        return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    };
    EXPECT_EQ(texel(check, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(texel(check, 2, 0), 0xFF0000FFu) << "8 cells across: 2 texels each";
    EXPECT_EQ(texel(check, 2, 2), 0xFFFF0000u);
    ImgFree(check);
    EXPECT_TRUE(PathExistsOnDisk(dir / "T.md3"));
}

} // namespace
