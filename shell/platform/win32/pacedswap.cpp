// Paces the real WGL swap: wglSwapIntervalEXT where the driver has it, the frame's deadline always,
// so a driver whose vsync is forced off (a common setting, and Wine under Xvfb) still gives 60.
// The pacer starts at the first swap, when the game's context is current, as the extension needs.
// From then on a hook on the thread's sent messages, which reach it before the game's window
// procedure, tells the pacer of a new display mode (WM_DISPLAYCHANGE), of the window on another
// monitor, and of the window shown again after it was minimised or hidden.
#include "shell/platform/win32/pacedswap.h"

#include <memory>
#include <type_traits>

#include "shell/platform/framepacer.h"
#include "shell/platform/steadyclock.h"

namespace {

using SwapIntervalProc = BOOL(WINAPI*)(int);

class WglDisplay final : public pacing::PaceDisplay {
public:
    explicit WglDisplay(HDC hdc) : hdc(hdc) {}
    // The rate of the monitor the window is on (a window DC's VREFRESH is the primary monitor's).
    // 0 and 1 stand for "the hardware's default": the pacer counts them as unknown.
    int ReportedRefreshRate() override
    {
        MONITORINFOEXA monitor = {};
        monitor.cbSize = sizeof(monitor);
        DEVMODEA mode = {};
        mode.dmSize = sizeof(mode);
        if (GetMonitorInfoA(MonitorFromWindow(WindowFromDC(hdc), MONITOR_DEFAULTTONEAREST), &monitor) &&
            EnumDisplaySettingsA(monitor.szDevice, ENUM_CURRENT_SETTINGS, &mode))
            return static_cast<int>(mode.dmDisplayFrequency);
        return GetDeviceCaps(hdc, VREFRESH);
    }
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

using Hook = std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&UnhookWindowsHookEx)>;

struct PacedWindow {
    HWND window = nullptr;
    HMONITOR monitor = nullptr;
    bool minimised = false;
    Hook hook{nullptr, UnhookWindowsHookEx};
};

pacing::SteadyClock paceClock;
pacing::FramePacer pacer(paceClock);
PacedWindow paced;

void NoteMessage(const CWPSTRUCT& sent)
{
    if (sent.hwnd != paced.window) return;
    switch (sent.message) {
        case WM_DISPLAYCHANGE:
            pacer.DisplayChanged();
            break;
        case WM_WINDOWPOSCHANGED: {
            const HMONITOR monitor = MonitorFromWindow(sent.hwnd, MONITOR_DEFAULTTONEAREST);
            if (monitor != paced.monitor) pacer.DisplayChanged();
            paced.monitor = monitor;
            if (reinterpret_cast<const WINDOWPOS*>(sent.lParam)->flags & SWP_SHOWWINDOW) pacer.WindowShown();
            break;
        }
        case WM_SIZE:
            if (paced.minimised && sent.wParam != SIZE_MINIMIZED) pacer.WindowShown();
            paced.minimised = sent.wParam == SIZE_MINIMIZED;
            break;
        default:
            break;
    }
}

LRESULT CALLBACK WatchSentMessages(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) NoteMessage(*reinterpret_cast<const CWPSTRUCT*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void WatchWindow(HDC hdc)
{
    const HWND window = WindowFromDC(hdc);
    if (window == paced.window) return;
    paced.window = window;
    paced.monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    paced.minimised = IsIconic(window);
    if (!paced.hook)
        paced.hook.reset(SetWindowsHookExA(WH_CALLWNDPROC, WatchSentMessages, nullptr, GetCurrentThreadId()));
}

}  // namespace

BOOL PacedSwapBuffers(HDC hdc)
{
    WatchWindow(hdc);
    WglDisplay display(hdc);
    pacer.Present(display);
    return display.swapped;
}
