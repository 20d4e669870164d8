#include "shell/platform/framepacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using pacing::FramePacer;

// Simulated time: waits take none of the test's. The clock reads trueMs + offsetMs (a clock that
// jumped reads wrong from then on). A page's clock (animation frames every stepMs) reads the time of
// the animation frame the game last resumed at, and its waits always yield to the next one.
struct SimClock final : pacing::PaceClock {
    double trueMs = 0.0;
    double offsetMs = 0.0;
    double stepMs = 0.0;
    double frameMs = 0.0;
    double NowMs() override { return (stepMs > 0 ? frameMs : trueMs) + offsetMs; }
    void WaitUntilMs(double ms) override
    {
        if (stepMs == 0) {
            trueMs = std::max(trueMs, ms - offsetMs);
            return;
        }
        do {
            trueMs = frameMs = (std::floor(trueMs / stepMs + 1e-9) + 1) * stepMs;
        } while (frameMs + offsetMs < ms);
    }
};

// What the driver does with a swap interval. ForcesVsync waits a blank at least, whatever it is told;
// NoControl (Xvfb) takes no interval and never waits, but draws the frame in the swap, as a software
// renderer does; Page is a browser's canvas, which the clock's animation frames pace.
enum Driver { Waits, NeverWaits, WaitsEveryOther, ForcesVsync, NoControl, Page };
constexpr double kSoftwareSwapMs = 3.0;

// A monitor whose vertical blanks come every 1/refreshHz of true time, behind a driver. While the
// window is hidden the window system lets a swap through only every 60 ms.
struct SimDisplay final : pacing::PaceDisplay {
    SimDisplay(SimClock& clock, Driver driver) : clock(clock), driver(driver) {}
    void Show(int reported, double refreshHz)
    {
        reportedHz = reported;
        periodMs = 1000.0 / refreshHz;
    }
    int ReportedRefreshRate() override
    {
        ++rateReadings;
        return reportedHz;
    }
    bool SetSwapInterval(int blanks) override
    {
        interval = blanks;
        return driver != Driver::NoControl && driver != Driver::Page;
    }
    bool ShowsFramesOnWait() override { return driver == Driver::Page; }
    void Swap() override
    {
        if (driver == Driver::NoControl) clock.trueMs += kSoftwareSwapMs;
        if (hidden) {
            clock.trueMs = (std::floor(clock.trueMs / 60.0) + 1) * 60.0;
        } else if (const int blanks = BlanksToWait(); blanks > 0) {
            const long next = static_cast<long>(std::ceil(clock.trueMs / periodMs - 1e-9));
            const long after = std::lround(lastSwapMs / periodMs) + blanks;
            clock.trueMs = std::max(next, after) * periodMs;
        }
        lastSwapMs = clock.trueMs;
        shownMs.push_back(clock.trueMs);
    }
    int BlanksToWait() const
    {
        switch (driver) {
            case Driver::Waits:
                return interval;
            case Driver::WaitsEveryOther:
                return shownMs.size() % 2 == 0 ? interval : 0;
            case Driver::ForcesVsync:
                return std::max(interval, 1);
            default:
                return 0;
        }
    }

    SimClock& clock;
    Driver driver;
    int reportedHz = 0;
    double periodMs = 0.0;
    bool hidden = false;
    int interval = 0;
    int rateReadings = 0;
    double lastSwapMs = -1e6;
    std::vector<double> shownMs;
};

// What happens to the window at 4 s of the run: nothing; it moves to another display, which the
// window system announces or not; its display reports a new rate every frame; it is hidden for 2 s;
// the machine is too busy for 60 for 2 s (frames of 20 ms).
enum Then { Nothing, Moves, MovesUnannounced, NewRateEveryFrame, Hidden, Busy };

constexpr double kThenAtMs = 4000.0;
constexpr double kWhileMs = 2000.0;

// Frames are counted for 10 s from a second after the start or after the move (two after an
// unannounced one: the pacer sees it from a second of frames); from the moment a hidden window is
// shown again, or the machine has time again, so that a burst of frames would count.
double CountFromMs(Then then)
{
    switch (then) {
        case Then::Nothing:
            return 1000.0;
        case Then::MovesUnannounced:
            return kThenAtMs + 2000.0;
        case Then::Hidden:
        case Then::Busy:
            return kThenAtMs + kWhileMs;
        default:
            return kThenAtMs + 1000.0;
    }
}

