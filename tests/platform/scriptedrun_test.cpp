#include "shell/platform/winapi/entry/scriptedrun.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// What the switches do is checked on the real program (tests/faults/devices_test.cpp).
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

}  // namespace
