#include "shell/platform/winapi/entry/scriptedrun.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "shell/platform/winapi/hooks.h"
#include "shell/platform/winapi/testseam/testseam.h"

namespace {

TEST(ScriptedRun, OnlyWellFormedSwitchesCount)
{
    const struct Case {
        const char* exitAfter;
        const char* boxes;
        long frames;
        bool boxesToStderr;
    } cases[] = {
        {nullptr, nullptr, 0, false}, {"5", "stderr", 5, true},      {"-3", "STDERR", 0, false},
        {"many", "", 0, false},       {"12x", "stderr ", 12, false},
    };
    for (const Case& c : cases) {
        c.exitAfter ? setenv("BRICKS_EXIT_AFTER_FRAMES", c.exitAfter, 1)
                    : unsetenv("BRICKS_EXIT_AFTER_FRAMES");
        c.boxes ? setenv("BRICKS_MESSAGE_BOXES", c.boxes, 1) : unsetenv("BRICKS_MESSAGE_BOXES");
        const entry::ScriptedRunOptions options = entry::ReadScriptedRunOptions();
        unsetenv("BRICKS_EXIT_AFTER_FRAMES");
        unsetenv("BRICKS_MESSAGE_BOXES");
        EXPECT_EQ(options.exitAfterFrames, c.frames) << c.exitAfter;
        EXPECT_EQ(options.messageBoxesToStderr, c.boxesToStderr) << c.boxes;
    }
}

// The switches act through the layer's hooks alone: boxes answered at once, and a close request
// queued after the last frame asked for, not before.
TEST(ScriptedRun, StartedSwitchesAnswerBoxesAndCloseAfterTheLastFrame)
{
    testseam::ResetLayer();
    entry::StartScriptedRun({});
    EXPECT_EQ(layer::Services().presentedFrame, nullptr) << "no switch, no observer";

    entry::StartScriptedRun({2, true});
    EXPECT_EQ(MessageBoxA(nullptr, "Unknown DIB file format.", "Error", MB_OK), IDOK);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "ScriptedRun";
    RegisterClassA(&windowClass);
    const HWND window =
        CreateWindowExA(0, "ScriptedRun", "", 0, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) continue;
    layer::Services().presentedFrame(window);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "closed after the first frame";
    layer::Services().presentedFrame(window);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    layer::Services().presentedFrame(window);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "asked to close once";
    testseam::ResetLayer();
}

}  // namespace
