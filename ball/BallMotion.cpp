#include "ball/BallMotion.h"

#include "app/Globals.h"

// PLACEHOLDER: the simulation step is being written; only the respawn placement is final.
void UpdateBall(double) {}

void PlaceBallOnRespawnCell() {
    const double dX = g_Board.iStartX - g_Board.iWidth * 0.5 + 0.5;
    const double dZ = g_Board.iStartY - g_Board.iHeight * 0.5 + 0.5;
    g_Ball.SetPosition(static_cast<float>(dX), 0.5f, static_cast<float>(dZ));
}
