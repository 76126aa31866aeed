// The grass patch and its blocks on the recording layer over a real terrain: Compile and its
// file, reading a foliage file into blocks under "Last", the fallback to the grass maps, the
// plants' geometry, and the damaged files and settings that must neither crash nor write outside
// the grid, the map or a mesh's 16-bit indices.
#include "world/GrassPatch.h"
#include "I3d/Math/Geometry.h"
#include "engine/Files.h"
#include "engine/PropDb.h"
#include "tests/world/TerrainFixture.h"
#include "world/Foliage.h"
#include "world/GrassMesh.h"

#include <cmath>
#include <cstring>

namespace {

class GrassPatchTest : public TerrainFixture {
  protected:
    void SetUp() override {
        TerrainFixture::SetUp();
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        classFile = dir / "Classes.ini";
        ASSERT_EQ(EntCreateClass(EcGrassMeshProc, 0, 0), 0);
        ASSERT_EQ(
            EntCreateClass(EcGrassPatchProc, reinterpret_cast<intptr_t>(classFile.c_str()), 0), 0);
        CrtSrand(1);
    }
    void TearDown() override {
        EntDestroyTree(root);
        root = Make("EntNull", nullptr, "Root");
        I3dTexTableFree();
        TerrainFixture::TearDown();
    }
    // A flat terrain named "Terrain" of ground height `grey` (in the map's units).
    Terrain2* Ground(int grey) {
        const std::string map = WriteMap("Flat", 33, 33, [grey](int, int) { return grey; });
        return Load("mapName=" + map + "\ntileWidth=32\ntileHeight=32\n");
    }
    // dir/name: a w x h grey map, pixels where `on` says so.
    std::string GrassMap(const std::string& name, int w, int h,
                         const std::function<bool(int, int)>& on) {
        I3dImage* img = ImgAlloc(w, h, IMG_L8);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img->pixels[size_t(y) * size_t(img->pitch) + size_t(x)] = on(x, y) ? 200 : 0;
        EXPECT_EQ(ImgSaveTga(img, (dir / name).c_str(), nullptr), 0);
        ImgFree(img);
        return dir / name;
    }
    std::string FoliageFile(const std::string& name, const std::vector<FoliageRecord>& records,
                            size_t extraBytes = 0) {
        std::vector<uint8_t> bytes = FoliageEncode(records);
        bytes.resize(bytes.size() + extraBytes, 0x7F);
        EXPECT_EQ(FileWriteAll((dir / name).c_str(), bytes.data(), bytes.size()), 1);
        return dir / name;
    }
    static FoliageRecord Rec(int layer, float x, float z, float h = 1.0f) {
        FoliageRecord r;
        r.layer = uint8_t(layer);
        r.x = x;
        r.z = z;
        r.height = h;
        return r;
    }
    // A patch under root, not yet started.
    GrassPatch* Patch(const char* name = "Field") {
        auto* p = Make<GrassPatch>("GrassPatch", root, name);
        EXPECT_NE(p, nullptr);
        return p;
    }
    std::vector<GrassMesh*> Meshes(ENTBASE* under) {
        std::vector<GrassMesh*> out;
        ENTBASE* found[64];
        const int n = EntFindAllOfType(under, "GrassMesh", found, 64);
        for (int i = 0; i < n; ++i)
            out.push_back(static_cast<GrassMesh*>(found[i]));
        return out;
    }
    std::string classFile;
};

TEST_F(GrassPatchTest, TableHoldsTheRowsInOrderWithTwelveLayers) {
    GrassPatch* p = Patch();
    const PropField* f = p->classDb->first;
    std::vector<std::string> names;
    for (; f; f = f->next)
        names.push_back(f->name);
    ASSERT_GE(names.size(), size_t(8 + 12 * 11));
    EXPECT_EQ(names[0], "General:");
    EXPECT_EQ(names[7], "Compile");
    EXPECT_EQ(names[8], "a.grassMapFile");
    EXPECT_EQ(names[8 + 11 * 11], "l.grassMapFile");
    EXPECT_EQ(names.back(), "l.flip90");
    EXPECT_EQ(p->scale, 1.0f);
    EXPECT_EQ(p->blockSize, 16);
    EXPECT_EQ(p->visDist, 80.0f);
    EXPECT_EQ(p->layers[3].density, 2);
    EXPECT_EQ(p->layers[3].vBottom, 1.0f);
}

TEST_F(GrassPatchTest, CompileWritesOneRecordPerLitPixel) {
    GrassPatch* p = Patch("Field");
    const std::string map = GrassMap("Three.tga", 8, 8, [](int x, int y) {
        return (x == 1 && y == 2) || (x == 5 && y == 2) || (x == 7 && y == 7);
    });
    std::strcpy(p->layers[0].grassMapFile, map.c_str());
    p->scale = 2.0f;
    p->layers[0].minHeight = 0.5f;
    p->layers[0].maxHeight = 1.5f;
    EXPECT_EQ(p->Compile(), 3);
    std::vector<FoliageRecord> records;
    ASSERT_EQ(FoliageRead((dir / "Field.fol").c_str(), &records), 3);
    const std::string raw = ReadTextFile(dir / "Field.fol");
    ASSERT_EQ(raw.size(), 60u);
    const int px[3] = {1, 5, 7};
    for (int i = 0; i < 3; ++i) {
        const FoliageRecord& r = records[size_t(i)];
        EXPECT_EQ(r.layer, 0);
        EXPECT_LE(r.variation, 254);
        EXPECT_EQ(raw[size_t(i) * 20 + 2], 0);
        EXPECT_EQ(raw[size_t(i) * 20 + 3], 0);
        EXPECT_EQ(raw.substr(size_t(i) * 20 + 16, 4), std::string(4, '\xFF'));
        EXPECT_GE(r.x, 2.0f * float(px[i]));
        EXPECT_LT(r.x, 2.0f * float(px[i]) + 2.0f);
        EXPECT_GE(r.height, 0.5f);
        EXPECT_LT(r.height, 1.5f);
    }
    EXPECT_NE(LogText().find("Beep 440 Hz 100 ms"), std::string::npos);

    // A "!" layer compiles; an all-black map writes nothing.
    std::strcpy(p->layers[0].grassMapFile, "");
    const std::string black = GrassMap("Black.tga", 8, 8, [](int, int) { return false; });
    std::strcpy(p->layers[1].grassMapFile, black.c_str());
    EXPECT_EQ(p->Compile(), 0);
    EXPECT_EQ(ReadTextFile(dir / "Field.fol").size(), 0u);
    // A relative name is read from the program folder.
    GrassMap("!One.tga", 4, 4, [](int x, int y) { return x == y; });
    ProgramFolderScope scope(dir.Path());
    std::strcpy(p->layers[2].grassMapFile, "!One.tga");
    EXPECT_EQ(p->Compile(), 4);
}

TEST_F(GrassPatchTest, FileRecordsBecomeBlocksUnderLast) {
    Ground(0);
    ENTBASE* last = Make("EntNull", root, "Last");
    const std::string fol =
        FoliageFile("Field.fol", {Rec(0, 33.0f, 1.0f), Rec(0, 34.0f, 2.0f), Rec(1, 1.0f, 40.0f)});
    GrassPatch* p = Patch();
    std::strcpy(p->posFile, fol.c_str());
    p->layers[0].density = 3;
    p->layers[1].type = 1;
    p->layers[1].density = 4;
    p->Start();
    EXPECT_EQ(LogText().find("Beep"), std::string::npos);
    const std::vector<GrassMesh*> meshes = Meshes(last);
    ASSERT_EQ(meshes.size(), 2u);
    // Block (row 0, column 2) first: x in [32, 48).
    EXPECT_EQ(meshes[0]->block->mesh.triangleCount, 12u) << "two plants of density 3";
    EXPECT_GE(meshes[0]->block->box[0], 32.0f - 0.2f);
    EXPECT_LE(meshes[0]->block->box[3], 35.0f + 1.2f);
    EXPECT_EQ(meshes[1]->block->mesh.vertexCount, 16u);
    EXPECT_NE(LogText().find("Creating Grass Mesh with 24 verts and 12 triangles.\n"),
              std::string::npos);
    for (GrassMesh* m : meshes) {
        EXPECT_TRUE(m->TestFlag(0x100));
        EXPECT_EQ(EntGetParent(m), last);
        VECTOR3 c;
        BoxCenter(m->block->box, &c);
        EXPECT_EQ(m->pos.x, c.x);
        EXPECT_EQ(m->pos.z, c.z);
        char n[64];
        m->SetName("Other");
        m->CopyName(n);
        EXPECT_STREQ(n, "GrassMesh");
    }
    meshes[0]->pos = VECTOR3{0, 0, 0};
    meshes[0]->VarsChanged();
    EXPECT_NE(meshes[0]->pos.x, 0.0f) << "VarsChanged recentres";

    // Starting again replaces the blocks instead of doubling them.
    p->VarsChanged();
    EXPECT_EQ(Meshes(last).size(), 2u);
    // And the patch takes its blocks with it.
    p->Destroy();
    EXPECT_EQ(Meshes(last).size(), 0u);
}

TEST_F(GrassPatchTest, AnEmptyFileFallsBackToTheFlippedMaps) {
    Ground(0);
    Make("EntNull", root, "Last");
    GrassPatch* p = Patch();
    std::strcpy(p->posFile, FoliageFile("Empty.fol", {}).c_str());
    // Image row 0 is the picture's far edge: after the flip it plants at z 511.
    const std::string map = GrassMap("Dot.tga", 1, 1, [](int, int) { return true; });
    std::strcpy(p->layers[0].grassMapFile, map.c_str());
    std::strcpy(p->layers[8].grassMapFile, map.c_str()); // i: no bit
    std::strcpy(p->layers[1].grassMapFile, ("!" + map).c_str());
    p->layers[0].density = 1;
    p->Start();
    const std::string log = LogText();
    const size_t hi = log.find("Beep 880 Hz 100 ms");
    ASSERT_NE(hi, std::string::npos);
    EXPECT_NE(log.find("Beep 440 Hz 100 ms", hi), std::string::npos);
    const std::vector<GrassMesh*> meshes = Meshes(root);
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0]->block->mesh.vertexCount, 4u) << "layers b (\"!\") and i plant nothing";
    EXPECT_GT(meshes[0]->block->box[2], 510.0f);
    EXPECT_LT(meshes[0]->block->box[0], 1.5f);
}

