// The game's clock: milliseconds that keep pace with a monotonic clock read around them.
#include <gtest/gtest.h>

#include <chrono>

#include "shell/platform/platform.h"

namespace {

long long MonotonicMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TEST(Clock, TimeGetTimeKeepsPaceInMillisecondSteps)
{
    EXPECT_EQ(timeBeginPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    // Each reading of ours lies between two readings of the reference, whatever the scheduler does.
    const long long before = MonotonicMs();
    const DWORD first = timeGetTime();
    const long long afterFirst = MonotonicMs();
    DWORD last = first;
    while (MonotonicMs() < afterFirst + 30) last = timeGetTime();
    const long long beforeLast = MonotonicMs();
    last = timeGetTime();
    const long long after = MonotonicMs();
    const long long elapsed = static_cast<DWORD>(last - first);  // unsigned: across a wrap too
    EXPECT_GE(elapsed, beforeLast - afterFirst - 2);
    EXPECT_LE(elapsed, after - before + 2);

    DWORD now = timeGetTime();
    DWORD next = now;
    while (next == now && MonotonicMs() < after + 1000) next = timeGetTime();
    EXPECT_LE(static_cast<DWORD>(next - now), 2u) << "the game's frame interval needs millisecond steps";
}

}  // namespace
