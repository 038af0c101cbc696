#include <GL/gl.h>

#include <cmath>

#include <gtest/gtest.h>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/Settings.h"

namespace {

// A node hung into the scene that records the GL state in force while the tree is drawn.
class CProbeNode : public kov::ISceneNode {
public:
    bool Draw() override {
        ++iDraws;
        bDepthTest = glIsEnabled(GL_DEPTH_TEST);
        bLighting = glIsEnabled(GL_LIGHTING);
        bTexture = glIsEnabled(GL_TEXTURE_2D);
        glGetIntegerv(GL_SHADE_MODEL, &iShadeModel);
        glGetIntegerv(GL_POLYGON_MODE, iPolygonMode);
        glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &iLocalViewer);
        glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &iTwoSide);
        glGetFloatv(GL_LIGHT_MODEL_AMBIENT, fAmbient);
        glGetFloatv(GL_PROJECTION_MATRIX, fProjection);
        glGetFloatv(GL_MODELVIEW_MATRIX, fModelview);
        return ISceneNode::Draw();
    }

    int iDraws = 0;
    GLboolean bDepthTest = GL_FALSE;
    GLboolean bLighting = GL_FALSE;
    GLboolean bTexture = GL_FALSE;
    GLint iShadeModel = 0;
    GLint iPolygonMode[2] = {};
    GLint iLocalViewer = 0;
    GLint iTwoSide = 0;
    GLfloat fAmbient[4] = {};
    GLfloat fProjection[16] = {};
    GLfloat fModelview[16] = {};
};

class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        AssignSettingsDefaults();
        OnReshape(1024, 768);
        g_Scene.RootNode.Children.push_back(&probe);
    }

    void TearDown() override { g_Scene.RootNode.Children.remove(&probe); }

    CProbeNode probe;
};

constexpr double PI = 3.141592653589793;

}  // namespace

TEST_F(FrameTest, EveryFrameTurnsTheSettingsIntoGlState) {
    DrawFrame();
    ASSERT_EQ(probe.iDraws, 1);
    EXPECT_TRUE(probe.bDepthTest);
    EXPECT_TRUE(probe.bLighting);
    EXPECT_TRUE(probe.bTexture);
    EXPECT_EQ(probe.iShadeModel, GL_SMOOTH);
    EXPECT_EQ(probe.iPolygonMode[0], GL_FILL);
    EXPECT_EQ(probe.iLocalViewer, 1);
    EXPECT_EQ(probe.iTwoSide, 1);
    EXPECT_FLOAT_EQ(probe.fAmbient[0], 0.5f);
    EXPECT_FLOAT_EQ(probe.fAmbient[3], 1.0f);

    CSettings& settings = GetSettings();
    settings.bDepthTest = false;
    settings.bLighting = false;
    settings.bTextures = false;
    settings.bSmooth = false;
    settings.bWireframe = true;
    settings.bLocalViewer = false;
    settings.bTwoSided = false;
    settings.bAmbient = false;
    DrawFrame();
    EXPECT_FALSE(probe.bDepthTest);
    EXPECT_FALSE(probe.bLighting);
    EXPECT_FALSE(probe.bTexture);
    EXPECT_EQ(probe.iShadeModel, GL_FLAT);
    EXPECT_EQ(probe.iPolygonMode[0], GL_LINE);
    EXPECT_EQ(probe.iPolygonMode[1], GL_LINE);
    EXPECT_EQ(probe.iLocalViewer, 0);
    EXPECT_EQ(probe.iTwoSide, 0);
    EXPECT_FLOAT_EQ(probe.fAmbient[0], 0.0f);
    EXPECT_FLOAT_EQ(probe.fAmbient[3], 1.0f);

    // What the overlay switched off comes back with the next frame.
    AssignSettingsDefaults();
    DrawFrame();
    EXPECT_TRUE(probe.bDepthTest);
    EXPECT_TRUE(probe.bLighting);
    EXPECT_TRUE(probe.bTexture);
}

