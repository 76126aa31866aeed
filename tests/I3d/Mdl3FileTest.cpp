// The ".md3" layout and the loader: a file built by hand at the format's offsets against the
// tool's output, files the loader must refuse, deep and wide trees, the preparation at load,
// and every model the build generates.
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3Ops.h"
#include "I3d/Mdl3Draw.h"
#include "engine/Memory.h"
#include "tests/I3d/ModelFiles.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>

namespace {

// Little-endian writes at raw offsets, independent of the loader's and the tool's layout code.
struct Bytes {
    std::vector<uint8_t> b;
    explicit Bytes(size_t n) : b(n, 0) {}
    void U32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = uint8_t(v >> (8 * i));
    }
    void F32(size_t at, float f) {
        uint32_t u;
        std::memcpy(&u, &f, 4);
        U32(at, u);
    }
    void Floats(size_t at, std::initializer_list<float> fs) {
        for (float f : fs)
            F32(at, f), at += 4;
    }
    void Str(size_t at, const char* s) { std::memcpy(&b[at], s, std::strlen(s)); }
};

const char* const kTinyScene = R"(
model Tiny
material Paint diffuse 0.5 0.25 1 1
node Root
node Leaf parent Root translate 0 0 2 tri -1 0 0 0 0.5 0 1 0 0 material Paint
)";

// Header at 0, nodes at 96 and 516, the material at 936, vertices at 1212, indices at 1332.
constexpr size_t kRoot = 96, kLeaf = 516, kPaint = 936, kVerts = 1212, kIndices = 1332;

std::vector<uint8_t> TinyByHand() {
    Bytes f(1338);
    f.Str(0, "Tiny");
    f.U32(32, 2);
    f.U32(36, 1), f.U32(40, kPaint);
    f.U32(44, 2), f.U32(48, kRoot);
    f.U32(52, 3), f.U32(56, kVerts);
    f.U32(60, 3), f.U32(64, kIndices);

    f.Str(kRoot, "Root");
    f.U32(kRoot + 48, 1);
    f.U32(kRoot + 72, 0x40); // COLLISION; no triangles: not VISIBLE
    f.Floats(kRoot + 76, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    f.Floats(kRoot + 256, {-1, 0, 2, 1, 0.5f, 2}); // the leaf's triangle, moved by its Matrix
    f.U32(kRoot + 284, 0xFFFFFFFFu);

    f.Str(kLeaf, "Leaf");
    f.U32(kLeaf + 56, 2);    // maxVertIdx
    f.U32(kLeaf + 72, 0x45); // VISIBLE, NODETRANSFORM, COLLISION
    f.Floats(kLeaf + 76, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 2, 1});
    f.U32(kLeaf + 252, 1);
    f.Floats(kLeaf + 256, {-1, 0, 0, 1, 0.5f, 0});
    f.F32(kLeaf + 316, std::sqrt(1.25f)); // the sphere centre stays (0, 0, 0)

    f.Str(kPaint, "Paint");
    f.Floats(kPaint + 32, {1, 1, 1, 1, 0.5f, 0.25f, 1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 10});
    for (size_t slot : {136, 172, 208})
        f.U32(kPaint + slot, 0xFFFFFFFFu);
    f.Floats(kPaint + 212, {1, 1});
    f.Floats(kPaint + 224, {1, 1});

    f.Floats(kVerts, {-1, 0, 0, 0, 0, -1, 0, 0});
    f.Floats(kVerts + 40, {0, 0.5f, 0, 0, 0, -1, 1, 0});
    f.Floats(kVerts + 80, {1, 0, 0, 0, 0, -1, 0, 1});
    f.b[kIndices + 2] = 1, f.b[kIndices + 4] = 2;
    return f.b;
}

class Mdl3File : public ::testing::Test {
  protected:
    void SetUp() override { m_blocks = MemLiveBlocks(); }
    void TearDown() override {
        EXPECT_EQ(Mdl3List(), nullptr) << "a test left a model loaded";
        EXPECT_EQ(MemLiveBlocks(), m_blocks) << "a model or a refused file left memory behind";
    }
    MDL3* Read(const std::vector<uint8_t>& bytes, const char* file = "Tiny.md3") {
        return Mdl3Read(WriteBytes(m_dir, file, bytes).c_str(), 0);
    }

