// The browser backend's state: all that its files keep between calls, in one place with one reset
// (backend::Reset). Private to emscripten/.
#pragma once

#include "shell/platform/framepacer.h"
#include "shell/platform/winapi/emscripten/page.h"

namespace layer::web {

// The page's time is that of its animation frames, the browser's vertical blanks: waiting means
// handing control back to the browser, which is also when it shows the canvas, so a wait always
// yields at least once.
class AnimationFrameClock final : public pacing::PaceClock {
public:
    double NowMs() override { return frameMs; }
    void WaitUntilMs(double ms) override
    {
        do {
            frameMs = WebWaitForFrame();
        } while (frameMs < ms);
    }

private:
    double frameMs = 0.0;
};

struct BackendState {
    bool contextMade = false;  // the canvas's WebGL context, made once with the page
    bool canvasTaken = false;  // a window draws on the canvas
    char canvasToken = 0;      // its address stands for the canvas
    HGLRC context = nullptr;   // the canvas's one context, once made
    HGLRC current = nullptr;
    BYTE keys[256] = {};  // the snapshot the page's key events keep, indexed by DIK_* code
    // The gamepads by the page's index: a browser gives a pad that reconnects its old index, so each
    // connection gets a number of its own (dinput8_pads.cpp); 0 where nothing is connected.
    uint32_t padNumbers[16] = {};
    uint32_t lastPadNumber = 0;
    AnimationFrameClock frameClock;
    pacing::FramePacer pacer{frameClock};
};

BackendState& State();

}  // namespace layer::web
