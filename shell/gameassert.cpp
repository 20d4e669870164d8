#include "shell/gameassert.h"

#include <cstdio>
#include <cstdlib>

#include "shell/platform/platform.h"

namespace {

const char kTitle[] = "Error";

const char* BaseName(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '/' || *p == '\\') name = p + 1;
    }
    return name;
}

}  // namespace

void GameAssertFailed(const char* condition, const char* file, int line)
{
    // Started from the desktop, the game has no console: the report goes to a debugger, if one
    // listens, and to the player in a box like the game's other errors, before the game ends.
    char report[512];
    std::snprintf(report, sizeof report, "Assertion failed: %s, file %s, line %d", condition, BaseName(file),
                  line);
    char debugLine[sizeof report + 1];
    std::snprintf(debugLine, sizeof debugLine, "%s\n", report);
    OutputDebugStringA(debugLine);
    MessageBoxA(nullptr, report, kTitle, MB_OK | MB_ICONERROR);
    std::abort();
}
