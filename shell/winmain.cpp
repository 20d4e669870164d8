// Program entry: builds the game, its window and the input device, runs the loop, and takes them
// down again in the reverse order.
#include "game/shaderapp.h"
#include "input/directinput.h"
#include "shell/safedelete.h"
#include "shell/shellglobals.h"
#include "shell/zarnwindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    gInstance = instance;
    IGame* game = new ShaderApp;
    IWindow* window = new ZarnWindow(game);  // its constructor initialises the game
    gInput = new DirectInput;

    window->Run();

    SafeDelete(gInput);
    SafeDelete(window);
    SafeDelete(game);
    return 0;
}
