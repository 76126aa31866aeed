// Camera, transforms and frustum on the recording layer: what each set sends and keeps, the
// viewport's fallback and ratios, outcodes, box tests and point projection.
#include "I3d/Math/Mat4Math.h"
#include "tests/I3d/KernelFixture.h"

#include <climits>
#include <cmath>

namespace {

Mat4 Translation(float x, float y, float z) {
    Mat4 m{};
    m.m[0] = m.m[5] = m.m[10] = m.m[15] = 1.0f;
    m.m[12] = x, m.m[13] = y, m.m[14] = z;
    return m;
}

// Clip = (x, y, z - 1, z): x and y divide by the view depth, clip z is 0 one unit ahead.
Mat4 SimpleProjection() {
    Mat4 m{};
    m.m[0] = m.m[5] = m.m[10] = m.m[11] = 1.0f;
    m.m[14] = -1.0f;
    return m;
}

void ExpectMatrix(const Mat4& got, const Mat4& want, const char* what) {
    for (int i = 0; i < 16; ++i)
        ASSERT_NEAR(got.m[i], want.m[i], 1e-5f) << what << ", element " << i;
}

class Camera : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
    }
    static void ExpectProducts(const char* after) {
        SCOPED_TRACE(after);
        Mat4 w, v, p, wv, wvp, vp, kept;
        I3dGetWorldMatrix(&w);
        I3dGetViewMatrix(&v);
        I3dGetProjMatrix(&p);
        I3dGetWorldViewMatrix(&kept);
        ExpectMatrix(kept, *Mat4Mul(&w, &v, &wv), "world x view");
        ExpectMatrix(I3dWorldViewProj(), *Mat4Mul(&wv, &p, &wvp), "world x view x projection");
        ExpectMatrix(I3dViewProj(), *Mat4Mul(&v, &p, &vp), "view x projection");
        if (w.m[15] == 0.0f) return; // no world yet: nothing to invert
        ExpectMatrix(*Mat4Mul(&w, &I3dWorldInverse(), &kept), Translation(0, 0, 0),
                     "world x its rigid inverse");
    }
};

TEST_F(Camera, EachSetSendsItsMatrixAndKeepsTheProductsCurrent) {
    Mat4 got;
    I3dGetWorldViewMatrix(&got);
    ExpectMatrix(got, Mat4{}, "matrices are zero until set");
    Mat4 world = Translation(3, 4, 5), view, proj;
    Mat4RotateY(&world, 0.7f);
    VECTOR3 eye = {1, 2, -10}, at = {0, 0, 0}, up = {0, 1, 0};
    Mat4LookAt(&view, &eye, &at, &up);
    Mat4Perspective(&proj, 1.0f, 0.75f, 0.1f, 2000.0f);
    I3dSetProj(&proj);
    ExpectProducts("projection first");
    I3dSetWorld(&world);
    ExpectProducts("world");
    I3dSetView(&view);
    ExpectProducts("view");
    std::vector<D3dCall> sets = Log().Named("SetTransform");
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0].args[0], (uint64_t)D3DTS_PROJECTION);
    EXPECT_EQ(sets[1].args[0], (uint64_t)D3DTS_WORLD);
    EXPECT_EQ(sets[2].args[0], (uint64_t)D3DTS_VIEW);
    ExpectMatrix(sets[1].DataAs<Mat4>(), world, "the device gets the matrix given");

    // A texture matrix goes to its stage and is not kept; the billboard faces the new view.
    I3dSetTexMatrix(1, &world);
    I3dSetTexMatrix(8, &world);
    EXPECT_EQ(Log().Count("SetTransform", {D3DTS_TEXTURE1}), 1);
    EXPECT_EQ(Log().Count("SetTransform"), 4) << "a stage outside 0..7 is not sent";
    ExpectProducts("a texture matrix");
    VECTOR3 c[4];
    I3dGetBillboardCorners(c);
    EXPECT_FLOAT_EQ(c[0].x, -view.m[0] - view.m[1]) << "bottom-left = -R - U";
    EXPECT_FLOAT_EQ(c[2].z, view.m[8] + view.m[9]) << "top-right = R + U";
    I3dSetEyePos(&eye);
    I3dGetEyePos(&at);
    EXPECT_EQ(at.z, -10.0f);
    EXPECT_EQ(I3dGetViewDistScale(), 1.0f);
}

TEST_F(Camera, TheViewportFallsBackToTheBackBufferAndKeepsItsRatios) {
    int x, y, w, h;
    ASSERT_EQ(D3dSetViewport(0, 0, 1024, 768), D3D_OK);
    I3dGetViewport(&x, &y, &w, &h);
    EXPECT_EQ(w, 1024);
    for (int bad : {10, INT_MAX}) { // INT_MAX: the sum must not overflow
        ASSERT_EQ(D3dSetViewport(bad, 0, 1024, 768), D3D_OK);
        I3dGetViewport(&x, &y, &w, &h);
        EXPECT_EQ(x, 0) << "past the back buffer: the whole back buffer";
        EXPECT_EQ(w, 1024);
    }
    ASSERT_EQ(D3dSetViewport(0, 0, 1000, 700), D3D_OK);
    EXPECT_EQ(I3dGetAspect(), (float)(1000.0 / 700.0));
    EXPECT_EQ(I3dGetInvAspect(), (float)(700.0 / 1000.0));
    D3dSetViewport(0, 0, 1000, 0);
    EXPECT_EQ(I3dGetAspect(), (float)(1000.0 / 700.0)) << "a zero height keeps the ratios";
    ASSERT_EQ(D3dSetViewport(0, 0, 1000, 700), D3D_OK);
    Mat4 ortho, screen;
    VECTOR3 lo = {0, 0, 0.5f}, hi = {I3dGetAspect(), 1, 0.5f};
    Mat4XformPoint(&lo, I3dOrthoAspect(&ortho), &lo);
    Mat4XformPoint(&hi, &ortho, &hi);
    EXPECT_FLOAT_EQ(lo.x, -1.0f);
    EXPECT_FLOAT_EQ(lo.y, -1.0f);
    EXPECT_FLOAT_EQ(hi.x, 1.0f);
    EXPECT_FLOAT_EQ(hi.y, 1.0f);
    ExpectMatrix(*I3dOrthoViewport(&ortho), *Mat4OrthoScreen(&screen, 1000, 700), "pixel space");
}

