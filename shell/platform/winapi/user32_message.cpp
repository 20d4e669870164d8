// user32 messages: a per-thread queue that the backend's events feed, and the sending, posting and
// default processing the game relies on.
#include <algorithm>
#include <deque>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/resets.h"
#include "shell/platform/winapi/winmm.h"

namespace layer {
namespace {

struct MessageQueue {
    std::deque<MSG> posted;
    bool quitPosted = false;
    int quitCode = 0;
};

thread_local MessageQueue queue;

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = timeGetTime();
    return msg;
}

bool Matches(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
    if (hwnd && msg.hwnd != hwnd) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

}  // namespace

void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    queue.posted.push_back(MakeMessage(hwnd, message, wParam, lParam));
}

void ForgetQueuedMessages(HWND hwnd)
{
    auto& posted = queue.posted;
    posted.erase(std::remove_if(posted.begin(), posted.end(), [&](const MSG& m) { return m.hwnd == hwnd; }),
                 posted.end());
}

void ResetMessageQueue()
{
    queue = {};
}

}  // namespace layer

using layer::FindWindow;
using layer::LayerWindow;

// Default processing as Windows gives it for what the layer sends: Alt+F4 asks the window to
// close, and a close request not handled by the window destroys it.
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4) return SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) return SendMessageA(hwnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        default:
            return 0;
    }
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlag)
{
    if (!msg) return FALSE;
    layer::backend::PumpEvents();
    auto& queue = layer::queue;
    auto found = std::find_if(queue.posted.begin(), queue.posted.end(),
                              [&](const MSG& m) { return layer::Matches(m, hwnd, filterMin, filterMax); });
    if (found != queue.posted.end()) {
        *msg = *found;
        if (removeFlag & PM_REMOVE) queue.posted.erase(found);
        return TRUE;
    }
    // As on Windows, the quit message comes once nothing else is waiting.
    if (queue.quitPosted &&
        layer::Matches(layer::MakeMessage(nullptr, WM_QUIT, 0, 0), nullptr, filterMin, filterMax)) {
        *msg = layer::MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
        if (removeFlag & PM_REMOVE) queue.quitPosted = false;
        return TRUE;
    }
    return FALSE;
}

BOOL TranslateMessage(const MSG* msg)
{
    // No character messages are made: nothing in the game reads them.
    if (!msg) return FALSE;
    const UINT m = msg->message;
    return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP ? TRUE : FALSE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (!msg) return 0;
    LayerWindow* window = FindWindow(msg->hwnd);
    if (!window) return 0;
    return window->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode)
{
    layer::queue.quitPosted = true;
    layer::queue.quitCode = exitCode;
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd && !FindWindow(hwnd)) return FALSE;
    layer::Post(hwnd, message, wParam, lParam);
    return TRUE;
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LayerWindow* window = FindWindow(hwnd);
    if (!window) return 0;
    return window->proc(hwnd, message, wParam, lParam);
}
