// The desktop's pace clock: the monotonic clock, and the system's sleep (1 ms resolution on
// Windows once timeBeginPeriod(1) has run, as the game's loop asks on every idle pass).
#pragma once

#include "shell/platform/framepacer.h"

namespace pacing {

class SteadyClock final : public PaceClock {
public:
    double NowMs() override;
    void WaitUntilMs(double ms) override;
};

}  // namespace pacing
