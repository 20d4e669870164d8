// The game's assertion: active in every build type. A failure reports the condition as written,
// the source file's base name and the line to a debugger and in a message box, then ends the
// program.
#pragma once

[[noreturn]] void GameAssertFailed(const char* condition, const char* file, int line);

#define GAME_ASSERT(condition) \
    ((condition) ? static_cast<void>(0) : GameAssertFailed(#condition, __FILE__, __LINE__))
