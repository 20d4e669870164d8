#include "shell/platform/framepacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using pacing::FramePacer;

// Simulated time: waits take none of the test's. The clock reads trueMs + offsetMs (a clock that
// jumped reads wrong from then on).
struct SimClock final : pacing::PaceClock {
    double trueMs = 0.0;
    double offsetMs = 0.0;
    double NowMs() override { return trueMs + offsetMs; }
    void WaitUntilMs(double ms) override { trueMs = std::max(trueMs, ms - offsetMs); }
};

enum class Waits { Always, Never, EveryOther };

// A monitor whose vertical blanks come every 1/refreshHz of true time, behind a driver that takes
// a swap interval (or not) and waits for the blanks as told.
struct SimDisplay final : pacing::PaceDisplay {
    SimDisplay(SimClock& clock, int reportedHz, double refreshHz, bool takesInterval, Waits waits)
        : clock(clock),
          reportedHz(reportedHz),
          periodMs(1000.0 / refreshHz),
          takesInterval(takesInterval),
          waits(waits)
    {
    }
    int ReportedRefreshRate() override { return reportedHz; }
    bool SetSwapInterval(int blanks) override
    {
        interval = blanks;
        return takesInterval;
    }
    void Swap() override
    {
        const bool waitsNow =
            waits == Waits::Always || (waits == Waits::EveryOther && shownMs.size() % 2 == 0);
        if (takesInterval && interval > 0 && waitsNow) {
            const long next = static_cast<long>(std::ceil(clock.trueMs / periodMs - 1e-9));
            lastBlank = std::max(next, lastBlank + interval);
            clock.trueMs = lastBlank * periodMs;
        }
        shownMs.push_back(clock.trueMs);
    }
    // Frames shown from fromMs (true time) for the next spanMs.
    int FramesShown(double fromMs, double spanMs) const
    {
        return static_cast<int>(std::count_if(shownMs.begin(), shownMs.end(),
                                              [&](double t) { return t >= fromMs && t < fromMs + spanMs; }));
    }

    SimClock& clock;
    int reportedHz;
    double periodMs;
    bool takesInterval;
    Waits waits;
    int interval = 0;
    long lastBlank = -1000;
    std::vector<double> shownMs;
};

// The game's loop: draw (renderMs of true time), present, until untilMs of true time.
void Play(FramePacer& pacer, SimClock& clock, SimDisplay& display, double renderMs, double untilMs)
{
    while (clock.trueMs < untilMs) {
        clock.trueMs += renderMs;
        pacer.Present(display);
    }
}

struct DisplayCase {
    const char* display;
    int reportedHz;
    double refreshHz;
    bool takesInterval;
    Waits waits;
    double renderMs;
    int swapInterval;  // blanks the driver is asked for
    int frames;        // shown in 10 s
    int fewestBlanks;  // between frames, where the driver waits; 0: not checked
    int mostBlanks;
};

TEST(FramePacerTest, SixtyFramesASecondOnEveryDisplay)
{
    const DisplayCase cases[] = {
        {"60 Hz", 60, 60, true, Waits::Always, 3, 1, 600, 1, 1},
        {"75 Hz", 75, 75, true, Waits::Always, 3, 1, 600, 1, 2},
        {"120 Hz", 120, 120, true, Waits::Always, 3, 2, 600, 2, 2},
        {"144 Hz", 144, 144, true, Waits::Always, 3, 1, 600, 2, 3},
        {"165 Hz", 165, 165, true, Waits::Always, 3, 1, 600, 2, 3},
        {"240 Hz", 240, 240, true, Waits::Always, 3, 4, 600, 4, 4},
        {"59.94 Hz, reported as 59", 59, 59.94, true, Waits::Always, 3, 1, 599, 1, 1},
        {"50 Hz: frames go out without waiting", 50, 50, true, Waits::Always, 3, 0, 600, 0, 0},
        {"no swap control at all (Xvfb)", 60, 60, false, Waits::Always, 3, 0, 600, 0, 0},
        {"120 Hz, the driver takes the interval, never waits", 120, 120, true, Waits::Never, 3, 2, 600, 0, 0},
        {"120 Hz, the driver waits every other swap", 120, 120, true, Waits::EveryOther, 3, 2, 600, 0, 0},
        {"144 Hz, the driver waits every other swap", 144, 144, true, Waits::EveryOther, 3, 1, 600, 0, 0},
        {"rate unknown (0), 144 Hz", 0, 144, true, Waits::Always, 3, 1, 600, 2, 3},
        {"rate 1 (Windows' hardware default), 60 Hz", 1, 60, true, Waits::Always, 3, 1, 600, 1, 1},
        {"rate nonsense (100000), 75 Hz", 100000, 75, true, Waits::Always, 3, 1, 600, 1, 2},
        {"a machine too slow for 60: frames of 25 ms", 60, 60, false, Waits::Always, 25, 0, 400, 0, 0},
    };
    for (const DisplayCase& c : cases) {
        SCOPED_TRACE(c.display);
        SimClock clock;
        SimDisplay display(clock, c.reportedHz, c.refreshHz, c.takesInterval, c.waits);
        FramePacer pacer(clock);
        Play(pacer, clock, display, c.renderMs, 11000.0);

        EXPECT_EQ(pacer.SwapInterval(), c.swapInterval);
        EXPECT_NEAR(display.FramesShown(1000.0, 10000.0), c.frames, 1);
        if (c.fewestBlanks == 0) continue;
        for (size_t i = 1; i < display.shownMs.size(); ++i) {
            const long blanks = std::lround((display.shownMs[i] - display.shownMs[i - 1]) / display.periodMs);
            ASSERT_GE(blanks, c.fewestBlanks) << "frame " << i;
            ASSERT_LE(blanks, c.mostBlanks) << "frame " << i;
        }
    }
}

// A suspend, or a changed clock, must neither send the game racing to catch up nor freeze it
// until the clock comes back to the old schedule.
TEST(FramePacerTest, AClockThatJumpsRestartsTheSchedule)
{
    for (double jumpMs : {5000.0, -5000.0}) {
        SCOPED_TRACE(jumpMs);
        SimClock clock;
        SimDisplay display(clock, 144, 144, true, Waits::Always);
        FramePacer pacer(clock);
        Play(pacer, clock, display, 3, 1000.0);
        clock.offsetMs += jumpMs;
        Play(pacer, clock, display, 3, 3000.0);
        EXPECT_NEAR(display.FramesShown(1000.0, 2000.0), 120, 2);
    }
}

}  // namespace
