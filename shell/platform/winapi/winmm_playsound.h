// PlaySoundA's real effect, shared by every backend: the sound's file name, the one warning for a
// synchronous request, and the backend's sound output.
#pragma once

#include <string>

#include "shell/platform/winapi/wintypes.h"

namespace layer {

// "<name>.wav" in the working folder, or the name itself when it already ends in ".wav" (any case).
std::string WaveFileName(const std::string& name);
// Starts the named sound without waiting; a null name stops the sound.
BOOL PlayNamedSound(LPCSTR name, DWORD flags);

}  // namespace layer
