// Whole frames of the game, set up exactly as main does, against a frame that
// only clears and swaps and against one full-window layer of floor: the
// software renderer's floor for a picture like the game's. Run from the project
// root (data/ must resolve) on an X display, e.g. under xvfb-run with
// LIBGL_ALWAYS_SOFTWARE=1.
//
// Goals: the shipped level within 1.5 layers (aim: 1.2), a 100 x 100 level
// (the shipped one repeated) within 1.5 x the shipped level, the shipped level
// with the F1 panel shown within 1 ms more than the same frame without it.

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/Panel.h"

namespace {

constexpr int BIG_LEVEL_SIZE = 100;
constexpr double SHIPPED_GOAL = 1.5;  // times the floor layer
constexpr double BIG_GOAL = 1.5;      // times the shipped level
constexpr double PANEL_GOAL_MS = 1.0;  // more than the shipped level
// Half the side of the floor layer: from the start view the plane fills the
// window well inside the far plane.
constexpr float LAYER_EXTENT = 50.0f;

const char* const CLEAR_ONLY = "BM_ClearOnlyFrame";
const char* const LAYER = "BM_FloorLayerFrame";
const char* const SHIPPED = "BM_ShippedLevelFrame";
const char* const BIG = "BM_Level100Frame";
const char* const PANEL = "BM_ShippedLevelPanelFrame";
const char* const WITHOUT_PANEL = "without";  // the counter of the frames between

std::string g_sBigLevelPath;

char CharOfTile(int iTile) {
    switch (iTile) {
        case TILE_WALL:
            return 'X';
        case TILE_HOLE:
            return 'O';
        case TILE_GOAL:
            return 'Z';
        case TILE_SAVE:
            return 's';
        default:
            return '.';
    }
}

// The shipped labyrinth repeated over the whole 100 x 100 grid, so that the
// start view shows the same kind of picture, with the start in the middle copy.
std::string MakeBigLevel(const kov::CBoard& shipped) {
    std::string sLevel = std::to_string(BIG_LEVEL_SIZE) + "\n" + std::to_string(BIG_LEVEL_SIZE) + "\n";
    const int iCopyX = BIG_LEVEL_SIZE / 2 / shipped.iWidth;
    const int iCopyY = BIG_LEVEL_SIZE / 2 / shipped.iHeight;
    for (int y = 0; y < BIG_LEVEL_SIZE; ++y) {
        for (int x = 0; x < BIG_LEVEL_SIZE; ++x) {
            const int iX = x % shipped.iWidth;
            const int iY = y % shipped.iHeight;
            const bool bStart = iX == shipped.iStartX && iY == shipped.iStartY &&
                                x / shipped.iWidth == iCopyX && y / shipped.iHeight == iCopyY;
            sLevel += bStart ? 'S' : CharOfTile(shipped.iField[iX][iY]);
        }
        sLevel += '\n';
    }
    return sLevel;
}

std::string WriteTempFile(const std::string& sContents) {
    char szPath[] = "/tmp/kov-bench-XXXXXX";
    const int iFd = mkstemp(szPath);
    if (iFd < 0 || write(iFd, sContents.data(), sContents.size()) != static_cast<ssize_t>(sContents.size())) {
        std::perror("kov-frame-bench: cannot write the generated level");
        std::exit(1);
    }
    close(iFd);
    return szPath;
}

// One plane at the floor's height, textured and lit as the board's floor is,
// that covers the whole window in the start view.
class CFloorLayer : public kov::ISceneNode {
public:
    bool Draw() override {
        glBindTexture(GL_TEXTURE_2D, g_Textures[TEX_WOOD]);
        glBegin(GL_QUADS);
        glNormal3f(0.0f, 1.0f, 0.0f);
        const float CORNERS[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
        for (const auto& corner : CORNERS) {
            const float fX = corner[0] * LAYER_EXTENT;
            const float fZ = corner[1] * LAYER_EXTENT;
            glTexCoord2f(fX, -fZ);
            glVertex3f(fX, 0.0f, fZ);
        }
        glEnd();
        return ISceneNode::Draw();
    }
};

// Loads a level and links the scene afresh, as main links it at start.
bool UseLevel(const char* szFileName) {
    g_Scene.RootNode.Children.clear();
    g_Box.Children.clear();
    g_Board.Children.clear();
    if (!g_Board.LoadLevel(szFileName)) {
        return false;
    }
    BuildScene();
    StartTimers();
    OnReshape(1024, 768);
    return true;
}

void RunFrames(benchmark::State& state) {
    for (auto _ : state) {
        OnDisplay();
        glFinish();
    }
}

void BM_ClearOnlyFrame(benchmark::State& state) {
    for (auto _ : state) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glutSwapBuffers();
        glFinish();
    }
}

// The game's own frame with the layer as the only node: the same switches,
// lights, clear, flush and swap.
void BM_FloorLayerFrame(benchmark::State& state) {
    CFloorLayer layer;
    g_Scene.RootNode.Children.assign(1, &layer);
    RunFrames(state);
    g_Scene.RootNode.Children.clear();
}

void BM_ShippedLevelFrame(benchmark::State& state) {
    if (!UseLevel(LEVEL_FILE_NAME)) {
        state.SkipWithError("cannot read data/field.txt; run from the project root");
        return;
    }
    RunFrames(state);
}

double TimeFrame() {
    const auto start = std::chrono::steady_clock::now();
    OnDisplay();
    glFinish();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Each timed frame with the panel follows one without it, timed into a counter
// of its own: the changing load of the machine falls on both alike.
void BM_ShippedLevelPanelFrame(benchmark::State& state) {
    if (!UseLevel(LEVEL_FILE_NAME)) {
        state.SkipWithError("cannot read data/field.txt; run from the project root");
        return;
    }
    double dWithout = 0.0;
    for (auto _ : state) {
        g_bShowPanel = false;
        dWithout += TimeFrame();
        g_bShowPanel = true;
        state.SetIterationTime(TimeFrame() / 1000.0);
    }
    g_bShowPanel = false;
    state.counters[WITHOUT_PANEL] = dWithout / static_cast<double>(state.iterations());
}

void BM_Level100Frame(benchmark::State& state) {
    if (!UseLevel(g_sBigLevelPath.c_str()) || g_Board.iWidth != BIG_LEVEL_SIZE ||
        g_Board.iHeight != BIG_LEVEL_SIZE) {
        state.SkipWithError("the generated 100 x 100 level did not load");
        return;
    }
    RunFrames(state);
}

// Shows the usual table and keeps the real time per frame of each benchmark:
// the mean of the repetitions when there are several, else the one run.
class CFrameReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& vRuns) override {
        ConsoleReporter::ReportRuns(vRuns);
        for (const Run& run : vRuns) {
            const bool bMean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            if (!run.error_occurred && (bMean || run.repetitions <= 1)) {
                msByName[run.run_name.function_name] = run.GetAdjustedRealTime();
                const auto itCounter = run.counters.find(WITHOUT_PANEL);
                if (itCounter != run.counters.end()) {
                    msByName[WITHOUT_PANEL] = itCounter->second;
                }
            }
        }
    }

