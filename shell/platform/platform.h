// The one place that chooses the platform. Game code includes this header and writes against the
// Windows API names; on Windows they are the real SDK, elsewhere our own Windows API in winapi/
// provides the subset the game calls, with the same names, types and constants, one header per
// Windows library. It has two backends behind these headers, chosen by the build: SDL2 with Xlib
// (winapi/sdl2/) and the browser page (winapi/emscripten/). On every platform the buffer swap goes
// through the one frame pacer (framepacer.h), which holds the game to 60 frames a second.
#pragma once

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
#include <dinput.h>
#include <mmsystem.h>
#include <windows.h>

#include "shell/platform/win32/pacedswap.h"
// The one Windows call the game makes through our own code: its swap is held to 60 frames a second.
#define SwapBuffers PacedSwapBuffers
#else
#include "shell/platform/winapi/dinput8.h"
#include "shell/platform/winapi/gdi32.h"
#include "shell/platform/winapi/kernel32.h"
#include "shell/platform/winapi/opengl32.h"
#include "shell/platform/winapi/user32.h"
#include "shell/platform/winapi/winmm.h"
#include "shell/platform/winapi/wintypes.h"
#endif
