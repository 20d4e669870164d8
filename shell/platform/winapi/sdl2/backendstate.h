// The SDL2 backend's state: all that its files keep between calls, in one place with one reset
// (backend::Reset). Private to sdl2/.
#pragma once

#include <memory>

#include "shell/platform/framepacer.h"
#include "shell/platform/steadyclock.h"
#include "shell/platform/winapi/sdl2/dinput8_pads.h"
#include "shell/platform/winapi/sdl2/winmm_sound.h"

namespace layer::sdl2 {

// The keyboard's own X connection (dinput8_keyboard.cpp).
class XKeyboard;
struct XKeyboardCloser {
    void operator()(XKeyboard* keyboard) const;
};

struct BackendState {
    pacing::SteadyClock paceClock;
    pacing::FramePacer pacer{paceClock};
    std::unique_ptr<XKeyboard, XKeyboardCloser> keyboard;  // opened at the first read
    std::unique_ptr<Sound> sound;                          // made at the first sound
    std::unique_ptr<Pads> pads;                            // made at the first enumeration
};

BackendState& State();

}  // namespace layer::sdl2
