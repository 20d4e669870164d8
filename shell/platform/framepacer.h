// Holds the game to its one rate, 60 frames a second, whatever the display does. Everything in the
// game moves by a fixed step per frame, so this rate is its speed: a 144 Hz monitor, a driver that
// ignores vsync or a browser's animation frames must not make the ball faster. Written once; each
// platform gives it a clock and a display (the tests give it simulated ones).
//
// Where the refresh rate is a whole multiple of 60 the driver waits rate/60 vertical blanks a swap;
// elsewhere each frame is held until its 1/60 s deadline and the swap takes the next blank. The
// deadline guards every case, so a driver that accepts a swap interval and does not wait, or waits
// only sometimes, still gives 60. A machine slower than 60 plays slower, as it always did: the
// pacer never runs two frames for one.
#pragma once

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

protected:
    ~PaceDisplay() = default;
};

class FramePacer {
public:
    explicit FramePacer(PaceClock& clock) : clock(&clock) {}

    // Holds the drawn frame until it is due, then swaps. The first frame chooses the swap interval.
    void Present(PaceDisplay& display);
    // The next frame chooses again (a new context); the schedule starts afresh.
    void Restart();
    // The vertical blanks the driver was asked to wait for each frame; 0 before the first frame.
    int SwapInterval() const { return swapInterval; }

private:
    void Start(PaceDisplay& display);

    PaceClock* clock;
    bool started = false;
    bool scheduled = false;  // deadline belongs to the frame before; false: the next frame sets it
    int swapInterval = 0;
    double slackMs = 0.0;  // how much before its deadline a frame may go out
    double deadlineMs = 0.0;
};

}  // namespace pacing
