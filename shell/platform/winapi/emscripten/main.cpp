// The page's entry: reads the scripted-run switches, hands over to the game's WinMain, and tells the
// page when the game has ended. The game's loop yields to the browser in SwapBuffers (ASYNCIFY), so
// this call returns only when the game does.
#include "shell/platform/winapi/scriptedrun.h"
#include "shell/platform/platform.h"
#include "shell/platform/winapi/emscripten/page.h"

int main()
{
    layer::ReadScriptedRunOptions();
    const int code = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
    WebEndPage(code);
    return code;
}
