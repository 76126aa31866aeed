// Camera, transforms and frustum on the recording layer: what each set sends and keeps, the
// viewport's fallback and ratios, outcodes, box tests and point projection.
#include "I3d/Math/Mat4Math.h"
#include "tests/I3d/KernelFixture.h"

#include <climits>
#include <cmath>

namespace {

Mat4 Identity() {
    Mat4 m{};
    m.m[0] = m.m[5] = m.m[10] = m.m[15] = 1.0f;
    return m;
}

Mat4 Translation(float x, float y, float z) {
    Mat4 m = Identity();
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
        StartRecording();
        CreateOffscreen();
        Log().Clear();
    }
    // The kept products against Mat4Mul of the kept matrices.
    static void ExpectProducts(const char* after) {
        SCOPED_TRACE(after);
        Mat4 w, v, p, wv, wvp, vp;
        I3dGetWorldMatrix(&w);
        I3dGetViewMatrix(&v);
        I3dGetProjMatrix(&p);
        Mat4Mul(&w, &v, &wv);
        Mat4Mul(&wv, &p, &wvp);
        Mat4Mul(&v, &p, &vp);
        Mat4 kept;
        I3dGetWorldViewMatrix(&kept);
        ExpectMatrix(kept, wv, "world x view");
        ExpectMatrix(I3dWorldViewProj(), wvp, "world x view x projection");
        ExpectMatrix(I3dViewProj(), vp, "view x projection");
        if (w.m[15] == 0.0f) return; // no world yet: nothing to invert
        Mat4 round;
        Mat4Mul(&w, &I3dWorldInverse(), &round);
        ExpectMatrix(round, Identity(), "world x its rigid inverse");
    }
    void SetCamera(const Mat4& world, const Mat4& proj) {
        Mat4 view = Identity();
        I3dSetWorld(&world);
        I3dSetView(&view);
        I3dSetProj(&proj);
    }
};

TEST_F(Camera, EachSetSendsItsMatrixAndKeepsTheProductsCurrent) {
    Mat4 zero{}, got;
    I3dGetWorldViewMatrix(&got);
    ExpectMatrix(got, zero, "matrices are zero until set");

    Mat4 world = Translation(3, 4, 5);
    Mat4RotateY(&world, 0.7f);
    VECTOR3 eye = {1, 2, -10}, at = {0, 0, 0}, up = {0, 1, 0};
    Mat4 view, proj;
    Mat4LookAt(&view, &eye, &at, &up);
    Mat4Perspective(&proj, 1.0f, 0.75f, 0.1f, 2000.0f);

    I3dSetProj(&proj);
    ExpectProducts("projection first");
    I3dSetWorld(&world);
    ExpectProducts("world");
    I3dSetView(&view);
    ExpectProducts("view");
    Mat4RotateX(&world, 0.3f);
    I3dSetWorld(&world);
    ExpectProducts("a second world");

    std::vector<D3dCall> sets = Log().Named("SetTransform");
    ASSERT_EQ(sets.size(), 4u);
    EXPECT_EQ(sets[0].args[0], (uint64_t)D3DTS_PROJECTION);
    EXPECT_EQ(sets[1].args[0], (uint64_t)D3DTS_WORLD);
    EXPECT_EQ(sets[2].args[0], (uint64_t)D3DTS_VIEW);
    ExpectMatrix(sets[3].DataAs<Mat4>(), world, "the device gets the matrix given");
}

