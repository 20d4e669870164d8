#include "shell/platform/winapi/sdl2/swappacer.h"

#include <thread>

void SwapPacer::Start(int refreshRate, bool driverWaits)
{
    *this = {};
    driverPaces = driverWaits;
    if (refreshRate > 0) periodMs = 1000.0 / refreshRate;
    deadline = Clock::now();
}

// A driver that accepted the swap interval but lets 30 frames in a row through in under half a
// refresh does not wait after all; from then on the pacer does.
bool SwapPacer::DriverStillPaces(Clock::time_point now)
{
    const double frameMs = std::chrono::duration<double, std::milli>(now - lastSwap).count();
    lastSwap = now;
    quickFrames = frameMs < periodMs / 2 ? quickFrames + 1 : 0;
    if (quickFrames < 30) return true;
    driverPaces = false;
    deadline = now;
    return false;
}

void SwapPacer::AfterSwap(bool wait)
{
    const Clock::time_point now = Clock::now();
    if (driverPaces && DriverStillPaces(now)) return;
    if (!wait) return;
    const auto period =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(periodMs));
    deadline += period;
    if (deadline < now - period) deadline = now;  // fell behind: do not rush to catch up
    if (deadline > now) std::this_thread::sleep_until(deadline);
}
