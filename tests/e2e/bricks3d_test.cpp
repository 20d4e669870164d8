// The real bricks3d process under the test's X server: what a player sees and does.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/childprocess.h"
#include "tests/support/playerview.h"
#include "tests/support/x11window.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const char* const kTitle = "SkellanWindow";

// Waits for the game's window to show, then lets a few frames draw; false if the game ended first or
// showed nothing in time.
bool WaitForWindow(ChildProcess& game)
{
    for (auto end = std::chrono::steady_clock::now() + 20s; std::chrono::steady_clock::now() < end;) {
        if (FindXWindow(kTitle).mapped) return !game.Wait(500ms);
        if (game.Wait(50ms)) return false;
    }
    return false;
}

// Holds a key down until the picture shows its effect, or gives up after a while: a loaded machine
// may draw only a few frames a second.
template <typename Effect>
bool HoldKeyUntil(const char* key, Effect effect)
{
    std::string down = std::string("xdotool keydown ") + key, up = std::string("xdotool keyup ") + key;
    if (std::system(down.c_str()) != 0) return false;
    bool seen = false;
    for (auto end = std::chrono::steady_clock::now() + 10s;
         !seen && std::chrono::steady_clock::now() < end;) {
        seen = effect(CaptureXWindow(kTitle));
        usleep(50000);
    }
    return std::system(up.c_str()) == 0 && seen;
}

std::string Describe(const Rgb& c)
{
    return "(" + std::to_string(c[0]) + ", " + std::to_string(c[1]) + ", " + std::to_string(c[2]) + ")";
}

// The ball's centre in the picture: the middle of the white pixels along the paddle's height.
int WhiteCentreX(const XWindowPicture& picture, int y)
{
    int first = -1, last = -1;
    // Only where the paddle can carry the ball, so no bright patch of sky is taken for it.
    for (int x = PictureProject(-62, -37, 0).x; x <= PictureProject(72, -37, 0).x; ++x) {
        if (NearColour(picture.At(x, y), {255, 255, 255}, 2)) {
            if (first < 0) first = x;
            last = x;
        }
    }
    return first < 0 ? -1 : (first + last) / 2;
}

TEST(Bricks3d, StartsWithTheFieldInPlaceMovesOnKeysAndClosesCleanly)
{
    ChildProcess game(fs::path(BRICKS_BUILD_DIR) / "bricks3d", BRICKS_BUILD_DIR, {});
    ASSERT_TRUE(WaitForWindow(game)) << "no window titled " << kTitle << "; " << game.Errors();
    XWindowInfo info = FindXWindow(kTitle);
    EXPECT_EQ(info.width, 800);
    EXPECT_EQ(info.height, 600);

    XWindowPicture start = CaptureXWindow(kTitle);
    ASSERT_EQ(start.width, 800);
    for (const FieldSample& s : StartingField()) {
        EXPECT_TRUE(NearColour(start.At(s.where.x, s.where.y), s.colour, 2))
            << s.name << " shows " << Describe(start.At(s.where.x, s.where.y));
    }

    const PicturePixel ball = PictureProject(20, -37, 2), paddleLeft = PictureProject(10.5, -39.5, 2);
    EXPECT_TRUE(NearColour(start.At(paddleLeft.x, paddleLeft.y), {0, 0, 0}, 2)) << "the paddle's left end";
    int ballX = WhiteCentreX(start, ball.y);
    ASSERT_GT(ballX, 0);
    EXPECT_TRUE(HoldKeyUntil("Right", [&](const XWindowPicture& picture) {
        return WhiteCentreX(picture, ball.y) > ballX + 12 &&
               !NearColour(picture.At(paddleLeft.x, paddleLeft.y), {0, 0, 0}, 2);
    })) << "holding Right carries paddle and ball to the right";

    EXPECT_TRUE(HoldKeyUntil("space", [&](const XWindowPicture& picture) {
        return WhiteCentreX(picture, ball.y) == -1;
    })) << "space launches the ball off the paddle";

    ASSERT_TRUE(RequestXWindowClose(kTitle));
    ASSERT_TRUE(game.Wait(5s)) << "the game did not end after the close request";
    EXPECT_TRUE(game.ExitedWith(0)) << "status " << game.Status() << "; " << game.Errors();
}

TEST(Bricks3d, ClosesOnAltF4)
{
    ChildProcess game(fs::path(BRICKS_BUILD_DIR) / "bricks3d", BRICKS_BUILD_DIR, {});
    ASSERT_TRUE(WaitForWindow(game)) << game.Errors();
    // The window sits under the pointer of the bare X server, so it has the keyboard.
    ASSERT_EQ(std::system("xdotool key alt+F4"), 0);
    ASSERT_TRUE(game.Wait(5s)) << "the game did not end on alt+F4";
    EXPECT_TRUE(game.ExitedWith(0)) << "status " << game.Status() << "; " << game.Errors();
}

}  // namespace