TEST_F(Camera, TextureMatricesAndTheBillboardFollowTheirSets) {
    Mat4 before, scale = Identity();
    scale.m[0] = 2.0f;
    I3dGetWorldViewMatrix(&before);
    I3dSetTexMatrix(1, &scale);
    EXPECT_EQ(Log().Count("SetTransform", {D3DTS_TEXTURE1}), 1);
    ExpectMatrix(Log().Named("SetTransform").back().DataAs<Mat4>(), scale, "stage 1's matrix");
    I3dSetTexMatrix(8, &scale);
    I3dSetTexMatrix(-1, &scale);
    EXPECT_EQ(Log().Count("SetTransform"), 1) << "stages outside 0..7 are not sent";
    Mat4 after;
    I3dGetWorldViewMatrix(&after);
    ExpectMatrix(after, before, "a texture matrix is not kept");

    // The billboard faces the new view: its corners come from the view's first two columns.
    Mat4 view = Identity();
    Mat4RotateY(&view, 0.5f);
    I3dSetView(&view);
    VECTOR3 c[4];
    I3dGetBillboardCorners(c);
    const float* m = view.m;
    EXPECT_FLOAT_EQ(c[0].x, -m[0] - m[1]);
    EXPECT_FLOAT_EQ(c[1].z, m[9] - m[8]);
    EXPECT_FLOAT_EQ(c[2].y, m[4] + m[5]);
    EXPECT_FLOAT_EQ(c[3].x, m[0] - m[1]);

    Mat4 world = Translation(1, 2, 3), kept;
    I3dSetWorld(&world);
    I3dGetWorldMatrix(&kept);
    ExpectMatrix(kept, world, "the world matrix");
    VECTOR3 eye = {4, 5, 6}, gotEye;
    I3dSetEyePos(&eye);
    I3dGetEyePos(&gotEye);
    EXPECT_EQ(gotEye.y, 5.0f);
    EXPECT_EQ(I3dGetViewDistScale(), 1.0f);
}

