// The text form of models, skeletons and animations against golden files in tests/data/gi/.
// On a mismatch the text written is left beside the build for comparison.
#include "gi/GM_Animation.h"
#include "gi/GM_AttachmentPt.h"
#include "gi/GM_GeoObject.h"
#include "gi/GM_Light.h"
#include "gi/GM_List.h"
#include "gi/GM_Material.h"
#include "gi/GM_Scene.h"
#include "gi/GM_Skeleton.h"
#include "gi/GM_Texture.h"

#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

void ExpectGolden(const std::string& name, const std::string& written) {
    std::string golden = FileBytes(std::string(FAIRLARK_SOURCE_DIR) + "/tests/data/gi/" + name);
    if (written == golden) return;
    std::string actual = std::string(FAIRLARK_BUILD_DATA_DIR) + "../golden-actual/";
    mkdir(actual.c_str(), 0755);
    WriteTextFile(actual + name, written);
    ADD_FAILURE() << name << " differs from its golden file; the text written is in " << actual
                  << name;
}

// Writes the given pieces in text form after the text header.
template <class F>
std::string TextFile(const TempDir& dir, F&& body) {
    std::string path = dir / "t.gma";
    GM_Stream s;
    EXPECT_EQ(s.OpenWrite(path.c_str(), GM_STREAM_TEXT), 1);
    EXPECT_EQ(s.WriteHeader("golden", GM_MODEL_ATTACHMENT), 1);
    body(s);
    s.Close();
    return FileBytes(path);
}

} // namespace

TEST(GM_TextForm, SmallModel) {
    TempDir dir;
    GM_Scene scene;
    scene.fileName.Set("booth.max");
    scene.lastFrame = 100;
    scene.frameSpeed = 30;
    scene.ticksPerFrame = 160;
    scene.ambient = 0x202020;

    GM_MaterialList materials;
    auto* paint = new GM_Material();
    paint->SetName("Paint");
    paint->className.Set("Standard");
    paint->diffuse = 0xC08040;
    paint->shine = 0.25f;
    paint->shading = 13;
    paint->flags = GM_MTL_TWOSIDED | GM_MTL_FALLOFF_OUT;
    paint->xpType = 1;
    auto* map = new GM_Texture();
    map->SetName("Map #1");
    map->className.Set("Bitmap");
    map->bitmap.Set("Maps\\booth.tga");
    map->mapSlot = 12;
    map->amount = 1;
    map->uTiling = map->vTiling = 1;
    paint->textures.Append(map);
    materials.Append(paint);

    GM_ObjectList objects;
    auto* booth = new GM_GeoObject();
    booth->SetName("Booth");
    booth->node.SetName("Booth");
    GM_Mesh& m = booth->mesh;
    m.materialRef = 0;
    m.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    m.faces = {{0, 1, 2, 0}};
    m.texVerts = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    m.texFaces = {{0, 1, 2}};
    m.colorVerts = {{1, 0.5f, 0}};
    m.colorFaces = {{0, 0, 0}};
    m.normals = {{{0, 0, 1}, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}}};
    objects.Append(booth);
    auto* light = new GM_Light();
    light->SetName("Lamp");
    light->type = 1;
    light->targetFlag = 1;
    light->target.SetName("Lamp.Target");
    light->color = 0xFFEEDD;
    light->intensity = 1.5f;
    objects.Append(light);
    auto* point = new GM_AttachmentPt();
    point->SetName("att-point1");
    point->userData.Set("type=OS");
    objects.Append(point);

    ExpectGolden("model.gma", TextFile(dir, [&](GM_Stream& s) {
                     EXPECT_EQ(scene.Write(&s), 1);
                     EXPECT_EQ(materials.Write(&s), 1);
                     EXPECT_EQ(objects.Write(&s), 1);
                 }));
}

TEST(GM_TextForm, SkeletonAndAnimation) {
    TempDir dir;
    GM_Skeleton k;
    k.SetName("Skel");
    k.boneCount = 1;
    GM_SkelBoneData& b = k.bones[0];
    b.name = "Root";
    b.vertexCount = 2;
    for (int i = 0; i < 16; ++i)
        b.orient[i] = (float)i; // row N of the text is column N of these
    b.weights = {{0, 1.0f}, {1, 0.5f}};
    ExpectGolden("skeleton.gma", TextFile(dir, [&](GM_Stream& s) { EXPECT_EQ(k.Write(&s), 1); }));

    GM_Animation a;
    a.SetName("Walk");
    a.animName = "Walk";
    a.boneCount = 1;
    a.animLength = 1000;
    a.fps = 30;
    a.keyCount = 2;
    a.boneAnims[0].name = "Root";
    a.boneAnims[0].keys = {{0, {0, 0, 0}, {0, 0, 0, 1}},
                           {1000, {0, 1, 0}, {0, 0.7071f, 0, 0.7071f}}};
    ExpectGolden("animation.gma", TextFile(dir, [&](GM_Stream& s) { EXPECT_EQ(a.Write(&s), 1); }));
}