struct Screen {
    int reportedHz;
    double refreshHz;  // of a page: its animation frames
};

struct PaceCase {
    const char* name;
    Screen screen;
    Driver driver;
    double renderMs;
    Then then;
    Screen movedTo;
    int swapInterval;  // blanks the driver is asked for, at the end; -1: not checked
    int frames;        // game frames in the 10 s counted
    int fewestBlanks;  // of the display between frames shown, once settled; 0: not checked
    int mostBlanks;
};

// The game's loop: draw (renderMs of true time), present, until 10 s have been counted. Gives the
// true times at which the game's frames ended.
std::vector<double> Play(const PaceCase& c, FramePacer& pacer, SimClock& clock, SimDisplay& display)
{
    const int reports[] = {144, 60, 120, 50, 240, 75, 0};
    std::vector<double> frames;
    bool happened = false;
    double shownAgainMs = -1e6;
    size_t shownBefore = 0;
    int unshownInARow = 0;
    for (int i = 0; clock.trueMs < CountFromMs(c.then) + 10000.0; ++i) {
        if (c.then == Then::NewRateEveryFrame && clock.trueMs >= kThenAtMs) {
            display.reportedHz = reports[i % 7];
            pacer.DisplayChanged();
        }
        if (!happened && clock.trueMs >= kThenAtMs) {
            happened = true;
            if (c.then == Then::Moves || c.then == Then::MovesUnannounced)
                display.Show(c.movedTo.reportedHz, c.movedTo.refreshHz);
            if (c.then == Then::Moves) pacer.DisplayChanged();
            display.hidden = c.then == Then::Hidden;
        }
        if (display.hidden && clock.trueMs >= kThenAtMs + kWhileMs) {
            display.hidden = false;
            pacer.WindowShown();
            shownAgainMs = clock.trueMs;
        }
        const bool busy =
            c.then == Then::Busy && clock.trueMs >= kThenAtMs && clock.trueMs < kThenAtMs + kWhileMs;
        clock.trueMs += busy ? 20.0 : c.renderMs;
        pacer.Present(display);
        frames.push_back(clock.trueMs);
        unshownInARow = display.shownMs.size() == shownBefore ? unshownInARow + 1 : 0;
        shownBefore = display.shownMs.size();
        EXPECT_LE(unshownInARow, 1) << "two frames in a row not shown, at " << clock.trueMs << " ms";
        EXPECT_FALSE(unshownInARow && clock.trueMs - shownAgainMs < 500.0) << "a burst after being hidden";
    }
    EXPECT_LE(display.rateReadings, 1 + clock.trueMs / 1000.0) << "chose more than once a second";
    return frames;
}

int CountFrom(const std::vector<double>& timesMs, double fromMs)
{
    return static_cast<int>(std::count_if(timesMs.begin(), timesMs.end(),
                                          [&](double t) { return t >= fromMs && t < fromMs + 10000.0; }));
}

