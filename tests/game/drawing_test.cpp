// Drawing through a real GL context: the faces each box sends, read back in feedback mode, and the
// picture the objects make in the game's view, read back pixel by pixel.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "game/ball.h"
#include "game/brick.h"
#include "game/paddle.h"
#include "game/world.h"
#include "math/camera.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "shell/safedelete.h"
#include "tests/support/glcontext.h"
#include "tests/support/playerview.h"

namespace {

using Colour = std::array<float, 4>;
using Face = std::array<std::array<float, 3>, 4>;

// Draws under a scale of 1/100 in feedback mode and returns each quad's vertices in world units. The
// rasteriser hands a quad (a, b, c, d) back as the triangles (a, b, d) and (b, c, d).
std::vector<Face> FeedbackQuads(const std::function<void()>& draw, std::vector<Colour>& colours)
{
    static GLfloat buffer[4096];
    glFeedbackBuffer(4096, GL_3D_COLOR, buffer);
    glRenderMode(GL_FEEDBACK);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(0.01f, 0.01f, 0.01f);
    draw();
    const int count = glRenderMode(GL_RENDER);
    std::vector<std::array<std::array<float, 3>, 3>> triangles;
    for (int i = 0; i + 23 <= count && buffer[i] == GL_POLYGON_TOKEN && buffer[i + 1] == 3; i += 23) {
        std::array<std::array<float, 3>, 3> t{};
        for (int v = 0; v < 3; ++v) {
            const GLfloat* p = buffer + i + 2 + 7 * v;
            for (int k = 0; k < 3; ++k)
                t[v][k] = std::round((p[k] / (k == 0 ? 400 : k == 1 ? 300 : 0.5f) - 1) * 1e5f) / 1e3f;
            colours.push_back({p[3], p[4], p[5], p[6]});
        }
        triangles.push_back(t);
    }
    std::vector<Face> quads;
    for (size_t i = 0; i + 1 < triangles.size(); i += 2) {
        const auto &a = triangles[i], &b = triangles[i + 1];
        EXPECT_EQ(a[1], b[0]) << "triangles " << i << " and " << i + 1 << " share no second corner";
        EXPECT_EQ(a[2], b[2]) << "triangles " << i << " and " << i + 1 << " share no last corner";
        quads.push_back({a[0], a[1], b[1], a[2]});
    }
    return quads;
}

// The six faces of a W x H x 2 box with its lower-left corner at (x, y, 0), in drawing order.
std::vector<Face> BoxFaces(float x, float y, float w, float h)
{
    const float X = x + w, Y = y + h, d = 2;
    return {Face{{{X, y, 0}, {x, y, 0}, {x, Y, 0}, {X, Y, 0}}},
            Face{{{X, y, d}, {X, y, 0}, {X, Y, 0}, {X, Y, d}}},
            Face{{{x, y, d}, {X, y, d}, {X, Y, d}, {x, Y, d}}},
            Face{{{x, y, 0}, {x, y, d}, {x, Y, d}, {x, Y, 0}}},
            Face{{{X, Y, d}, {X, Y, 0}, {x, Y, 0}, {x, Y, d}}},
            Face{{{x, y, 0}, {x, y, d}, {X, y, d}, {X, y, 0}}}};
}

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gPaddle = new Paddle();
        gBall = new Ball(3);
        testseam::RecordSounds(true);
    }
    void TearDown() override
    {
        testseam::RecordSounds(false);
        SafeDelete(gBall);
        SafeDelete(gPaddle);
    }
    GlContext context;
};

