// The multimedia clock and the asynchronous sound. Implemented in winmm.cpp; the sound output
// is each backend's winmm_sound.cpp.
#pragma once

#include "shell/platform/winapi/wintypes.h"

typedef UINT MMRESULT;
#define TIMERR_NOERROR 0

#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001

DWORD timeGetTime();
MMRESULT timeBeginPeriod(UINT period);
BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);
