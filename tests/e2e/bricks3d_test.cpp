// The real bricks3d process under the test's X server: what a player sees and does.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/support/x11window.h"

namespace {

namespace fs = std::filesystem;
using Rgb = std::array<uint8_t, 3>;
using Clock = std::chrono::steady_clock;

const char* const kTitle = "SkellanWindow";

// Where a world point lands in the 800x600 window, counted from the top-left pixel: the game's
// camera at (0, 11, 125) looks toward (0, 0, -360) through a 45-degree perspective.
struct ScreenPoint {
    int x, y;
};
ScreenPoint Project(double wx, double wy, double wz)
{
    double fx = 0 - 0, fy = 0 - 11, fz = -360 - 125;  // forward
    double fl = std::sqrt(fx * fx + fy * fy + fz * fz);
    fx /= fl, fy /= fl, fz /= fl;
    double sx = fy * 0 - fz * 1, sy = fz * 0 - fx * 0, sz = fx * 1 - fy * 0;  // side = f x up
    double sl = std::sqrt(sx * sx + sy * sy + sz * sz);
    sx /= sl, sy /= sl, sz /= sl;
    double ux = sy * fz - sz * fy, uy = sz * fx - sx * fz, uz = sx * fy - sy * fx;
    double px = wx - 0, py = wy - 11, pz = wz - 125;
    double ex = sx * px + sy * py + sz * pz, ey = ux * px + uy * py + uz * pz,
           ez = -(fx * px + fy * py + fz * pz);
    double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    double ndcX = (f / (800.0 / 600.0)) * ex / -ez, ndcY = f * ey / -ez;
    return {static_cast<int>((ndcX + 1) * 400), static_cast<int>(600 - (ndcY + 1) * 300)};
}

class Game {
public:
    explicit Game(const fs::path& directory)
    {
        std::string program = fs::path(BRICKS_BUILD_DIR) / "bricks3d";
        pid_ = fork();
        if (pid_ == 0) {
            if (chdir(directory.c_str()) != 0) _exit(126);
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Game()
    {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);  // SDL turns SIGTERM into a quit request; a stuck game needs SIGKILL
            waitpid(pid_, nullptr, 0);
        }
    }
    bool WaitForWindow()
    {
        for (auto end = Clock::now() + std::chrono::seconds(20); Clock::now() < end; Sleep(50)) {
            if (FindXWindow(kTitle).mapped) {
                Sleep(500);  // let a few frames draw
                return true;
            }
            if (Exited()) return false;
        }
        return false;
    }
    // The exit code, or -1 if the game did not end in time.
    int WaitForExit(std::chrono::seconds limit)
    {
        for (auto end = Clock::now() + limit; Clock::now() < end; Sleep(20)) {
            if (Exited()) return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
        }
        return -1;
    }
    static void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

private:
    bool Exited()
    {
        if (!exited_ && waitpid(pid_, &status_, WNOHANG) == pid_) exited_ = true;
        return exited_;
    }
    pid_t pid_ = -1;
    int status_ = 0;
    bool exited_ = false;
};

// Holds a key down until the picture shows its effect, or gives up after a while: a loaded machine
// may draw only a few frames a second.
template <typename Effect>
bool HoldKeyUntil(const char* key, Effect effect)
{
    std::string down = std::string("xdotool keydown ") + key, up = std::string("xdotool keyup ") + key;
    if (std::system(down.c_str()) != 0) return false;
    bool seen = false;
    for (auto end = Clock::now() + std::chrono::seconds(10); !seen && Clock::now() < end; Game::Sleep(50)) {
        seen = effect(CaptureXWindow(kTitle));
    }
    return std::system(up.c_str()) == 0 && seen;
}

bool Near(const Rgb& a, const Rgb& b, int tolerance = 8)
{
    for (int i = 0; i < 3; ++i) {
        if (std::abs(a[i] - b[i]) > tolerance) return false;
    }
    return true;
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
    for (int x = Project(-62, -37, 0).x; x <= Project(72, -37, 0).x; ++x) {
        if (Near(picture.At(x, y), {255, 255, 255}, 2)) {
            if (first < 0) first = x;
            last = x;
        }
    }
    return first < 0 ? -1 : (first + last) / 2;
}

TEST(Bricks3d, StartsWithTheFieldInPlaceMovesOnKeysAndClosesCleanly)
{
    Game game(BRICKS_BUILD_DIR);
    ASSERT_TRUE(game.WaitForWindow()) << "no window titled " << kTitle;
    XWindowInfo info = FindXWindow(kTitle);
    EXPECT_EQ(info.width, 800);
    EXPECT_EQ(info.height, 600);

    XWindowPicture start = CaptureXWindow(kTitle);
    ASSERT_EQ(start.width, 800);
    if (const char* keep = std::getenv("BRICKS_SCREENSHOT")) start.WritePpm(keep);
    struct Row {
        int bricks, firstX, y;
        Rgb colour;
    } rows[] = {{10, 30, 20, {255, 255, 0}}, {9, 25, 30, {255, 127, 0}}, {8, 20, 40, {255, 0, 0}}};
    for (const Row& row : rows) {
        for (int i = 0; i < row.bricks; ++i) {
            ScreenPoint p = Project(row.firstX - 10 * i + 5, row.y + 2.5, 2);
            EXPECT_TRUE(Near(start.At(p.x, p.y), row.colour, 2))
                << "brick " << i << " of the row at y " << row.y << " shows " << Describe(start.At(p.x, p.y));
        }
    }
    ScreenPoint ball = Project(20, -37, 2);
    ScreenPoint paddleLeft = Project(10.5, -39.5, 2);
    EXPECT_TRUE(Near(start.At(ball.x, ball.y), {255, 255, 255}, 2)) << Describe(start.At(ball.x, ball.y));
    EXPECT_TRUE(Near(start.At(paddleLeft.x, paddleLeft.y), {0, 0, 0}, 2));

    int ballX = WhiteCentreX(start, ball.y);
    ASSERT_GT(ballX, 0);
    ScreenPoint paddleEnd = Project(10.5, -39.5, 2);
    EXPECT_TRUE(HoldKeyUntil("Right", [&](const XWindowPicture& picture) {
        return WhiteCentreX(picture, ball.y) > ballX + 12 &&
               !Near(picture.At(paddleEnd.x, paddleEnd.y), {0, 0, 0}, 2);
    })) << "holding Right carries paddle and ball to the right";

    EXPECT_TRUE(HoldKeyUntil("space", [&](const XWindowPicture& picture) {
        return WhiteCentreX(picture, ball.y) == -1;
    })) << "space launches the ball off the paddle";

    ASSERT_TRUE(RequestXWindowClose(kTitle));
    EXPECT_EQ(game.WaitForExit(std::chrono::seconds(5)), 0);
}

TEST(Bricks3d, StartsWithAMissingPictureAndClosesOnAltF4)
{
    fs::path directory = fs::temp_directory_path() / ("bricks3d-missing-" + std::to_string(getpid()));
    fs::remove_all(directory);
    fs::create_directories(directory);
    fs::copy(fs::path(BRICKS_BUILD_DIR) / "skybox", directory / "skybox");
    fs::remove(directory / "skybox" / "ClearSky_top.bmp");

    Game game(directory);
    ASSERT_TRUE(game.WaitForWindow());
    // The window sits under the pointer of the bare X server, so it has the keyboard.
    ASSERT_EQ(std::system("xdotool key alt+F4"), 0);
    EXPECT_EQ(game.WaitForExit(std::chrono::seconds(5)), 0);
    fs::remove_all(directory);
}

}  // namespace
