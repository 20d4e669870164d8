// The one place that chooses the platform. Game code includes this header and writes against the
// Windows API names; on Windows they are the real SDK, elsewhere our own layer in sdl2/ provides
// the subset the game calls, with the same names, types and constants.
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
#include <windows.h>
#include <mmsystem.h>
#include <dinput.h>
#else
#include "shell/platform/sdl2/wintypes.h"
#include "shell/platform/sdl2/user32.h"
#include "shell/platform/sdl2/wgl.h"
#include "shell/platform/sdl2/kernel32.h"
#include "shell/platform/sdl2/gdi.h"
#include "shell/platform/sdl2/winmm.h"
#include "shell/platform/sdl2/dinput.h"
#endif
