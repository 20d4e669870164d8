// The entry's switches for scripted runs of the game (start-up measurements, headless tests), shared
// by the sdl2 and emscripten builds' main(). They are read from the environment once, before the game
// starts, and take effect through the layer's hooks: neither the game nor the layer knows of them.
//   BRICKS_EXIT_AFTER_FRAMES=N  after the N-th presented frame, write "presented frame N at
//                               <CLOCK_MONOTONIC ns>" to stderr and ask the window to close, as its
//                               close box would.
//   BRICKS_MESSAGE_BOXES=stderr message boxes go to stderr only and count as answered.
#pragma once

namespace entry {

struct ScriptedRunOptions {
    long exitAfterFrames = 0;  // 0: never
    bool messageBoxesToStderr = false;
};

ScriptedRunOptions ReadScriptedRunOptions();

// Installs the message-box service and the frame observer the options ask for, and nothing else.
void StartScriptedRun(const ScriptedRunOptions& options);

// Reads the switches, starts them, and hands over to the game's WinMain, as the Windows loader would.
int RunGame();

}  // namespace entry
