// Whole model files: loading the top-level records, indexing, attachment-point properties and
// hazard points, the axis conversion, welding, and files cut or broken anywhere.
#include "gi/GM_ModelFile.h"
#include "gi/GM_AttachmentPt.h"
#include "gi/GM_Light.h"
#include "gi/GM_List.h"
#include "gi/GM_Material.h"
#include "gi/GM_Scene.h"
#include "gi/GM_Skeleton.h"
#include "gi/GM_Texture.h"

#include "gi/giDebug.h"
#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

// 1 or 0 from reading the model; -1 when the file or its header did not open.
int Load(GM_ModelFile& m, const std::string& path) {
    GM_Stream s;
    if (!s.OpenRead(path.c_str(), GM_STREAM_BINARY) || !s.ReadBinaryHeader()) return -1;
    return m.Read(&s);
}

GM_AttachmentPt* Point(const char* name, const char* user = nullptr) {
    auto* p = new GM_AttachmentPt();
    p->SetName(name);
    p->userData.Set(user);
    return p;
}

// The cube of corners (+-1, +-1, +-1), vertex i = x | y << 1 | z << 2, two triangles a side;
// flat normals per side, or each corner's own direction when shared.
GM_GeoObject* Cube(bool sharedNormals) {
    auto* g = new GM_GeoObject();
    g->SetName("Cube");
    GM_Mesh& m = g->mesh;
    for (int i = 0; i < 8; ++i)
        m.vertices.push_back({(float)((i & 1) * 2 - 1), (float)((i >> 1 & 1) * 2 - 1),
                              (float)((i >> 2 & 1) * 2 - 1)});
    const int quads[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
    const giVec3 sides[6] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
    for (int q = 0; q < 6; ++q) {
        for (const auto& t : {std::array<int, 3>{0, 1, 2}, std::array<int, 3>{0, 2, 3}}) {
            GM_MeshFace f{(uint32_t)quads[q][t[0]], (uint32_t)quads[q][t[1]],
                          (uint32_t)quads[q][t[2]], 0};
            m.faces.push_back(f);
            GM_FaceNormal n;
            n.face = sides[q];
            const uint32_t v[3] = {f.a, f.b, f.c};
            for (int k = 0; k < 3; ++k)
                n.corner[k] = sharedNormals ? m.vertices[v[k]] : sides[q];
            m.normals.push_back(n);
        }
    }
    return g;
}

} // namespace

TEST(GM_ModelFile, TopLevelRecordsLoadOnceEach) {
    TempDir dir;
    std::string path = dir / "m.gmf";
    GM_Scene scene;
    scene.lastFrame = 30;
    {
        WriteModel(path, {}, {});
        GM_ModelFile m;
        EXPECT_EQ(Load(m, path), 1) << "an empty model is a model";
        EXPECT_EQ(m.Scene(), nullptr);
        EXPECT_EQ(m.Objects(), nullptr);
        EXPECT_EQ(m.FindHazardPoint(0), nullptr);
        EXPECT_EQ(m.HazardPointFlagCount(0), 0);
    }
    {
        // An unknown word before the scene: logged, and the next word is read as a record type.
        std::string bytes = WriteModel(path, {&scene}, {});
        bytes.insert(19, GmfBytes().U32(99).b);
        WriteTextFile(path, bytes);
        GM_ModelFile m;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Load(m, path), 1);
        EXPECT_NE(testing::internal::GetCapturedStderr().find(
                      "\n*********ERRONEOUS DATA IN MODEL FILE********\n"),
                  std::string::npos);
        ASSERT_NE(m.Scene(), nullptr);
        EXPECT_EQ(m.Scene()->lastFrame, 30);
    }
    GM_MaterialList materials;
    auto* mat = new GM_Material();
    mat->SetName("Paint");
    materials.Append(mat);
    GM_ObjectList objects;
    objects.Append(Point("att-point1"));
    struct Case {
        std::string bytes;
        const char* log;
    } cases[] = {
        {WriteModel(path, {&scene, &scene}, {}), "Scene already generated\n"},
        {WriteModel(path, {}, {&materials, &materials}), "Material List already generated\n"},
        {WriteModel(path, {}, {&objects, &objects}), ""},
    };
    for (const Case& c : cases) {
        WriteTextFile(path, c.bytes);
        GM_ModelFile m;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Load(m, path), 0) << "a second top-level record of one kind fails the load";
        EXPECT_NE(testing::internal::GetCapturedStderr().find(c.log), std::string::npos) << c.log;
    }
}

