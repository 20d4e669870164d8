// The real game played for a few seconds on an X server of its own and closed from its close box,
// in the sanitizer build (./test --sanitize): LeakSanitizer looks at what is left when it ends. Only
// leaks inside the system's GL and X libraries are suppressed (tests/lsan.supp); anything of ours
// fails the test. The plain build has no leak checker in the game, so there the test is skipped.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/support/childprocess.h"
#include "tests/support/privatedisplay.h"
#include "tests/support/x11window.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

#if defined(__SANITIZE_ADDRESS__)
const bool kLeakChecked = true;
#else
const bool kLeakChecked = false;
#endif

const char* const kTitle = "SkellanWindow";

void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

TEST(GameLeaks, PlayedAndClosedFromItsCloseBoxTheGameLeavesNoLeakOfOurs)
{
    if (!kLeakChecked)
        GTEST_SKIP() << "the leak check runs in the sanitizer build: ./test --sanitize -R GameLeaks";
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) GTEST_SKIP() << "no Xvfb";
    PrivateDisplay display;
    ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
    setenv("DISPLAY", display.Name().c_str(), 1);  // for the window helpers and xdotool below

    const std::string program = (fs::path(BRICKS_BUILD_DIR) / "bricks3d").string();
    const std::string leakOptions =
        "suppressions=" + std::string(BRICKS_SOURCE_DIR) + "/tests/lsan.supp:print_suppressions=0";
    ChildProcess game(program, BRICKS_BUILD_DIR,
                      {{"ASAN_OPTIONS", "detect_leaks=1"},
                       {"LSAN_OPTIONS", leakOptions.c_str()},
                       {"SDL_AUDIODRIVER", "dummy"},
                       {"BRICKS_MESSAGE_BOXES", "stderr"}});

    bool shown = false;
    for (auto end = Clock::now() + std::chrono::seconds(60); !shown && !game.Ended() && Clock::now() < end;
         game.Wait(std::chrono::milliseconds(100))) {
        shown = FindXWindow(kTitle).mapped;
    }
    if (shown) {
        // Play a little: launch the ball and move the paddle, so hits, sounds and resets happen.
        std::system(
            "xdotool keydown space sleep 0.3 keyup space keydown Right sleep 1 keyup Right "
            "keydown Left sleep 1 keyup Left >/dev/null 2>&1");
        Sleep(1000);
        EXPECT_TRUE(RequestXWindowClose(kTitle));
    }
    const bool exited = game.Wait(std::chrono::seconds(60));
    const std::string& errors = game.Errors();

    ASSERT_TRUE(shown) << "the game showed no window\n" << errors;
    ASSERT_TRUE(exited) << "the game did not end after its close box\n" << errors;
    EXPECT_EQ(errors.find("LeakSanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("AddressSanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
    EXPECT_TRUE(game.ExitedWith(0)) << "status " << game.Status() << "\n" << errors;
}

}  // namespace
