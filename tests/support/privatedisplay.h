// An X server of the test's own (Xvfb on a free display number), so that a test which starts the
// real game and looks for its window by title cannot meet another test's game on the shared display.
#pragma once

#include <sys/types.h>

#include <string>

class PrivateDisplay {
public:
    PrivateDisplay();
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // ":N", or empty if the server could not be started.
    const std::string& Name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};
