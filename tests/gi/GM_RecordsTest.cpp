// Scene, node, mesh, geometry, attachment, primitive, collision, camera, light, data tag and
// group records: every one writes a payload of exactly its computed size and reads back equal.
#include "gi/GM_AttachmentPt.h"
#include "gi/GM_Camera.h"
#include "gi/GM_Collision.h"
#include "gi/GM_DataTag.h"
#include "gi/GM_GeoObject.h"
#include "gi/GM_Light.h"
#include "gi/GM_List.h"
#include "gi/GM_Primitive.h"
#include "gi/GM_Scene.h"

#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Written, read back (through the factory or by the record itself) and written again: the two
// byte strings must be equal, and the payload exactly the computed size.
template <class T>
std::unique_ptr<T> RoundTrip(T& o, const TempDir& dir, ReadBy how, const std::string& what) {
    std::string first = WriteRecord(o, dir / "a.gmf");
    EXPECT_FALSE(first.empty()) << what << " did not write";
    EXPECT_EQ(first.size(), 12u + o.PayloadSize()) << what
                                                   << ": the size word must count every "
                                                      "payload byte, or lists lose their place";
    std::unique_ptr<T> back = ReadRecord<T>(dir / "a.gmf", how);
    EXPECT_TRUE(back) << what << " did not read back";
    if (back) {
        EXPECT_EQ(WriteRecord(*back, dir / "b.gmf"), first) << what << " read back differently";
    }
    return back;
}

GM_Mesh TwoTriangles() {
    GM_Mesh m;
    m.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    m.faces = {{0, 1, 2, 0}, {0, 2, 3, 1}};
    m.normals.resize(2);
    for (GM_FaceNormal& n : m.normals)
        n.face = n.corner[0] = n.corner[1] = n.corner[2] = {0, 0, 1};
    m.materialRef = 0;
    return m;
}

void Name(GM_NodeTM& node, const char* name) {
    node.SetName(name);
    node.tm[3][0] = 5;
}

} // namespace

TEST(GM_Records, SceneAndNodeTransform) {
    TempDir dir;
    GM_Scene scene;
    scene.fileName.Set("park.max");
    scene.lastFrame = 100;
    scene.ticksPerFrame = 160;
    scene.background = 0x00FF8000;
    auto read = RoundTrip(scene, dir, ReadBy::Caller, "scene");
    ASSERT_TRUE(read);
    EXPECT_STREQ(read->fileName.c_str(), "park.max");
    EXPECT_EQ(read->ticksPerFrame, 160);
    float bg[4];
    read->Background(bg);
    EXPECT_FLOAT_EQ(bg[1], 128 / 255.0f) << "colours unpack low byte first";

    GM_NodeTM node;
    Name(node, "Pivot");
    auto n = RoundTrip(node, dir, ReadBy::OwnId, "node transform");
    ASSERT_TRUE(n);
    EXPECT_EQ(n->GetMatrix().m[3][0], 5.0f);
    EXPECT_EQ(n->GetMatrix().m[3][3], 1.0f);
}

TEST(GM_Records, MeshesOfEveryVersionAndLayer) {
    TempDir dir;
    GM_Mesh plain = TwoTriangles();
    RoundTrip(plain, dir, ReadBy::OwnId, "mesh without texture or colour");

    GM_Mesh full = TwoTriangles();
    full.texVerts = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    full.texFaces = {{0, 1, 2}, {0, 2, 3}};
    full.colorVerts = {{1.0f, 0.2f, 0.0f}};
    full.colorFaces = {{0, 0, 0}, {0, 0, 0}};
    full.channels = {{7, 2, 3, 0, 2, 0, 0}, {7, 3, 1, 3, 2, 2, 0}};
    full.extraTexVerts = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.5f, 0.5f, 0}};
    full.extraTexFaces = {{0, 1, 2}, {2, 1, 0}, {0, 0, 0}, {0, 0, 0}};
    full.backfaceCull = 0;
    auto back = RoundTrip(full, dir, ReadBy::OwnId, "mesh of version 4 with every layer");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->colors, std::vector<uint32_t>{0xFFFF3300u}) << "x 255, truncated";
    EXPECT_EQ(back->backfaceCull, 0u);

    GM_Mesh v3 = full;
    v3.SetVersion(3);
    back = RoundTrip(v3, dir, ReadBy::OwnId, "mesh of version 3");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->channels.size(), 2u);
    EXPECT_EQ(back->backfaceCull, 1u) << "before version 4 the word is not there: culling is on";

    GM_Mesh v2 = full;
    v2.SetVersion(2);
    back = RoundTrip(v2, dir, ReadBy::OwnId, "mesh of version 2");
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->channels.empty()) << "version 2 has no channels";
    EXPECT_EQ(back->backfaceCull, 1u);
}

