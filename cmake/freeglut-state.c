/* freeglut's solid shapes (fg_geometry.c, built unchanged from freeglut's source) without the rest of
 * freeglut. The desktop build (cmake/freeglut-shapes.cmake) draws the ball with them on X11 and Wayland
 * alike, so that no X display is needed for it; the browser build (scripts/build-web), because the rest
 * of freeglut has no browser port. This file holds the little of freeglut's state the shapes read:
 *   - fgState: marked initialised, as glutInit would leave it; no OpenGL 2.0 drawing, since no freeglut
 *     window ever exists, so the shapes take their fixed-function path, as in the whole freeglut;
 *   - fgStructure: no current freeglut window, so no shader attributes are looked up;
 *   - the OpenGL 2.0 buffer entry points, left unset, since that path is never taken;
 *   - fgError and fgWarning, which report as freeglut does (an error ends the program). */
#include <GL/freeglut.h>

#include "fg_internal.h"
/* Apart: freeglut's GL 2 header needs its internal one first. */
#include "fg_gl2.h"

SFG_State fgState = {.Initialised = GL_TRUE, .HasOpenGL20 = 0};
SFG_Structure fgStructure;

FGH_PFNGLGENBUFFERSPROC fghGenBuffers;
FGH_PFNGLDELETEBUFFERSPROC fghDeleteBuffers;
FGH_PFNGLBINDBUFFERPROC fghBindBuffer;
FGH_PFNGLBUFFERDATAPROC fghBufferData;
FGH_PFNGLENABLEVERTEXATTRIBARRAYPROC fghEnableVertexAttribArray;
FGH_PFNGLDISABLEVERTEXATTRIBARRAYPROC fghDisableVertexAttribArray;
FGH_PFNGLVERTEXATTRIBPOINTERPROC fghVertexAttribPointer;

static void Report(const char* format, va_list args)
{
    fprintf(stderr, "freeglut: ");
    vfprintf(stderr, format, args);
    fprintf(stderr, "\n");
}

void fgError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Report(format, args);
    va_end(args);
    exit(1);
}

void fgWarning(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Report(format, args);
    va_end(args);
}
