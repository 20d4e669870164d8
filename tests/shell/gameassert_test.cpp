#include "shell/gameassert.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "shell/iwindow.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "shell/shellglobals.h"
#include "shell/zarnwindow.h"
#include "tests/shell/doubles.h"

namespace {

struct BareWindow : IWindow {
    BareWindow() : IWindow(nullptr) {}
    void Run() override {}
    void Create() override {}
    void Frame(float) override {}
    void Shutdown() override {}
    void Resize(int, int) override {}
    int ReservedA() override { return -1; }
    int ReservedB() override { return -1; }
};

// The report goes through the message box, which the seam records instead of showing: no test
// waits on a box. The box writes "title: text" to stderr.
class GameAssertDeathTest : public ::testing::Test {
protected:
    void SetUp() override { testseam::RecordMessageBoxes(true); }
    void TearDown() override { testseam::RecordMessageBoxes(false); }
};

TEST_F(GameAssertDeathTest, FailureReportsConditionFileAndLineInAnErrorBoxThenEnds)
{
    int lives = 0;
    EXPECT_DEATH(GAME_ASSERT(lives > 0),
                 "Error: Assertion failed: lives > 0, file gameassert_test.cpp, line [0-9]+");
}

TEST_F(GameAssertDeathTest, WindowWithoutAGameStopsAtEveryForwardingCall)
{
    BareWindow window;
    EXPECT_DEATH(window.InitGame(), "game_, file iwindow.cpp");
    EXPECT_DEATH(window.UpdateGame(0.1f), "game_, file iwindow.cpp");
    EXPECT_DEATH(window.ShutdownGame(), "game_, file iwindow.cpp");
    EXPECT_DEATH(window.ResizeGame(1, 1), "game_, file iwindow.cpp");
}

TEST_F(GameAssertDeathTest, NoDisplayFailsWindowCreationWithAClearMessage)
{
    CallLog log;
    RecordingGame game(log);
    EXPECT_DEATH(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("SDL_VIDEODRIVER");
            ZarnWindow window(&game);
        },
        "no display was found.*Assertion failed: hwnd, file zarnwindow.cpp");
}

}  // namespace
