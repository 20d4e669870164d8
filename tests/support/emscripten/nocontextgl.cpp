// For the tests under node, where no page and so no GL context exists: the matrix calls that gluLookAt
// makes do nothing, as GL calls do on the desktop with no context current. Defined here, they take the
// place of Emscripten's emulated ones, which need a context.
#include <GL/gl.h>

void glMultMatrixf(const GLfloat*) {}

void glTranslated(GLdouble, GLdouble, GLdouble) {}
