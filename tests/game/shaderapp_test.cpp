// The game's frame with the real world objects in a real OpenGL context.
#include "game/shaderapp.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include "game/ball.h"
#include "game/brick.h"
#include "game/paddle.h"
#include "game/world.h"
#include "math/vertex.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "tests/support/glcontext.h"
#include "tests/support/livingbricks.h"
#include "tests/support/playerview.h"

namespace {

const Rgb kWhite = {255, 255, 255};

class ShaderAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testseam::RecordSounds(true);
        testseam::RecordMessageBoxes(true);
        glewInit();
        glMatrixMode(GL_PROJECTION);
        gluPerspective(45.0, 800.0 / 600.0, 1.0, 10000.0);
        glMatrixMode(GL_MODELVIEW);
        app.Init();
    }

    void Frame() { app.Update(0.016f); }

    Rgb PixelAt(double x, double y, double z)
    {
        const WindowPoint p = ProjectToWindow(x, y, z);
        return context.Pixel(static_cast<int>(p.x), static_cast<int>(p.y));
    }

    // Launches the ball from the paddle at x at full speed, so it climbs one unit a frame on a 45-degree
    // line: it reaches height y at x + 10 - (y + 37).
    void LaunchFrom(float paddleX)
    {
        gPaddle->Move(paddleX - gPaddle->GetX());
        gBall->SetSpeed(1.0f);
        Frame();  // the resting ball follows the paddle
        gBall->Launch();
    }

    static void Destroy(Brick* brick)
    {
        while (brick->IsAlive()) brick->Hit(true);
    }

    GlContext context;
    ShaderApp app;
};

TEST_F(ShaderAppTest, TheLastBrickFallsThenTheFieldResetsAtTheEndOfTheNextFrame)
{
    Brick* last = gLowRow[3];  // covers x 0 .. 10 at y 20
    for (Brick* b : gLowRow)
        if (b != last) Destroy(b);
    for (Brick* b : gMidRow) Destroy(b);
    for (Brick* b : gHighRow) Destroy(b);
    LaunchFrom(51);  // reaches y 19, touching the brick, at x 5

    int frames = 0;
    while (last->IsAlive() && frames++ < 200) Frame();
    ASSERT_FALSE(last->IsAlive()) << "the ball never reached the last brick";
    EXPECT_EQ(LivingBricks(), 0) << "the field is not reset in the frame in which the last brick fell";
    EXPECT_NE(PixelAt(5, 22.5, 2), (Rgb{255, 255, 0})) << "the fallen brick is not drawn";

    Frame();
    EXPECT_EQ(LivingBricks(), 27) << "the next frame finds no brick and resets the field";
    EXPECT_FALSE(gBall->IsLaunched());
    EXPECT_NE(PixelAt(5, 22.5, 2), (Rgb{255, 255, 0})) << "bricks come back only from the frame after";
    Frame();
    EXPECT_EQ(PixelAt(5, 22.5, 2), (Rgb{255, 255, 0}));
}

TEST_F(ShaderAppTest, LosingTheLastBallResetsTheFieldInTheSameFrame)
{
    Destroy(gLowRow[0]);
    gBall->SetSpeed(1.0f);
    int frames = 0;
    while (frames++ < 20000) {
        if (!gBall->IsLaunched()) {
            gPaddle->Move(-200);  // rest on the far left, launch, then leave the ball to fall
            Frame();
            gBall->Launch();
            gPaddle->Move(200);
        }
        int livesBefore = gBall->GetLives();
        Frame();
        if (livesBefore == 1 && gBall->GetLives() != 1) break;
    }
    ASSERT_LT(frames, 20000) << "the ball was never lost three times";
    EXPECT_EQ(gBall->GetLives(), 3);
    EXPECT_FALSE(gBall->IsLaunched());
    EXPECT_EQ(LivingBricks(), 27) << "the reset restores every brick, also one destroyed earlier";
    EXPECT_EQ(gPaddle->GetX(), 10.0f);
}

TEST_F(ShaderAppTest, TwoBricksStruckTogetherCancelTheirTurnsAndBothLoseAPointEachFrame)
{
    for (Brick* b : gLowRow) Destroy(b);
    LaunchFrom(51);  // meets the middle row at x -5, the edge between bricks 3 and 4
    Brick* right = gMidRow[3];
    Brick* left = gMidRow[4];
    int frames = 0;
    while (right->GetHitPoints() == 2 && frames++ < 200) Frame();
    ASSERT_LT(frames, 200);
    EXPECT_EQ(left->GetHitPoints(), 1) << "both bricks are struck in the same frame";
    EXPECT_TRUE(gBall->IsMovingUp()) << "two turns cancel";
    // Where the ball reaches into the right brick, the brick (yellow at its last point) covers it.
    EXPECT_EQ(PixelAt(-4, 30.5, 2), (Rgb{255, 255, 0})) << "bricks are drawn over the ball";

    Frame();  // still inside both: each loses its last point
    EXPECT_FALSE(right->IsAlive());
    EXPECT_FALSE(left->IsAlive());
    EXPECT_TRUE(gBall->IsMovingUp());
}

TEST_F(ShaderAppTest, TheFrameIgnoresElapsedTimeAndAlwaysDrawsIntoTheWholeWindow)
{
    LaunchFrom(10);
    glViewport(0, 0, 123, 45);  // as a resize would leave it
    app.Update(0.001f);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 800, 600}));
    float y0 = gBall->GetPosition().GetY();
    app.Update(5.0f);
    float y1 = gBall->GetPosition().GetY();
    app.Update(0.0f);
    float y2 = gBall->GetPosition().GetY();
    EXPECT_EQ(y1 - y0, y2 - y1);
    EXPECT_EQ(y1 - y0, 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "the scene is drawn in flat colours";
    EXPECT_EQ(PixelAt(gBall->GetPosition().GetX(), gBall->GetPosition().GetY(), 0), kWhite);
}

}  // namespace
