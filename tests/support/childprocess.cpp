#include "tests/support/childprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

ChildProcess::ChildProcess(const std::string& program, const std::string& directory,
                           const Environment& changes)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        if (chdir(directory.c_str()) != 0) _exit(126);
        for (const auto& [name, value] : changes) {
            if (value) {
                setenv(name, value, 1);
            } else {
                unsetenv(name);
            }
        }
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    errorPipe_ = pipeEnds[0];
    fcntl(errorPipe_, F_SETFL, O_NONBLOCK);
    if (pid_ < 0) {
        ended_ = true;
        status_ = -1;
    }
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0 && !ended_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (errorPipe_ >= 0) close(errorPipe_);
}

bool ChildProcess::Wait(std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!ended_) {
        Collect();
        ended_ = waitpid(pid_, &status_, WNOHANG) == pid_;
        if (ended_ || std::chrono::steady_clock::now() >= end) break;
        pollfd readable = {errorPipe_, POLLIN, 0};
        poll(&readable, 1, 20);
    }
    Collect();
    return ended_;
}

const std::string& ChildProcess::Errors()
{
    Collect();
    return errors_;
}

bool ChildProcess::ExitedWith(int code) const
{
    return ended_ && WIFEXITED(status_) && WEXITSTATUS(status_) == code;
}

void ChildProcess::Collect()
{
    if (errorPipe_ < 0) return;
    char buffer[4096];
    ssize_t got;
    while ((got = read(errorPipe_, buffer, sizeof buffer)) > 0)
        errors_.append(buffer, static_cast<size_t>(got));
}
