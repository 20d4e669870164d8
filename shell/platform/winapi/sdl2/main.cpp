// The process entry on Linux: reads the scripted-run switches, then hands over to the game's WinMain,
// as the Windows loader would.
#include "shell/platform/winapi/scriptedrun.h"
#include "shell/platform/platform.h"

int main()
{
    layer::ReadScriptedRunOptions();
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
}
