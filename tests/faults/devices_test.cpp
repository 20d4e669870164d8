// The game without the devices it would like: no sound card, a keyboard taken away mid-game, no
// display at all; and the real program meeting a broken picture with nobody there to click.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "game/ball.h"
#include "game/brick.h"
#include "game/paddle.h"
#include "game/shaderapp.h"
#include "game/world.h"
#include "input/directinput.h"
#include "math/vertex.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "tests/support/childprocess.h"
#include "tests/support/glcontext.h"
#include "tests/support/privatedisplay.h"

namespace {

namespace fs = std::filesystem;

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

std::string GameProgram()
{
    return (fs::path(BRICKS_BUILD_DIR) / "bricks3d").string();
}

// A display number no X server on this machine answers to: neither its socket nor its lock exists.
std::string UnusedDisplay()
{
    for (int n = 77;; ++n) {
        const std::string number = std::to_string(n);
        if (!fs::exists("/tmp/.X11-unix/X" + number) && !fs::exists("/tmp/.X" + number + "-lock"))
            return ":" + number;
    }
}

TEST(Devices, WithoutADisplayTheGameSaysSoAndEndsWithFailure)
{
    const std::string unused = UnusedDisplay();
    struct Case {
        const char* display;  // null: no DISPLAY at all
        const char* said;
    } cases[] = {
        {nullptr,
         "Cannot open a window: no display was found (DISPLAY is not set, WAYLAND_DISPLAY is not set)"},
        {unused.c_str(), "WAYLAND_DISPLAY is not set"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.display ? c.display : "no DISPLAY");
        ChildProcess game(GameProgram(), BRICKS_BUILD_DIR,
                          {{"DISPLAY", c.display},
                           {"WAYLAND_DISPLAY", nullptr},
                           {"SDL_VIDEODRIVER", nullptr},
                           {"BRICKS_EXIT_AFTER_FRAMES", "5"}});
        ASSERT_TRUE(game.Wait(std::chrono::seconds(20))) << "still running: an invisible window?\n"
                                                         << game.Errors();
        const std::string& errors = game.Errors();
        EXPECT_NE(errors.find(c.said), std::string::npos) << errors;
        EXPECT_EQ(errors.find("presented frame"), std::string::npos) << "it drew frames somewhere";
        // The failed window ends the game through its assertion, which names the condition.
        EXPECT_NE(errors.find("Assertion failed: hwnd"), std::string::npos) << errors;
        const int status = game.Status();
        const bool failed = (WIFEXITED(status) && WEXITSTATUS(status) != 0) ||
                            (WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT);
        EXPECT_TRUE(failed) << "status " << status;
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

    ChildProcess game(GameProgram(), directory.string(),
                      {{"DISPLAY", display.Name().c_str()},
                       {"BRICKS_MESSAGE_BOXES", "stderr"},
                       {"BRICKS_EXIT_AFTER_FRAMES", "10"}});
    const bool ended = game.Wait(std::chrono::seconds(30));
    fs::remove_all(directory);
    ASSERT_TRUE(ended) << game.Errors();
    EXPECT_TRUE(game.ExitedWith(0)) << game.Errors();
    EXPECT_NE(game.Errors().find("Error: Unknown DIB file format."), std::string::npos) << game.Errors();
    EXPECT_NE(game.Errors().find("presented frame 10"), std::string::npos) << game.Errors();
}

}  // namespace
