// The real program without a display, and meeting a broken picture with nobody there to click. A
// missing sound card and a lost keyboard are checked where they are met: tests/platform/sound_test.cpp
// and tests/input/directinput_test.cpp.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/childprocess.h"
#include "tests/support/privatedisplay.h"

namespace {

namespace fs = std::filesystem;

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