TEST(FramePacerTest, SixtyGameFramesASecondOnEveryDisplay)
{
    const Screen none{0, 0};
    // clang-format off
    const PaceCase cases[] = {
        {"60 Hz", {60, 60}, Waits, 3, Nothing, none, 1, 600, 1, 1},
        {"75 Hz", {75, 75}, Waits, 3, Nothing, none, 1, 600, 1, 2},
        {"120 Hz", {120, 120}, Waits, 3, Nothing, none, 2, 600, 2, 2},
        {"144 Hz", {144, 144}, Waits, 3, Nothing, none, 1, 600, 2, 3},
        {"165 Hz", {165, 165}, Waits, 3, Nothing, none, 1, 600, 2, 3},
        {"240 Hz", {240, 240}, Waits, 3, Nothing, none, 4, 600, 4, 4},
        {"59.94 Hz, reported as 59", {59, 59.94}, Waits, 3, Nothing, none, 1, 599, 1, 1},
        {"50 Hz: frames go out without waiting", {50, 50}, Waits, 3, Nothing, none, 0, 600, 0, 0},
        {"50 Hz, the driver forces vsync", {50, 50}, ForcesVsync, 3, Nothing, none, 0, 600, 0, 0},
        {"no swap control at all (Xvfb)", {60, 60}, NoControl, 3, Nothing, none, 0, 600, 0, 0},
        {"120 Hz, the driver takes the interval, never waits", {120, 120}, NeverWaits, 3, Nothing, none, 2, 600, 0, 0},
        {"120 Hz, the driver waits every other swap", {120, 120}, WaitsEveryOther, 3, Nothing, none, 2, 600, 0, 0},
        {"144 Hz, the driver waits every other swap", {144, 144}, WaitsEveryOther, 3, Nothing, none, 1, 600, 0, 0},
        {"rate unknown (0), 144 Hz", {0, 144}, Waits, 3, Nothing, none, 1, 600, 2, 3},
        {"rate 1 (Windows' hardware default), 60 Hz", {1, 60}, Waits, 3, Nothing, none, 1, 600, 1, 1},
        {"rate nonsense (100000), 75 Hz", {100000, 75}, Waits, 3, Nothing, none, 1, 600, 1, 2},
        {"too slow for 60: frames of 25 ms", {60, 60}, NoControl, 22, Nothing, none, 0, 400, 1, 2},
        {"moved from 120 Hz to 60 Hz", {120, 120}, Waits, 3, Moves, {60, 60}, 1, 600, 1, 1},
        {"moved from 120 Hz to 60 Hz, unannounced", {120, 120}, Waits, 3, MovesUnannounced, {60, 60}, 1, 600, 1, 1},
        {"moved from 120 Hz to 60 Hz, still reported as 120", {120, 120}, Waits, 3, MovesUnannounced, {120, 60}, 1,
         600, 1, 1},
        {"moved from 240 Hz to 60 Hz", {240, 240}, Waits, 3, Moves, {60, 60}, 1, 600, 1, 1},
        {"moved from 240 Hz to 60 Hz, unannounced", {240, 240}, Waits, 3, MovesUnannounced, {60, 60}, 1, 600, 1, 1},
        {"moved from 60 Hz to 144 Hz", {60, 60}, Waits, 3, Moves, {144, 144}, 1, 600, 2, 3},
        {"moved from 60 Hz to 50 Hz", {60, 60}, Waits, 3, Moves, {50, 50}, 0, 600, 0, 0},
        {"moved from 60 Hz to 50 Hz, unannounced", {60, 60}, Waits, 3, MovesUnannounced, {50, 50}, 1, 600, 1, 2},
        {"a new rate reported every frame, 144 Hz", {144, 144}, Waits, 3, NewRateEveryFrame, none, -1, 600, 0, 0},
        {"hidden for 2 s, then shown again", {60, 60}, Waits, 3, Hidden, none, 1, 600, 0, 0},
        {"too busy for 60 for 2 s, at 60 Hz", {60, 60}, Waits, 3, Busy, none, 1, 600, 1, 1},
        {"a page at 30 Hz", {0, 30}, Page, 3, Nothing, none, 0, 600, 0, 0},
        {"a page at 50 Hz", {0, 50}, Page, 3, Nothing, none, 0, 600, 0, 0},
        {"a page at 59.94 Hz", {0, 59.94}, Page, 3, Nothing, none, 0, 600, 0, 0},
        {"a page at 75 Hz", {0, 75}, Page, 3, Nothing, none, 0, 600, 0, 0},
        {"a page at 144 Hz", {0, 144}, Page, 3, Nothing, none, 0, 600, 0, 0},
    };
    // clang-format on
    for (const PaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimClock clock;
        if (c.driver == Page) clock.stepMs = 1000.0 / c.screen.refreshHz;
        SimDisplay display(clock, c.driver);
        display.Show(c.screen.reportedHz, c.screen.refreshHz);
        FramePacer pacer(clock);
        const std::vector<double> frames = Play(c, pacer, clock, display);

        if (c.swapInterval >= 0) {
            EXPECT_EQ(pacer.SwapInterval(), c.swapInterval);
        }
        const double fromMs = CountFromMs(c.then);
        EXPECT_NEAR(CountFrom(frames, fromMs), c.frames, 1);
        if (c.fewestBlanks == 0) continue;
        for (size_t i = 1; i < display.shownMs.size(); ++i) {
            if (display.shownMs[i] < fromMs + 1000.0) continue;
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
        SimDisplay display(clock, Driver::Waits);
        display.Show(144, 144);
        FramePacer pacer(clock);
        auto playUntil = [&](double untilMs) {
            int frames = 0;
            for (; clock.trueMs < untilMs; ++frames) {
                clock.trueMs += 3;
                pacer.Present(display);
            }
            return frames;
        };
        playUntil(1000.0);
        clock.offsetMs += jumpMs;
        EXPECT_NEAR(playUntil(3000.0), 120, 2);
    }
}

}  // namespace
