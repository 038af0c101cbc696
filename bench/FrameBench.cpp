// Whole frames of the game, set up exactly as main does, against a frame that
// only clears and swaps and against one full-window layer of floor: the
// software renderer's floor for a picture like the game's. Run from the project
// root (data/ must resolve) on an X display, e.g. under xvfb-run with
// LIBGL_ALWAYS_SOFTWARE=1.
//
// Goals: the shipped level within 1.5 layers (aim: 1.2), a 100 x 100 level
// (the shipped one repeated) within 1.5 x the shipped level, the shipped level
// with the F1 panel shown within 1 ms more than the same frame without it, and
// with the light markers within 0.3 ms more.

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/LightMarkers.h"
#include "app/Panel.h"
#include "app/Settings.h"

namespace {

constexpr int BIG_LEVEL_SIZE = 100;
constexpr double SHIPPED_GOAL = 1.5;  // times the floor layer
constexpr double BIG_GOAL = 1.5;      // times the shipped level
constexpr double PANEL_GOAL_MS = 1.0;  // more than the shipped level
constexpr double MARKERS_GOAL_MS = 0.3;  // more than the shipped level
constexpr float MARKERS_CUTOFF = 30.0f;  // degrees: the spot's cone meets the floor, and its edge is drawn
// Half the side of the floor layer: from the start view the plane fills the
// window well inside the far plane.
constexpr float LAYER_EXTENT = 50.0f;

const char* const CLEAR_ONLY = "BM_ClearOnlyFrame";
const char* const LAYER = "BM_FloorLayerFrame";
const char* const SHIPPED = "BM_ShippedLevelFrame";
const char* const BIG = "BM_Level100Frame";
const char* const PANEL = "BM_ShippedLevelPanelFrame";
const char* const MARKERS = "BM_ShippedLevelMarkersFrame";
// The counters of the frames each case times between its own.
const char* const WITH_LAYER = "layer";
const char* const WITHOUT = "without";

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

double TimeFrame() {
    const auto start = std::chrono::steady_clock::now();
    OnDisplay();
    glFinish();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Each timed frame follows one of another kind, which fnSwitch switches to and
// back and which is timed into the counter szOther: the machine's changing
// load falls on both alike.
void RunPairedFrames(benchmark::State& state, const char* szOther, void (*fnSwitch)()) {
    double dOther = 0.0;
    for (auto _ : state) {
        fnSwitch();
        dOther += TimeFrame();
        fnSwitch();
        state.SetIterationTime(TimeFrame() / 1000.0);
    }
    state.counters[szOther] = dOther / static_cast<double>(state.iterations());
}

CFloorLayer g_Layer;
std::list<kov::ISceneNode*> g_OtherRoot = {&g_Layer};

// The game's own frame with the layer as the only node, or the game's nodes again.
void SwapLayer() {
    g_Scene.RootNode.Children.swap(g_OtherRoot);
}

bool* g_pbShown;  // what the case that times a frame with and without something switches

void ToggleShown() {
    *g_pbShown = !*g_pbShown;
}

void BM_ClearOnlyFrame(benchmark::State& state) {
    for (auto _ : state) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glutSwapBuffers();
        glFinish();
    }
}

// The same switches, lights, clear, flush and swap as the game's frames.
void BM_FloorLayerFrame(benchmark::State& state) {
    SwapLayer();
    RunFrames(state);
    SwapLayer();
}

void BM_ShippedLevelFrame(benchmark::State& state) {
    if (!UseLevel(LEVEL_FILE_NAME)) {
        state.SkipWithError("cannot read data/field.txt; run from the project root");
        return;
    }
    RunPairedFrames(state, WITH_LAYER, SwapLayer);
}

// Each frame of the shipped level with *pbShown set after one without it.
void RunShownAfterHidden(benchmark::State& state, bool* pbShown) {
    if (!UseLevel(LEVEL_FILE_NAME)) {
        state.SkipWithError("cannot read data/field.txt; run from the project root");
        return;
    }
    g_pbShown = pbShown;
    *pbShown = true;
    RunPairedFrames(state, WITHOUT, ToggleShown);
    *pbShown = false;
}

void BM_ShippedLevelPanelFrame(benchmark::State& state) {
    RunShownAfterHidden(state, &g_bShowPanel);
}

void BM_ShippedLevelMarkersFrame(benchmark::State& state) {
    CSettings& settings = GetSettings();
    const float fCutoff = settings.fSpotCutoff;
    settings.fSpotCutoff = MARKERS_CUTOFF;
    RunShownAfterHidden(state, &g_bShowLightMarkers);
    settings.fSpotCutoff = fCutoff;
}

void BM_Level100Frame(benchmark::State& state) {
    if (!UseLevel(g_sBigLevelPath.c_str()) || g_Board.iWidth != BIG_LEVEL_SIZE ||
        g_Board.iHeight != BIG_LEVEL_SIZE) {
        state.SkipWithError("the generated 100 x 100 level did not load");
        return;
    }
    RunPairedFrames(state, WITH_LAYER, SwapLayer);
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
                for (const auto& [sCounter, counter] : run.counters) {
                    msByName[run.run_name.function_name + "/" + sCounter] = counter;
                }
            }
        }
    }

    // A case's time, or with szCounter the time it counted of the frames between.
    double MsPerFrame(const char* szName, const char* szCounter = nullptr) const {
        const auto itTime = msByName.find(szCounter != nullptr ? std::string(szName) + "/" + szCounter : szName);
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
    const double dMarkers = reporter.MsPerFrame(MARKERS);
    // Each game frame against the layer frames between its own.
    const double dShippedLayers = dShipped / reporter.MsPerFrame(SHIPPED, WITH_LAYER);
    const double dBigLayers = dBig / reporter.MsPerFrame(BIG, WITH_LAYER);
    const double dPanelMore = dPanel - reporter.MsPerFrame(PANEL, WITHOUT);
    const double dMarkersMore = dMarkers - reporter.MsPerFrame(MARKERS, WITHOUT);
    if (dClear <= 0.0 || dLayer <= 0.0 || dShipped <= 0.0 || dBig <= 0.0 || dPanel <= 0.0 || dMarkers <= 0.0 ||
        !(dShippedLayers > 0.0 && dBigLayers > 0.0 && dPanelMore < dPanel && dMarkersMore < dMarkers)) {
        std::printf("\nNot every frame was measured; no summary.\n");
        return false;
    }
    std::printf("\n%-24s %10s %14s %8s\n", "Frame", "ms/frame", "x clear-only", "layers");
    const struct {
        const char* szName;
        double dMs, dLayers;
    } ROWS[] = {{"clear and swap only", dClear, dClear / dLayer},
                {"floor layer", dLayer, 1.0},
                {"shipped level", dShipped, dShippedLayers},
                {"shipped level, F1 panel", dPanel, dPanel / dLayer},
                {"shipped level, markers", dMarkers, dMarkers / dLayer},
                {"100 x 100 level", dBig, dBigLayers}};
    for (const auto& row : ROWS) {
        std::printf("%-24s %10.3f %14.2f %8.2f\n", row.szName, row.dMs, row.dMs / dClear, row.dLayers);
    }
    const bool bShippedMet = dShippedLayers <= SHIPPED_GOAL;
    const bool bBigMet = dBigLayers <= BIG_GOAL * dShippedLayers;
    const bool bPanelMet = dPanelMore <= PANEL_GOAL_MS;
    const bool bMarkersMet = dMarkersMore <= MARKERS_GOAL_MS;
    std::printf("\nshipped level: %.2f floor layers (goal %.1f, aim 1.2): %s\n", dShippedLayers, SHIPPED_GOAL,
                bShippedMet ? "met" : "MISSED");
    std::printf("100 x 100 level: %.2f x shipped level (goal %.1f x): %s\n", dBigLayers / dShippedLayers, BIG_GOAL,
                bBigMet ? "met" : "MISSED");
    std::printf("F1 panel: %+.3f ms a frame against the same frame without it (goal at most %.1f ms more): %s\n",
                dPanelMore, PANEL_GOAL_MS, bPanelMet ? "met" : "MISSED");
    std::printf("light markers: %+.3f ms a frame against the same frame without them (goal at most %.1f ms more): %s\n",
                dMarkersMore, MARKERS_GOAL_MS, bMarkersMet ? "met" : "MISSED");
    return bShippedMet && bBigMet && bPanelMet && bMarkersMet;
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
    benchmark::RegisterBenchmark(CLEAR_ONLY, BM_ClearOnlyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark(LAYER, BM_FloorLayerFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
    // The others time their frames one by one, between frames of another kind.
    const std::pair<const char*, void (*)(benchmark::State&)> PAIRED[] = {
        {SHIPPED, BM_ShippedLevelFrame}, {PANEL, BM_ShippedLevelPanelFrame},
        {MARKERS, BM_ShippedLevelMarkersFrame}, {BIG, BM_Level100Frame}};
    for (const auto& bench : PAIRED) {
        benchmark::RegisterBenchmark(bench.first, bench.second)->Unit(benchmark::kMillisecond)->UseManualTime();
    }

    CFrameReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::remove(g_sBigLevelPath.c_str());
    return PrintSummary(reporter) ? 0 : 1;
}