    TempDir m_dir;
    int64_t m_blocks = 0;
};

TEST_F(Mdl3File, TheToolWritesExactlyTheLayoutBuiltByHand) {
    const std::vector<uint8_t> tool = MdlModelBytes(BuildModel(kTinyScene)), hand = TinyByHand();
    ASSERT_EQ(tool.size(), hand.size());
    for (size_t i = 0; i < hand.size(); ++i)
        ASSERT_EQ(tool[i], hand[i]) << "first difference at byte " << i;
}

TEST_F(Mdl3File, AHandBuiltFileLoadsWithItsTreeMaterialsAndRootDistances) {
    MDL3* m = Read(TinyByHand(), "tiny.md3");
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->name, "TINY") << "the name is the file title, upper-cased";
    EXPECT_EQ(m->storage, 1);
    EXPECT_EQ(m->refCount, 1);
    EXPECT_EQ(Mdl3List(), m);
    MDL3NODE &root = m->nodes[0], &leaf = m->nodes[1];
    EXPECT_EQ(root.child, &leaf);
    EXPECT_EQ(leaf.parent, &root);
    EXPECT_TRUE(!root.parent && !root.next && !root.prev && !leaf.next && !leaf.prev &&
                !leaf.child);
    EXPECT_EQ(root.material, nullptr);
    ASSERT_EQ(leaf.material, &m->materials[0]);
    EXPECT_STREQ(leaf.material->name, "Paint");
    EXPECT_EQ(leaf.material->diffuse[1], 0.25f);
    EXPECT_EQ(leaf.material->diffuseSlot, -1);
    EXPECT_EQ(leaf.material->detailTile[1], 1.0f);
    EXPECT_EQ(root.flags, 0x40u);
    EXPECT_EQ(leaf.flags, 0x45u);
    EXPECT_EQ(leaf.Matrix.m[14], 2.0f);
    EXPECT_EQ(m->verts[1].pos.y, 0.5f);
    EXPECT_EQ(m->verts[2].v, 1.0f);
    EXPECT_EQ(m->indices[2], 2);
    const float d = std::sqrt(4.25f); // the root box's diagonal
    EXPECT_FLOAT_EQ(root.maxDist, 20 * d);
    EXPECT_FLOAT_EQ(root.fadeRange, 2 * d);
    EXPECT_EQ(m->vb, nullptr) << "read with no device: no buffers";
    EXPECT_EQ(Mdl3Release(m), 0);
}

TEST_F(Mdl3File, FilesBreakingTheirOwnCountsAreRefused) {
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"empty file", [](Bytes& f) { f.b.clear(); }},
        {"shorter than the header", [](Bytes& f) { f.b.resize(95); }},
        {"cut short", [](Bytes& f) { f.b.resize(1337); }},
        {"no nodes", [](Bytes& f) { f.U32(44, 0); }},
        {"node array past the end", [](Bytes& f) { f.U32(48, 1000); }},
        {"material count past the end", [](Bytes& f) { f.U32(36, 2); }},
        {"a count that overflows 32 bits", [](Bytes& f) { f.U32(60, 0xFFFFFFFFu); }},
        {"material id past the materials", [](Bytes& f) { f.U32(kLeaf + 284, 1); }},
        {"triangles past the indices", [](Bytes& f) { f.U32(kLeaf + 252, 2); }},
        {"index run starting past its room", [](Bytes& f) { f.U32(kLeaf + 60, 1); }},
        {"negative triangle count", [](Bytes& f) { f.U32(kLeaf + 252, 0xFFFFFFFFu); }},
        {"index past the vertices", [](Bytes& f) { f.b[kIndices + 4] = 3; }},
        {"index outside its node's range", [](Bytes& f) { f.U32(kLeaf + 56, 1); }},
        {"vertex range past the vertices", [](Bytes& f) { f.U32(kLeaf + 56, 3); }},
        {"root claiming two children", [](Bytes& f) { f.U32(kRoot + 48, 2); }},
        {"root claiming a million children", [](Bytes& f) { f.U32(kRoot + 48, 1000000); }},
        {"a record the tree leaves unused", [](Bytes& f) { f.U32(kRoot + 48, 0); }},
        {"NaN in a matrix", [nan](Bytes& f) { f.F32(kLeaf + 76, nan); }},
        {"infinity in a vertex", [](Bytes& f) { f.F32(kVerts + 4, INFINITY); }},
    };
    for (const Case& c : cases) {
        Bytes f(0);
        f.b = TinyByHand();
        c.spoil(f);
        EXPECT_EQ(Read(f.b), nullptr) << c.what;
    }
    EXPECT_EQ(Mdl3Read((m_dir / "Missing.md3").c_str(), 1), nullptr);
    WriteBytes(m_dir, "!Tiny.md3", TinyByHand());
    EXPECT_EQ(Mdl3Load((m_dir / "!Tiny.md3").c_str(), 1), nullptr) << "a title beginning with !";
    EXPECT_EQ(Mdl3Load(m_dir.Path().c_str(), 1), nullptr) << "an empty title";
    EXPECT_EQ(Mdl3Load(nullptr, 1), nullptr);
}

