#include "tests/support/privatedisplay.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

PrivateDisplay::PrivateDisplay()
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        close(pipeEnds[0]);
        int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, STDERR_FILENO);
        std::string fd = std::to_string(pipeEnds[1]);
        // -noreset: a server that resets when its last client leaves turns away whoever connects
        // meanwhile, such as the game right after the check below.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    // Xvfb writes its display number once it accepts connections.
    std::string number;
    pollfd readable = {pipeEnds[0], POLLIN, 0};
    char c;
    while (poll(&readable, 1, 10000) > 0 && read(pipeEnds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeEnds[0]);
    if (number.empty()) return;
    // Only a server that takes a client is worth handing out.
    Display* display = XOpenDisplay((":" + number).c_str());
    if (!display) return;
    XCloseDisplay(display);
    name_ = ":" + number;
}

PrivateDisplay::~PrivateDisplay()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}
