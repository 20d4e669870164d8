#include "shell/gameassert.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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

// A display number no X server on this machine answers to: neither its socket nor its lock exists.
std::string UnusedDisplay()
{
    for (int n = 77;; ++n) {
        const std::string number = std::to_string(n);
        if (!std::filesystem::exists("/tmp/.X11-unix/X" + number) &&
            !std::filesystem::exists("/tmp/.X" + number + "-lock"))
            return ":" + number;
    }
}

TEST_F(GameAssertDeathTest, NoDisplayFailsWindowCreationWithAClearMessage)
{
    const std::string unused = UnusedDisplay();
    struct Case {
        const char* display;  // null: no DISPLAY at all
        const char* said;
    } cases[] = {
        {nullptr, "no display was found \\(DISPLAY is not set, WAYLAND_DISPLAY is not set\\)"},
        {unused.c_str(), "DISPLAY is :[0-9]+, WAYLAND_DISPLAY is not set"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.display ? c.display : "no DISPLAY");
        CallLog log;
        RecordingGame game(log);
        EXPECT_DEATH(
            {
                if (c.display) {
                    setenv("DISPLAY", c.display, 1);
                } else {
                    unsetenv("DISPLAY");
                }
                unsetenv("WAYLAND_DISPLAY");
                unsetenv("SDL_VIDEODRIVER");
                ZarnWindow window(&game);
            },
            std::string("Cannot open a window: .*") + c.said +
                ".*Assertion failed: hwnd, file zarnwindow.cpp");
    }
}

}  // namespace
