// The ride camera against the real entity tree: its table, the view with and without a seat,
// mouse look within limits, the inspection menu's attach call, an owner that goes away and a
// seat matrix that is not a number.
#include "engine/PropDb.h"
#include "engine/PropFields.h"
#include "tests/world/CamerasFixture.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr float kLimit = 1.0471975f;

class CameraAttachTest : public CamerasTest {
  protected:
    CameraAttach* AddCamera() {
        auto* cam = Make<CameraAttach>("CameraAttach", world, "RideCam");
        cam->Start();
        return cam;
    }
    StandInRide* AddRide(float x, float y, float z) {
        auto* ride = Make<StandInRide>("StandInRide", world, "Ride");
        Mat4Identity(&ride->seat);
        ride->seat.m[12] = x;
        ride->seat.m[13] = y;
        ride->seat.m[14] = z;
        return ride;
    }
    void Run(ENTBASE* cam, int frames, float dt = 0.05f) {
        for (int i = 0; i < frames; ++i)
            EntTreeUpdate(cam, dt);
    }
};

TEST_F(CameraAttachTest, TableRowsAndWithoutASeatTheIdentityAtTheOrigin) {
    CameraAttach* cam = AddCamera();
    std::string rows;
    for (PropField* f = cam->classDb->first; f; f = f->next)
        rows += std::string(rows.empty() ? "" : " ") + f->name;
    EXPECT_EQ(rows, "name fov yawRate maxPitch minPitch maxYaw minYaw");
    EXPECT_EQ(static_cast<PropFieldString*>(cam->classDb->first)->def, "!")
        << "a camera without a name in its file is named \"!\", as every camera is";
    EXPECT_FLOAT_EQ(cam->maxYaw, kLimit);
    EXPECT_FLOAT_EQ(cam->minPitch, -kLimit);
    EXPECT_EQ(cam->eyeOffset.y, 0.85f);
    EXPECT_EQ(cam->eyeOffset.z, 0.2f);

    ASSERT_TRUE(cam->SetFloat("fov", 0.8f));
    const CameraDesc desc = View(cam);
    EXPECT_EQ(desc.fov, 0.8f) << "the view takes its field of view from the table";
    EXPECT_EQ(Mat4IsIdentity(&desc.view), 1);
    EXPECT_EQ(desc.eye.x, 0.0f);
    EXPECT_EQ(desc.eye.y, 0.0f);
    EXPECT_EQ(desc.eye.z, 0.0f);
}

TEST_F(CameraAttachTest, OnASeatTheEyeSitsAtItsOffsetAndTheViewInvertsTheSeat) {
    CameraAttach* cam = AddCamera();
    StandInRide* ride = AddRide(10.0f, 2.0f, 5.0f);
    CameraAttachSetMatrix(cam, ride, &ride->seat);
    Run(cam, 40);
    const CameraDesc desc = View(cam);
    EXPECT_NEAR(desc.eye.x, 10.0f, 1e-5f);
    EXPECT_NEAR(desc.eye.y, 2.85f, 1e-5f);
    EXPECT_NEAR(desc.eye.z, 5.2f, 1e-5f);
    Mat4 w;
    Mat4Identity(&w);
    w.m[12] = 10.0f, w.m[13] = 2.85f, w.m[14] = 5.2f;
    EXPECT_TRUE(InverseOf(w, desc.view));

    // The seat turns: the eye offset turns with it.
    Mat4Identity(&ride->seat);
    Mat4RotateY(&ride->seat, 3.14159265f);
    ride->seat.m[12] = 10.0f;
    const CameraDesc turned = View(cam);
    EXPECT_NEAR(turned.eye.z, -0.2f, 1e-5f) << "the offset lies in the seat's frame";
}

TEST_F(CameraAttachTest, RightButtonLookIsClampedAndTheSmoothedViewNeverPassesTheLimit) {
    CameraAttach* cam = AddCamera();
    StandInRide* ride = AddRide(0.0f, 0.0f, 0.0f);
    CameraAttachSetMatrix(cam, ride, &ride->seat);

    Send(cam, SL_MOUSEMOVE, 300, -40);
    EXPECT_EQ(cam->mouseDx, 300.0f);
    EXPECT_EQ(cam->mouseDy, -40.0f);
    EXPECT_EQ(cam->yaw, 0.0f) << "without the right button only the counts are stored";
    EXPECT_EQ(cam->pitch, 0.0f);

    Send(cam, SL_MOUSE1DOWN);
    Send(cam, SL_MOUSEMOVE, 300, -40);
    EXPECT_FLOAT_EQ(cam->yaw, kLimit);
    EXPECT_FLOAT_EQ(cam->pitch, -0.4f);
    Send(cam, SL_MOUSEMOVE, 300, -400);
    EXPECT_FLOAT_EQ(cam->pitch, -kLimit);
    float most = 0.0f;
    for (int i = 0; i < 200; ++i) {
        Run(cam, 1, 0.02f);
        most = std::max(most, cam->yawSmooth.value);
    }
    EXPECT_LE(most, cam->yaw) << "the spring overshot the limit";
    EXPECT_NEAR(cam->yawSmooth.value, kLimit, 1e-3f);

    Send(cam, SL_MOUSE1UP);
    Send(cam, SL_MOUSEMOVE, -300, 0);
    EXPECT_FLOAT_EQ(cam->yaw, kLimit) << "releasing the button ends the look";
}