TEST_F(GrassPatchTest, PlantsStandOnTheGroundWithTheirUvs) {
    Terrain2* t = Ground(30);
    const float ground = HeightAt(t, 8.0f, 8.0f);
    ASSERT_GT(ground, 0.0f);
    FoliageLayer layers[FOLIAGE_LAYERS];
    layers[0].density = 5;
    layers[0].minHeight = 1.0f;
    layers[0].maxHeight = 2.0f;
    layers[0].vTop = 0.25f;
    layers[0].vBottom = 0.75f;
    FoliageSettings s;
    s.layers = layers;
    s.height = [](void* c, float x, float z) {
        const VECTOR3 p{x, 0.0f, z};
        float y = 0.0f;
        static_cast<Terrain2*>(c)->GetHeight(&p, &y);
        return y;
    };
    s.heightContext = t;
    std::vector<GrassChunk> chunks = FoliageBuildFromRecords({Rec(0, 8.0f, 8.0f)}, s);
    ASSERT_EQ(chunks.size(), 1u);
    ASSERT_EQ(chunks[0].QuadCount(), 5);
    for (int q = 0; q < 5; ++q) {
        const GrassVertex* v = &chunks[0].verts[size_t(q) * 4];
        EXPECT_FLOAT_EQ(v[0].y, ground);
        EXPECT_FLOAT_EQ(v[1].y, ground);
        const float h = v[3].y - v[0].y;
        EXPECT_GE(h, 1.0f);
        EXPECT_LT(h, 2.0f);
        EXPECT_FLOAT_EQ(v[2].y - v[1].y, h);
        const float ab = std::hypot(v[1].x - v[0].x, v[1].z - v[0].z);
        EXPECT_NEAR(v[1].u, ab * 0.5f / h, 1e-5f);
        EXPECT_EQ(v[0].u, 0.0f);
        EXPECT_EQ(v[0].v, 0.75f);
        EXPECT_EQ(v[3].v, 0.25f);
    }

    // Tufts: blades pi / density apart, sunk by yOffset x h, uv turned by flip90.
    layers[1].type = 1;
    layers[1].density = 3;
    layers[1].yOffset = 0.5f;
    layers[1].flip90 = 1;
    layers[1].uLeft = 0.1f;
    layers[1].uRight = 0.6f;
    s.texRatio = 2;
    chunks = FoliageBuildFromRecords({Rec(1, 8.0f, 8.0f)}, s);
    ASSERT_EQ(chunks.size(), 1u);
    ASSERT_EQ(chunks[0].QuadCount(), 3);
    const GrassVertex* v = chunks[0].verts.data();
    const float h = v[2].y - v[1].y;
    EXPECT_NEAR(v[0].y, ground - 0.5f * h, 1e-4f);
    float a0 = std::atan2(v[1].z - v[0].z, v[1].x - v[0].x);
    for (int q = 1; q < 3; ++q) {
        const GrassVertex* b = v + 4 * q;
        const float a = std::atan2(b[1].z - b[0].z, b[1].x - b[0].x);
        float step = std::remainder(a - a0, 2.0f * 3.14159265f);
        EXPECT_NEAR(std::fabs(step), 3.14159265f / 3.0f, 1e-3f);
        a0 = a;
    }
    const float uv[8] = {0.1f, 0.0f, 0.1f, 1.0f, 0.6f, 1.0f, 0.6f, 0.0f};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(v[k].u, uv[2 * k]);
        EXPECT_EQ(v[k].v, uv[2 * k + 1]);
    }
    // Half width: (vBottom - vTop) / (uRight - uLeft) x ratio x h x 0.5.
    const float w = std::hypot(v[1].x - v[0].x, v[1].z - v[0].z) * 0.5f;
    EXPECT_NEAR(w, (1.0f / 0.5f) * 2.0f * h * 0.5f, 1e-4f);
}

