// Apart from the switches (scriptedrun.cpp), so that tests can link those without a WinMain.
#include "shell/platform/platform.h"
#include "shell/platform/winapi/entry/scriptedrun.h"

int entry::RunGame()
{
    StartScriptedRun(ReadScriptedRunOptions());
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
}
