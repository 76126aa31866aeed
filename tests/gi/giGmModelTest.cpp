// GM models in mesh parts: renumbered vertices, material colours and texture slots, objects
// without a usable material, multi-material objects, bounds and their transform.
#include "gi/giGmModel.h"
#include "gi/GM_GeoObject.h"
#include "gi/GM_Material.h"
#include "gi/GM_Texture.h"

#include "engine/Dirs.h"
#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

GM_Texture* Map(int32_t type, const char* bitmap) {
    auto* t = new GM_Texture();
    t->mapSlot = type;
    t->bitmap.Set(bitmap);
    return t;
}

// An object whose welded mesh has ten vertices (vertex i at (i, 0, 0)) and the given indices.
GM_GeoObject Welded(const char* name, std::vector<uint16_t> indices, int32_t material = 0) {
    GM_GeoObject g;
    g.SetName(name);
    g.mesh.materialRef = material;
    g.mesh.vertices.resize(4);
    g.mesh.faces.push_back({0, 1, 2, 0});
    for (int i = 0; i < 10; ++i) {
        g.welded.positions.push_back({(float)i, 0, 0});
        g.welded.normals.push_back({0, 1, 0});
        g.welded.source.push_back(100 + (uint32_t)i);
    }
    g.welded.texCoords.assign(1, std::vector<giVec2>(10));
    for (int i = 0; i < 10; ++i)
        g.welded.texCoords[0][(size_t)i] = {(float)i, 1};
    g.welded.vertexCount = 10;
    g.welded.indices = std::move(indices);
    return g;
}

giMeshPart Box(giVec3 min, giVec3 max) {
    giMeshPart p;
    p.positions = {min, max};
    p.vertexCount = 2;
    return p;
}

} // namespace

TEST(giGmModel, PartsRenumberTheUsedVertices) {
    GM_MaterialList materials;
    materials.Append(new GM_Material());
    GM_GeoObject g = Welded("Arm", {5, 9, 7});
    auto part = giGmModel::BuildPart(g, &materials, 0);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->name, "Arm");
    EXPECT_EQ(part->vertexCount, 3);
    EXPECT_EQ(part->indices, (std::vector<uint16_t>{0, 2, 1}));
    EXPECT_EQ(part->indexCount, 3);
    EXPECT_EQ(part->triangleCount, 1);
    EXPECT_EQ(part->positions[1].x, 7.0f) << "old 5, 7, 9 become 0, 1, 2";
    EXPECT_EQ(part->texCoords[0][2].x, 9.0f);
    EXPECT_EQ(part->normals.size(), 3u);
    EXPECT_EQ(part->source, (std::vector<uint32_t>{105, 107, 109}))
        << "the source entries follow their vertices";
    EXPECT_EQ(part->sourceVertexCount, 4u);
    EXPECT_TRUE(part->objectFlag);

    g.welded.indices = {5, 10, 7};
    EXPECT_EQ(giGmModel::BuildPart(g, &materials, 0), nullptr) << "an index past the vertices";
}

TEST(giGmModel, MaterialColoursAndTextureSlots) {
    GM_MaterialList materials;
    auto* m = new GM_Material();
    m->transparency = 0.25f;
    m->shine = 0.5f;
    m->shineStrength = 0.5f;
    m->diffuse = 0xFF0080FF; // red 255, green 128, blue 0 (low byte first)
    m->specular = 0xFFFFFFFF;
    const std::pair<int, const char*> maps[] = {{1, "d.tga"}, {2, "ambient.tga"}, {4, "s.tga"},
                                                {5, "i.tga"}, {6, "o.tga"},       {8, "b.tga"},
                                                {9, "r.tga"}, {12, "other.tga"}};
    for (const auto& [type, name] : maps)
        m->textures.Append(Map(type, name));
    materials.Append(m);
    auto part = giGmModel::BuildPart(Welded("Body", {0, 1, 2}), &materials, 0);
    ASSERT_TRUE(part);
    EXPECT_FLOAT_EQ(part->opacity, 0.75f);
    EXPECT_FLOAT_EQ(part->specularPower, 50.0f);
    EXPECT_FLOAT_EQ(part->diffuse.x, 1.0f);
    EXPECT_NEAR(part->diffuse.y, 128 / 255.0f, 1e-6f);
    EXPECT_EQ(part->diffuse.z, 0.0f);
    EXPECT_EQ(part->specularColor, 0x80808080u) << "white at half strength, packed ARGB";
    EXPECT_EQ(part->specularValue, (float)0x80808080u);
    const char* slots[GI_TEX_SLOTS] = {"d.tga", "b.tga", "", "r.tga", "o.tga", "s.tga", "i.tga"};
    for (int s = 0; s < GI_TEX_SLOTS; ++s)
        EXPECT_EQ(part->textures[s], slots[s]) << "slot " << s;

    GM_MaterialList plain;
    plain.Append(new GM_Material());
    auto bare = giGmModel::BuildPart(Welded("Body", {0, 1, 2}), &plain, 0);
    for (const std::string& t : bare->textures)
        EXPECT_EQ(t, "");
}

