// The multimedia clock: milliseconds from a monotonic clock, as a wrapping 32-bit count.
#include "shell/platform/sdl2/winmm.h"

#include <chrono>

#include "shell/platform/sdl2/seamstate.h"

DWORD timeGetTime()
{
    if (testseam::State().clockSet) return testseam::State().clock;
    auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count();
    return static_cast<DWORD>(static_cast<uint64_t>(ms));
}

// The clock always has 1 ms resolution here.
MMRESULT timeBeginPeriod(UINT)
{
    return TIMERR_NOERROR;
}
