#include "shell/platform/winapi/entry/scriptedrun.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/platform/winapi/hooks.h"
#include "shell/platform/winapi/user32.h"

namespace entry {
namespace {

struct ScriptedRunState {
    long exitAfterFrames = 0;
    long presentedFrames = 0;
};

ScriptedRunState state;

long PositiveNumber(const char* text)
{
    const long n = text ? std::strtol(text, nullptr, 10) : 0;
    return n > 0 ? n : 0L;
}

// Nobody is there to click; the text is on stderr already.
int AnswerOnStderr(HWND, LPCSTR, LPCSTR, UINT)
{
    return IDOK;
}

void CloseAfterLastFrame(HWND window)
{
    if (++state.presentedFrames != state.exitAfterFrames) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long ns = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    std::fprintf(stderr, "presented frame %ld at %lld\n", state.presentedFrames, ns);
    std::fflush(stderr);
    PostMessageA(window, WM_CLOSE, 0, 0);
}

}  // namespace

ScriptedRunOptions ReadScriptedRunOptions()
{
    ScriptedRunOptions options;
    options.exitAfterFrames = PositiveNumber(std::getenv("BRICKS_EXIT_AFTER_FRAMES"));
    const char* boxes = std::getenv("BRICKS_MESSAGE_BOXES");
    options.messageBoxesToStderr = boxes && std::strcmp(boxes, "stderr") == 0;
    return options;
}

void StartScriptedRun(const ScriptedRunOptions& options)
{
    state = {options.exitAfterFrames, 0};
    layer::Hooks hooks = layer::Services();
    if (options.messageBoxesToStderr) hooks.messageBox = AnswerOnStderr;
    if (options.exitAfterFrames > 0) hooks.presentedFrame = CloseAfterLastFrame;
    layer::SetHooks(hooks);
}

}  // namespace entry
