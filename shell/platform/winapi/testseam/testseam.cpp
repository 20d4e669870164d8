#include "shell/platform/winapi/testseam/testseam.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/hooks.h"
#include "shell/platform/winapi/resets.h"

namespace testseam {
namespace {

using layer::Hooks;
using layer::kRealServices;

// Puts one service in place through the layer's one setter, the others staying as they are.
template <typename Service>
void SetHook(Service Hooks::*hook, Service service)
{
    Hooks hooks = layer::Services();
    hooks.*hook = service;
    layer::SetHooks(hooks);
}

// What the tests have set, and what the layer's calls have left for them to read back.
struct SeamState {
    uint32_t clock = 0;
    std::vector<MessageBoxRecord> messageBoxes;
    std::vector<std::string> sounds;
    uint8_t keys[256] = {};
    bool keyboardLost = false;
    bool recordInputCalls = false;
    std::vector<std::string> inputCalls;
    std::vector<std::string> failingInputCalls;
};

SeamState seam;

DWORD SetTime()
{
    return seam.clock;
}

int RecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    seam.messageBoxes.push_back({owner, text, caption, type});
    return IDOK;
}

// A modal box in a test waits for a click that never comes: a test that did not ask for its boxes
// to be recorded ends at once, naming the box, instead of hanging until its timeout.
int RefuseBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    std::fprintf(stderr, "A test reached a real message box \"%s: %s\"; record boxes with testseam\n",
                 caption, text);
    std::fflush(stderr);
    std::abort();
}

// Linked into every test program, so no test can show a real box, whatever it sets up.
[[maybe_unused]] const bool kBoxesRefused = (SetHook(&Hooks::messageBox, RefuseBox), true);

BOOL RecordSound(LPCSTR name, DWORD)
{
    seam.sounds.emplace_back(name != nullptr ? name : "");
    return TRUE;
}

void SetKeys(BYTE (&keys)[256])
{
    std::memcpy(keys, seam.keys, sizeof(keys));
}

// Recorded when asked, failed when listed; a lost keyboard fails its reads until it is acquired.
HRESULT SeamInputCall(const char* object, const char* operation)
{
    const std::string call = std::string(object) + "." + operation;
    if (seam.recordInputCalls) seam.inputCalls.push_back(call);
    const auto& failing = seam.failingInputCalls;
    if (std::find(failing.begin(), failing.end(), call) != failing.end()) return DIERR_GENERIC;
    if (seam.keyboardLost && call == "keyboard.GetDeviceState") return DIERR_INPUTLOST;
    if (call == "keyboard.Acquire") seam.keyboardLost = false;
    return DI_OK;
}

// The DirectInput service is the seam's while anything about the calls is watched or changed.
void UpdateInputHook()
{
    const bool watched = seam.recordInputCalls || seam.keyboardLost || !seam.failingInputCalls.empty();
    SetHook(&Hooks::inputCall, watched ? SeamInputCall : kRealServices.inputCall);
}

}  // namespace

void SetClock(uint32_t milliseconds)
{
    seam.clock = milliseconds;
    SetHook(&Hooks::clock, SetTime);
}

void UseRealClock()
{
    SetHook(&Hooks::clock, kRealServices.clock);
}

void RecordMessageBoxes(bool on)
{
    SetHook(&Hooks::messageBox, on ? RecordBox : RefuseBox);
}

std::vector<MessageBoxRecord> TakeMessageBoxes()
{
    return std::exchange(seam.messageBoxes, {});
}

void RecordSounds(bool on)
{
    SetHook(&Hooks::playSound, on ? RecordSound : kRealServices.playSound);
}

std::vector<std::string> TakeSounds()
{
    return std::exchange(seam.sounds, {});
}

void SetKeyboardSnapshot(const uint8_t (&keys)[256])
{
    std::memcpy(seam.keys, keys, sizeof(seam.keys));
    SetHook(&Hooks::readKeyboard, SetKeys);
}

void UseRealKeyboard()
{
    SetHook(&Hooks::readKeyboard, kRealServices.readKeyboard);
}

void LoseKeyboard()
{
    seam.keyboardLost = true;
    UpdateInputHook();
}

void RecordInputCalls(bool on)
{
    seam.recordInputCalls = on;
    UpdateInputHook();
}

std::vector<std::string> TakeInputCalls()
{
    return std::exchange(seam.inputCalls, {});
}

void FailInputCall(const std::string& call)
{
    seam.failingInputCalls.push_back(call);
    UpdateInputHook();
}

void ClearInputFailures()
{
    seam.failingInputCalls.clear();
    UpdateInputHook();
}

void SetSwapPacing(bool on)
{
    SetHook(&Hooks::pacedSwap, on);
}

void ResetLayer()
{
    Hooks hooks = kRealServices;
    hooks.messageBox = RefuseBox;
    layer::SetHooks(hooks);
    seam = {};
    layer::ResetWindows();
    layer::ResetMessageQueue();
    layer::ResetGdiObjects();
    layer::backend::Reset();
    layer::ResetFiles();
}

}  // namespace testseam