TEST_F(GrassPatchTest, WithoutLastTheBlocksHangUnderThePatchParent) {
    ENTBASE* group = Make("EntNull", root, "Group");
    GrassPatch* p = Make<GrassPatch>("GrassPatch", group, "Field");
    std::strcpy(p->posFile, FoliageFile("Field.fol", {Rec(0, 1.0f, 1.0f)}).c_str());
    p->Start();
    ASSERT_EQ(Meshes(group).size(), 1u);
    EXPECT_EQ(EntGetParent(Meshes(group)[0]), group);
    EXPECT_EQ(LogCount("no \"Last\""), 1);
}

TEST_F(GrassPatchTest, DamagedFilesSkipBadRecordsAndSplitLargeBlocks) {
    Make("EntNull", root, "Last");
    std::vector<FoliageRecord> recs = {Rec(12, 1, 1), Rec(255, 1, 1), Rec(0, -5.0f, 1.0f),
                                       Rec(0, 10000.0f, 1.0f), Rec(0, std::nanf(""), 1.0f)};
    // 20,000 single-quad plants in one block: two meshes.
    for (int i = 0; i < 20000; ++i)
        recs.push_back(Rec(0, 1.0f + float(i % 100) * 0.1f, 1.0f + float(i / 100) * 0.05f));
    GrassPatch* p = Patch();
    std::strcpy(p->posFile, FoliageFile("Bad.fol", recs, 1).c_str());
    p->layers[0].density = 1;
    p->Start();
    EXPECT_NE(LogText().find("Grass: 5 foliage records skipped"), std::string::npos);
    const std::vector<GrassMesh*> meshes = Meshes(root);
    ASSERT_EQ(meshes.size(), 2u);
    EXPECT_EQ(meshes[0]->block->mesh.vertexCount, uint32_t(4 * FOLIAGE_MAX_QUADS));
    EXPECT_EQ(meshes[1]->block->mesh.vertexCount, uint32_t(4 * (20000 - FOLIAGE_MAX_QUADS)));

    // A block size below 1 is refused; the one before it stays.
    p->blockSize = 0;
    p->VarsChanged();
    EXPECT_EQ(p->blockSize, 16);
    EXPECT_NE(LogText().find("blockSize 0 refused"), std::string::npos);
}

