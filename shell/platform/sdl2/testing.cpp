#include "shell/platform/sdl2/testing.h"

#include <cstring>
#include <utility>

#include "shell/platform/sdl2/seamstate.h"

namespace testseam {

SeamState& State()
{
    static SeamState state;
    return state;
}

void SetClock(uint32_t milliseconds)
{
    State().clockSet = true;
    State().clock = milliseconds;
}

void UseRealClock()
{
    State().clockSet = false;
}

void RecordMessageBoxes(bool on)
{
    State().recordMessageBoxes = on;
}

std::vector<MessageBoxRecord> TakeMessageBoxes()
{
    return std::exchange(State().messageBoxes, {});
}

void RecordSounds(bool on)
{
    State().recordSounds = on;
}

std::vector<std::string> TakeSounds()
{
    return std::exchange(State().sounds, {});
}

void SetKeyboardSnapshot(const uint8_t (&keys)[256])
{
    State().keyboardSet = true;
    std::memcpy(State().keys, keys, sizeof(State().keys));
}

void UseRealKeyboard()
{
    State().keyboardSet = false;
}

void LoseKeyboard()
{
    State().keyboardLost = true;
}

void RecordInputCalls(bool on)
{
    State().recordInputCalls = on;
}

std::vector<std::string> TakeInputCalls()
{
    return std::exchange(State().inputCalls, {});
}

void FailInputCall(const std::string& call)
{
    State().failingInputCalls.push_back(call);
}

void ClearInputFailures()
{
    State().failingInputCalls.clear();
}

void SetSwapPacing(bool on)
{
    State().swapPacing = on;
}

}  // namespace testseam
