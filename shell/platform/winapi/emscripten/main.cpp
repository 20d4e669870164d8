// The page's entry: the game's WinMain after the scripted-run switches, then tells the page when the
// game has ended. The game's loop yields to the browser in SwapBuffers (ASYNCIFY), so RunGame returns
// only when the game does.
#include "shell/platform/winapi/emscripten/page.h"
#include "shell/platform/winapi/entry/scriptedrun.h"

int main()
{
    const int code = entry::RunGame();
    WebEndPage(code);
    return code;
}