TEST_F(Mdl3File, SixteenBitIndicesReachExactly65536Vertices) {
    MdlModel model = BuildModel(kTinyScene);
    model.verts.resize(MDL3_MAX_VERTS);
    MDL3* m = Read(MdlModelBytes(model));
    ASSERT_NE(m, nullptr) << "65536 vertices are all reachable";
    Mdl3Release(m);
    model.verts.resize(MDL3_MAX_VERTS + 1);
    EXPECT_EQ(Read(MdlModelBytes(model)), nullptr);
}

// A chain as deep as the file is long must not reach the machine stack in linking, finding,
// drawing decisions or picking.
TEST_F(Mdl3File, AHundredThousandNodeChainLoadsAndIsWalkedWithoutRecursion) {
    MdlModel model = BuildModel(kTinyScene);
    const MDL3NODE leaf = model.nodes[1];
    model.nodes.assign(100000, model.nodes[0]);
    for (size_t i = 0; i < model.nodes.size(); ++i)
        std::snprintf(model.nodes[i].name, 32, "N%zu", i);
    model.nodes.back() = leaf;
    std::strcpy(model.nodes.back().name, "Deepest");
    MDL3* m = Read(MdlModelBytes(model));
    ASSERT_NE(m, nullptr);
    MDL3NODE* deepest = Mdl3FindNode(&m->nodes[0], "Deepest");
    ASSERT_EQ(deepest, &m->nodes[99999]);
    EXPECT_EQ(deepest->parent, &m->nodes[99998]);
    const VECTOR3 a = {0, 0.1f, -5}, b = {0, 0.1f, 5};
    VECTOR3 hit = {};
    EXPECT_EQ(Mdl3Pick(m, &m->nodes[0], &a, &b, &hit, &kIdentity), 1);
    EXPECT_FLOAT_EQ(hit.z, 2.0f);
    Mdl3Release(m);
}

TEST_F(Mdl3File, AStoredPreparationIsKeptButTheRootDistancesAreNot) {
    MdlModel model = BuildModel(kTinyScene);
    MDL3NODE& leaf = model.nodes[1];
    leaf.flags = MDL3_VISIBLE | MDL3_CASTSHADOW; // no NODETRANSFORM despite its Matrix
    leaf.boundsMin = {5, 5, 5}, leaf.boundsMax = {6, 6, 6};
    leaf.sphereCentre = {7, 7, 7};
    leaf.radius = 9, leaf.maxDist = 33, leaf.fadeRange = 3, leaf.minDist = 1;
    model.nodes[0].maxDist = 123, model.nodes[0].fadeRange = 4;
    MDL3* m = Read(MdlModelBytes(model));
    ASSERT_NE(m, nullptr);
    const MDL3NODE& l = m->nodes[1];
    EXPECT_EQ(l.flags, uint32_t(MDL3_VISIBLE | MDL3_CASTSHADOW));
    EXPECT_EQ(l.boundsMax.y, 6.0f);
    EXPECT_EQ(l.sphereCentre.z, 7.0f);
    EXPECT_EQ(l.radius, 9.0f);
    EXPECT_EQ(l.maxDist, 33.0f);
    EXPECT_EQ(l.minDist, 1.0f);
    EXPECT_FLOAT_EQ(m->nodes[0].maxDist, 20 * std::sqrt(4.25f)) << "always recomputed";
    EXPECT_FLOAT_EQ(m->nodes[0].fadeRange, 2 * std::sqrt(4.25f));
    Mdl3Release(m);
}

