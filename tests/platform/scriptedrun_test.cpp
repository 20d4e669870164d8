#include "shell/platform/winapi/scriptedrun.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct Case {
    const char* exitAfter;
    const char* boxes;
    long frames;
    bool boxesToStderr;
};

TEST(ScriptedRun, SwitchesAreReadOnceAndOnlyWellFormedValuesCount)
{
    const Case cases[] = {
        {nullptr, nullptr, 0, false}, {"5", "stderr", 5, true},      {"-3", "STDERR", 0, false},
        {"many", "", 0, false},       {"12x", "stderr ", 12, false},
    };
    for (const Case& c : cases) {
        c.exitAfter ? setenv("BRICKS_EXIT_AFTER_FRAMES", c.exitAfter, 1)
                    : unsetenv("BRICKS_EXIT_AFTER_FRAMES");
        c.boxes ? setenv("BRICKS_MESSAGE_BOXES", c.boxes, 1) : unsetenv("BRICKS_MESSAGE_BOXES");
        layer::ReadScriptedRunOptions();
        unsetenv("BRICKS_EXIT_AFTER_FRAMES");
        unsetenv("BRICKS_MESSAGE_BOXES");
        EXPECT_EQ(layer::ScriptedRun().exitAfterFrames, c.frames) << c.exitAfter;
        EXPECT_EQ(layer::ScriptedRun().messageBoxesToStderr, c.boxesToStderr) << c.boxes;
    }
    setenv("BRICKS_EXIT_AFTER_FRAMES", "7", 1);
    EXPECT_EQ(layer::ScriptedRun().exitAfterFrames, 12) << "a change after start-up is not seen";
    unsetenv("BRICKS_EXIT_AFTER_FRAMES");
}

}  // namespace
