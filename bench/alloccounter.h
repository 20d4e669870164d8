// Counts heap allocations (operator new and the C library's allocation functions, replaced in this
// program) made on one thread while counting is on, and tells whose code asked for each: the
// program's own code or a shared library. The C and C++ runtimes only act for their caller, so an
// allocation is charged to the first caller on the stack outside them.
#pragma once

#include <string>
#include <vector>

namespace alloccounter {

struct Tally {
    long own = 0;           // made by code linked into this program (game, layer, benchmark)
    long otherThreads = 0;  // made on other threads (the GL driver's rasteriser threads)
    std::vector<std::pair<std::string, long>> byLibrary;  // shared library name -> allocations
};

// Counts on the calling thread from now until Stop. Call once the libraries are loaded (after the
// GL context exists), so each address can be placed.
void Start();
void Stop();
// The allocations counted since the last Take, which starts the next tally from zero.
Tally Take();

// A library's code linked into the program (freeglut's shapes): what it allocates while a scope is
// open on this thread is charged to that library, not to the program's own code.
class LibraryScope {
public:
    explicit LibraryScope(const char* library);
    ~LibraryScope();
    LibraryScope(const LibraryScope&) = delete;
    LibraryScope& operator=(const LibraryScope&) = delete;
};

}  // namespace alloccounter
