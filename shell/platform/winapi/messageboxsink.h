// For programs that take the game's message boxes themselves instead of showing them (dibcheck
// prints the loader's messages). The text still goes to stderr first.
#pragma once

#include "shell/platform/winapi/wintypes.h"

namespace layer {

// Called in place of showing a box; its result is what MessageBoxA returns. Null shows boxes again.
using MessageBoxSink = int (*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
void SetMessageBoxSink(MessageBoxSink sink);

}  // namespace layer
