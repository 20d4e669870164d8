// freeglut's shapes are linked into the game (cmake/freeglut-shapes.cmake), and glutSolidSphere
// builds its arrays on the heap at every call. That is freeglut's allocation, not the game's: this
// program is linked with --wrap=glutSolidSphere, so the ball's calls come here first and what the
// sphere allocates is charged to freeglut.
#include <GL/freeglut.h>

#include "bench/alloccounter.h"

extern "C" void __real_glutSolidSphere(double radius, GLint slices, GLint stacks);

extern "C" void __wrap_glutSolidSphere(double radius, GLint slices, GLint stacks)
{
    alloccounter::LibraryScope scope("freeglut shapes (linked in)");
    __real_glutSolidSphere(radius, slices, stacks);
}
