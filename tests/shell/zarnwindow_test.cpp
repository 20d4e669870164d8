#include "shell/zarnwindow.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

#include "shell/platform/winapi/testseam/testseam.h"
#include "shell/shellglobals.h"
#include "tests/shell/doubles.h"

namespace {

class TestWindow : public ZarnWindow {
public:
    TestWindow(IGame* game, CallLog& log) : ZarnWindow(game), log_(log) {}
    HWND Handle() const { return hwnd; }
    bool Running() const { return running; }
    void Shutdown() override
    {
        log_.calls.push_back("WindowShutdown");
        ZarnWindow::Shutdown();
    }

private:
    CallLog& log_;
};

class ZarnWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testseam::SetClock(1000);
        gInstance = GetModuleHandleA(nullptr);
        gInput = &input;
    }
    void TearDown() override { gInput = nullptr; }

    // Each frame moves the seam's clock on by frameMs; the loop stops after `frames` frames.
    void RunFrames(TestWindow& window, int frames, uint32_t frameMs = 16)
    {
        game.onUpdate = [&, frames, frameMs](int frame) {
            testseam::SetClock(timeGetTime() + frameMs);
            if (frame == frames) PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
        };
        window.Run();
    }

    CallLog log;
    RecordingGame game{log};
    RecordingInput input{log};
};

int Count(const std::vector<std::string>& calls, const std::string& name)
{
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

TEST_F(ZarnWindowTest, FirstIdlePassRunsNoFrameAndLaterFramesGetTheTimeSinceThePassBefore)
{
    TestWindow window(&game, log);
    testseam::SetClock(6000);  // five seconds of start-up, measured by the first idle pass only
    RunFrames(window, 4);
    // The second pass sees the clock where the first left it; each frame then adds 16 ms.
    std::vector<float> expected = {0.0f, 0.016f, 0.016f, 0.016f};
    EXPECT_EQ(log.frameSeconds, expected);
}

TEST_F(ZarnWindowTest, FrameIntervalSurvivesTheClockWrap)
{
    testseam::SetClock(0xFFFFFFF0u);
    TestWindow window(&game, log);
    RunFrames(window, 4, 7);
    for (size_t i = 1; i < log.frameSeconds.size(); ++i) {
        EXPECT_FLOAT_EQ(log.frameSeconds[i], 0.007f) << "frame " << i << " straddling 2^32 ms";
    }
}

TEST_F(ZarnWindowTest, EachFrameReadsInputThenRunsTheGame)
{
    TestWindow window(&game, log);
    RunFrames(window, 2);
    std::vector<std::string> frames(std::find(log.calls.begin(), log.calls.end(), "Input"), log.calls.end());
    std::vector<std::string> expected = {"Input", "Update", "Input", "Update", "WindowShutdown", "Shutdown"};
    EXPECT_EQ(frames, expected);
}

TEST_F(ZarnWindowTest, PendingMessagesAreAllServedBeforeTheNextFrame)
{
    TestWindow window(&game, log);
    for (int i = 0; i < 3; ++i) PostMessageA(window.Handle(), WM_SIZE, SIZE_RESTORED, 0);
    game.onUpdate = [&](int frame) {
        if (frame == 1) {
            for (int i = 0; i < 2; ++i) PostMessageA(window.Handle(), WM_SIZE, SIZE_RESTORED, 0);
        }
        if (frame == 2) PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
    };
    log.calls.clear();
    window.Run();
    std::vector<std::string> expected = {"Resize", "Resize", "Resize", "Input",          "Update",  "Resize",
                                         "Resize", "Input",  "Update", "WindowShutdown", "Shutdown"};
    EXPECT_EQ(log.calls, expected);
}

TEST_F(ZarnWindowTest, QuitMessageEndsTheLoopAtOnceWithoutShutdown)
{
    TestWindow window(&game, log);
    game.onUpdate = [&](int frame) {
        if (frame == 3) {
            PostQuitMessage(0);
            PostMessageA(window.Handle(), WM_SIZE, SIZE_RESTORED, 0);  // still ahead of the quit
        }
    };
    window.Run();
    EXPECT_EQ(log.frameSeconds.size(), 3u);
    EXPECT_EQ(Count(log.calls, "Shutdown"), 0);
    EXPECT_EQ(Count(log.calls, "WindowShutdown"), 0);
    EXPECT_NE(wglGetCurrentContext(), nullptr) << "the context is only released by the close message";
    EXPECT_EQ(log.calls.back(), "Resize");
}

TEST_F(ZarnWindowTest, CloseReleasesTheContextThenShutsTheGameDownOnceAndEndsTheLoop)
{
    TestWindow window(&game, log);
    RunFrames(window, 2);
    EXPECT_FALSE(window.Running());
    EXPECT_EQ(Count(log.calls, "WindowShutdown"), 1);
    EXPECT_EQ(Count(log.calls, "Shutdown"), 1);
    EXPECT_EQ(log.calls.back(), "Shutdown");
    EXPECT_FALSE(log.contextCurrentAtShutdown) << "the game must be shut down after the context is gone";
    // Run returned without taking the quit message it posted; it is still waiting.
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(ZarnWindowTest, CreationSizeMessageReachesTheGameBeforeInit)
{
    game.initResult = false;  // a failing Init does not stop start-up
    TestWindow window(&game, log);
    ASSERT_GE(log.calls.size(), 2u);
    EXPECT_EQ(log.calls[0], "Resize");
    EXPECT_EQ(log.calls[1], "Init");
    EXPECT_EQ(log.sizes[0], std::make_pair(800, 600));
}

double ProjectionAspect()
{
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    return m[5] / m[0];
}

std::array<GLint, 4> Viewport()
{
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

TEST_F(ZarnWindowTest, ResizeSetsViewportAndAspectAndPassesTheSizeOnUnchanged)
{
    TestWindow window(&game, log);
    struct Case {
        int width, height;
        std::array<GLint, 4> viewport;
        double aspect;
    } cases[] = {
        {1000, 500, {0, 0, 1000, 500}, 2.0},
        {640, 0, {0, 0, 640, 1}, 640.0},  // minimised: height 1 for the projection only
        {300, 600, {0, 0, 300, 600}, 0.5},
    };
    for (const Case& c : cases) {
        log.sizes.clear();
        window.Resize(c.width, c.height);
        EXPECT_EQ(Viewport(), c.viewport) << c.width << "x" << c.height;
        EXPECT_NEAR(ProjectionAspect(), c.aspect, c.aspect * 1e-6) << c.width << "x" << c.height;
        ASSERT_EQ(log.sizes.size(), 1u);
        EXPECT_EQ(log.sizes[0], std::make_pair(c.width, c.height));
        GLdouble m[16];
        glGetDoublev(GL_PROJECTION_MATRIX, m);
        EXPECT_NEAR(m[5], 1.0 / std::tan(22.5 * M_PI / 180.0), 1e-6) << "field of view stays 45 degrees";
    }
}

TEST_F(ZarnWindowTest, MinimisedWindowReachesTheGameWithZeroHeight)
{
    TestWindow window(&game, log);
    SDL_Event event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_MINIMIZED;
    event.window.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
    SDL_PushEvent(&event);
    log.sizes.clear();
    game.onUpdate = [&](int) { PostQuitMessage(0); };
    window.Run();
    ASSERT_FALSE(log.sizes.empty());
    EXPECT_EQ(log.sizes.back().second, 0);
}

TEST_F(ZarnWindowTest, OpenGlStateAfterStartUp)
{
    TestWindow window(&game, log);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(modelview[i], (i % 5 == 0) ? 1.0f : 0.0f) << "element " << i;
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(std::vector<GLfloat>(clear, clear + 4), (std::vector<GLfloat>{0, 0, 0, 1}));
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0f);
    GLint func = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &func);
    EXPECT_EQ(func, GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Viewport(), (std::array<GLint, 4>{0, 0, 800, 600}));
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);
}