TEST(GM_ModelFile, IndexingKeepsTheFirst32OfAKind) {
    TempDir dir;
    GM_ObjectList objects;
    for (int i = 0; i < 33; ++i) {
        auto* l = new GM_Light();
        l->SetName(("Light" + std::to_string(i)).c_str());
        objects.Append(l);
    }
    objects.Append(Cube(false));
    objects.Append(Cube(true));
    std::string path = dir / "m.gmf";
    WriteModel(path, {}, {&objects});
    GM_ModelFile m("Models\\Lamps.gmf");
    ASSERT_EQ(Load(m, path), 1);
    EXPECT_EQ(m.ModelName(), "Models\\Lamps");
    EXPECT_EQ(m.LightCount(), 32);
    EXPECT_STREQ(m.Light(31)->Name(), "Light31");
    EXPECT_EQ(m.Light(32), nullptr);
    EXPECT_EQ(m.Light(-1), nullptr);
    EXPECT_EQ(m.GeoObjectCount(), 2);
    EXPECT_EQ(m.RootTransform(), &m.GeoObject(0)->node);
    EXPECT_EQ(m.Camera(0), nullptr);
}

TEST(GM_ModelFile, AttachmentPointProperties) {
    TempDir dir;
    GM_ObjectList objects;
    objects.Append(Point("att-point1", "type=N OS HP\r\nset=1 2 3\rsize=4\rsize=12\r"));
    objects.Append(Point("att-point2", "type=W\rcolour=red blue\r"));
    objects.Append(Point("att-point3", "set=9 1\rset=3 7 1\r"));
    objects.Append(Point("Ride_HazardPoint_01", "type=WA"));
    objects.Append(Point("hazard_only"));
    objects.Append(Point("second hazardpoint", "type=SP SB HP"));
    std::string path = dir / "m.gmf";
    WriteModel(path, {}, {&objects});
    GM_ModelFile m;
    ASSERT_EQ(Load(m, path), 1);

    EXPECT_EQ(m.AttachmentFlags(0, 0xFFFFFFFF), 0x1u | 0x80u | 0x800u);
    EXPECT_EQ(GM_ModelFile::HazardFlagCount(m.Attachment(0)), 2);
    EXPECT_EQ(m.AttachmentFlags(1, 0x2), 0x2u) << "an unknown key's values are not flags";
    EXPECT_EQ(m.Size(), 12) << "the last size wins";

    const int32_t *first, *second;
    ASSERT_EQ(m.AttachmentSets(0, &first, &second), 1);
    EXPECT_EQ(first[0], 1);
    EXPECT_EQ(second[0], 2);
    ASSERT_EQ(m.AttachmentSets(2, &first, &second), 1) << "a set whose owner is missing adds none";
    EXPECT_EQ(first[0], -1) << "a partner that names no point leaves its slot empty";
    EXPECT_EQ(second[0], 0);
    EXPECT_EQ(m.AttachmentSets(40, &first, &second), 0);
    EXPECT_EQ(first, nullptr);

    EXPECT_EQ(m.FindHazardPoint(0), m.Attachment(3)) << "the name is upper-cased before the test";
    EXPECT_EQ(m.FindHazardPoint(1), m.Attachment(5));
    EXPECT_EQ(m.FindHazardPoint(2), nullptr) << "\"hazard\" alone is no hazard point";
    EXPECT_EQ(m.HazardPointFlagCount(1), 3);
    EXPECT_EQ(m.AttachmentName(4), "hazard_only");
    EXPECT_EQ(m.AttachmentName(6), "");
    EXPECT_EQ(m.AttachmentTransform(9).m[0][0], 1.0f) << "out of range is the identity";
}

