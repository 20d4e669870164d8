// What a backend of our Windows API provides: everything the neutral parts (windows, messages, WGL,
// DirectInput, winmm) need from a window system, and nothing else. The neutral parts check the
// arguments of every Windows call before a backend sees it. Files come from posix/, shared by all.
//
// |                     | sdl2/ (Linux)              | emscripten/ (the page)     | null/ (node tests) |
// |---------------------|----------------------------|----------------------------|--------------------|
// | StartVideo          | SDL video, never offscreen | the canvas's WebGL context | nothing to start   |
// | native windows      | SDL windows                | the one canvas             | none               |
// | PumpEvents          | SDL window and key events  | canvas size, close         | nothing            |
// | ShowMessageBox      | SDL's modal box            | a line on the page         | stderr only        |
// | ReadKeyboard        | X key state, or SDL's      | page keys and touch        | no key down        |
// | pads (ListPads ...) | SDL game controllers       | the Gamepad API            | none attached      |
// | PlaySoundFile       | SDL audio                  | Web Audio                  | silent             |
// | GL surface, context | an SDL GL window           | the canvas's one context   | refused            |
// | PresentFrame        | paced swap                 | paced to animation frames  | nothing to show    |
// | Reset               | pacer, keyboard, sound,    | keys, current context,     | nothing kept       |
// |                     | controllers                | controllers                |                    |
//
// Each backend keeps its state in one private struct, put back as a new process has it by Reset.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/platform/winapi/layerwindow.h"
#include "shell/platform/winapi/opengl32.h"

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

// The window's GL drawing surface for the layer's one pixel format, as its native window; null when
// none can be made. Called once a window, when its pixel format is set.
NativeWindow* MakeGlSurface(const LayerWindow& window, const PIXELFORMATDESCRIPTOR& format);
// A context for a window that has a surface, not yet current; null when none can be made.
HGLRC CreateGlContext(const LayerWindow& window);
// Makes context current on the window's surface; a null context (and window) leaves none current.
BOOL MakeGlCurrent(const LayerWindow* window, HGLRC context);
BOOL DeleteGlContext(HGLRC context);
HGLRC CurrentGlContext();
// Presents the frame drawn on a window's surface, at 60 frames a second (framepacer.h), and tells
// the frame's observer (hooks.h).
void PresentFrame(const LayerWindow& window, HDC hdc);

// Puts the backend's state back as a new process has it, for tests (testseam::ResetLayer).
void Reset();

}  // namespace layer::backend
