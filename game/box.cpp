#include "game/box.h"

#include "shell/platform/gl.h"

void DrawBoxFaces(float w, float h, float d)
{
    glBegin(GL_QUADS);
    glVertex3f(w, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, h, 0.0f);
    glVertex3f(w, h, 0.0f);
    glEnd();

    glBegin(GL_QUADS);
    glVertex3f(w, 0.0f, d);
    glVertex3f(w, 0.0f, 0.0f);
    glVertex3f(w, h, 0.0f);
    glVertex3f(w, h, d);
    glEnd();

    glBegin(GL_QUADS);
    glVertex3f(0.0f, 0.0f, d);
    glVertex3f(w, 0.0f, d);
    glVertex3f(w, h, d);
    glVertex3f(0.0f, h, d);
    glEnd();

    glBegin(GL_QUADS);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, d);
    glVertex3f(0.0f, h, d);
    glVertex3f(0.0f, h, 0.0f);
    glEnd();

    glBegin(GL_QUADS);
    glVertex3f(w, h, d);
    glVertex3f(w, h, 0.0f);
    glVertex3f(0.0f, h, 0.0f);
    glVertex3f(0.0f, h, d);
    glEnd();

    glBegin(GL_QUADS);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, d);
    glVertex3f(w, 0.0f, d);
    glVertex3f(w, 0.0f, 0.0f);
    glEnd();
}
