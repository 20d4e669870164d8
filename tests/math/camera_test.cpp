#include "math/camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectTriple(const Camera::Triple& t, float x, float y, float z)
{
    EXPECT_EQ(t.x, x);
    EXPECT_EQ(t.y, y);
    EXPECT_EQ(t.z, z);
}

void ExpectNear(const Camera::Triple& t, double x, double y, double z, double tolerance)
{
    EXPECT_NEAR(t.x, x, tolerance);
    EXPECT_NEAR(t.y, y, tolerance);
    EXPECT_NEAR(t.z, z, tolerance);
}

// Look calls gluLookAt; with no context current its matrix call goes nowhere, which is all these
// tests need: they read back the target and up vector.

TEST(Camera, PresetsAndTheFirstLookWithNoAngles)
{
    Camera camera;
    ExpectTriple(camera.GetPosition(), 0, 11, 125);
    ExpectTriple(camera.GetTarget(), 0, 20, 20);
    ExpectTriple(camera.GetUp(), 0, 1, 0);

    camera.Look();
    ExpectTriple(camera.GetPosition(), 0, 11, 125);
    ExpectTriple(camera.GetTarget(), 0, 0, -360);
    ExpectTriple(camera.GetUp(), 0, 1, 0);

    camera.AddYaw(30);
    camera.SetTopView();
    ExpectTriple(camera.GetPosition(), 0, 100, 20);
    ExpectTriple(camera.GetTarget(), 0, 20, 20);
    ExpectTriple(camera.GetUp(), 0, 1, 0);
    EXPECT_EQ(camera.GetYaw(), 0.0f);
}

TEST(Camera, QuarterTurnsUseTheFourDigitPi)
{
    // 90 degrees is 1.57075 radians, whose cosine is 4.63e-5 rather than 0. The aim point lies on the
    // sphere of radius 360 about the origin, not about the eye at (0, 11, 125).
    const double cosQuarter = 4.63287033198867e-05;
    struct Case {
        float roll, pitch, yaw;
        double tx, ty, tz;
        double ux, uy, uz;
    } cases[] = {
        {0, 0, 90, 360, 0, -360 * cosQuarter, 0, 1, 0},
        {90, 0, 0, 0, 0, -360, -1, cosQuarter, 0},
        {0, 90, 0, 0, 360, -360 * cosQuarter, 0, cosQuarter, 1},
        {0, 0, -90, -360, 0, -360 * cosQuarter, 0, 1, 0},
    };
    for (const Case& c : cases) {
        Camera camera;
        camera.AddRoll(c.roll);
        camera.AddPitch(c.pitch);
        camera.AddYaw(c.yaw);
        camera.Look();
        ExpectNear(camera.GetTarget(), c.tx, c.ty, c.tz, 2e-6);
        ExpectNear(camera.GetUp(), c.ux, c.uy, c.uz, 1e-7);
        ExpectTriple(camera.GetPosition(), 0, 11, 125);
    }
}

TEST(Camera, UpStaysAUnitVectorAcrossTheViewLine)
{
    // Sign slips in the up formula show up as a vector that is no longer perpendicular to the view.
    for (float roll = -170; roll <= 180; roll += 37) {
        for (float pitch = -80; pitch <= 80; pitch += 23) {
            for (float yaw = -175; yaw <= 180; yaw += 41) {
                Camera camera;
                camera.AddRoll(roll);
                camera.AddPitch(pitch);
                camera.AddYaw(yaw);
                camera.Look();
                const Camera::Triple& f = camera.GetTarget();
                const Camera::Triple& u = camera.GetUp();
                const double along = (f.x * u.x + f.y * u.y + f.z * u.z) / 360.0;
                const double length = std::sqrt(u.x * u.x + u.y * u.y + u.z * u.z);
                EXPECT_NEAR(along, 0.0, 1e-5) << roll << " " << pitch << " " << yaw;
                EXPECT_NEAR(length, 1.0, 1e-5) << roll << " " << pitch << " " << yaw;
                EXPECT_NEAR(std::sqrt(f.x * f.x + f.y * f.y + f.z * f.z), 360.0, 1e-3);
            }
        }
    }
}

TEST(Camera, AnglesAccumulate)
{
    Camera camera;
    camera.AddYaw(45);
    camera.AddYaw(45);
    camera.AddPitch(10);
    camera.AddPitch(-10);
    camera.AddRoll(-20);
    EXPECT_EQ(camera.GetYaw(), 90.0f);
    EXPECT_EQ(camera.GetPitch(), 0.0f);
    EXPECT_EQ(camera.GetRoll(), -20.0f);
}

TEST(Camera, MovesFromTheStartPreset)
{
    Camera forward;
    forward.MoveForward(0.5f);
    ExpectTriple(forward.GetPosition(), 0, 15.5f, 72.5f);
    ExpectTriple(forward.GetTarget(), 0, 24.5f, -32.5f);

    Camera onto;
    onto.MoveForward(1);
    ExpectTriple(onto.GetPosition(), 0, 20, 20);
    ExpectTriple(onto.GetTarget(), 0, 29, -85);

    Camera right;
    right.Strafe(1);
    ExpectTriple(right.GetPosition(), 105, 11, 125);
    ExpectTriple(right.GetTarget(), 105, 20, 20);

    Camera left;
    left.Look();
    left.Strafe(-0.5f);
    // After a Look the view runs along -z: d = (0, -11, -485), so a step left is toward -x.
    ExpectTriple(left.GetPosition(), -242.5f, 11, 125);
    ExpectTriple(left.GetTarget(), -242.5f, 0, -360);

    Camera raised;
    raised.MoveUp(2);
    ExpectTriple(raised.GetPosition(), 0, 13, 125);
    ExpectTriple(raised.GetTarget(), 0, 20, 20);
    raised.Look();
    ExpectTriple(raised.GetPosition(), 0, 13, 125);
    ExpectTriple(raised.GetTarget(), 0, 0, -360);
}

}  // namespace
