// PlaySoundA over Web Audio, for the browser backend (page.js): "<name>.wav" from the page's file
// system, decoded once and kept, or a short tone where there is no such file. It never waits: a sound
// starts when the browser has decoded it, and browsers start audio only after the player's first
// click or key on the page. Without Web Audio it is silent and returns FALSE.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "shell/platform/linux/backend.h"
#include "shell/platform/linux/resets.h"
#include "shell/platform/linux/winmm.h"
#include "shell/platform/web/page.h"

namespace {

struct SoundService {
    bool warnedSync = false;
};

SoundService service;

bool EndsWithWav(const std::string& name)
{
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".wav";
}

}  // namespace

namespace layer::backend {

BOOL PlaySound(LPCSTR name, DWORD flags)
{
    // Stopping is not offered: a hit sound is short, and the next one replaces it.
    if (name == nullptr) return TRUE;
    if ((flags & SND_ASYNC) == 0 && !service.warnedSync) {
        std::fprintf(stderr, "PlaySoundA: only asynchronous sound is supported; playing it so\n");
        service.warnedSync = true;
    }
    const std::string path = EndsWithWav(name) ? name : std::string(name) + ".wav";
    return WebPlaySound(path.c_str()) ? TRUE : FALSE;
}

void ResetSound()
{
    service = {};
}

}  // namespace layer::backend
