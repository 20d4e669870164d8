#include "shell/iwindow.h"

#include "shell/gameassert.h"

bool IWindow::InitGame()
{
    GAME_ASSERT(game_);
    return game_->Init();
}

void IWindow::UpdateGame(float seconds)
{
    GAME_ASSERT(game_);
    game_->Update(seconds);
}

void IWindow::ShutdownGame()
{
    GAME_ASSERT(game_);
    game_->Shutdown();
}

void IWindow::ResizeGame(int width, int height)
{
    GAME_ASSERT(game_);
    game_->Resize(width, height);
}
