/* Included first when scripts/build-web builds freeglut's shapes: GL's header, with OpenGL 1.1 then
 * taken back, so freeglut draws the shapes its OpenGL 1.0 way (glBegin/glEnd over the same vertex,
 * normal and index arrays). Its 1.1 way draws client-side arrays with glDrawElements, and Emscripten's
 * emulation of that copies only as many vertices as there are indices, which leaves a sphere with
 * holes. */
#include <GL/gl.h>
#undef GL_VERSION_1_1
