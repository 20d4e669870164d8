// Files, file mapping, local memory and the module handle. Implemented in files.cpp.
#pragma once

#include "shell/platform/sdl2/wintypes.h"

HMODULE GetModuleHandleA(LPCSTR moduleName);
