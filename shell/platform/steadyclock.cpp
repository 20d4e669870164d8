#include "shell/platform/steadyclock.h"

#include <chrono>
#include <thread>

namespace pacing {
namespace {

using Milliseconds = std::chrono::duration<double, std::milli>;

}  // namespace

double SteadyClock::NowMs()
{
    return Milliseconds(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::WaitUntilMs(double ms)
{
    const auto due = std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(Milliseconds(ms)));
    std::this_thread::sleep_until(due);
}

}  // namespace pacing
