// kernel32 services: the module handle.
#include "shell/platform/sdl2/kernel32.h"

HMODULE GetModuleHandleA(LPCSTR moduleName)
{
    // One module, the program itself; its handle only needs to be non-null and stable.
    static char programModule;
    return moduleName ? nullptr : reinterpret_cast<HMODULE>(&programModule);
}
