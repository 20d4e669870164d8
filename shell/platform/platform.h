// The one place that chooses the platform. Game code includes this header and writes against the
// Windows API names; on Windows they are the real SDK, elsewhere our own layer in linux/ provides
// the subset the game calls, with the same names, types and constants, one header per Windows library.
// The layer has two backends behind these headers, chosen by the build: the Linux desktop
// (linux/desktop/) and the browser (web/).
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
#else
#include "shell/platform/linux/dinput8.h"
#include "shell/platform/linux/gdi32.h"
#include "shell/platform/linux/kernel32.h"
#include "shell/platform/linux/opengl32.h"
#include "shell/platform/linux/user32.h"
#include "shell/platform/linux/winmm.h"
#include "shell/platform/linux/wintypes.h"
#endif