TEST(GM_ModelFile, HostilePropertyTextStaysInBounds) {
    TempDir dir;
    std::string many, longToken(200, 'Q');
    for (int i = 0; i < 7; ++i)
        many += "set=1 2\r";
    GM_ObjectList objects;
    objects.Append(Point("att-point1", many.c_str()));
    objects.Append(Point("att-point2", ("type=" + longToken + " OS\rset=" + longToken + " 1\r" +
                                        longToken + "=1\rsize=" + longToken + "\r")
                                           .c_str()));
    std::string path = dir / "m.gmf";
    WriteModel(path, {}, {&objects});
    GM_ModelFile m;
    testing::internal::CaptureStderr();
    ASSERT_EQ(Load(m, path), 1);
    std::string log = testing::internal::GetCapturedStderr();
    const int32_t *first, *second;
    EXPECT_EQ(m.AttachmentSets(0, &first, &second), GM_AttachmentPt::kMaxSets)
        << "a sixth set is refused, not written past the tables";
    EXPECT_NE(log.find("set refused"), std::string::npos);
    EXPECT_EQ(m.AttachmentFlags(1, 0xFFFFFFFF), 0x80u) << "a long token is just an unknown one";
}

TEST(GM_ModelFile, ConvertAxesSwapsOnce) {
    TempDir dir;
    GM_ObjectList objects;
    GM_GeoObject* cube = Cube(false);
    cube->node.SetMatrix(giMatrixRotationY(0.5235988f)); // 30 degrees about the file's Y
    cube->node.tm[3][1] = 7;
    objects.Append(cube);
    std::string path = dir / "m.gmf";
    WriteModel(path, {}, {&objects});
    GM_ModelFile m;
    ASSERT_EQ(Load(m, path), 1);
    EXPECT_EQ(m.ConvertAxes(), 1);
    EXPECT_EQ(m.ConvertAxes(), 1);
    EXPECT_TRUE(m.AxesConverted());
    GM_GeoObject* g = m.GeoObject(0);
    EXPECT_EQ(g->node.tm[3][2], 7.0f) << "the translation's Y went to Z, once";
    EXPECT_EQ(g->mesh.vertices[2].z, 1.0f) << "vertex 2 is (-1, 1, -1) in the file";
    giMat44 expected = giMatrixRotationZ(-0.5235988f);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(g->node.tm[r][c], expected.m[r][c], 1e-6f)
                << "a turn about the file's Y is a turn about Z by the opposite angle";
}

TEST(GM_ModelFile, WeldingACube) {
    GM_WeldedMesh flat, shared, linear;
    std::unique_ptr<GM_GeoObject> a(Cube(false)), b(Cube(true));
    ASSERT_TRUE(GM_WeldMesh(a->mesh, flat));
    EXPECT_EQ(flat.vertexCount, 24u) << "a corner with another normal is another vertex";
    ASSERT_EQ(flat.indices.size(), 36u);
    EXPECT_EQ(flat.source[0], 0u);
    EXPECT_EQ(flat.source[1], 6u) << "corners are taken a, c, b";
    EXPECT_EQ(flat.source[2], 4u);
    EXPECT_EQ(flat.indices[3], 0u) << "the second face starts at the same corner";
    ASSERT_TRUE(GM_WeldMesh(b->mesh, shared));
    EXPECT_EQ(shared.vertexCount, 8u);
    ASSERT_TRUE(GM_WeldMesh(a->mesh, linear, true));
    EXPECT_EQ(linear.indices, flat.indices) << "hashing and searching weld alike";
    EXPECT_EQ(linear.source, flat.source);

    GM_Mesh big;
    const uint32_t faces = 23334; // 70002 distinct corners
    for (uint32_t i = 0; i < faces * 3; ++i)
        big.vertices.push_back({(float)i, 0, 0});
    for (uint32_t i = 0; i < faces; ++i)
        big.faces.push_back({3 * i, 3 * i + 1, 3 * i + 2, 0});
    big.normals.resize(faces);
    GM_WeldedMesh out;
    EXPECT_FALSE(GM_WeldMesh(big, out)) << "16-bit indices cannot number 70000 vertices";
    EXPECT_EQ(out.vertexCount, 0u);
}