TEST_F(DrawingTest, BoxesSendTheirSixFacesAtTheirCornerInTheirColour)
{
    Brick red(3, 20, 40), orange(2, -55, 30), yellow(1, 30, 20), worn(0, -7, 13), dead(1, 0, 0);
    dead.Hit(true);
    gPaddle->Move(-23.5f);
    struct {
        std::function<void()> draw;
        std::vector<Face> faces;
        Colour colour;
    } cases[] = {
        {[&] { red.Draw(); }, BoxFaces(20, 40, 10, 5), {1, 0, 0, 1}},
        {[&] { orange.Draw(); }, BoxFaces(-55, 30, 10, 5), {1, 0.5f, 0, 1}},
        {[&] { yellow.Draw(); }, BoxFaces(30, 20, 10, 5), {1, 1, 0, 1}},
        {[&] { worn.Draw(); }, BoxFaces(-7, 13, 10, 5), {1, 1, 0, 1}},
        {[&] { dead.Draw(); }, {}, {}},
        {[&] { gPaddle->Draw(); }, BoxFaces(-13.5f, -40, 20, 2), {0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        std::vector<Colour> colours;
        std::array<float, 16> before{}, after{};
        glColor3f(0.3f, 0.6f, 0.9f);
        const std::vector<Face> quads = FeedbackQuads(
            [&] {
                glGetFloatv(GL_MODELVIEW_MATRIX, before.data());
                c.draw();
                glGetFloatv(GL_MODELVIEW_MATRIX, after.data());
            },
            colours);
        EXPECT_EQ(quads, c.faces);
        for (const Colour& colour : colours) EXPECT_EQ(colour, c.colour);
        EXPECT_EQ(before, after) << "the translation was left on the matrix";
    }
}

// The game's view: 45 degrees over 800 x 600 from the camera's start eye, drawn unlit and without a
// depth test, in the game's order.
class SceneTest : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        glMatrixMode(GL_PROJECTION);
        gluPerspective(45.0, 800.0 / 600.0, 1.0, 10000.0);
        glMatrixMode(GL_MODELVIEW);
        glDisable(GL_DEPTH_TEST);
        glClearColor(0.2f, 0.2f, 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        Camera camera;
        camera.Look();
    }
    // The pixel nearest to where a world point lands.
    static std::array<int, 2> Project(double x, double y, double z)
    {
        const WindowPoint p = ProjectToWindow(x, y, z);
        return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
    }
    bool Shows(int x, int y, const Rgb& rgb) const { return NearColour(context.Pixel(x, y), rgb, 1); }
    static constexpr Rgb kBackground = {51, 51, 153};
};

TEST_F(SceneTest, ObjectsShowTheirColoursWhereTheirBoxesProject)
{
    // Each kind of brick's colour and box are checked in feedback above; here, where the view puts them.
    Brick red(3, 20, 40);
    gBall->Advance();
    gBall->CycleColour();
    gPaddle->Draw();
    gBall->Draw();
    red.Draw();

    struct {
        double x, y, z;
        Rgb rgb;
        const char* what;
    } probes[] = {
        {25, 42.5, 2, {255, 0, 0}, "middle of the red brick"},
        {20.5, 40.5, 2, {255, 0, 0}, "red brick, lower-left"},
        {29.5, 44.5, 2, {255, 0, 0}, "red brick, upper-right"},
        {19, 42.5, 0, kBackground, "left of the red brick"},
        {31, 42.5, 0, kBackground, "right of the red brick"},
        {25, 46, 0, kBackground, "above the red brick"},
        {12, -39.5, 2, {0, 0, 0}, "left end of the paddle"},
        {28, -39.5, 2, {0, 0, 0}, "right end of the paddle"},
        {9, -39, 0, kBackground, "left of the paddle"},
        {20, -37, 0, {0, 255, 255}, "centre of the ball"},
    };
    for (const auto& p : probes) {
        const std::array<int, 2> at = Project(p.x, p.y, p.z);
        EXPECT_TRUE(Shows(at[0], at[1], p.rgb)) << p.what;
    }
}

TEST_F(SceneTest, BallIsADiscOfItsColourAndRadius)
{
    gPaddle->Move(-40);  // the ball rests at (-20, -37)
    gBall->Advance();
    gBall->CycleColour();
    gBall->Draw();
    const std::array<int, 2> c = Project(-20, -37, 0);
    const double radius = ProjectToWindow(-18, -37, 0).x - ProjectToWindow(-20, -37, 0).x;
    const Rgb cyan = {0, 255, 255};
    ASSERT_TRUE(Shows(c[0], c[1], cyan));
    // Cyan runs out to the left, right and top edges (the paddle lies below).
    int reach[3] = {0, 0, 0};
    const int directions[3][2] = {{1, 0}, {-1, 0}, {0, 1}};
    for (int i = 0; i < 3; ++i) {
        const int dx = directions[i][0], dy = directions[i][1];
        while (reach[i] < 100 && Shows(c[0] + dx * (reach[i] + 1), c[1] + dy * (reach[i] + 1), cyan))
            ++reach[i];
        EXPECT_TRUE(Shows(c[0] + dx * (reach[i] + 2), c[1] + dy * (reach[i] + 2), kBackground));
    }
    // Ten slices cut the outline in by up to cos(18 degrees); a radius 10% larger is a pixel too wide.
    const int width = reach[0] + reach[1] + 1;
    EXPECT_GE(width, 2 * radius * 0.95 - 1);
    EXPECT_LE(width, 2 * radius + 0.5);
    EXPECT_NEAR(reach[2], radius, 2);
    gBall->CycleColour();
    gBall->Draw();
    EXPECT_TRUE(Shows(c[0], c[1], {0, 0, 255}));
}

}  // namespace
