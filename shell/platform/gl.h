// The one OpenGL include for code that draws: the platform first (on Windows, GL's headers need the
// WINGDIAPI and APIENTRY of <windows.h>), then GLEW, which must come before any other GL header,
// then GL and GLU. The order matters, so it is kept out of the formatter's include sorting.
#pragma once

// clang-format off
#include "shell/platform/platform.h"
#include <GL/glew.h>
#include <GL/gl.h>
#include <GL/glu.h>
// clang-format on
