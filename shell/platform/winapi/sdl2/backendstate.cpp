#include "shell/platform/winapi/sdl2/backendstate.h"

#include "shell/platform/winapi/backend.h"

layer::sdl2::BackendState& layer::sdl2::State()
{
    static BackendState state;
    return state;
}

// The pacer starts afresh, and the keyboard's connection, the sound device and the controllers are
// let go, to be opened again at their next use.
void layer::backend::Reset()
{
    sdl2::BackendState& state = sdl2::State();
    state.pacer.Restart();
    state.keyboard.reset();
    state.sound.reset();
    state.pads.reset();
}
