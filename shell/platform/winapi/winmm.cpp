// winmm: the multimedia clock and asynchronous sound, both through the layer's service table.
#include "shell/platform/winapi/winmm.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/hooks.h"
#include "shell/platform/winapi/winmm_playsound.h"

DWORD timeGetTime()
{
    return layer::Services().clock();
}

// The clock always has 1 ms resolution here.
MMRESULT timeBeginPeriod(UINT)
{
    return TIMERR_NOERROR;
}

BOOL PlaySoundA(LPCSTR sound, HMODULE, DWORD flags)
{
    return layer::Services().playSound(sound, flags);
}

namespace layer {
namespace {

bool warnedSyncSound = false;  // the warning is given once

}  // namespace

std::string WaveFileName(const std::string& name)
{
    std::string tail = name.size() >= 4 ? name.substr(name.size() - 4) : "";
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".wav" ? name : name + ".wav";
}

BOOL PlayNamedSound(LPCSTR name, DWORD flags)
{
    if (name == nullptr) {
        backend::StopSound();
        return TRUE;
    }
    if ((flags & SND_ASYNC) == 0 && !warnedSyncSound) {
        std::fprintf(stderr, "PlaySoundA: only asynchronous sound is supported; playing it so\n");
        warnedSyncSound = true;
    }
    return backend::PlaySoundFile(WaveFileName(name)) ? TRUE : FALSE;
}

}  // namespace layer
