/* For the browser build: freeglut's solid shapes (fg_geometry.c, built unchanged by scripts/build-web)
 * without the rest of freeglut, whose windows and events have no browser port. The page's window,
 * context and glutInit come from Emscripten's GLUT instead. This file holds the little of freeglut's
 * state the shapes read:
 *   - fgState: marked initialised, since the layer runs Emscripten's glutInit before any drawing;
 *     no OpenGL 2.0 drawing, so the shapes take their fixed-function path (see freeglut-gl10.h);
 *   - fgStructure: no current freeglut window, so no shader attributes are looked up;
 *   - the OpenGL 2.0 buffer entry points, left unset, since that path is never taken;
 *   - fgError and fgWarning, which report as freeglut does (an error ends the program). */
#include <GL/freeglut.h>

#include "fg_internal.h"
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
