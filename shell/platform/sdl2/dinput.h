// DirectInput 8: the system keyboard and mouse. Implemented in dinput8.cpp.
#pragma once

#include "shell/platform/sdl2/wintypes.h"
