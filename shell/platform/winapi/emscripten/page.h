// The page's side of the browser backend (page.js), as the backend's C++ files call it, and the
// canvas they share.
#pragma once

#include "shell/platform/winapi/layerwindow.h"

extern "C" {

// Installs the page's keyboard, focus and close listeners; keys land in the 256-byte snapshot at keys.
void WebStartPage(BYTE* keys, const char* title);
// Returns to the browser and resumes at its next animation frame, giving that frame's time in
// milliseconds (an ASYNCIFY import).
double WebWaitForFrame();
// Returns once the page has written the files it makes for the game (the painted sky and sound) into
// the file system; until then the browser runs on (an ASYNCIFY import).
void WebWaitForFiles();
// Counts a frame the game presents, on the page (Module.frames).
void WebNoteFrame();
// Takes the canvas's next window event: 0 none, 1 size (width and height set), 2 close request,
// 3 a game controller connected or disconnected.
int WebTakeWindowEvent(int* width, int* height);
void WebShowMessage(const char* caption, const char* text);
// Starts a sound file of the page's file system, or a short tone where there is none; 0 without audio.
int WebPlaySound(const char* path);
// The game has read the keyboard: keys the page held for one read only are let go.
void WebKeysRead();
void WebEndPage(int exitCode);
}

namespace layer::web {

enum WindowEvent { kNoEvent = 0, kSizeEvent = 1, kCloseEvent = 2, kDevicesEvent = 3 };

// Makes the canvas's WebGL context, once; false (with a message) where the browser has none.
bool MakeCanvasContext();

// The canvas, as the native window of the layer window that draws in it (opengl32.cpp).
NativeWindow* Canvas();

}  // namespace layer::web
