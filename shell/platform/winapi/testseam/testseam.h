// Test seam of our Windows API, for tests and benchmarks only: a library of its own that the shipped
// programs do not link. Each switch puts one of the layer's services (hooks.h) in the test's hands:
// the clock, message boxes, sounds, the keyboard, DirectInput calls, the paced swap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/platform/platform.h"

namespace testseam {

// timeGetTime returns this value until UseRealClock is called.
void SetClock(uint32_t milliseconds);
void UseRealClock();

struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};
// While recording, MessageBoxA stores its call (still writing to stderr) instead of showing a box.
// Otherwise a test program never shows one: MessageBoxA ends it at once, naming the box.
void RecordMessageBoxes(bool on);
std::vector<MessageBoxRecord> TakeMessageBoxes();

// While recording, PlaySoundA stores the sound name instead of playing it.
void RecordSounds(bool on);
std::vector<std::string> TakeSounds();

// The keyboard snapshot that GetDeviceState returns: 256 bytes indexed by DIK_* code.
void SetKeyboardSnapshot(const uint8_t (&keys)[256]);
void UseRealKeyboard();
// While lost, the keyboard's GetDeviceState fails with DIERR_INPUTLOST until it is acquired again.
void LoseKeyboard();

// DirectInput calls. While recording, each call on the DirectInput interface and its devices is
// stored as "<object>.<operation>", the object being "input", "keyboard", "mouse" or "pad" (a game
// controller); creating the interface is "input.Create" and creating a device "keyboard.Create",
// "mouse.Create" or "pad.Create", enumerating the controllers "input.EnumDevices". A call
// named with FailInputCall fails with DIERR_GENERIC (a failed create gives no object).
void RecordInputCalls(bool on);
std::vector<std::string> TakeInputCalls();
void FailInputCall(const std::string& call);
void ClearInputFailures();

// SwapBuffers holds frames to 60 a second; benchmarks switch that off, and it swaps at once.
void SetSwapPacing(bool on);

// Every service back to the real one, every switch above off, and the layer's own state as a fresh
// process has it: no windows, classes, queued messages, open files, sections or audio device.
void ResetLayer();

}  // namespace testseam