TEST(GM_ModelFile, MeshesBuildWithTheirMaterials) {
    TempDir dir;
    giFileIO::Get();
    DropSharedFileIO();
    giFileIO io;
    io.Init("", "", "", ".\\", false, true);
    GM_MaterialList materials;
    auto* paint = new GM_Material();
    paint->SetName("Paint");
    materials.Append(paint);
    GM_ObjectList objects;
    GM_GeoObject* withMaterial = Cube(false);
    withMaterial->mesh.materialRef = 0;
    GM_GeoObject* beyond = Cube(true);
    beyond->mesh.materialRef = 9;
    objects.Append(withMaterial);
    objects.Append(beyond);
    GM_Scene scene;
    std::string path = dir / "Box.gmf";
    WriteModel(path, {&scene}, {&materials, &objects});

    GM_ModelFile m;
    ASSERT_EQ(m.LoadFromFile(path.c_str()), 1);
    EXPECT_EQ(m.ModelName(), dir.Path() + "Box");
    ASSERT_EQ(m.GeoObjectCount(), 2);
    ASSERT_NE(m.GeoObject(0)->welded.material, nullptr);
    EXPECT_STREQ(m.GeoObject(0)->welded.material->Name(), "Paint");
    EXPECT_EQ(m.GeoObject(1)->welded.material, nullptr) << "a reference beyond the list is none";
    EXPECT_EQ(m.GeoObject(1)->welded.vertexCount, 8u);
    EXPECT_NE(m.Scene(), nullptr);
    EXPECT_EQ(io.ManagedFiles(), std::vector<std::string>{path}) << "recorded as a managed file";
}

TEST(GM_ModelFile, AGeometryObjectWithABrokenMeshIsDropped) {
    TempDir dir;
    GM_ObjectList objects;
    GM_GeoObject* bad = Cube(false);
    bad->mesh.faces[5].b = 8; // one past the last vertex
    objects.Append(bad);
    GM_GeoObject* notMesh = Cube(false);
    notMesh->SetName("NotMesh");
    objects.Append(notMesh);
    objects.Append(Point("att-point1"));
    std::string path = dir / "m.gmf";
    std::string bytes = WriteModel(path, {}, {&objects});
    // The second object's mesh record does not carry the mesh's type id.
    size_t second = bytes.find("NotMesh");
    size_t meshId = bytes.find(GmfBytes().U32(GMID_MESH).U32(4).b, second);
    ASSERT_NE(meshId, std::string::npos);
    bytes[meshId] = (char)GMID_NODE_TM;
    WriteTextFile(path, bytes);
    GM_ModelFile m;
    ASSERT_EQ(Load(m, path), 1);
    EXPECT_EQ(m.GeoObjectCount(), 0) << "an object whose mesh failed must not be indexed";
    EXPECT_EQ(m.AttachmentCount(), 1) << "and the list goes on after it";
}

