// What a backend of the layer provides to its window-system-free parts: the native windows and
// their events, the keyboard, sound output and message box display. The SDL2 backend (sdl2/) and
// the page's (emscripten/) implement all of it; the GL functions (opengl32.h) are implemented by each
// backend directly, the files (kernel32.h) by posix/.
#pragma once

#include <string>

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
// Starts a wave file, or a short tone where it is missing or cannot be decoded, in place of whatever
// is playing, and returns at once. False when there is no audio output.
bool PlaySoundFile(const std::string& path);
void StopSound();

}  // namespace layer::backend
