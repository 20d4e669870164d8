// What a backend of the layer provides to its window-system-free parts: the native windows and
// their events, the keyboard, sound output and message box display. The SDL2 backend (sdl2/) and
// the page's (emscripten/) implement all of it; the GL functions (opengl32.h) are implemented by each
// backend directly, the files (kernel32.h) by posix/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/platform/winapi/layerwindow.h"

namespace layer::backend {

// Starts the window system. Without a real display it says so on stderr and returns false.
bool StartVideo();
// Destroys the native window behind a layer window, if it has one.
void DestroyNativeWindow(LayerWindow& window);
void ShowNativeWindow(LayerWindow& window, bool visible);
void RaiseNativeWindow(LayerWindow& window);
// Turns the window system's pending events into posted messages.
void PumpEvents();
// Shows a modal message box and returns once it is dismissed.
void ShowMessageBox(const LayerWindow* owner, const char* caption, const char* text, bool error);
// The state of every key, indexed by DIK_* code.
void ReadKeyboard(BYTE (&keys)[256]);
// A game controller as the window system reports it: the buttons in the order an XInput pad has
// them under DirectInput, the left stick from -32768 (left, up) to 32767.
struct PadReading {
    int16_t stickX;
    int16_t stickY;
    bool dpadUp, dpadRight, dpadDown, dpadLeft;
    bool buttons[10];  // A, B, X, Y, left shoulder, right shoulder, back, start, left stick, right stick
};
// The attached game controllers, each by a number no later controller takes. The first call starts
// the window system's controller support; when a controller comes or goes after that, every window is
// sent WM_DEVICECHANGE.
std::vector<uint32_t> ListPads();
// Holds a controller open while the game reads it; false when it is no longer attached.
bool OpenPad(uint32_t pad);
void ClosePad(uint32_t pad);
// Brings every open controller's state up to date.
void PollPads();
// False once the controller has been pulled out.
bool ReadPad(uint32_t pad, PadReading& reading);
// Starts a wave file, or a short tone where it is missing or cannot be decoded, in place of whatever
// is playing, and returns at once. False when there is no audio output.
bool PlaySoundFile(const std::string& path);
void StopSound();

}  // namespace layer::backend
