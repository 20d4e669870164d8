// The process entry of the SDL2 build: the game's WinMain after the scripted-run switches.
#include "shell/platform/winapi/entry/scriptedrun.h"

int main()
{
    return entry::RunGame();
}
