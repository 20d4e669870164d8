// Program-wide state of the shell, set by the entry point.
#pragma once

#include "shell/iinput.h"
#include "shell/platform/platform.h"

extern HINSTANCE gInstance;  // the program instance, set before anything else
extern IInput* gInput;       // the input object, polled by the window's frame