TEST_F(Mdl3File, PreparingAtLoadSetsFlagsSpheresBoundsAndTheRootBox) {
    MdlModel model = BuildModel(R"(
model Prep
storage 0
node Root
node Group  parent Root
node Turned parent Group  rotate-z 90 translate 1 0 0
node Part   parent Turned translate 0 2 0  tri -1 0 0 1 0 0 0 3 0
)");
    for (MDL3NODE& n : model.nodes) { // nothing prepared: the loader must do it all
        n.flags = 0;
        n.boundsMin = n.boundsMax = n.sphereCentre = {9, 9, 9};
        n.radius = 9;
    }
    MDL3* m = Read(MdlModelBytes(model));
    ASSERT_NE(m, nullptr);
    MDL3NODE *root = &m->nodes[0], *group = &m->nodes[1], *turned = &m->nodes[2];
    MDL3NODE* part = &m->nodes[3];
    EXPECT_EQ(root->flags, 0x40u) << "no triangles: not VISIBLE";
    EXPECT_EQ(group->flags, 0x40u) << "an identity Matrix: no NODETRANSFORM";
    EXPECT_EQ(group->child, turned) << "a node without triangles keeps its children";
    EXPECT_EQ(turned->flags, 0x44u);
    EXPECT_EQ(part->flags, 0x45u) << "COLLISION is ORed into every node, whatever was stored";

    // Ritter: the y extremes are widest; (1, 0, 0) lies outside and grows the sphere.
    EXPECT_NEAR(part->sphereCentre.x, -0.30902f, 1e-4f);
    EXPECT_NEAR(part->sphereCentre.y, 1.30902f, 1e-4f);
    EXPECT_EQ(part->sphereCentre.z, 0.0f);
    for (int i = 0; i < 3; ++i)
        EXPECT_LE(v3::Length(v3::Sub(m->verts[i].pos, part->sphereCentre)), 1.8513f)
            << "Ritter's grown radius, (sqrt(4.5) + sqrt(2.5)) / 2";
    EXPECT_EQ(part->boundsMax.y, 3.0f);
    EXPECT_FLOAT_EQ(part->radius, std::sqrt(10.0f));
    EXPECT_EQ(turned->radius, 0.0f);

    // The root box: the triangle through Part, Turned, Group and Root.
    Mat4 chain;
    Mat4Mul(&part->Matrix, &turned->Matrix, &chain);
    VECTOR3 lo = {1e9f, 1e9f, 1e9f}, hi = {-1e9f, -1e9f, -1e9f};
    for (int i = 0; i < 3; ++i) {
        VECTOR3 p;
        Mat4XformPoint(&m->verts[i].pos, &chain, &p);
        lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z)};
        hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z)};
    }
    EXPECT_FLOAT_EQ(root->boundsMin.x, lo.x);
    EXPECT_FLOAT_EQ(root->boundsMin.y, lo.y);
    EXPECT_FLOAT_EQ(root->boundsMax.x, hi.x);
    EXPECT_FLOAT_EQ(root->boundsMax.y, hi.y);
    EXPECT_FLOAT_EQ(hi.x - lo.x, 3.0f) << "turned a quarter: the triangle's height lies along x";
    Mdl3Release(m);
}