TEST(GM_Records, GeometryObjectsOfVersions2To4) {
    TempDir dir;
    for (uint32_t version : {2u, 3u, 4u}) {
        GM_GeoObject g;
        g.SetVersion(version);
        g.SetName("Wheel");
        g.parent.Set("Frame");
        g.shadeVerts = 1;
        g.mesh = TwoTriangles();
        Name(g.node, "Wheel");
        auto back =
            RoundTrip(g, dir, ReadBy::Factory, "geometry object v" + std::to_string(version));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->parent.c_str() != nullptr, version >= 3) << "the parent came in version 3";
        EXPECT_EQ(back->shadeVerts, version >= 4 ? 1 : 0) << "the flag came in version 4";
        EXPECT_EQ(back->mesh.faces.size(), 2u);
    }
}

TEST(GM_Records, AttachmentPointsAndPrimitives) {
    TempDir dir;
    GM_AttachmentPt p;
    p.SetName("att-point1");
    p.userData.Set("type=N OS\r\n");
    auto back = RoundTrip(p, dir, ReadBy::Factory, "attachment point");
    ASSERT_TRUE(back);
    EXPECT_STREQ(back->userData.c_str(), "type=N OS\r\n");
    EXPECT_EQ(back->setFirst[4], -1) << "run-time slots are not written";

    GM_Primitive mesh;
    mesh.SetName("Hull");
    mesh.type = GM_Primitive::kTriangleMesh;
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    mesh.indices = {{{0, 1, 2, 0}}};
    mesh.triangles = {{0, 0, 1}};
    RoundTrip(mesh, dir, ReadBy::Factory, "triangle-mesh primitive");

    GM_Primitive sphere;
    sphere.type = 1;
    sphere.radius = 2;
    sphere.distance = 3;
    sphere.vertices = {{9, 9, 9}}; // only type 4 carries a mesh
    std::string bytes = WriteRecord(sphere, dir / "p.gmf");
    GmfBytes tail;
    tail.U32(0x40000000u).U32(0).U32(0x40400000u); // radius, normal, distance
    EXPECT_EQ(bytes.substr(bytes.size() - 12), tail.b) << "a type-1 primitive ends at distance";
}

TEST(GM_Records, CollisionShapes) {
    TempDir dir;
    GM_CollisionSphere ball;
    ball.SetName("Ball");
    ball.radius = 2.0f;
    auto b = RoundTrip(ball, dir, ReadBy::Factory, "sphere");
    EXPECT_EQ(ball.PayloadSize(), 4u + 5 + (12 + 52) + 4);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->radius, 2.0f);

    GM_CollisionBox box;
    box.length = 1, box.width = 2, box.height = 3;
    RoundTrip(box, dir, ReadBy::Factory, "box");
    GM_CollisionCylinder cyl;
    cyl.radius = 1, cyl.height = 4;
    RoundTrip(cyl, dir, ReadBy::Factory, "cylinder");
    GM_CollisionPlane plane;
    plane.length = 8, plane.width = 9;
    RoundTrip(plane, dir, ReadBy::Factory, "plane");
    GM_CollisionMesh mesh;
    mesh.mesh = TwoTriangles();
    RoundTrip(mesh, dir, ReadBy::Factory, "collision mesh");

    EXPECT_EQ(GM_CollisionCodeBit("HP"), 0x800u);
    EXPECT_EQ(GM_CollisionCodeBit("hp"), 0u) << "codes are exact";
    EXPECT_EQ(GM_CollisionHasCode(0x880, "OS"), 0x80u);
    EXPECT_EQ(GM_CollisionHasCode(0xFFFF, "XX"), 0u);
}

TEST(GM_Records, CamerasLightsTagsAndGroups) {
    TempDir dir;
    for (uint32_t type : {0u, 1u}) {
        GM_Camera cam;
        cam.type = type;
        cam.fov = 0.8f;
        Name(cam.target, "Target");
        std::string bytes = WriteRecord(cam, dir / "c.gmf");
        EXPECT_EQ(bytes.find("Target") != std::string::npos, type != 0)
            << "only a target camera writes its target";
        auto back = RoundTrip(cam, dir, ReadBy::Factory, "camera");
        ASSERT_TRUE(back);
        EXPECT_EQ(back->fov, 0.8f);
    }
    for (uint32_t version : {2u, 3u}) {
        for (uint32_t target : {0u, 1u}) {
            GM_Light light;
            light.SetVersion(version);
            light.targetFlag = target;
            light.useFarAtten = true;
            light.color = 0xFFFFEE;
            auto back = RoundTrip(light, dir, ReadBy::Factory, "light");
            ASSERT_TRUE(back);
            EXPECT_EQ(back->useFarAtten, version >= 3) << "version 2 has no far attenuation";
            EXPECT_EQ(back->aspect, 1.0f);
        }
    }
    for (size_t n : {0u, 5u}) {
        GM_DataTag tag;
        tag.SetName("Tag");
        tag.data.assign(n, 0xAB);
        auto back = RoundTrip(tag, dir, ReadBy::Factory, "data tag");
        ASSERT_TRUE(back);
        EXPECT_EQ(back->data.size(), n);
    }
    GM_GenericGroup group;
    group.SetName("Group");
    RoundTrip(group, dir, ReadBy::Caller, "generic group"); // not made by the factory
}

