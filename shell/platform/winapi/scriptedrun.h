// Switches for scripted runs of the game (start-up measurements, headless tests), read from the
// environment once, at start-up. The game itself knows nothing of them.
//   BRICKS_EXIT_AFTER_FRAMES=N  after the N-th presented frame, write "presented frame N at
//                               <CLOCK_MONOTONIC ns>" to stderr and ask the window to close, as its
//                               close box would.
//   BRICKS_MESSAGE_BOXES=stderr message boxes go to stderr only and count as answered.
#pragma once

#include "shell/platform/winapi/wintypes.h"

namespace layer {

struct ScriptedRunOptions {
    long exitAfterFrames = 0;  // 0: never
    bool messageBoxesToStderr = false;
};

// Reads the switches; the entry point calls it once, before the game starts.
void ReadScriptedRunOptions();
const ScriptedRunOptions& ScriptedRun();

// Counts a presented frame of a window, and closes it after the frame asked for.
void NotePresentedFrame(HWND hwnd);

}  // namespace layer
