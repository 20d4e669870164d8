// The real program meeting a broken picture with nobody there to click. A missing display, a missing
// sound card and a lost keyboard are checked where they are met: tests/shell/gameassert_test.cpp,
// tests/platform/sound_test.cpp and tests/input/directinput_test.cpp.
#include <gtest/gtest.h>
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
