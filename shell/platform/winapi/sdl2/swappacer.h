// Paces buffer swaps to the display's refresh rate where the driver does not wait for it (Xvfb, some
// drivers that accept a swap interval and ignore it), so the game's fixed step per frame gives the
// same speed on every machine. The main loop itself never sleeps.
#pragma once

#include <chrono>

class SwapPacer {
public:
    // Starts pacing at a refresh rate (0 where unknown: 60 Hz), with or without the driver's help.
    void Start(int refreshRate, bool driverWaits);
    // Called after each swap: waits until the next refresh is due where the driver did not wait.
    // With waiting off, it only keeps watching whether the driver waits.
    void AfterSwap(bool wait);

private:
    using Clock = std::chrono::steady_clock;

    bool DriverStillPaces(Clock::time_point now);

    bool driverPaces = false;  // the swap interval took, and swaps are seen to wait for the display
    int quickFrames = 0;       // consecutive frames far shorter than a refresh while the driver should pace
    Clock::time_point lastSwap{};
    double periodMs = 1000.0 / 60.0;
    Clock::time_point deadline{};
};
