// The process entry on Linux: hands over to the game's WinMain, as the Windows loader would.
#include "shell/platform/platform.h"

int main()
{
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
}
