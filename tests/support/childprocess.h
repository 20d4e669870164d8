// A program started as a child process, in a directory of its choosing and with some environment
// variables changed, whose standard error is collected. A child still running when the object goes
// is killed with SIGKILL (SDL turns SIGTERM into a quit request, which a stuck program may ignore).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

class ChildProcess {
public:
    // Each change sets a variable, or removes it where the value is null.
    using Environment = std::vector<std::pair<const char*, const char*>>;

    ChildProcess(const std::string& program, const std::string& directory, const Environment& changes);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits up to `limit` for the child to end, collecting its standard error; true once it has ended.
    bool Wait(std::chrono::milliseconds limit);
    // What the child has written to standard error so far.
    const std::string& Errors();
    bool Ended() const { return ended_; }
    // The status from waitpid; meaningful once the child has ended.
    int Status() const { return status_; }
    // True when the child ended by returning or calling exit with this code.
    bool ExitedWith(int code) const;

private:
    void Collect();

    pid_t pid_ = -1;
    int errorPipe_ = -1;
    bool ended_ = false;
    int status_ = 0;
    std::string errors_;
};
