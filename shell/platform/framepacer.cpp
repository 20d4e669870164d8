#include "shell/platform/framepacer.h"

#include <cmath>
#include <cstdlib>

namespace pacing {
namespace {

// Monitors refresh between these; a reported rate outside them (0, Windows' 1 for "the hardware's
// default", garbage) counts as unknown.
constexpr int kLowestRate = 24;
constexpr int kHighestRate = 1000;
constexpr int kAnyBlanks = kHighestRate;
// A reading this far from the schedule, either way, is a gap (a stall, a suspend) or a clock that
// jumped: the schedule starts again from now rather than rushing to catch up, or stalling.
constexpr double kRestartAfterMs = 4 * kFrameMs;
// Where the deadline alone paces, a frame may go this early: a browser's animation frames and the
// system's sleeps wobble by about a millisecond, and a frame that just misses its deadline would
// wait a whole refresh more. A frame this close to a whole frame late counts as a whole frame late.
constexpr double kDeadlineSlackMs = 2.0;
// A display that reports changes all the time must not make the pacer flap.
constexpr double kChooseAtMostEveryMs = 1000.0;
// Shown frames this close to a whole number (two or more) of frame times apart, for this long, come
// from a driver waiting for more blanks than the display has.
constexpr double kWholeFramesWithinMs = 1.0;
constexpr double kWholeFramesForMs = 1000.0;

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

bool WholeFramesApart(double apartMs)
{
    const double frames = std::round(apartMs / kFrameMs);
    return frames >= 2 && std::fabs(apartMs - frames * kFrameMs) <= kWholeFramesWithinMs;
}

}  // namespace

// The schedule goes on through a new choice: starting it afresh would let a frame out early.
void FramePacer::Choose(PaceDisplay& display, int mostBlanks)
{
    started = true;
    chosenAtMs = clock->NowMs();
    displayChanged = false;
    framesWholeApart = false;
    lastShownMs.reset();
    wholeFramesApartSinceMs.reset();
    const int rate = KnownRate(display.ReportedRefreshRate());
    // A known rate below 60 may be a driver forcing vsync on, whatever it is asked.
    displayWaits = display.ShowsFramesOnWait() || (rate > 0 && rate < 60);
    const int blanks = BlanksPerFrame(rate);
    if (blanks > 0 && blanks <= mostBlanks && display.SetSwapInterval(blanks)) {
        displayWaits = true;
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
    displayWaits = displayWaits || swapInterval > 0;
}

void FramePacer::Restart()
{
    started = false;
    scheduled = false;
    caughtUp = false;
    swapInterval = 0;
}

void FramePacer::DisplayChanged()
{
    displayChanged = true;
}

// A window shown again may be on another display; and what its frames did while hidden says
// nothing of the display.
void FramePacer::WindowShown()
{
    displayChanged = true;
    scheduled = false;
    caughtUp = false;
    lastShownMs.reset();
    wholeFramesApartSinceMs.reset();
}

bool FramePacer::ChoiceDue(double nowMs) const
{
    // Either way: a clock that jumped back must not hold the next choice off.
    return (displayChanged || framesWholeApart) && std::fabs(nowMs - chosenAtMs) >= kChooseAtMostEveryMs;
}

// The frame due at deadlineMs is so late that the next one is due too. Not showing it saves only the
// time a frame waits for the display: the drawing is done all the same (a software renderer does it
// in the swap), so where the display does not make frames wait, or the last one did not, it would
// save nothing and show the player fewer pictures.
bool FramePacer::Behind(double nowMs) const
{
    return displayWaits && waitedMs >= kDeadlineSlackMs && nowMs - deadlineMs >= kFrameMs - kDeadlineSlackMs;
}

// Only a driver asked for two blanks or more can be waiting for more than the display has: with
// one, a display slower than 60 is what catching up is for, and a frame a blank late, a hitch.
void FramePacer::WatchShownFrame(double shownMs)
{
    const std::optional<double> before = lastShownMs;
    lastShownMs = shownMs;
    if (swapInterval < 2 || !before) return;
    if (!WholeFramesApart(shownMs - *before)) {
        wholeFramesApartSinceMs.reset();
    } else if (!wholeFramesApartSinceMs) {
        wholeFramesApartSinceMs = *before;
    } else if (shownMs - *wholeFramesApartSinceMs > kWholeFramesForMs) {
        framesWholeApart = true;
    }
}

void FramePacer::Present(PaceDisplay& display)
{
    const double now = clock->NowMs();
    if (!started) {
        Choose(display, kAnyBlanks);
    } else if (ChoiceDue(now)) {
        // Frames coming whole frames apart have shown the display's report wrong: fewer blanks.
        Choose(display, framesWholeApart ? swapInterval - 1 : kAnyBlanks);
    }
    if (scheduled) {
        deadlineMs += kFrameMs;
        if (std::fabs(now - deadlineMs) > kRestartAfterMs) scheduled = false;
    }
    if (scheduled && !caughtUp && Behind(now)) {
        // Its picture is never shown; the next frame, drawn at once, is.
        caughtUp = true;
        return;
    }
    caughtUp = false;
    clock->WaitUntilMs(scheduled ? deadlineMs - slackMs : now);
    display.Swap();
    const double shown = clock->NowMs();
    waitedMs = shown - now;
    WatchShownFrame(shown);
    if (!scheduled) {
        // The schedule follows the first swap, which came at a vertical blank where the driver waits.
        deadlineMs = shown;
        scheduled = true;
    }
}

}  // namespace pacing