TEST_F(GrassPatchTest, SettingsThatWouldDivideByZeroPlantNothing) {
    FoliageLayer layers[FOLIAGE_LAYERS];
    layers[0].minHeight = layers[0].maxHeight = 0.0f;
    layers[1].type = 1;
    layers[1].vTop = layers[1].vBottom = 0.5f;
    layers[2].type = 1; // no texture: ratio 0, blades of width 0
    layers[3].type = 1;
    layers[3].minHeight = -1.0f; // tufts of no height or hanging below the ground
    layers[3].maxHeight = 0.0f;
    FoliageSettings s;
    s.layers = layers;
    const std::vector<GrassChunk> chunks = FoliageBuildFromRecords(
        {Rec(0, 1, 1), Rec(1, 2, 2), Rec(2, 3, 3), Rec(3, 4, 4), Rec(3, 5, 5)}, s);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].QuadCount(), 2) << "only layer c's tuft: plants need a height";
    for (const GrassVertex& v : chunks[0].verts)
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.u));
    EXPECT_NE(LogText().find("1 layers with a zero divisor"), std::string::npos);
}

TEST_F(GrassPatchTest, CompileStopsAtTheBufferAndSmallMapsStayInside) {
    GrassPatch* p = Patch("Big");
    const std::string full = GrassMap("Full.tga", 256, 256, [](int, int) { return true; });
    std::strcpy(p->layers[0].grassMapFile, full.c_str());
    EXPECT_EQ(p->Compile(), FOLIAGE_MAX_RECORDS);
    EXPECT_EQ(ReadTextFile(dir / "Big.fol").size(), size_t(FOLIAGE_MAX_RECORDS) * 20u);
    EXPECT_NE(LogText().find("compile stopped at 50000 records"), std::string::npos);

    // A map that is no TGA contributes nothing; a small one marks only its own pixels.
    WriteTextFile(dir / "Junk.tga", "not an image");
    FoliageLayer layers[FOLIAGE_LAYERS];
    std::strcpy(layers[0].grassMapFile, (dir / "Junk.tga").c_str());
    const std::string small = GrassMap("Small.tga", 3, 2, [](int, int) { return true; });
    std::strcpy(layers[1].grassMapFile, small.c_str());
    const std::vector<uint8_t> map = FoliageCombineMaps(layers);
    int lit = 0;
    for (uint8_t b : map) {
        EXPECT_EQ(b & 1, 0);
        lit += b ? 1 : 0;
    }
    EXPECT_EQ(lit, 6);
}

} // namespace

namespace {

// The meadow the data build compiles: records of layers a and b inside the meadow's square.
TEST(GeneratedMeadow, CompiledFileHoldsTheMeadowsPlants) {
    std::vector<FoliageRecord> records;
    const std::string path = std::string(FAIRLARK_BUILD_DATA_DIR) + "Meadow.fol";
    ASSERT_GT(FoliageRead(path.c_str(), &records), 50) << path;
    for (const FoliageRecord& r : records) {
        EXPECT_LE(r.layer, 1);
        EXPECT_TRUE(r.x >= 524.0f && r.x < 556.0f && r.z >= 516.0f && r.z < 552.0f);
    }
    I3dImage* texture =
        ImgLoadTga((std::string(FAIRLARK_BUILD_DATA_DIR) + "Grass/Grass.tga").c_str(), nullptr);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->width / texture->height, 2) << "tufts take their width from the ratio";
    ImgFree(texture);
}

} // namespace
