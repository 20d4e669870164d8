#include "shell/platform/winapi/scriptedrun.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/platform/winapi/user32.h"

namespace layer {
namespace {

struct ScriptedRunState {
    ScriptedRunOptions options;
    long presentedFrames = 0;
};

ScriptedRunState state;

long PositiveNumber(const char* text)
{
    const long n = text ? std::strtol(text, nullptr, 10) : 0;
    return n > 0 ? n : 0L;
}

}  // namespace

void ReadScriptedRunOptions()
{
    state = {};
    state.options.exitAfterFrames = PositiveNumber(std::getenv("BRICKS_EXIT_AFTER_FRAMES"));
    const char* boxes = std::getenv("BRICKS_MESSAGE_BOXES");
    state.options.messageBoxesToStderr = boxes && std::strcmp(boxes, "stderr") == 0;
}

const ScriptedRunOptions& ScriptedRun()
{
    return state.options;
}

void NotePresentedFrame(HWND hwnd)
{
    const long limit = state.options.exitAfterFrames;
    if (limit == 0 || ++state.presentedFrames != limit) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long ns = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    std::fprintf(stderr, "presented frame %ld at %lld\n", state.presentedFrames, ns);
    std::fflush(stderr);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

}  // namespace layer
