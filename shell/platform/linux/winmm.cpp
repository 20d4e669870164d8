// winmm: the multimedia clock and asynchronous sound, both through the layer's service table.
#include "shell/platform/linux/winmm.h"

#include "shell/platform/linux/hooks.h"

DWORD timeGetTime()
{
    return layer::gHooks.clock();
}

// The clock always has 1 ms resolution here.
MMRESULT timeBeginPeriod(UINT)
{
    return TIMERR_NOERROR;
}

BOOL PlaySoundA(LPCSTR sound, HMODULE, DWORD flags)
{
    return layer::gHooks.playSound(sound, flags);
}
