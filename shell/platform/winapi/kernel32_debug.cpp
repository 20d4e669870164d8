// kernel32 debug output. Windows passes the text to an attached debugger and drops it otherwise; a
// Linux developer reads stderr, so the text goes there as it is, without a newline of its own.
#include <cstdio>

#include "shell/platform/winapi/kernel32.h"

void OutputDebugStringA(LPCSTR text)
{
    if (!text) return;
    std::fputs(text, stderr);
    std::fflush(stderr);
}