TEST_F(Camera, OutcodesAreStrictAndSwapSidesBehindTheEye) {
    const Mat4 proj = SimpleProjection();
    I3dSetProj(&proj);
    Mat4 id = Translation(0, 0, 0);
    I3dSetWorld(&id);
    I3dSetView(&id);
    struct Case {
        VECTOR3 p;
        int code;
        const char* what;
    } cases[] = {
        {{5, 0, 5}, 0, "exactly on x = 1 in front: no bit"},
        {{5.0005f, 0, 5}, I3D_OUT_RIGHT, "x = 1.0001 in front"},
        {{-5.0005f, 0, -5}, I3D_OUT_LEFT | I3D_OUT_BEHIND, "x = 1.0001 behind the eye"},
        {{0, -5.0005f, -5}, I3D_OUT_BOTTOM | I3D_OUT_BEHIND, "y = 1.0001 behind"},
        {{0, 0, 300000}, I3D_OUT_BEYOND, "beyond the far distance"},
    };
    for (const Case& c : cases) {
        float depth = -1, mat4Depth = -2;
        EXPECT_EQ(I3dPointOutcode(&c.p, &depth), c.code) << c.what;
        EXPECT_EQ(Mat4PointOutcode(&c.p, &proj, &mat4Depth), c.code) << c.what;
        EXPECT_EQ(depth, c.p.z - 1.0f) << "the undivided clip z";
        EXPECT_EQ(mat4Depth, depth);
    }

    // Boxes: rejected only when all 8 corners are outside one plane.
    auto test = [](const float box[6], float* depth) {
        VECTOR3 lo = {box[0], box[1], box[2]}, hi = {box[3], box[4], box[5]};
        float viaBox = -7.0f;
        int r = I3dBoxOutcodeTest(&lo, &hi, depth);
        EXPECT_EQ(BoxOutcodeTest(box, &viaBox), r);
        EXPECT_EQ(Mat4BoxVisible(box, &I3dWorldViewProj()), r) << "under an explicit matrix";
        if (depth && r) {
            EXPECT_EQ(viaBox, *depth);
        }
        return r;
    };
    float depth = 0;
    const float aroundEye[6] = {-1, -1, -1, 1, 1, 3}, ahead[6] = {-1, -1, 4, 1, 1, 5};
    const float spanning[6] = {-50, -50, 4, 50, 50, 6}, far[6] = {-1, -1, 25e4f, 1, 1, 26e4f};
    EXPECT_EQ(test(aroundEye, &depth), 1) << "corners in front and behind the eye";
    EXPECT_FLOAT_EQ(depth, 0.0f) << "the mean of the corner depths (-2 and 2)";
    EXPECT_EQ(test(ahead, &depth), 1);
    EXPECT_FLOAT_EQ(depth, 3.5f);
    EXPECT_EQ(test(spanning, nullptr), 1) << "spanning the view with no corner inside";
    EXPECT_EQ(test(far, nullptr), 0) << "all corners beyond the far distance";
    Mat4 away = Translation(1000, 0, 0);
    I3dSetWorld(&away);
    EXPECT_EQ(test(ahead, nullptr), 0) << "moved out of view by the world matrix";
    EXPECT_EQ(I3dBoxVisible(ahead), 1) << "I3dBoxVisible ignores the world matrix";
    EXPECT_EQ(I3dBoxVisible(far), 0);
}

TEST_F(Camera, ProjectedPointsStayFiniteOnTheEyePlane) {
    Mat4 proj, id = Translation(0, 0, 0);
    I3dSetWorld(&id);
    I3dSetView(&id);
    I3dSetProj(Mat4Perspective(&proj, 1.2f, 0.75f, 0.1f, 2000.0f));
    float out[3];
    VECTOR3 ahead = {0, 0, 10}, side = {5, 3, 10}, onEyePlane = {5, 3, 0};
    I3dProjectPoint(&ahead, out);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_EQ(out[1], 0.0f);
    EXPECT_GT(out[2], 0.0f);
    I3dProjectPoint(&side, out);
    EXPECT_NEAR(out[0], 5.0f * proj.m[0] / 10.0f, 1e-6f) << "x divided by w";
    I3dProjectPoint(&onEyePlane, out);
    EXPECT_TRUE(std::isfinite(out[0]) && std::isfinite(out[1]))
        << "w = 0 must not give infinite screen coordinates";
    EXPECT_LE(out[2], 0.0f) << "callers' in-front test rejects the point";
}

} // namespace
