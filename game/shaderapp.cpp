#include "game/shaderapp.h"

#include "game/ball.h"
#include "game/brick.h"
#include "game/paddle.h"
#include "game/skybox.h"
#include "game/world.h"
#include "shell/platform/gl.h"
#include "shell/safedelete.h"

namespace {

const int kLowRowHitPoints = 1;
const int kMidRowHitPoints = 2;
const int kHighRowHitPoints = 3;
const int kStartingLives = 3;
const int kSkyboxSize = 100;

template <size_t N>
void ResetRow(Brick* (&row)[N])
{
    for (Brick* brick : row) brick->Reset();
}

template <size_t N>
void DeleteRow(Brick* (&row)[N])
{
    for (Brick*& brick : row) SafeDelete(brick);
}

// Each living brick is tested against the ball, takes its hit and is drawn. Returns whether any
// brick of the row was alive when the pass reached it, even if this very pass destroyed it.
template <size_t N>
bool UpdateRow(Brick* (&row)[N])
{
    bool anyAlive = false;
    for (Brick* brick : row) {
        if (!brick->IsAlive()) continue;
        bool struck =
            gBall->CollideBrick(brick->GetX(), brick->GetY(), brick->GetWidth(), brick->GetHeight());
        brick->Hit(struck);
        anyAlive = true;
        brick->Draw();
    }
    return anyAlive;
}

}  // namespace

ShaderApp::~ShaderApp()
{
    SafeDelete(gBall);
    SafeDelete(gPaddle);
    DeleteRow(gLowRow);
    DeleteRow(gMidRow);
    DeleteRow(gHighRow);
    SafeDelete(gSkybox);
}

bool ShaderApp::Init()
{
    gBall = new Ball(kStartingLives);
    gPaddle = new Paddle;
    for (int i = 0; i < kLowRowBricks; ++i) gLowRow[i] = new Brick(kLowRowHitPoints, 30 - 10 * i, 20);
    for (int i = 0; i < kMidRowBricks; ++i) gMidRow[i] = new Brick(kMidRowHitPoints, 25 - 10 * i, 30);
    for (int i = 0; i < kHighRowBricks; ++i) gHighRow[i] = new Brick(kHighRowHitPoints, 20 - 10 * i, 40);
    gSkybox = new Skybox(kSkyboxSize, kSkyboxSize, kSkyboxSize);
    gSkybox->LoadTextures();
    return true;
}

// Everything moves by a fixed step per frame, so the frame time is not used.
void ShaderApp::Update(float)
{
    BeginFrame();
    gBall->Advance();
    DrawScene();
    if (gBall->IsDead()) ResetGame();
    EndFrame();
}

void ShaderApp::BeginFrame()
{
    glColor3f(1.0f, 1.0f, 1.0f);  // the skybox is drawn in the current colour
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glViewport(0, 0, 800, 600);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gCamera.Look();
}

void ShaderApp::EndFrame()
{
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

void ShaderApp::Shutdown() {}

void ShaderApp::Resize(int, int) {}

// Kept for a lit scene; the game draws in flat colours and does not call it.
void ShaderApp::SetupLighting()
{
    GLfloat mat_specular[] = {1.0f, 1.0f, 1.0f, 1.0f};
    GLfloat mat_shininess[] = {5.0f};
    GLfloat light_position[] = {0.0f, 0.0f, 0.0f, 0.0f};
    GLfloat white_light[] = {1.0f, 1.0f, 1.0f, 1.0f};
    GLfloat lmodel_ambient[] = {0.1f, 0.1f, 0.1f, 1.0f};
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glMaterialfv(GL_FRONT, GL_SPECULAR, mat_specular);
    glMaterialfv(GL_FRONT, GL_SHININESS, mat_shininess);
    glLightfv(GL_LIGHT0, GL_POSITION, light_position);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white_light);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white_light);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, lmodel_ambient);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
}

// With depth testing off, later drawing covers earlier: skybox, paddle, ball, then the bricks.
void ShaderApp::DrawScene()
{
    DrawBackdrop();
    gPaddle->Draw();
    gBall->Draw();
    UpdateBricks();
}

void ShaderApp::DrawBackdrop()
{
    gSkybox->MoveToCamera();
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_DEPTH_TEST);
    gSkybox->Draw();
}

void ShaderApp::ResetGame()
{
    gPaddle->Reset();
    gBall->Reset();
    ResetRow(gLowRow);
    ResetRow(gMidRow);
    ResetRow(gHighRow);
}

void ShaderApp::UpdateBricks()
{
    gBall->CollidePaddle(gPaddle->GetX(), gPaddle->GetY(), gPaddle->GetWidth(), gPaddle->GetHeight());
    bool anyAlive = UpdateRow(gLowRow);
    anyAlive = UpdateRow(gMidRow) || anyAlive;
    anyAlive = UpdateRow(gHighRow) || anyAlive;
    // A field that had no living brick when the pass began has been cleared: start again.
    if (!anyAlive) ResetGame();
}
