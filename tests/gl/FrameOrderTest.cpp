// Whole frames drawn the nearer first against the tree's own order, pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/Settings.h"
#include "support/GlTest.h"

namespace {

// First in the root: with the switch off the tree is drawn in its own order, yet depth-tested.
struct CDepthTestOn : kov::ISceneNode {
    bool Draw() override {
        glEnable(GL_DEPTH_TEST);
        return true;
    }
};

void StartView() {
    AssignSettingsDefaults();
    g_ViewControl = CViewControl();
    g_Camera.vCenter.x = 0.0f;
    g_Board.fTiltZ = g_Board.fTiltX = 0.0f;
}

const struct {
    const char* szView;
    void (*fnChange)();  // from the start view
} VIEWS[] = {
    {"start", [] {}},
    {"shifted and turned", [] { g_Camera.vCenter.x = 7.0f; g_ViewControl.iAngleX = 300; }},
    {"from under the board", [] { g_ViewControl.iAngleX = 100; g_ViewControl.iAngleY = -90; }},
    {"tilted by +2 degrees", [] { g_Board.fTiltZ = 2.0f; }},
    {"tilted by -2 degrees, low", [] { g_Board.fTiltX = -2.0f; g_ViewControl.iAngleY = 40; }},
    {"wire-frame", [] { GetSettings().bWireframe = true; g_Board.fTiltZ = 2.0f; }},
    {"textures off", [] { GetSettings().bTextures = false; }},
    {"zoomed in, lighting off", [] { GetSettings().bLighting = false; g_ViewControl.fDistance = 8.0f; }},
    {"orthographic", [] { GetSettings().bPerspective = false; g_Board.fTiltX = -2.0f; g_ViewControl.iAngleX = 100; }},
    {"two-sided off", [] { GetSettings().bTwoSided = false; g_Board.fTiltZ = 2.0f; g_ViewControl.fDistance = 8.0f; }},
    {"near moved into the board", [] { GetSettings().fNear = 23.5f; }},
    {"far moved through the box, from higher up",
     [] { GetSettings().fFar = 20.72f; g_ViewControl.fDistance = 20.0f; g_ViewControl.iAngleY = 170; }},
    {"near beyond far: the farthest surface wins", [] { GetSettings().fNear = 30.1f; GetSettings().fFar = 1.0f; }},
    {"orthographic, near beyond far",
     [] { GetSettings().bPerspective = false; GetSettings().fNear = 40.1f; GetSettings().fFar = 1.0f; }},
};

}  // namespace

TEST(FrameOrder, TheDepthTestedFrameShowsTheTreeOrdersPictureInEveryViewAndSwitch) {
    LoadTextures();
    BuildScene();
    CDepthTestOn depthTestOn;
    g_Scene.RootNode.Children.push_front(&depthTestOn);
    CManualClock clock;  // standing still: the ball does not move between the frames
    g_FrameTimer = CTimer(clock);
    OnReshape(1024, 768);
    StartView();
    DrawFrame();  // each frame then meets the state the one before left, as in the game
    for (const auto& v : VIEWS) {
        StartView();
        v.fnChange();
        DrawFrame();
        const std::vector<GLubyte> Frame = ReadWindow();
        GetSettings().bDepthTest = false;
        DrawFrame();
        EXPECT_TRUE(ReadWindow() == Frame) << v.szView;
        EXPECT_GT(std::count_if(Frame.begin(), Frame.end(), [](GLubyte c) { return c > 40; }), 100000) << v.szView;
    }
    g_Scene.RootNode.Children.clear();
    g_Box.Children.clear();
    g_Board.Children.clear();
    StartView();
    g_FrameTimer = CTimer();
}