TEST_F(ZarnWindowTest, MessagesAfterTheDestructorReachOnlyDefaultProcessing)
{
    auto* window = new TestWindow(&game, log);
    HWND hwnd = window->Handle();
    delete window;
    log.calls.clear();
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10));
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(ZarnWindowTest, DeviceChangeAsksTheInputObjectToLookForControllersAgain)
{
    TestWindow window(&game, log);
    gDevicesChanged = false;
    SendMessageA(window.Handle(), WM_DEVICECHANGE, 0x0007, 0);
    EXPECT_TRUE(gDevicesChanged);
    gDevicesChanged = false;
}

TEST_F(ZarnWindowTest, TheWindowKeepsItsAddressInPointerSizedExtraBytes)
{
    TestWindow window(&game, log);
    EXPECT_EQ(GetWindowLongPtrA(window.Handle(), 0), reinterpret_cast<LONG_PTR>(&window));
    EXPECT_EQ(window.ReservedA(), -1);
    EXPECT_EQ(window.ReservedB(), -1);
}

TEST(GameInterface, DeletingThroughIGameRunsTheGamesDestructor)
{
    static_assert(std::has_virtual_destructor_v<IGame>, "the entry point deletes the game through IGame");
    static bool destroyed = false;
    struct Game : IGame {
        ~Game() override { destroyed = true; }
        bool Init() override { return true; }
        void Update(float) override {}
        void Shutdown() override {}
        void Resize(int, int) override {}
    };
    IGame* game = new Game;
    delete game;
    EXPECT_TRUE(destroyed);
}

}  // namespace
