// The game without the devices it would like: no sound card, a keyboard taken away mid-game, no
// display at all; and the real program meeting a broken picture with nobody there to click.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "game/ball.h"
#include "game/brick.h"
#include "game/paddle.h"
#include "game/shaderapp.h"
#include "game/world.h"
#include "input/directinput.h"
#include "math/vertex.h"
#include "shell/platform/sdl2/testing.h"
#include "tests/support/glcontext.h"
#include "tests/support/privatedisplay.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

TEST(Devices, WithoutASoundCardARedBrickIsStruckSilentlyAndPlayGoesOn)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testseam::RecordSounds(false);
    testseam::RecordMessageBoxes(true);
    GlContext context(64, 64);
    ShaderApp game;
    ASSERT_TRUE(game.Init());
    Brick* red = gHighRow[3];
    for (int hit = 0; hit < 3; ++hit) {
        red->Hit(true);  // the first hit asks for the hit sound
        game.Update(0.016f);
    }
    EXPECT_FALSE(red->IsAlive());
    EXPECT_EQ(PlaySoundA("PRES4YA", nullptr, SND_ASYNC), FALSE) << "no device: nothing plays";
    EXPECT_TRUE(testseam::TakeMessageBoxes().empty()) << "a missing sound card is no error to show";
}

TEST(Devices, AKeyboardLostMidGameIsTakenBackAndTheGameGoesOn)
{
    testseam::RecordSounds(true);
    testseam::RecordMessageBoxes(true);
    GlContext context(64, 64);
    ShaderApp game;
    ASSERT_TRUE(game.Init());
    uint8_t keys[256] = {};
    keys[DIK_RIGHT] = 0x80;
    testseam::SetKeyboardSnapshot(keys);
    DirectInput input;
    auto frame = [&] {
        input.Update();
        game.Update(0.016f);
    };
    // Lost on every third frame: those frames read no keys, the others move the paddle a step.
    float x = gPaddle->GetX();
    for (int i = 0; i < 30; ++i) {
        const bool lost = i % 3 == 1;
        if (lost) testseam::LoseKeyboard();
        frame();
        EXPECT_FLOAT_EQ(gPaddle->GetX(), lost ? x : x + 0.1f) << "frame " << i;
        x = gPaddle->GetX();
        EXPECT_FLOAT_EQ(gBall->GetPosition().GetX(), x + 10.0f) << "the resting ball follows, frame " << i;
    }
    keys[DIK_RIGHT] = 0;
    keys[DIK_SPACE] = 0x80;
    testseam::SetKeyboardSnapshot(keys);
    testseam::LoseKeyboard();
    frame();
    EXPECT_FALSE(gBall->IsLaunched()) << "a lost read holds no key";
    frame();
    EXPECT_TRUE(gBall->IsLaunched());
    testseam::UseRealKeyboard();
}

struct GameRun {
    int status = -1;  // as from waitpid; -1 if it had to be killed
    std::string errors;
};

// The real game, started in `directory` with the environment changed as given (a null value
// removes the variable), its standard error collected, killed if it runs past the limit.
GameRun RunGame(const fs::path& directory,
                const std::vector<std::pair<const char*, const char*>>& environment,
                std::chrono::seconds limit)
{
    GameRun run;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return run;
    const std::string program = (fs::path(BRICKS_BUILD_DIR) / "bricks3d").string();
    pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        if (chdir(directory.c_str()) != 0) _exit(126);
        for (const auto& [name, value] : environment) {
            if (value) {
                setenv(name, value, 1);
            } else {
                unsetenv(name);
            }
        }
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
    const Clock::time_point end = Clock::now() + limit;
    bool exited = false;
    while (!exited && Clock::now() < end) {
        pollfd readable = {pipeEnds[0], POLLIN, 0};
        poll(&readable, 1, 50);
        char buffer[1024];
        ssize_t got;
        while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
            run.errors.append(buffer, static_cast<size_t>(got));
        exited = waitpid(child, &run.status, WNOHANG) == child;
    }
    if (!exited) {
        kill(child, SIGKILL);  // SDL turns SIGTERM into a quit request; a stuck game needs SIGKILL
        waitpid(child, nullptr, 0);
        run.status = -1;
    }
    char buffer[1024];
    ssize_t got;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        run.errors.append(buffer, static_cast<size_t>(got));
    close(pipeEnds[0]);
    return run;
}

TEST(Devices, WithoutADisplayTheGameSaysSoAndEndsWithFailure)
{
    struct Case {
        const char* display;  // null: no DISPLAY at all
        const char* said;
    } cases[] = {
        {nullptr, "Cannot open a window"},
        {":77", "Cannot open a window"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.display ? c.display : "no DISPLAY");
        GameRun run =
            RunGame(BRICKS_BUILD_DIR,
                    {{"DISPLAY", c.display}, {"SDL_VIDEODRIVER", nullptr}, {"BRICKS_EXIT_AFTER_FRAMES", "5"}},
                    std::chrono::seconds(20));
        ASSERT_NE(run.status, -1) << "still running: an invisible window?\n" << run.errors;
        EXPECT_NE(run.errors.find(c.said), std::string::npos) << run.errors;
        EXPECT_EQ(run.errors.find("presented frame"), std::string::npos) << "it drew frames somewhere";
        // The failed window ends the game through its assertion, which names the condition.
        EXPECT_NE(run.errors.find("Assertion failed: hwnd"), std::string::npos) << run.errors;
        const bool failed = (WIFEXITED(run.status) && WEXITSTATUS(run.status) != 0) ||
                            (WIFSIGNALED(run.status) && WTERMSIG(run.status) == SIGABRT);
        EXPECT_TRUE(failed) << "status " << run.status;
    }
}

TEST(Devices, TheRealGameWithAGarbledPictureReportsItAndPlays)
{
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) GTEST_SKIP() << "no Xvfb";
    PrivateDisplay display;  // its own server: other tests look for the game's window by title
    ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
    fs::path directory = fs::temp_directory_path() / ("bricks3d-garbled-" + std::to_string(getpid()));
    fs::remove_all(directory);
    fs::create_directories(directory);
    fs::copy(fs::path(BRICKS_BUILD_DIR) / "skybox", directory / "skybox");
    std::ofstream(directory / "skybox" / "ClearSky_left.bmp", std::ios::binary | std::ios::trunc)
        << std::string(3000, '\x5a');

    GameRun run = RunGame(directory,
                          {{"DISPLAY", display.Name().c_str()},
                           {"BRICKS_MESSAGE_BOXES", "stderr"},
                           {"BRICKS_EXIT_AFTER_FRAMES", "10"}},
                          std::chrono::seconds(30));
    fs::remove_all(directory);
    ASSERT_NE(run.status, -1) << run.errors;
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.errors;
    EXPECT_NE(run.errors.find("Error: Unknown DIB file format."), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("presented frame 10"), std::string::npos) << run.errors;
}

}  // namespace
