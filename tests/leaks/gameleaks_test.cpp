// The real game played for a few seconds on an X server of its own and closed from its close box,
// in the sanitizer build (./test --sanitize): LeakSanitizer looks at what is left when it ends. Only
// leaks inside the system's GL and X libraries are suppressed (tests/lsan.supp); anything of ours
// fails the test. The plain build has no leak checker in the game, so there the test is skipped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

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

std::string ReadAvailable(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(got));
    return text;
}

TEST(GameLeaks, PlayedAndClosedFromItsCloseBoxTheGameLeavesNoLeakOfOurs)
{
    if (!kLeakChecked)
        GTEST_SKIP() << "the leak check runs in the sanitizer build: ./test --sanitize -R GameLeaks";
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) GTEST_SKIP() << "no Xvfb";
    PrivateDisplay display;
    ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
    setenv("DISPLAY", display.Name().c_str(), 1);  // for the window helpers and xdotool below

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const std::string program = (fs::path(BRICKS_BUILD_DIR) / "bricks3d").string();
    const std::string suppressions = "suppressions=" + std::string(BRICKS_SOURCE_DIR) + "/tests/lsan.supp";
    pid_t game = fork();
    if (game == 0) {
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        if (chdir(BRICKS_BUILD_DIR) != 0) _exit(126);
        setenv("ASAN_OPTIONS", "detect_leaks=1", 1);
        setenv("LSAN_OPTIONS", (suppressions + ":print_suppressions=0").c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("BRICKS_MESSAGE_BOXES", "stderr", 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
    std::string errors;

    bool shown = false;
    for (auto end = Clock::now() + std::chrono::seconds(60); !shown && Clock::now() < end; Sleep(100)) {
        shown = FindXWindow(kTitle).mapped;
        errors += ReadAvailable(pipeEnds[0]);
    }
    if (shown) {
        // Play a little: launch the ball and move the paddle, so hits, sounds and resets happen.
        std::system(
            "xdotool keydown space sleep 0.3 keyup space keydown Right sleep 1 keyup Right "
            "keydown Left sleep 1 keyup Left >/dev/null 2>&1");
        Sleep(1000);
        EXPECT_TRUE(RequestXWindowClose(kTitle));
    }
    int status = 0;
    bool exited = false;
    for (auto end = Clock::now() + std::chrono::seconds(60); !exited && Clock::now() < end; Sleep(50)) {
        exited = waitpid(game, &status, WNOHANG) == game;
        errors += ReadAvailable(pipeEnds[0]);
    }
    if (!exited) {
        kill(game, SIGKILL);
        waitpid(game, nullptr, 0);
    }
    errors += ReadAvailable(pipeEnds[0]);
    close(pipeEnds[0]);

    ASSERT_TRUE(shown) << "the game showed no window\n" << errors;
    ASSERT_TRUE(exited) << "the game did not end after its close box\n" << errors;
    EXPECT_EQ(errors.find("LeakSanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("AddressSanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status << "\n" << errors;
}

}  // namespace
