#include "shell/gameassert.h"

#include <cstdio>
#include <cstdlib>

namespace {

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
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", condition, BaseName(file), line);
    std::fflush(stderr);
    std::abort();
}
