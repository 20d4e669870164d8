#include "tests/shell/doubles.h"

#include "shell/platform/platform.h"

void RecordingGame::Shutdown()
{
    log_.calls.push_back("Shutdown");
    log_.contextCurrentAtShutdown = wglGetCurrentContext() != nullptr;
}
