// Whole frames as the game draws them with the depth test on, the nearer first,
// against the tree's own order under the same depth test, pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <vector>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/Settings.h"
#include "support/GlTest.h"

namespace {

// First in the root of a frame whose depth-test switch is off: the tree is
// drawn in its own order, and depth-tested.
struct CDepthTestOn : kov::ISceneNode {
    bool Draw() override {
        glEnable(GL_DEPTH_TEST);
        return true;
    }
};

const struct {
    const char* szView;
    int iAngleX, iAngleY;
    float fDistance, fCenterX, fTilt;
    bool CSettings::*pbToggled;  // a switch turned the other way
    float fNear, fFar;
} VIEWS[] = {
    {"start", 0, 150, 25, 0, 0, nullptr, 0.1f, 100},
    {"zoomed in", 0, 150, 8, 0, 0, nullptr, 0.1f, 100},
    {"zoomed out, the rims' outer walls in view", 0, 120, 45, 0, 0, nullptr, 0.1f, 100},
    {"shifted and turned", 300, 110, 20, 7, 0, nullptr, 0.1f, 100},
    {"from under the board", 100, -90, 25, 0, 0, nullptr, 0.1f, 100},
    {"tilted by +2 degrees", 0, 150, 25, 0, 2, nullptr, 0.1f, 100},
    {"tilted by -2 degrees, low", 200, 40, 30, 0, -2, nullptr, 0.1f, 100},
    {"wire-frame", 0, 150, 25, 0, 2, &CSettings::bWireframe, 0.1f, 100},
    {"textures off", 0, 150, 25, 0, 0, &CSettings::bTextures, 0.1f, 100},
    {"lighting off", 0, 150, 8, 0, 0, &CSettings::bLighting, 0.1f, 100},
    {"orthographic", 100, 130, 25, 0, -2, &CSettings::bPerspective, 0.1f, 100},
    {"two-sided off", 0, 150, 8, 0, 2, &CSettings::bTwoSided, 0.1f, 100},
    {"near moved into the board", 0, 150, 25, 0, 0, nullptr, 23.5f, 100},
    {"far moved into the board", 0, 150, 25, 0, 2, nullptr, 0.1f, 27},
    {"far moved through the box, from higher up", 0, 170, 20, 0, 0, nullptr, 0.1f, 20.72f},
};

}  // namespace

TEST(FrameOrder, TheDepthTestedFrameShowsTheTreeOrdersPictureInEveryViewAndSwitch) {
    LoadTextures();
    BuildScene();
    CManualClock clock;  // standing still: the ball does not move between the frames
    g_FrameTimer = CTimer(clock);
    StartTimers();
    AssignSettingsDefaults();
    DrawFrame();  // each frame then meets the state the one before left, as in the game
    CDepthTestOn depthTestOn;
    for (const auto& v : VIEWS) {
        std::vector<GLubyte> Frames[2];
        for (int i = 0; i < 2; ++i) {
            AssignSettingsDefaults();
            OnReshape(1024, 768);
            g_ViewControl.iAngleX = v.iAngleX;
            g_ViewControl.iAngleY = v.iAngleY;
            g_ViewControl.fDistance = v.fDistance;
            g_Camera.vCenter.x = v.fCenterX;
            g_Board.fTiltZ = v.fTilt;
            g_Board.fTiltX = -v.fTilt;
            if (v.pbToggled != nullptr) {
                GetSettings().*v.pbToggled = !(GetSettings().*v.pbToggled);
            }
            GetSettings().fNear = v.fNear;
            GetSettings().fFar = v.fFar;
            GetSettings().bDepthTest = i == 0;
            if (i == 1) {
                g_Scene.RootNode.Children.push_front(&depthTestOn);
            }
            DrawFrame();
            Frames[i] = ReadWindow();
            g_Scene.RootNode.Children.remove(&depthTestOn);
        }
        const auto& a = Frames[0];
        EXPECT_EQ(std::inner_product(a.begin(), a.end(), Frames[1].begin(), 0, std::plus<>(), std::not_equal_to<>()), 0)
            << v.szView;
        EXPECT_GT(std::count_if(a.begin(), a.end(), [](GLubyte c) { return c > 40; }), 100000) << v.szView;
    }
    g_Scene.RootNode.Children.clear();
    g_Box.Children.clear();
    g_Board.Children.clear();
    g_Board.fTiltZ = g_Board.fTiltX = 0.0f;
    g_ViewControl = CViewControl();
    g_Camera.vCenter.x = 0.0f;
    g_FrameTimer = CTimer();
}
