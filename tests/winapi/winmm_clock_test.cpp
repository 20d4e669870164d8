// The game's clock: milliseconds that keep pace with a monotonic clock read around them.
#include <gtest/gtest.h>

#include <algorithm>
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
    // Our two readings lie between the reference's first and last, and outside its middle two.
    const long long before = MonotonicMs();
    const DWORD first = timeGetTime();
    const long long afterFirst = MonotonicMs();
    DWORD last = first;
    while (MonotonicMs() < afterFirst + 30 || last == first) last = timeGetTime();
    const long long beforeLast = MonotonicMs();
    last = timeGetTime();
    const long long elapsed = static_cast<DWORD>(last - first);  // unsigned: across a wrap too
    EXPECT_GE(elapsed, beforeLast - afterFirst - 2);
    EXPECT_LE(elapsed, MonotonicMs() - before + 2);
    DWORD smallestStep = ~0u;  // the smallest of a few, as the scheduler may stretch any one
    for (int i = 0; i < 5; ++i) {
        const DWORD now = timeGetTime();
        DWORD next;
        while ((next = timeGetTime()) == now) continue;
        smallestStep = std::min<DWORD>(smallestStep, next - now);
    }
    EXPECT_LE(smallestStep, 2u) << "the game's frame interval needs millisecond steps";
}

}  // namespace
