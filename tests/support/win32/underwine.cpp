// Wine's ntdll exports its version; Windows' does not.
#include "tests/support/underwine.h"

#include <windows.h>

bool UnderWine()
{
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