// In an object list, an owner whose nested transform does not read is dropped whole and the
// record after it still reads; a group, read by its caller, is refused.
TEST(GM_Records, AnOwnerWhoseTransformFailsIsRefusedAndTheListGoesOn) {
    TempDir dir;
    GM_DataTag after;
    after.SetName("After");
    const std::string good = WriteRecord(after, dir / "after.gmf");
    // The owner's bytes with its transform's type id spoiled.
    auto broken = [&](GM_Object& owner, GM_NodeTM& node) {
        node.SetName("Nd");
        std::string bytes = WriteRecord(owner, dir / "owner.gmf");
        const size_t name = bytes.find(std::string("Nd", 3));
        EXPECT_NE(name, std::string::npos);
        if (name == std::string::npos || name < 16) return std::string();
        uint32_t id = 0;
        std::memcpy(&id, &bytes[name - 16], 4);
        EXPECT_EQ(id, (uint32_t)GMID_NODE_TM);
        bytes[name - 16] = 99;
        return bytes;
    };
    GM_Camera cam;
    GM_Light light;
    GM_DataTag tag;
    GM_GeoObject geo;
    geo.mesh = TwoTriangles();
    const std::pair<GM_Object*, GM_NodeTM*> owners[] = {
        {&cam, &cam.node}, {&light, &light.node}, {&tag, &tag.node}, {&geo, &geo.node}};
    for (const auto& [owner, node] : owners) {
        GmfBytes g = GmfBytes().U32(2).U32(0).U32(2);
        g.Raw(broken(*owner, *node)).Raw(good);
        WriteTextFile(dir / "list.gmf", g.b);
        GM_Stream s;
        ASSERT_EQ(s.OpenRead((dir / "list.gmf").c_str(), GM_STREAM_BINARY), 1);
        GM_ObjectList list;
        EXPECT_EQ(list.Read(&s), 1);
        ASSERT_EQ(list.Count(), 1) << "type " << owner->TypeId() << " was kept half-read";
        EXPECT_STREQ(list.First()->Name(), "After");
    }
    GM_GenericGroup group;
    WriteTextFile(dir / "group.gmf", broken(group, group.node));
    EXPECT_EQ(ReadRecord<GM_GenericGroup>(dir / "group.gmf", ReadBy::Caller), nullptr);
}

TEST(GM_Records, AMeshTextWritesItsEmptyLayersToo) {
    TempDir dir;
    GM_Mesh m = TwoTriangles();
    const std::string text = WriteRecord(m, dir / "m.gma", GM_STREAM_TEXT);
    for (const char* line : {"*MESH_NUMTVERTEX\t0\n", "*MESH_TVERTLIST\n", "*MESH_NUMTVFACES\t0\n",
                             "*MESH_NUMCVERTEX\t0\n", "*MESH_CVERTLIST\n", "*MESH_NUMCVFACES\t0\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(GM_Records, ReadersRefuseBadMeshes) {
    TempDir dir;
    auto refused = [&](GM_Mesh m, const char* why) {
        // The writer does not look at index values, so the bad mesh reaches the file.
        ASSERT_NE(WriteRecord(m, dir / "m.gmf"), "") << why;
        EXPECT_EQ(ReadRecord<GM_Mesh>(dir / "m.gmf", ReadBy::OwnId), nullptr) << why;
    };
    GM_Mesh m = TwoTriangles();
    m.faces[1].c = 4;
    refused(m, "a face index >= the vertex count");
    m = TwoTriangles();
    m.texVerts = {{0, 0, 0}};
    m.texFaces = {{0, 0, 1}, {0, 0, 0}};
    refused(m, "a texture face beyond the texture vertices");
    m = TwoTriangles();
    m.colorVerts = {{1, 1, 1}};
    m.colorFaces = {{0, 0, 0}, {0, 2, 0}};
    refused(m, "a colour face beyond the colour vertices");
    m = TwoTriangles();
    m.channels = {{0, 1, 2, 0, 1, 0, 0}};
    m.extraTexVerts = {{0, 0, 0}, {1, 1, 1}};
    m.extraTexFaces = {{0, 1, 2}};
    refused(m, "a channel face beyond its slice");

    // Counts that disagree with the payload: a face count far beyond the bytes there.
    GmfBytes g;
    g.U32(GMID_MESH).U32(4).U32(24).U32(0).U32(0).U32(0x7FFFFFFF).U32(0).U32(0).U32(0xFFFFFFFF);
    WriteTextFile(dir / "big.gmf", g.b);
    EXPECT_EQ(ReadRecord<GM_Mesh>(dir / "big.gmf", ReadBy::OwnId), nullptr);
    GmfBytes neg;
    neg.U32(GMID_MESH).U32(4).U32(24).U32(0).U32(-1).U32(0).U32(0).U32(0).U32(0xFFFFFFFF);
    WriteTextFile(dir / "neg.gmf", neg.b);
    EXPECT_EQ(ReadRecord<GM_Mesh>(dir / "neg.gmf", ReadBy::OwnId), nullptr) << "a negative count";

    GM_Mesh inconsistent = TwoTriangles();
    inconsistent.normals.pop_back();
    EXPECT_EQ(WriteRecord(inconsistent, dir / "w.gmf"), "") << "the writer refuses it too";
}
