#include "shell/platform/framepacer.h"

#include <cmath>
#include <cstdlib>

namespace pacing {
namespace {

// Monitors refresh between these; a reported rate outside them (0, Windows' 1 for "the hardware's
// default", garbage) counts as unknown.
constexpr int kLowestRate = 24;
constexpr int kHighestRate = 1000;
// A reading this far from the schedule, either way, is a gap (a stall, a suspend) or a clock that
// jumped: the schedule starts again from now rather than rushing to catch up, or stalling.
constexpr double kRestartAfterMs = 4 * kFrameMs;
// Where the deadline alone paces, a frame may go this early: a browser's animation frames and the
// system's sleeps wobble by about a millisecond, and a frame that just misses its deadline would
// wait a whole refresh more.
constexpr double kDeadlineSlackMs = 2.0;

int KnownRate(int reported)
{
    return reported >= kLowestRate && reported <= kHighestRate ? reported : 0;
}

// Blanks per frame where the rate is a whole multiple of 60 (within the rounding of a reported
// 59.94 or 119.88 Hz), else 0.
int BlanksPerFrame(int rate)
{
    const int blanks = static_cast<int>(std::lround(rate / 60.0));
    return blanks >= 1 && std::abs(rate - 60 * blanks) <= blanks ? blanks : 0;
}

}  // namespace

void FramePacer::Start(PaceDisplay& display)
{
    started = true;
    scheduled = false;
    const int rate = KnownRate(display.ReportedRefreshRate());
    const int blanks = BlanksPerFrame(rate);
    if (blanks > 0 && display.SetSwapInterval(blanks)) {
        // The driver paces; the deadline only guards, half a refresh early so as never to push a
        // frame past the blank it was meant for.
        swapInterval = blanks;
        slackMs = 500.0 / rate;
        return;
    }
    slackMs = kDeadlineSlackMs;
    // A display slower than 60 would slow the game: there frames go out without waiting for it.
    const bool waitForBlank = rate == 0 || rate > 60;
    swapInterval = waitForBlank && display.SetSwapInterval(1) ? 1 : 0;
    if (swapInterval == 0) display.SetSwapInterval(0);
}

void FramePacer::Restart()
{
    started = false;
    scheduled = false;
    swapInterval = 0;
}

void FramePacer::Present(PaceDisplay& display)
{
    if (!started) Start(display);
    const double now = clock->NowMs();
    if (scheduled) {
        deadlineMs += kFrameMs;
        if (std::fabs(now - deadlineMs) > kRestartAfterMs) scheduled = false;
    }
    clock->WaitUntilMs(scheduled ? deadlineMs - slackMs : now);
    display.Swap();
    if (!scheduled) {
        // The schedule follows the first swap, which came at a vertical blank where the driver waits.
        deadlineMs = clock->NowMs();
        scheduled = true;
    }
}

}  // namespace pacing
