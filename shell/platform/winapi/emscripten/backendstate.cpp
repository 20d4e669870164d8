#include "shell/platform/winapi/emscripten/backendstate.h"

#include <cstring>

#include "shell/platform/winapi/backend.h"

layer::web::BackendState& layer::web::State()
{
    static BackendState state;
    return state;
}

// The canvas keeps its context and the page its decoded sounds: a page has them once, for as long as
// it is open. No key is held any more, no context current and no gamepad known.
void layer::backend::Reset()
{
    web::BackendState& state = web::State();
    state.current = nullptr;
    std::memset(state.keys, 0, sizeof(state.keys));
    std::memset(state.padNumbers, 0, sizeof(state.padNumbers));
}
