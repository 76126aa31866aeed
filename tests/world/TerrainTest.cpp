// The terrain entity and its height query: samples from a height map on its padded pitch, the
// physics object ODE sees, the flat fallbacks, the checkerboard triangles against a hand-built
// reference, continuity across every edge and diagonal, and the messages.
#include "I3d/PassLists.h"
#include "tests/world/TerrainFixture.h"

#include <cmath>

namespace {

using TerrainTest = TerrainFixture;

int Grey(int x, int r) {
    return (x + 7 * r) % 256;
}

// A 513-wide grey row is padded to a pitch of 516: a loader that stepped by the width would
// drift by three bytes a row, which neighbouring rows that differ show at once.
TEST_F(TerrainTest, SamplesComeFromTheMapBottomRowFirst) {
    const std::string map = WriteMap("Ground", 513, 513, Grey);
    Terrain2* t = Load("mapName=" + map + "\nelvScale=0.5\nscale=2.0\n");
    ASSERT_NE(t->terrain, nullptr);
    const TerrainObj* obj = t->terrain;
    ASSERT_EQ(obj->sampleCols, 513);
    ASSERT_EQ(obj->sampleRows, 513);
    int wrong = 0;
    for (int z = 0; z < 513; ++z)
        for (int x = 0; x < 513; ++x)
            wrong += obj->heights[z * 513 + x] != float(Grey(x, 512 - z)) * 0.5f;
    EXPECT_EQ(wrong, 0) << "samples that are not grey(x, 512 - z) x elvScale";
    EXPECT_EQ(obj->lowest, 0.0f);
    EXPECT_EQ(obj->highest, 127.5f);

    // grey(248, 1) = 255 is sample (248, 511): 127.5 sample units, a world height of 255.
    EXPECT_EQ(obj->heights[511 * 513 + 248], 127.5f);
    EXPECT_EQ(HeightAt(t, 248 * 2.0f, 511 * 2.0f), 255.0f);
    EXPECT_EQ(HeightAt(t, 248 * 2.0f, 512 * 2.0f), 0.0f)
        << "the far edge of the grid lies outside its last cell";
}

TEST_F(TerrainTest, PhysicsFieldLiesWhereTheSamplesAre) {
    const std::string map = WriteMap("Ground", 513, 513, Grey);
    Terrain2* t = Load("mapName=" + map + "\nelvScale=0.5\nscale=2.0\n");
    PhysObj* phys = t->physics;
    ASSERT_NE(phys, nullptr);
    EXPECT_STREQ(phys->name, "Terrain");
    EXPECT_EQ(phys->body, nullptr) << "the terrain is static";
    EXPECT_EQ(phys->friction, 0.3f);
    EXPECT_EQ(phys->categoryBits, 1);
    EXPECT_EQ(phys->collideBits, -1);
    ASSERT_EQ(phys->geomCount, 1);
    dGeomID field = phys->geoms[0];
    EXPECT_EQ(dGeomGetClass(field), dHeightfieldClass);
    EXPECT_EQ(dGeomGetCategoryBits(field), 1ul);

    dGeomID ray = dCreateRay(nullptr, 1000.0);
    for (int i = 0; i < 20; ++i) {
        const int x = 1 + RandInt(511), z = 1 + RandInt(511);
        const float want = float(Grey(x, 512 - z)) * 0.5f * 2.0f;
        dGeomRaySet(ray, x * 2.0, 500.0, z * 2.0, 0.0, -1.0, 0.0);
        dContactGeom hit;
        ASSERT_EQ(dCollide(ray, field, 1, &hit, sizeof hit), 1)
            << "the ray down at sample (" << x << ", " << z << ") missed the field";
        EXPECT_NEAR(hit.pos[1], want, 1e-3) << "sample (" << x << ", " << z << ")";
    }
    dGeomDestroy(ray);
}

// A missing map, a map of the wrong size, a run-length map and a 16-bit grey map (which the
// reader refuses) all leave the ground flat.
TEST_F(TerrainTest, MapsThatCannotBeUsedLeaveTheGroundFlat) {
    struct Case {
        std::string stem;
        std::string logLine;
    };
    WriteMap("Small", 64, 64, Grey);
    std::string rle(18, '\0');
    rle[2] = 10, rle[12] = 65, rle[14] = 65, rle[16] = 8;
    WriteTextFile(dir / "Rle elevation.tga", rle + std::string(65 * 65 * 2, '\x7f'));
    std::string wide(18, '\0');
    wide[2] = 3, wide[12] = 65, wide[14] = 65, wide[16] = 16;
    WriteTextFile(dir / "Wide elevation.tga", wide + std::string(65 * 65 * 2, '\x11'));
    const Case cases[] = {
        {"Missing", "Terrain2: " + dir.Path() + "Missing elevation.tga not loaded, flat 28.0"},
        {"Small",
         "Terrain2: " + dir.Path() + "Small elevation.tga is 64x64, needs 65x65, flat 28.0"},
        {"Rle", "Terrain2: " + dir.Path() + "Rle elevation.tga not loaded, flat 28.0"},
        {"Wide", "Terrain2: " + dir.Path() + "Wide elevation.tga not loaded, flat 28.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stem);
        Terrain2* t =
            Load("mapName=" + (dir / c.stem) + "\ntileWidth=64\ntileHeight=64\nscale=1.5\n");
        for (int i = 0; i < 50; ++i) {
            const float x = RandFloat(63.9f * 1.5f), z = RandFloat(63.9f * 1.5f);
            ASSERT_FLOAT_EQ(HeightAt(t, x, z), 28.0f * 1.5f) << "at " << x << ", " << z;
        }
        EXPECT_EQ(HeightAt(t, 64 * 1.5f + 0.1f, 3.0f), 0.0f);
        EXPECT_EQ(LogCount(c.logLine), 1) << LogText();
        EntDestroyTree(t);
    }
}

// ---- the height query against a hand-built reference ----

// The height at (px, pz) of the plane through three (x, h, z) corners, by barycentric weights.
double Barycentric(const double a[3], const double b[3], const double c[3], double px, double pz) {
    const double det = (b[2] - c[2]) * (a[0] - c[0]) + (c[0] - b[0]) * (a[2] - c[2]);
    const double la = ((b[2] - c[2]) * (px - c[0]) + (c[0] - b[0]) * (pz - c[2])) / det;
    const double lb = ((c[2] - a[2]) * (px - c[0]) + (a[0] - c[0]) * (pz - c[2])) / det;
    return la * a[1] + lb * b[1] + (1.0 - la - lb) * c[1];
}

class TerrainGridTest : public TerrainFixture {
  protected:
    void SetUp() override {
        TerrainFixture::SetUp();
        grid = TerrainCreate(4, 4);
        ASSERT_NE(grid, nullptr);
        for (int i = 0; i < 25; ++i)
            grid->heights[i] = RandFloat(1.0f);
        TerrainDerive(grid);
        TerrainSetScale(grid, 1.0f);
    }
    void TearDown() override {
        TerrainFree(grid);
        TerrainFixture::TearDown();
    }
    double H(int x, int z) const { return grid->heights[z * 5 + x]; }
    // The reference: the triangle the checkerboard gives the point, by its corners.
    double Reference(double cx, double cz) const {
        const int ix = int(cx), iz = int(cz);
        const double fx = cx - ix, fz = cz - iz;
        const double c00[3] = {double(ix), H(ix, iz), double(iz)};
        const double c10[3] = {double(ix + 1), H(ix + 1, iz), double(iz)};
        const double c01[3] = {double(ix), H(ix, iz + 1), double(iz + 1)};
        const double c11[3] = {double(ix + 1), H(ix + 1, iz + 1), double(iz + 1)};
        if ((ix + iz) % 2 != 0)
            return fx < 1.0 - fz ? Barycentric(c00, c10, c01, cx, cz)
                                 : Barycentric(c10, c01, c11, cx, cz);
        return fx <= fz ? Barycentric(c00, c01, c11, cx, cz) : Barycentric(c00, c10, c11, cx, cz);
    }

    TerrainObj* grid = nullptr;
};

TEST_F(TerrainGridTest, HeightsFollowTheCheckerboardTriangles) {
    for (int i = 0; i < 2000; ++i) {
        const float x = RandFloat(3.999f), z = RandFloat(3.999f);
        ASSERT_NEAR(TerrainHeightAt(grid, x, z), Reference(x, z), 1e-5) << x << ", " << z;
    }
    // On the diagonals: cell (1, 0) has different parity (fx + fz = 1 is the second triangle),
    // cell (1, 1) equal parity (fx = fz is the first).
    EXPECT_NEAR(TerrainHeightAt(grid, 1.25f, 0.75f), Reference(1.25, 0.75), 1e-5);
    EXPECT_NEAR(TerrainHeightAt(grid, 1.25f, 0.75f), 0.25 * H(2, 0) + 0.75 * H(1, 1), 1e-5)
        << "the different-parity diagonal runs from (ix + 1, iz) to (ix, iz + 1)";
    EXPECT_NEAR(TerrainHeightAt(grid, 1.5f, 1.5f), 0.5 * H(1, 1) + 0.5 * H(2, 2), 1e-5)
        << "the equal-parity diagonal runs from (ix, iz) to (ix + 1, iz + 1)";
    // A corner is the sample itself.
    EXPECT_FLOAT_EQ(TerrainHeightAt(grid, 2.0f, 3.0f), float(H(2, 3)));
}

TEST_F(TerrainGridTest, OutsideTheGridIsZero) {
    for (auto [x, z] : {std::pair{-0.001f, 1.0f},
                        {1.0f, -0.001f},
                        {4.0f, 1.0f},
                        {1.0f, 4.0f},
                        {-1e30f, 2.0f},
                        {1e30f, 2.0f},
                        {2.0f, 1e30f}})
        EXPECT_EQ(TerrainHeightAt(grid, x, z), 0.0f) << x << ", " << z;
    const float nan = std::nanf(""), inf = INFINITY;
    for (auto [x, z] : {std::pair{nan, 1.0f}, {1.0f, nan}, {inf, 1.0f}, {1.0f, -inf}, {nan, nan}})
        EXPECT_EQ(TerrainHeightAt(grid, x, z), 0.0f) << x << ", " << z;
}

// A wrong diagonal or a triangle formula that disagrees with its neighbour opens a step in the
// ground; the samples here lie in 0..1, so a true step is far larger than the tolerance.
TEST_F(TerrainGridTest, GroundIsContinuousAcrossEdgesAndDiagonals) {
    const float d = 2e-6f;
    for (int i = 0; i < 10000; ++i) {
        const int ix = RandInt(4), iz = RandInt(4);
        const float t = RandFloat(1.0f);
        float ax, az, bx, bz;
        switch (i % 3) {
            case 0: // the cell's left edge (x = ix), crossed along x
                if (ix == 0) continue;
                ax = ix - d, bx = ix + d, az = bz = iz + t;
                break;
            case 1: // the cell's lower edge (z = iz), crossed along z
                if (iz == 0) continue;
                ax = bx = ix + t, az = iz - d, bz = iz + d;
                break;
            default: // the cell's diagonal, crossed across it
                if ((ix + iz) % 2 == 0)
                    ax = ix + t - d, az = iz + t + d, bx = ix + t + d, bz = iz + t - d;
                else
                    ax = ix + t - d, az = iz + 1 - t - d, bx = ix + t + d, bz = iz + 1 - t + d;
        }
        ASSERT_NEAR(TerrainHeightAt(grid, ax, az), TerrainHeightAt(grid, bx, bz), 1e-5)
            << "across (" << ax << ", " << az << ") - (" << bx << ", " << bz << ")";
    }
}

// ---- messages ----

TEST_F(TerrainTest, MessagesAnswerTheGroundUnderAPoint) {
    const std::string map = WriteMap("Ground", 65, 65, Grey);
    Terrain2* t = Load("mapName=" + map + "\ntileWidth=64\ntileHeight=64\n");
    const VECTOR3 p = {10.3f, 0.0f, 20.6f};
    auto send = [t](int message, const void* b, void* c) {
        return t->Dispatch(message, 0, reinterpret_cast<intptr_t>(b),
                           reinterpret_cast<intptr_t>(c));
    };
    float h147 = -1.0f;
    send(147, &p, &h147);
    EXPECT_EQ(h147, HeightAt(t, p.x, p.z));
    EXPECT_GT(h147, 0.0f);

    EntSurfaceQuery surface = {-1.0f, 0};
    EXPECT_EQ(send(155, &p, &surface), 1);
    EXPECT_EQ(surface.height, h147);
    EXPECT_EQ(surface.surface, ENT_SURFACE_GROUND);

    EntGroundRecord r = {};
    r.want = ENT_GROUND_POINT;
    EXPECT_EQ(send(168, &p, &r), 1);
    EXPECT_EQ(r.point.x, p.x);
    EXPECT_EQ(r.point.y, h147);
    EXPECT_EQ(r.point.z, p.z);
    EXPECT_EQ(r.waterLevel, 0.0f);
    EXPECT_EQ(r.surface, ENT_SURFACE_GROUND);

    TerrainObj* handed = nullptr;
    send(114, &handed, nullptr);
    EXPECT_EQ(handed, t->terrain);

    const float one = 1.0f, zero = 0.0f;
    uint32_t bits;
    std::memcpy(&bits, &one, 4);
    t->Dispatch(169, 0, intptr_t(bits), 0);
    EXPECT_EQ(t->terrain->lodUnit, 32.0f);
    std::memcpy(&bits, &zero, 4);
    t->Dispatch(169, 0, intptr_t(bits), 0);
    EXPECT_EQ(t->terrain->lodUnit, 512.0f);

    // Null records do nothing.
    EXPECT_EQ(send(147, &p, nullptr), 0);
    EXPECT_EQ(send(147, nullptr, &h147), 0);
    EXPECT_EQ(send(168, &p, nullptr), 0);
    EXPECT_EQ(send(155, &p, nullptr), 0);

    // Once a terrain object exists, shaders have passes.
    I3dShader* shader = I3dShaderCreate(1, "Probe");
    I3dShaderAddPass(shader, 0, [](I3dShader*, va_list) {});
    EXPECT_EQ(I3dShaderBegin(shader), 1) << "the terrain did not select technique 0";
    I3dShaderEnd();
    I3dShaderFree(shader);
}

TEST_F(TerrainTest, NormalMessageGivesTheTrianglesUnitNormal) {
    // A tilted plane, rising 2 grey levels per cell along x and 1 along z.
    const std::string map = WriteMap("Tilt", 65, 65, [](int x, int r) { return 2 * x + (64 - r); });
    Terrain2* t =
        Load("mapName=" + map + "\ntileWidth=64\ntileHeight=64\nelvScale=0.25\nscale=3.0\n");
    // Along x a cell of 3 units rises 2 x 0.25 x 3 = 1.5; along z 0.75.
    const VECTOR3 ex = {3.0f, 1.5f, 0.0f}, ez = {0.0f, 0.75f, 3.0f};
    VECTOR3 n = {ez.y * ex.z - ez.z * ex.y, ez.z * ex.x - ez.x * ex.z, ez.x * ex.y - ez.y * ex.x};
    const float len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    for (int i = 0; i < 20; ++i) {
        const VECTOR3 p = {RandFloat(190.0f), 0.0f, RandFloat(190.0f)};
        EntGroundRecord r = {};
        r.want = ENT_GROUND_NORMAL;
        t->Dispatch(168, 0, reinterpret_cast<intptr_t>(&p), reinterpret_cast<intptr_t>(&r));
        EXPECT_NEAR(r.normal.x, n.x / len, 1e-5);
        EXPECT_NEAR(r.normal.y, n.y / len, 1e-5);
        EXPECT_NEAR(r.normal.z, n.z / len, 1e-5);
    }
}

TEST_F(TerrainTest, GroundBelowZeroIsWater) {
    const std::string map = WriteMap("Low", 33, 33, [](int, int) { return 200; });
    Terrain2* t = Load("mapName=" + map + "\ntileWidth=32\ntileHeight=32\nelvScale=-0.1\n");
    EXPECT_FLOAT_EQ(HeightAt(t, 5.0f, 5.0f), -20.0f);
    const VECTOR3 p = {5.0f, 0.0f, 5.0f};
    EntSurfaceQuery q = {};
    t->Dispatch(155, 0, reinterpret_cast<intptr_t>(&p), reinterpret_cast<intptr_t>(&q));
    EXPECT_EQ(q.height, 0.0f);
    EXPECT_EQ(q.surface, ENT_SURFACE_WATER);
    EntGroundRecord r = {};
    r.want = ENT_GROUND_POINT;
    t->Dispatch(168, 0, reinterpret_cast<intptr_t>(&p), reinterpret_cast<intptr_t>(&r));
    EXPECT_EQ(r.point.y, 0.0f);
    EXPECT_EQ(r.surface, ENT_SURFACE_WATER);
}

} // namespace
