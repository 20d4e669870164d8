// Holds the game to its one rate, 60 frames a second, whatever the display does. Everything in the
// game moves by a fixed step per frame, so this rate is its speed: a 144 Hz monitor, a driver that
// ignores vsync or a browser's animation frames must not make the ball faster, nor a 50 Hz display
// or a browser giving 30 animation frames a second make it slower. Written once; each platform gives
// it a clock and a display (the tests give it simulated ones).
//
// Where the refresh rate is a whole multiple of 60 the driver waits rate/60 vertical blanks a swap;
// elsewhere each frame is held until its 1/60 s deadline and the swap takes the next blank. The
// deadline guards every case, so a driver that accepts a swap interval and does not wait, or waits
// only sometimes, still gives 60. The choice is made again when the window's display changes, and
// when frames keep coming whole frames apart, as they do where the driver waits for more blanks than
// the display now has.
//
// Where the display makes frames wait (for its blanks, or a page for its animation frames), a game a
// whole frame or more behind its schedule runs its next frame at once, without showing the one it has
// just drawn: one such frame at most for each frame shown, so a display or a browser offering fewer
// than 60 chances a second still gives 60, while a machine too slow to draw 60 plays slower rather
// than spiralling.
#pragma once

#include <optional>

namespace pacing {

constexpr double kFrameMs = 1000.0 / 60.0;

// Time as the pacer reads it and waits for it, in milliseconds.
class PaceClock {
public:
    virtual double NowMs() = 0;
    // Returns at or after the given time, later where the clock moves in steps (a browser's
    // animation frames).
    virtual void WaitUntilMs(double ms) = 0;

protected:
    ~PaceClock() = default;
};

// Where a frame goes.
class PaceDisplay {
public:
    // The refresh rate as the system reports it, in Hz; 0 where it does not know.
    virtual int ReportedRefreshRate() = 0;
    // Asks the driver to wait for that many vertical blanks before each swap (0: none); false where
    // it cannot.
    virtual bool SetSwapInterval(int blanks) = 0;
    // Hands the frame to the display (where a swap interval took, after the blanks asked for).
    virtual void Swap() = 0;
    // True where the display takes a frame only when the clock's wait yields to it (a page's canvas).
    virtual bool ShowsFramesOnWait() { return false; }

protected:
    ~PaceDisplay() = default;
};

class FramePacer {
public:
    explicit FramePacer(PaceClock& clock) : clock(&clock) {}

    // Holds the drawn frame until it is due, then swaps; or, a whole frame behind, returns at once
    // without showing it. The first frame chooses the swap interval.
    void Present(PaceDisplay& display);
    // The next frame chooses again (a new context); the schedule starts afresh.
    void Restart();
    // The window's display, or that display's mode, may have changed: a frame chooses the swap
    // interval again, the first one a second or more after the last choice.
    void DisplayChanged();
    // The window was hidden or minimised and is shown again: the schedule starts afresh from the next
    // frame, with no catching up on the time it was away, and the swap interval is chosen again, as
    // for another display.
    void WindowShown();
    // The vertical blanks the driver was asked to wait for each frame; 0 before the first frame.
    int SwapInterval() const { return swapInterval; }

private:
    void Choose(PaceDisplay& display, int mostBlanks);
    bool ChoiceDue(double nowMs) const;
    bool Behind(double nowMs) const;
    void WatchShownFrame(double shownMs);

    PaceClock* clock;
    bool started = false;
    bool scheduled = false;  // deadline belongs to the frame before; false: the next frame sets it
    int swapInterval = 0;
    double slackMs = 0.0;  // how much before its deadline a frame may go out
    double deadlineMs = 0.0;
    bool displayWaits = false;  // for blanks, or for the clock's steps: what catching up saves
    bool caughtUp = false;      // the frame before was not shown
    double waitedMs = 0.0;      // for the display, by the last frame shown
    double chosenAtMs = 0.0;
    bool displayChanged = false;
    bool framesWholeApart = false;  // for over a second: the next choice asks for fewer blanks
    std::optional<double> lastShownMs;
    std::optional<double> wholeFramesApartSinceMs;
};

}  // namespace pacing