    double MsPerFrame(const char* szName) const {
        const auto itTime = msByName.find(szName);
        return itTime == msByName.end() ? 0.0 : itTime->second;
    }

private:
    std::map<std::string, double> msByName;
};


// The window is mapped and has had its first reshape once the toolkit has
// handled the events of its creation.
void LetWindowAppear() {
    for (int i = 0; i < 10; ++i) {
        glutMainLoopEvent();
    }
}

// Returns false when a goal is missed.
bool PrintSummary(const CFrameReporter& reporter) {
    const double dClear = reporter.MsPerFrame(CLEAR_ONLY);
    const double dLayer = reporter.MsPerFrame(LAYER);
    const double dShipped = reporter.MsPerFrame(SHIPPED);
    const double dBig = reporter.MsPerFrame(BIG);
    const double dPanel = reporter.MsPerFrame(PANEL);
    const double dWithoutPanel = reporter.MsPerFrame(WITHOUT_PANEL);
    if (dClear <= 0.0 || dLayer <= 0.0 || dShipped <= 0.0 || dBig <= 0.0 || dPanel <= 0.0 || dWithoutPanel <= 0.0) {
        std::printf("\nNot every frame was measured; no summary.\n");
        return false;
    }
    std::printf("\n%-24s %10s %14s %8s\n", "Frame", "ms/frame", "x clear-only", "layers");
    const struct {
        const char* szName;
        double dMs;
    } ROWS[] = {{"clear and swap only", dClear}, {"floor layer", dLayer}, {"shipped level", dShipped},
                {"shipped level, F1 panel", dPanel}, {"100 x 100 level", dBig}};
    for (const auto& row : ROWS) {
        std::printf("%-24s %10.3f %14.2f %8.2f\n", row.szName, row.dMs, row.dMs / dClear, row.dMs / dLayer);
    }
    const bool bShippedMet = dShipped <= SHIPPED_GOAL * dLayer;
    const bool bBigMet = dBig <= BIG_GOAL * dShipped;
    const bool bPanelMet = dPanel - dWithoutPanel <= PANEL_GOAL_MS;
    std::printf("\nshipped level: %.2f floor layers (goal %.1f, aim 1.2): %s\n", dShipped / dLayer, SHIPPED_GOAL,
                bShippedMet ? "met" : "MISSED");
    std::printf("100 x 100 level: %.2f x shipped level (goal %.1f x): %s\n", dBig / dShipped, BIG_GOAL,
                bBigMet ? "met" : "MISSED");
    std::printf("F1 panel: %.3f ms a frame against %.3f without it, alternating: %+.3f ms (goal at most %.1f ms "
                "more): %s\n",
                dPanel, dWithoutPanel, dPanel - dWithoutPanel, PANEL_GOAL_MS, bPanelMet ? "met" : "MISSED");
    return bShippedMet && bBigMet && bPanelMet;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);

    AssignSettingsDefaults();
    OpenGameWindow(&argc, argv);
    glutDisplayFunc(OnDisplay);
    glutReshapeFunc(OnReshape);
    LoadTextures();
    BuildScene();
    StartTimers();
    LetWindowAppear();
    OnReshape(1024, 768);

    if (g_Board.iWidth == 0 || g_Board.iHeight == 0) {
        std::fprintf(stderr, "kov-frame-bench: no level in data/field.txt; run from the project root\n");
        return 1;
    }
    g_sBigLevelPath = WriteTempFile(MakeBigLevel(g_Board));

    // Registered in this order so the yardsticks are measured first.
    const std::pair<const char*, void (*)(benchmark::State&)> BENCHMARKS[] = {
        {CLEAR_ONLY, BM_ClearOnlyFrame}, {LAYER, BM_FloorLayerFrame}, {SHIPPED, BM_ShippedLevelFrame},
        {BIG, BM_Level100Frame}};
    for (const auto& bench : BENCHMARKS) {
        benchmark::RegisterBenchmark(bench.first, bench.second)->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    // Timed by hand, frame by frame: see the case.
    benchmark::RegisterBenchmark(PANEL, BM_ShippedLevelPanelFrame)->Unit(benchmark::kMillisecond)->UseManualTime();

    CFrameReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::remove(g_sBigLevelPath.c_str());
    return PrintSummary(reporter) ? 0 : 1;
}
