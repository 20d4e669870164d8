// Paces the real WGL swap: wglSwapIntervalEXT where the driver has it, the frame's deadline always,
// so a driver whose vsync is forced off (a common setting, and Wine under Xvfb) still gives 60.
// The pacer starts at the first swap, when the game's context is current, as the extension needs.
#include "shell/platform/win32/pacedswap.h"

#include "shell/platform/framepacer.h"
#include "shell/platform/steadyclock.h"

namespace {

using SwapIntervalProc = BOOL(WINAPI*)(int);

class WglDisplay final : public pacing::PaceDisplay {
public:
    explicit WglDisplay(HDC hdc) : hdc(hdc) {}
    // 0 and 1 stand for "the hardware's default": the pacer counts them as unknown.
    int ReportedRefreshRate() override { return GetDeviceCaps(hdc, VREFRESH); }
    bool SetSwapInterval(int blanks) override
    {
        // The detour through void (*)() is the cast GCC accepts between unrelated function types.
        const auto set = reinterpret_cast<SwapIntervalProc>(
            reinterpret_cast<void (*)()>(wglGetProcAddress("wglSwapIntervalEXT")));
        return set && set(blanks);
    }
    void Swap() override { swapped = SwapBuffers(hdc); }

    BOOL swapped = FALSE;

private:
    HDC hdc;
};

pacing::SteadyClock paceClock;
pacing::FramePacer pacer(paceClock);

}  // namespace

BOOL PacedSwapBuffers(HDC hdc)
{
    WglDisplay display(hdc);
    pacer.Present(display);
    return display.swapped;
}