TEST_F(Camera, TheViewportFallsBackToTheBackBufferAndKeepsItsRatios) {
    int x, y, w, h;
    ASSERT_EQ(D3dSetViewport(0, 0, 1024, 768), D3D_OK);
    I3dGetViewport(&x, &y, &w, &h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    ASSERT_EQ(D3dSetViewport(10, 0, 1024, 768), D3D_OK);
    I3dGetViewport(&x, &y, &w, &h);
    EXPECT_EQ(x, 0) << "a rectangle past the back buffer becomes the whole back buffer";
    EXPECT_EQ(w, 1024);
    ASSERT_EQ(D3dSetViewport(INT_MAX, INT_MAX, INT_MAX, INT_MAX), D3D_OK);
    I3dGetViewport(&x, &y, &w, &h);
    EXPECT_EQ(x, 0) << "a sum that overflows 32 bits still reaches past the back buffer";

    ASSERT_EQ(D3dSetViewport(0, 0, 1000, 700), D3D_OK);
    EXPECT_EQ(I3dGetAspect(), (float)(1000.0 / 700.0));
    EXPECT_EQ(I3dGetInvAspect(), (float)(700.0 / 1000.0));
    D3dSetViewport(0, 0, 1000, 0);
    EXPECT_EQ(I3dGetAspect(), (float)(1000.0 / 700.0)) << "a zero height keeps the ratios";
    I3dGetViewport(&x, &y, &w, &h);
    EXPECT_EQ(h, 0) << "and is kept as given";

    ASSERT_EQ(D3dSetViewport(0, 0, 1000, 700), D3D_OK);
    Mat4 ortho, screen;
    I3dOrthoAspect(&ortho);
    VECTOR3 lo = {0, 0, 0.5f}, hi = {I3dGetAspect(), 1, 0.5f}, out;
    Mat4XformPoint(&lo, &ortho, &out);
    EXPECT_FLOAT_EQ(out.x, -1.0f);
    EXPECT_FLOAT_EQ(out.y, -1.0f);
    Mat4XformPoint(&hi, &ortho, &out);
    EXPECT_FLOAT_EQ(out.x, 1.0f);
    EXPECT_FLOAT_EQ(out.y, 1.0f);
    I3dOrthoViewport(&ortho);
    Mat4OrthoScreen(&screen, 1000, 700);
    ExpectMatrix(ortho, screen, "the pixel-space projection of the viewport");
}

TEST_F(Camera, OutcodesAreStrictAndSwapSidesBehindTheEye) {
    const Mat4 proj = SimpleProjection();
    SetCamera(Identity(), proj);
    struct Case {
        VECTOR3 p;
        int code;
        const char* what;
    } cases[] = {
        {{5, 0, 5}, 0, "exactly on x = 1 in front: no bit"},
        {{5.0005f, 0, 5}, I3D_OUT_RIGHT, "x = 1.0001 in front"},
        {{-5.0005f, 0, -5}, I3D_OUT_LEFT | I3D_OUT_BEHIND, "x = 1.0001 behind the eye"},
        {{0, 5.0005f, 5}, I3D_OUT_TOP, "y above 1 in front"},
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
}

TEST_F(Camera, BoxesAreRejectedOnlyWhenEveryCornerIsOutsideOnePlane) {
    SetCamera(Identity(), SimpleProjection());
    auto test = [](const float box[6], float* depth) {
        VECTOR3 lo = {box[0], box[1], box[2]}, hi = {box[3], box[4], box[5]};
        float viaBox = -7.0f;
        int r = I3dBoxOutcodeTest(&lo, &hi, depth);
        EXPECT_EQ(BoxOutcodeTest(box, depth ? &viaBox : nullptr), r);
        if (depth && r) {
            EXPECT_EQ(viaBox, *depth);
        }
        EXPECT_EQ(Mat4BoxVisible(box, &I3dWorldViewProj()), r)
            << "the same test under an explicit matrix";
        return r;
    };
    float depth = 0;
    const float aroundEye[6] = {-1, -1, -1, 1, 1, 3};
    EXPECT_EQ(test(aroundEye, &depth), 1) << "corners in front and behind the eye";
    EXPECT_FLOAT_EQ(depth, 0.0f) << "the mean of the corner depths (-2 and 2)";
    const float ahead2[6] = {-1, -1, 4, 1, 1, 5};
    EXPECT_EQ(test(ahead2, &depth), 1);
    EXPECT_FLOAT_EQ(depth, 3.5f);
    const float spanning[6] = {-50, -50, 4, 50, 50, 6};
    EXPECT_EQ(test(spanning, nullptr), 1) << "spanning the view with no corner inside";
    const float far[6] = {-1, -1, 250000, 1, 1, 260000};
    EXPECT_EQ(test(far, &depth), 0) << "all corners beyond the far distance";
    const float right[6] = {20, -1, 5, 30, 1, 6};
    EXPECT_EQ(test(right, nullptr), 0);

    // I3dBoxVisible works in world space: the world matrix plays no part.
    const float ahead[6] = {-1, -1, 4, 1, 1, 6};
    Mat4 away = Translation(1000, 0, 0);
    I3dSetWorld(&away);
    EXPECT_EQ(test(ahead, nullptr), 0) << "moved away by the world matrix";
    EXPECT_EQ(I3dBoxVisible(ahead), 1);
    EXPECT_EQ(I3dBoxVisible(right), 0);
}

TEST_F(Camera, ProjectedPointsStayFiniteOnTheEyePlane) {
    Mat4 proj;
    Mat4Perspective(&proj, 1.2f, 0.75f, 0.1f, 2000.0f);
    SetCamera(Identity(), proj);
    float out[3];
    VECTOR3 ahead = {0, 0, 10};
    I3dProjectPoint(&ahead, out);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_EQ(out[1], 0.0f);
    EXPECT_GT(out[2], 0.0f);
    VECTOR3 side = {5, 3, 10};
    I3dProjectPoint(&side, out);
    EXPECT_NEAR(out[0], 5.0f * proj.m[0] / 10.0f, 1e-6f) << "x divided by w";
    VECTOR3 onEyePlane = {5, 3, 0};
    I3dProjectPoint(&onEyePlane, out);
    EXPECT_TRUE(std::isfinite(out[0]) && std::isfinite(out[1]))
        << "w = 0 must not give infinite screen coordinates";
    EXPECT_LE(out[2], 0.0f) << "callers' in-front test rejects the point";
}

} // namespace