TEST_F(Mdl3File, NodesAreFoundInPreOrderAndMaterialsIgnoringCase) {
    MdlModel model = BuildModel(R"(
model Find
material Paint
node Root
node A   parent Root
node A1  parent A
node B   parent Root
node B1  parent B
)");
    std::strcpy(model.nodes[4].name, "A1"); // a second A1, later in pre-order
    MDL3* m = Read(MdlModelBytes(model));
    ASSERT_NE(m, nullptr);
    MDL3NODE* root = &m->nodes[0];
    EXPECT_EQ(Mdl3FindNode(root, "A1"), &m->nodes[2]) << "the first in pre-order";
    EXPECT_EQ(Mdl3FindNode(root, "a1"), nullptr) << "node names match exactly";
    EXPECT_EQ(Mdl3FindNode(&m->nodes[2], "B"), nullptr) << "a leaf's siblings are not searched";
    EXPECT_EQ(Mdl3FindNode(&m->nodes[1], "B"), nullptr) << "nor its subtree's siblings";
    EXPECT_EQ(Mdl3FindNode(root, "B"), &m->nodes[3]);
    EXPECT_EQ(Mdl3FindMaterial(m, "PAINT"), &m->materials[0]);
    EXPECT_EQ(Mdl3FindMaterial(m, "Pain"), nullptr);
    EXPECT_EQ(Mdl3FindMaterial(nullptr, "Paint"), nullptr);

    const Mat4 turn = Translation(1, 2, 3);
    Mdl3NodeSetOverride(&m->nodes[3], &turn);
    EXPECT_EQ(m->nodes[3].override, &turn);
    EXPECT_EQ(m->nodes[3].flags & MDL3_OVERRIDE, uint32_t(MDL3_OVERRIDE));
    Mdl3NodeClearOverride(&m->nodes[3]);
    EXPECT_EQ(m->nodes[3].override, nullptr);
    EXPECT_EQ(m->nodes[3].flags & MDL3_OVERRIDE, 0u);
    Mdl3NodeSetOverride(nullptr, &turn);
    Mdl3NodeClearOverride(nullptr);
    Mdl3Release(m);

    MDL3* one = Read(MdlModelBytes(BuildModel("model One\nnode Only box 1 1 1\n")));
    ASSERT_NE(one, nullptr);
    const MDL3NODE& only = one->nodes[0];
    EXPECT_TRUE(!only.parent && !only.next && !only.prev && !only.child && only.numChildren == 0)
        << "a tree of one node has no links";
    Mdl3Release(one);
}

// ---- the generated models ----

std::vector<std::string> GeneratedModels() {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(FAIRLARK_BUILD_DATA_DIR, ec))
        if (e.is_regular_file() && e.path().extension() == ".md3") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

class GeneratedModel : public Mdl3File, public ::testing::WithParamInterface<std::string> {};

// What the tool stores as prepared is what the loader prepares from the same file.
TEST_P(GeneratedModel, LoadsAndStoresWhatTheLoaderWouldPrepare) {
    void* data = nullptr;
    const int size = FileReadAll(&data, GetParam().c_str(), 0);
    ASSERT_GT(size, 96);
    std::vector<uint8_t> bytes(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    MemFree(data);
    MDL3* stored = Mdl3Read(GetParam().c_str(), 0);
    ASSERT_NE(stored, nullptr);
    bytes[32] = 0; // storage 0: prepare at load
    MDL3* prepared = Read(bytes, "Prepared.md3");
    ASSERT_NE(prepared, nullptr);
    for (int32_t i = 0; i < stored->numNodes; ++i) {
        const MDL3NODE &s = stored->nodes[i], &p = prepared->nodes[i];
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.flags | MDL3_COLLISION, p.flags) << "only COLLISION may be the tool's choice";
        EXPECT_EQ(std::memcmp(&s.boundsMin, &p.boundsMin, sizeof(VECTOR3)), 0);
        EXPECT_EQ(std::memcmp(&s.boundsMax, &p.boundsMax, sizeof(VECTOR3)), 0);
        EXPECT_EQ(std::memcmp(&s.sphereCentre, &p.sphereCentre, sizeof(VECTOR3)), 0);
        EXPECT_EQ(s.radius, p.radius);
    }
    EXPECT_GT(stored->numNodes, 1);
    EXPECT_GT(stored->numVerts, 0);
    Mdl3Release(prepared);
    Mdl3Release(stored);
}

INSTANTIATE_TEST_SUITE_P(Data, GeneratedModel, ::testing::ValuesIn(GeneratedModels()),
                         [](const auto& info) {
                             return std::filesystem::path(info.param).stem().string();
                         });

} // namespace
