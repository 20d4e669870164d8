// Memory device contexts, DIB sections and the bitmap conversion. Implemented in gdi_dib.cpp.
#pragma once

#include "shell/platform/sdl2/wintypes.h"