TEST(giGmModel, ObjectsWithoutAUsableMaterialBuildNothing) {
    GM_MaterialList materials;
    materials.Append(new GM_Material());
    EXPECT_EQ(giGmModel::BuildPart(Welded("None", {0, 1, 2}, -1), &materials, 0), nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(giGmModel::BuildPart(Welded("Nine", {0, 1, 2}, 9), &materials, 0), nullptr)
        << "material 9 of one must not be read past the list";
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Nine names material 9"),
              std::string::npos);
    EXPECT_EQ(giGmModel::BuildPart(Welded("NoList", {0, 1, 2}), nullptr, 0), nullptr);
}

TEST(giGmModel, MultiMaterialObjectsGiveOnePart) {
    GM_MaterialList materials;
    auto* multi = new GM_Material();
    for (float t : {0.1f, 0.2f, 0.3f}) {
        auto* sub = new GM_Material();
        sub->transparency = t;
        multi->subMaterials.Append(sub);
    }
    materials.Append(multi);
    GM_GeoObject g = Welded("Coat", {0, 1, 2, 2, 1, 3});
    g.mesh.faces[0].mtlId = 2;
    auto part = giGmModel::BuildPart(g, &materials, 4);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->name, "Coat submaterial 5");
    EXPECT_EQ(part->indexCount, 6) << "all faces in one part";
    EXPECT_FLOAT_EQ(part->opacity, 0.9f) << "an id within the count takes sub-material 0";
    g.mesh.faces[0].mtlId = 4;
    EXPECT_FLOAT_EQ(giGmModel::BuildPart(g, &materials, 0)->opacity, 0.7f)
        << "an id past the count takes the last sub-material";
}

TEST(giGmModel, BoundsRadiusAndTransformedBounds) {
    giGmModel model;
    model.ComputeBounds();
    EXPECT_EQ(model.Radius(), 0.0f) << "no parts, nothing changes";
    model.AddPart(std::make_unique<giMeshPart>(Box({0, 0, 0}, {1, 1, 1})));
    model.AddPart(std::make_unique<giMeshPart>(Box({-1, 0, 0}, {0, 2, 0})));
    model.ComputeBounds();
    EXPECT_EQ(model.BoundsMin().x, -1.0f);
    EXPECT_EQ(model.BoundsMax().y, 2.0f);
    EXPECT_EQ(model.BoundsMax().z, 1.0f);
    EXPECT_EQ(model.Centre().x, 0.0f);
    EXPECT_EQ(model.Centre().y, 1.0f);
    EXPECT_EQ(model.Centre().z, 0.5f);
    EXPECT_FLOAT_EQ(model.Radius(), std::sqrt(1.0f + 1.0f + 0.25f));
    EXPECT_FLOAT_EQ(model.Part(0)->radius, std::sqrt(3.0f) / 2);
    EXPECT_EQ(giMeshPart().MaxDistance({5, 5, 5}), 0.0f);

    // A quarter turn about Y swaps the x and z extents.
    float out[6];
    model.TransformBounds(out, giMatrixRotationY(std::acos(0.0f)));
    EXPECT_NEAR(out[3] - out[0], 1.0f, 1e-6f);
    EXPECT_NEAR(out[5] - out[2], 2.0f, 1e-6f);
    EXPECT_NEAR(out[4] - out[1], 2.0f, 1e-6f);
    float box[6] = {0, 0, 0, 1, 1, 1};
    giMat44 move = giMat44::Identity();
    move.m[3][0] = 5;
    model.TransformBounds(box, move, box);
    EXPECT_EQ(box[0], 5.0f) << "the box may be the output too";
    EXPECT_EQ(box[3], 6.0f);
}

TEST(giGmModel, LoadNamesTheModelAndReleasesSources) {
    TempDir dir;
    DirCreatePath((dir / "Models").c_str());
    GM_MaterialList materials;
    materials.Append(new GM_Material());
    GM_ObjectList objects;
    auto* g = new GM_GeoObject();
    g->SetName("Tri");
    g->mesh.materialRef = 0;
    g->mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    g->mesh.faces = {{0, 1, 2, 0}};
    g->mesh.normals = {{{0, 0, 1}, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}}};
    objects.Append(g);
    ASSERT_NE(WriteModel(dir / "Models/Guy.gmf", {}, {&materials, &objects}), "");

    giGmModel model;
    ASSERT_TRUE(model.Load((dir / "Models\\Guy.gmf").c_str()));
    EXPECT_EQ(model.Name(), dir / "Models\\Guy");
    ASSERT_EQ(model.PartCount(), 1);
    EXPECT_EQ(model.Part(0)->vertexCount, 3);
    EXPECT_EQ(model.Part(0)->source.size(), 3u);
    EXPECT_EQ(model.BoundsMax().y, 1.0f);
    model.ReleaseSourceData();
    EXPECT_TRUE(model.Part(0)->source.empty());

    giGmModel missing;
    EXPECT_FALSE(missing.Load((dir / "Nothing.gmf").c_str()));
    EXPECT_EQ(missing.PartCount(), 0);
}
