#include "shell/shellglobals.h"

HINSTANCE gInstance = nullptr;
IInput* gInput = nullptr;
bool gDevicesChanged = false;
