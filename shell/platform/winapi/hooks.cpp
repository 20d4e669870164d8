#include "shell/platform/winapi/hooks.h"

#include <chrono>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/dinput8.h"
#include "shell/platform/winapi/winmm_playsound.h"

namespace layer {
namespace {

// Milliseconds from a monotonic clock, as a wrapping 32-bit count.
DWORD MonotonicMilliseconds()
{
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count();
    return static_cast<DWORD>(static_cast<uint64_t>(ms));
}

int ShowMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    backend::ShowMessageBox(FindWindow(owner), caption, text, (type & MB_ICONERROR) != 0);
    return IDOK;
}

HRESULT PassInputCall(const char*, const char*)
{
    return DI_OK;
}

}  // namespace

constexpr Hooks kRealServices = {
    MonotonicMilliseconds,
    backend::ReadKeyboard,
    ShowMessageBox,
    PlayNamedSound,
    PassInputCall,
    nullptr,
    true,
};

Hooks detail::installedHooks = kRealServices;

void SetHooks(const Hooks& hooks)
{
    detail::installedHooks = hooks;
}

}  // namespace layer
