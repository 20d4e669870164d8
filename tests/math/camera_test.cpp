#include "math/camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

::testing::AssertionResult Is(const Camera::Triple& t, double x, double y, double z, double tolerance = 0)
{
    if (std::fabs(t.x - x) <= tolerance && std::fabs(t.y - y) <= tolerance && std::fabs(t.z - z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << t.x << ", " << t.y << ", " << t.z << ") instead of (" << x
                                         << ", " << y << ", " << z << ")";
}

// Look calls gluLookAt; with no context current its matrix goes nowhere. These tests read the fields.

TEST(Camera, PresetsMovesAndTheLookWithNoAngles)
{
    Camera start;
    EXPECT_TRUE(Is(start.GetPosition(), 0, 11, 125));
    EXPECT_TRUE(Is(start.GetTarget(), 0, 20, 20));
    EXPECT_TRUE(Is(start.GetUp(), 0, 1, 0));
    start.Look();
    EXPECT_TRUE(Is(start.GetTarget(), 0, 0, -360));
    EXPECT_TRUE(Is(start.GetUp(), 0, 1, 0));
    // After the Look the view runs along d = (0, -11, -485): half a step left is -242.5 in x.
    start.Strafe(-0.5f);
    EXPECT_TRUE(Is(start.GetPosition(), -242.5, 11, 125));
    EXPECT_TRUE(Is(start.GetTarget(), -242.5, 0, -360));

    Camera forward, right, raised, top;
    forward.MoveForward(0.5f);
    EXPECT_TRUE(Is(forward.GetPosition(), 0, 15.5, 72.5));
    EXPECT_TRUE(Is(forward.GetTarget(), 0, 24.5, -32.5));
    right.Strafe(1);
    EXPECT_TRUE(Is(right.GetPosition(), 105, 11, 125));
    EXPECT_TRUE(Is(right.GetTarget(), 105, 20, 20));
    raised.MoveUp(2);
    raised.Look();
    EXPECT_TRUE(Is(raised.GetPosition(), 0, 13, 125));
    EXPECT_TRUE(Is(raised.GetTarget(), 0, 0, -360));
    top.AddYaw(30);
    top.SetTopView();
    EXPECT_TRUE(Is(top.GetPosition(), 0, 100, 20));
    EXPECT_EQ(top.GetYaw(), 0.0f);
}

TEST(Camera, QuarterTurnsUseTheFourDigitPiAndAimFromTheOrigin)
{
    // 90 degrees is 1.57075 radians, whose cosine is 4.63e-5, not 0. The aim point lies 360 from the
    // world origin, not from the eye at (0, 11, 125).
    const double c = 4.63287033198867e-05;
    struct {
        float roll, pitch, yaw;
        double tx, ty, tz, ux, uy, uz;
    } cases[] = {
        {0, 0, 90, 360, 0, -360 * c, 0, 1, 0},
        {90, 0, 0, 0, 0, -360, -1, c, 0},
        {0, 90, 0, 0, 360, -360 * c, 0, c, 1},
        {0, 0, -90, -360, 0, -360 * c, 0, 1, 0},
        {0, 0, 180, 2 * 360 * c, 0, 360, 0, 1, 0},
        {0, 90, 90, 360 * c, 360, -360 * c * c, -1, c, c},  // only here do the products of sines count
    };
    for (const auto& t : cases) {
        Camera camera;
        camera.AddRoll(t.roll);
        camera.AddPitch(t.pitch);
        camera.AddYaw(t.yaw / 2);
        camera.AddYaw(t.yaw / 2);
        camera.Look();
        EXPECT_TRUE(Is(camera.GetTarget(), t.tx, t.ty, t.tz, 2e-6))
            << t.roll << " " << t.pitch << " " << t.yaw;
        EXPECT_TRUE(Is(camera.GetUp(), t.ux, t.uy, t.uz, 1e-7)) << t.roll << " " << t.pitch << " " << t.yaw;
    }
}

}  // namespace
