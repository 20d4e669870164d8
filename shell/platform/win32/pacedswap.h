// The game's buffer swap on Windows: the real SwapBuffers, held to 60 frames a second by the frame
// pacer (framepacer.h). platform.h makes the game's SwapBuffers this call.
#pragma once

#include <windows.h>

BOOL PacedSwapBuffers(HDC hdc);
