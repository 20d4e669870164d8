// Program-wide state of the shell, set by the entry point.
#pragma once

#include "shell/iinput.h"
#include "shell/platform/platform.h"

extern HINSTANCE gInstance;  // the program instance, set before anything else
extern IInput* gInput;       // the input object, polled by the window's frame
extern bool gDevicesChanged; // set by the window when devices come or go; the input object looks again