TEST_F(CameraAttachTest, EventsForwardedThroughTheTreeReachIt) {
    // The ride view forwards input to the camera (or makes it the keyboard entity); either
    // way the event walk reaches its OnMessage.
    CameraAttach* cam = AddCamera();
    SlEvent down{SL_MOUSE1DOWN, 0, 0, 0}, move{SL_MOUSEMOVE, -20, 10, 0};
    EntTreeSendMessage(world, &down);
    EntTreeSendMessage(world, &move);
    EXPECT_FLOAT_EQ(cam->yaw, -0.2f);
    EXPECT_FLOAT_EQ(cam->pitch, 0.1f);
}

TEST_F(CameraAttachTest, AttachingResetsTheLookAndTheButton) {
    CameraAttach* cam = AddCamera();
    StandInRide* ride = AddRide(1.0f, 1.0f, 1.0f);
    Send(cam, SL_MOUSE1DOWN);
    Send(cam, SL_MOUSEMOVE, 50, 50);
    ASSERT_NE(cam->yaw, 0.0f);
    CameraAttachSetMatrix(cam, ride, &ride->seat);
    EXPECT_EQ(cam->attached, &ride->seat);
    EXPECT_EQ(cam->owner.Get(), ride);
    EXPECT_EQ(cam->yaw, 0.0f);
    EXPECT_EQ(cam->pitch, 0.0f);
    EXPECT_EQ(cam->rightHeld, 0);
    Send(cam, SL_MOUSEMOVE, 50, 50);
    EXPECT_EQ(cam->yaw, 0.0f) << "the button held before the switch must not carry over";

    CameraAttachSetMatrix(nullptr, ride, &ride->seat); // no camera: nothing
    ENTBASE* other = Make("Probe", world, "NotACamera");
    CameraAttachSetMatrix(other, ride, &ride->seat); // another type: nothing
    CameraAttachSetMatrix(cam, nullptr, nullptr);
    EXPECT_EQ(cam->attached, nullptr);
}

TEST_F(CameraAttachTest, ARideDestroyedWhileAttachedLeavesTheNoSeatViewAndOneLine) {
    for (bool tells : {true, false}) {
        SCOPED_TRACE(tells ? "the removal is reported" : "the removal is not reported");
        CameraAttach* cam = AddCamera();
        StandInRide* ride = AddRide(10.0f, 2.0f, 5.0f);
        ride->tells = tells;
        CameraAttachSetMatrix(cam, ride, &ride->seat);
        Run(cam, 5);
        const int before = LogCount("RideCam");
        EntDestroyTree(ride); // the seat matrix goes with it
        for (int i = 0; i < 100; ++i) {
            Run(cam, 1);
            const CameraDesc desc = View(cam); // AddressSanitizer: no read of the freed seat
            ASSERT_EQ(Mat4IsIdentity(&desc.view), 1);
            ASSERT_EQ(desc.eye.y, 0.0f);
        }
        EXPECT_EQ(cam->attached, nullptr);
        EXPECT_EQ(LogCount("RideCam") - before, 1) << LogText();
        EntDestroyTree(cam);
    }
}

TEST_F(CameraAttachTest, ASeatMatrixThatIsNotANumberIsNotUsedAndLoggedOnce) {
    CameraAttach* cam = AddCamera();
    StandInRide* ride = AddRide(1.0f, 2.0f, 3.0f);
    ride->seat.m[13] = std::numeric_limits<float>::quiet_NaN();
    CameraAttachSetMatrix(cam, ride, &ride->seat);
    for (int i = 0; i < 10; ++i) {
        Run(cam, 1);
        const CameraDesc desc = View(cam);
        ASSERT_EQ(Mat4IsIdentity(&desc.view), 1) << "a NaN view reached the projection";
    }
    EXPECT_EQ(LogCount("not a number"), 1);

    ride->seat.m[13] = 2.0f; // mended: used again
    EXPECT_NEAR(View(cam).eye.y, 2.85f, 1e-5f);
}

} // namespace
