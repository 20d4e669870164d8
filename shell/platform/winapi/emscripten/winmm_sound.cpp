// PlaySoundA over Web Audio, for the browser backend (page.js): "<name>.wav" from the page's file
// system, decoded once and kept, or a short tone where there is no such file. It never waits: a sound
// starts when the browser has decoded it, and browsers start audio only after the player's first
// click or key on the page. Without Web Audio it is silent and returns FALSE.
#include <string>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/emscripten/page.h"

namespace layer::backend {

bool PlaySoundFile(const std::string& path)
{
    return WebPlaySound(path.c_str()) != 0;
}

// Stopping is not offered: a hit sound is short, and the next one replaces it.
void StopSound() {}

}  // namespace layer::backend
