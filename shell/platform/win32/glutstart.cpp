// freeglut ends the process on its first drawing call (the ball's sphere) unless glutInit has run.
// On Windows the game is entered at WinMain by the system, so GLUT is started here instead, while
// the program's static objects are constructed, before WinMain. It needs no window or context.
#include <GL/freeglut.h>

namespace {

struct GlutStart {
    GlutStart()
    {
        char name[] = "bricks3d";
        char* argv[] = {name, nullptr};
        int argc = 1;
        glutInit(&argc, argv);
    }
};

const GlutStart glutStart;

}  // namespace