TEST_F(FrameTest, PerspectiveIs45DegreesWithTheWindowsAspect) {
    DrawFrame();
    const double dFocal = 1.0 / std::tan(22.5 * PI / 180.0);
    EXPECT_NEAR(probe.fProjection[5], dFocal, 1e-5);
    EXPECT_NEAR(probe.fProjection[0], dFocal * 768.0 / 1024.0, 1e-5);
    // Near 0.1 and far 100.
    const double dNear = 0.1;
    const double dFar = 100.0;
    EXPECT_NEAR(probe.fProjection[10], -(dFar + dNear) / (dFar - dNear), 1e-5);
    EXPECT_NEAR(probe.fProjection[14], -2.0 * dFar * dNear / (dFar - dNear), 1e-5);
}

TEST_F(FrameTest, OrthographicViewIs24UnitsWideAndFollowsTheAspect) {
    GetSettings().bPerspective = false;
    DrawFrame();
    EXPECT_NEAR(probe.fProjection[0], 2.0 / 24.0, 1e-6);
    EXPECT_NEAR(probe.fProjection[5], 2.0 / (24.0 * 768.0 / 1024.0), 1e-6);
    EXPECT_EQ(probe.fProjection[15], 1.0f);

    OnReshape(2048, 768);  // wider window, shorter strip
    DrawFrame();
    EXPECT_NEAR(probe.fProjection[5], 2.0 / (24.0 * 768.0 / 2048.0), 1e-6);
}

TEST_F(FrameTest, TheViewIsTheCamerasLookAt) {
    DrawFrame();
    // From (0, 23.54, 8.42) towards the origin: the origin lies 25 units ahead.
    EXPECT_NEAR(probe.fModelview[14], -25.0f, 1e-4);
    EXPECT_NEAR(g_Stars.vPosition.y, 23.54f, 0.005);
    EXPECT_NEAR(g_Stars.vPosition.z, 8.42f, 0.005);
}

TEST_F(FrameTest, FrameTimeIsTheTimeBetweenFramesInSeconds) {
    StartTimers();
    const double dStart = g_dLastTime;
    DrawFrame();
    EXPECT_GE(g_dFrameTime, 0.0);
    EXPECT_LT(g_dFrameTime, 5.0);
    EXPECT_GE(g_dLastTime, dStart + g_dFrameTime * 1000.0);
}

TEST_F(FrameTest, ReshapeSetsAspectViewportAndOrbitSize) {
    OnReshape(800, 400);
    EXPECT_FLOAT_EQ(GetSettings().fAspect, 2.0f);
    EXPECT_EQ(g_ViewControl.iWindowWidth, 800);
    EXPECT_EQ(g_ViewControl.iWindowHeight, 400);
    GLint iViewport[4];
    glGetIntegerv(GL_VIEWPORT, iViewport);
    EXPECT_EQ(iViewport[2], 800);
    EXPECT_EQ(iViewport[3], 400);
    // Only the aspect changes: the settings survive any number of resizes.
    for (int i = 1; i < 50; ++i) {
        OnReshape(100 + i * 13, 50 + i * 7);
    }
    EXPECT_EQ(GetSettings().iSlices, 32);
    EXPECT_EQ(GetSettings().fFar, 100.0f);
    EXPECT_TRUE(GetSettings().bPerspective);
}

TEST_F(FrameTest, AMinimisedWindowKeepsASaneAspect) {
    OnReshape(1000, 500);
    OnReshape(1000, 0);
    EXPECT_FLOAT_EQ(GetSettings().fAspect, 2.0f);
    OnReshape(0, 0);
    EXPECT_FLOAT_EQ(GetSettings().fAspect, 2.0f);

    // A zero-size window from the start gets the first window's shape.
    GetSettings().fAspect = 0.0f;
    OnReshape(640, 0);
    EXPECT_FLOAT_EQ(GetSettings().fAspect, 1024.0f / 768.0f);

    for (const bool bPerspective : {true, false}) {
        GetSettings().bPerspective = bPerspective;
        DrawFrame();
        for (const GLfloat fValue : probe.fProjection) {
            EXPECT_TRUE(std::isfinite(fValue));
        }
        for (const GLfloat fValue : probe.fModelview) {
            EXPECT_TRUE(std::isfinite(fValue));
        }
    }
}
