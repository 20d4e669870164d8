// The one OpenGL include for code that draws: the platform first (on Windows, GL's headers need the
// WINGDIAPI and APIENTRY of <windows.h>), then GLEW, which must come before any other GL header,
// then GL and GLU.
#pragma once

#include <GL/gl.h>
#include <GL/glew.h>
#include <GL/glu.h>

#include "shell/platform/platform.h"
