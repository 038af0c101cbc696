// One simulation step of the ball, as the display callback runs it once per
// frame. Goal: at most 100 ns per step.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/Globals.h"
#include "ball/BallMotion.h"

namespace {

constexpr double FRAME_TIME = 1.0 / 60.0;

// A 20 x 20 field of plain floor with the ball on cell (10, 10).
void SetUpOpenBoard() {
    std::memset(g_Board.iField, 0, sizeof(g_Board.iField));
    g_Board.iWidth = 20;
    g_Board.iHeight = 20;
    g_Board.fTiltZ = 2.0f;
    g_Board.fTiltX = -1.5f;
    g_Ball.iWidth = 20;
    g_Ball.iHeight = 20;
    g_Ball.fRadius = 0.475f;
}

// Every step starts from the same place and speed, so each one does the full work.
void Place(float x, float z, double dVelocityX, double dVelocityZ) {
    g_Ball.SetPosition(x, 0.5f, z);
    g_Ball.dVelocityX = dVelocityX;
    g_Ball.dVelocityZ = dVelocityZ;
}

void BM_UpdateBallOpenFloor(benchmark::State& state) {
    SetUpOpenBoard();
    for (auto _ : state) {
        Place(0.5f, 0.5f, 3.0, -2.0);
        UpdateBall(FRAME_TIME);
        benchmark::DoNotOptimize(g_Ball.vPosition);
    }
}
BENCHMARK(BM_UpdateBallOpenFloor);

// The ball runs into the corner of three wall cells: to its +x, its +z and
// diagonally between them, so the nine-cell search tests twelve edges.
void BM_UpdateBallInACorner(benchmark::State& state) {
    SetUpOpenBoard();
    g_Board.iField[11][10] = TILE_WALL;
    g_Board.iField[10][11] = TILE_WALL;
    g_Board.iField[11][11] = TILE_WALL;
    for (auto _ : state) {
        Place(0.55f, 0.5f, 3.0, 3.0);
        UpdateBall(FRAME_TIME);
        benchmark::DoNotOptimize(g_Ball.vPosition);
    }
    state.counters["hit"] = g_Ball.dVelocityX < 0.0 || g_Ball.dVelocityZ < 0.0;
}
BENCHMARK(BM_UpdateBallInACorner);

}  // namespace

BENCHMARK_MAIN();