// 16-bit indices: a mesh needing more than 65535 welded vertices gets no welded data, and the
// objects after it are welded all the same.
TEST(GM_ModelFile, AMeshPastSixteenBitIndicesIsNotWelded) {
    TempDir dir;
    GM_ObjectList objects;
    auto* big = new GM_GeoObject();
    big->SetName("Big");
    const uint32_t faces = 65536 / 3 + 1; // three vertices of its own each: 65538
    for (uint32_t f = 0; f < faces; ++f) {
        for (int k = 0; k < 3; ++k)
            big->mesh.vertices.push_back({(float)f, (float)k, 0.0f});
        big->mesh.faces.push_back({3 * f, 3 * f + 1, 3 * f + 2, 0});
        GM_FaceNormal n;
        n.face = n.corner[0] = n.corner[1] = n.corner[2] = {0, 0, 1};
        big->mesh.normals.push_back(n);
    }
    objects.Append(big);
    objects.Append(Cube(true));
    const std::string path = dir / "Big.gmf";
    WriteModel(path, {}, {&objects});
    GM_ModelFile m;
    testing::internal::CaptureStderr();
    ASSERT_EQ(m.LoadFromFile(path.c_str()), 1);
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(m.GeoObjectCount(), 2);
    EXPECT_EQ(m.GeoObject(0)->welded.vertexCount, 0u);
    EXPECT_TRUE(m.GeoObject(0)->welded.indices.empty());
    EXPECT_NE(err.find("the mesh of Big cannot be welded"), std::string::npos);
    EXPECT_EQ(m.GeoObject(1)->welded.vertexCount, 8u);
}

// A file cut inside a mesh fails the mesh and the object around it: one box and one log line
// name the file and the first record that failed.
TEST(GM_ModelFile, ACutFileIsNamedOnceWithWhatWasWrong) {
    TempDir dir;
    GM_ObjectList objects;
    objects.Append(Cube(false));
    const std::string path = dir / "Adult.gmf";
    const std::string bytes = WriteModel(path, {}, {&objects});
    WriteTextFile(path, bytes.substr(0, bytes.size() - 40));
    giMessageBoxReset();
    LogCapture log;
    testing::internal::CaptureStderr();
    GM_ModelFile m;
    m.LoadFromFile(path.c_str());
    const std::string err = testing::internal::GetCapturedStderr();
    size_t boxes = 0;
    for (size_t at = err.find("[Exporter Error]"); at != std::string::npos;
         at = err.find("[Exporter Error]", at + 1))
        ++boxes;
    EXPECT_EQ(boxes, 1u) << err;
    EXPECT_NE(err.find("Error Reading GM_Mesh Data\n" + path + " is cut short or damaged."),
              std::string::npos)
        << err;
    const std::string line =
        path + ": Error Reading GM_Mesh Data: the file is cut short or damaged\n";
    const std::string text = log.Text();
    EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_EQ(text.find(path + ": Error Reading GM_GeoObject"), std::string::npos) << text;
}

TEST(GM_ModelFile, AModelCutAnywhereFailsOrStopsCleanly) {
    TempDir dir;
    GM_Scene scene;
    GM_MaterialList materials;
    auto* mat = new GM_Material();
    auto* tex = new GM_Texture();
    tex->bitmap.Set("a.tga");
    mat->textures.Append(tex);
    materials.Append(mat);
    GM_ObjectList objects;
    objects.Append(Cube(false));
    objects.Append(Point("att-point1", "type=OS\r"));
    auto* skel = new GM_Skeleton();
    skel->bones[0].weights = {{0, 1.0f}};
    objects.Append(skel);
    std::string path = dir / "m.gmf";
    std::string bytes = WriteModel(path, {&scene}, {&materials, &objects});
    for (size_t cut = 19; cut <= bytes.size(); ++cut) {
        WriteTextFile(path, bytes.substr(0, cut));
        GM_ModelFile m;
        int r = Load(m, path);
        ASSERT_GE(r, 0);
        if (r == 1) m.BuildMeshes();
        if (cut == bytes.size()) {
            EXPECT_EQ(r, 1);
            EXPECT_EQ(m.GeoObjectCount(), 1);
            EXPECT_EQ(m.AttachmentCount(), 1);
        }
    }
}
