// One frame against real OpenGL: the state each frame makes from the settings, the camera's view, the frame
// time and the overlay's count; the panel and the light markers over the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/Hud.h"
#include "app/LightMarkers.h"
#include "app/Panel.h"
#include "app/Settings.h"
#include "support/GlTest.h"

namespace {

// Each switch and the state it gives while the tree is drawn, on and off.
const struct {
    bool CSettings::*pbSwitch;
    GLenum eState;
    float fOn, fOff;
} SWITCHES[] = {
    {&CSettings::bDepthTest, GL_DEPTH_TEST, 1, 0},
    {&CSettings::bLighting, GL_LIGHTING, 1, 0},
    {&CSettings::bTextures, GL_TEXTURE_2D, 1, 0},
    {&CSettings::bLocalViewer, GL_LIGHT_MODEL_LOCAL_VIEWER, 1, 0},
    {&CSettings::bTwoSided, GL_LIGHT_MODEL_TWO_SIDE, 1, 0},
    {&CSettings::bSmooth, GL_SHADE_MODEL, GL_SMOOTH, GL_FLAT},
    {&CSettings::bAmbient, GL_LIGHT_MODEL_AMBIENT, 0.5f, 0},
    {&CSettings::bWireframe, GL_POLYGON_MODE, 2 * GL_LINE, 2 * GL_FILL},  // front plus back
};

// Hung into the scene: records the state in force while the tree is drawn.
class CProbeNode : public kov::ISceneNode {
public:
    bool Draw() override {
        State.clear();
        for (const auto& s : SWITCHES) {
            GLfloat fValue[4] = {};
            glGetFloatv(s.eState, fValue);
            State.push_back(s.eState == GL_POLYGON_MODE ? fValue[0] + fValue[1] : fValue[0]);
        }
        glGetFloatv(GL_MODELVIEW_MATRIX, fModelview);
        return true;
    }
    std::vector<float> State;
    GLfloat fModelview[16];
};

// Each name's values from glGetFloatv, sixteen of each: as many as it has, then zeros.
std::vector<GLfloat> GetState(const std::vector<GLenum>& Names) {
    std::vector<GLfloat> State;
    for (const GLenum eName : Names) {
        GLfloat fValue[16] = {};
        glGetFloatv(eName, fValue);
        State.insert(State.end(), fValue, fValue + 16);
    }
    return State;
}
// The pixels in the square of iRadius round where v lands that are colour c with the markers, f[1], not without.
int Marked(const std::vector<GLubyte>* f, const CVector3& v, int iRadius, const std::array<int, 3>& c) {
    GLfloat fWindow[4];
    glRasterPos3f(v.x, v.y, v.z);
    glGetFloatv(GL_CURRENT_RASTER_POSITION, fWindow);
    const auto Is = [&c](const GLubyte* p) {
        return std::abs(p[0] - c[0]) + std::abs(p[1] - c[1]) + std::abs(p[2] - c[2]) < 4;  // each rounded either way
    };
    int iCount = 0;
    for (int y = int(fWindow[1]) - iRadius; y <= int(fWindow[1]) + iRadius; ++y) {
        for (int x = int(fWindow[0]) - iRadius; x <= int(fWindow[0]) + iRadius; ++x) {
            iCount += !Is(&f[0][(y * 1024 + x) * 3]) && Is(&f[1][(y * 1024 + x) * 3]) ? 1 : 0;
        }
    }
    return iCount;
}

const std::vector<GLenum> MATRICES = {GL_PROJECTION_MATRIX, GL_MODELVIEW_MATRIX, GL_MATRIX_MODE,
                                      GL_PROJECTION_STACK_DEPTH, GL_MODELVIEW_STACK_DEPTH};

class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        AssignSettingsDefaults();
        OnReshape(1024, 768);
        g_Scene.RootNode.Children.push_back(&probe);
    }
    void TearDown() override {
        g_Scene.RootNode.Children.remove(&probe);
        g_ViewControl = CViewControl();
        SetVector(&g_Camera.vCenter, 0.0f, 0.0f, 0.0f);
    }
    CSettings& settings = GetSettings();
    CProbeNode probe;
};

}  // namespace

TEST_F(FrameTest, EachSwitchBecomesItsStateEveryFrameAndChangesNothingElse) {
    for (const auto& s : SWITCHES) {
        for (const bool bToggle : {false, true}) {
            AssignSettingsDefaults();
            settings.*s.pbSwitch ^= bToggle;
            DrawFrame();  // after a frame whose overlay switched some of them off
            std::vector<float> Expected;
            for (const auto& e : SWITCHES) {
                Expected.push_back(settings.*e.pbSwitch ? e.fOn : e.fOff);
            }
            EXPECT_EQ(probe.State, Expected) << "switch " << &s - SWITCHES << (bToggle ? " toggled" : "");
        }
    }
}

TEST_F(FrameTest, TheCameraOrbitsItsCentreAndTurnsUpsideDownBetweenTheQuarters) {
    const struct {
        int iAngleX, iAngleY, iSize;
        float fDistance, fCenterX, fEye[3], fUpY;
    } CASES[] = {
        {0, 150, 1, 25, 0, {0, 23.54f, 8.42f}, 1},  // the start view
        {0, 150, 1, 25, 2, {2, 23.54f, 8.42f}, 1},  // the eye follows the centre
        {256, 0, 1, 10, 0, {-10, 0, 0}, 1},         // a quarter of the width turns a quarter round
        {0, 192, 1, 10, 0, {0, 10, 0}, 1},          // straight above: a quarter of the height
        {0, 193, 1, 10, 0, {0, 10, -0.08f}, -1},
        {0, 576, 1, 10, 0, {0, -10, 0}, -1},  // straight below
        {0, 577, 1, 10, 0, {0, -10, 0.08f}, 1},
        {300, 200, 0, 25, 0, {0, 0, 25}, 1},  // a window of no size stands at the start of the turn
    };
    for (const auto& c : CASES) {
        g_ViewControl.iAngleX = c.iAngleX;
        g_ViewControl.iAngleY = c.iAngleY;
        g_ViewControl.iWindowWidth = c.iSize * 1024;
        g_ViewControl.iWindowHeight = c.iSize * 768;
        g_ViewControl.fDistance = c.fDistance;
        g_Camera.vCenter.x = c.fCenterX;
        DrawFrame();
        const GLfloat* m = probe.fModelview;
        // The stars on the eye, the centre straight ahead.
        SCOPED_TRACE(testing::Message() << c.iAngleX << ", " << c.iAngleY);
        ExpectNear({g_Stars.vPosition.x, g_Stars.vPosition.y, g_Stars.vPosition.z, g_Camera.GetUpY(),
                    m[0] * c.fCenterX + m[12], m[2] * c.fCenterX + m[14]},
                   {c.fEye[0], c.fEye[1], c.fEye[2], c.fUpY, 0, -c.fDistance}, 0.005f);
    }
    // Before, at and after the top the screen's top points towards -z, under the bottom towards +z; also with
    // the centre off the axis, where the float centre loses the eye's tiny offset at the poles.
    for (const float fCenter : {0.1f, 1.0f}) {
        for (const int iAngleY : {190, 192, 194, 574, 576, 578}) {
            g_ViewControl = CViewControl();
            g_ViewControl.iAngleY = iAngleY;
            g_Camera.vCenter.x = g_Camera.vCenter.z = fCenter;
            DrawFrame();
            EXPECT_GT(probe.fModelview[9] * (iAngleY < 384 ? -1.0f : 1.0f), 0.99f) << iAngleY << ", " << fCenter;
        }
    }
}

TEST_F(FrameTest, ReshapeKeepsTheAspectOfAZeroSizeAndALongStallGoesWholeToTheBall) {
    OnReshape(800, 400);
    OnReshape(0, 0);
    GLint iViewport[4];
    glGetIntegerv(GL_VIEWPORT, iViewport);
    EXPECT_EQ((std::array<float, 4>{settings.fAspect, float(iViewport[2]), float(g_ViewControl.iWindowWidth),
                                    float(g_ViewControl.iWindowHeight)}),
              (std::array<float, 4>{2, 0, 0, 0}));
    settings.fAspect = 0.0f;  // minimised from the start: the first window's shape
    OnReshape(640, 0);
    EXPECT_FLOAT_EQ(settings.fAspect, 1024.0f / 768.0f);

    CManualClock clock;
    g_FrameTimer = CTimer(clock);
    for (int i = 8 * 100; i < 13 * 100; ++i) {
        g_Board.iField[i / 100][i % 100] = TILE_WOOD;
    }
    g_Ball.iWidth = g_Board.iWidth;
    g_Ball.iHeight = g_Board.iHeight;
    g_Board.fTiltZ = g_Board.fTiltX = 0.0f;
    g_Ball.SetPosition(-0.5f, 0.5f, 0.5f);
    g_Ball.dVelocityX = 0.005;  // one unit in two seconds: 0.005 * 0.5 * 2^2 * 100
    g_Ball.dVelocityZ = 0.0;
    StartTimers();
    clock.dwTimeMs += 2000;
    DrawFrame();
    EXPECT_EQ(g_dFrameTime, 2.0);
    EXPECT_NEAR(g_Ball.vPosition.x, 0.5f, 1e-5f);
    g_Board.LoadLevel(LEVEL_FILE_NAME);
    g_FrameTimer = CTimer();
}

TEST_F(FrameTest, TheOverlayCountsHalfSecondsWhileHiddenAndLeavesTheMatricesAndTheSwitchesOff) {
    CManualClock clock;
    g_FpsTimer = CTimer(clock);
    g_iFrames = g_iFps = 0;
    for (int i = 0; i < 31; ++i) {
        clock.dwTimeMs = 1000 + static_cast<uint32_t>(i * 499 / 29);  // the last at 500 ms
        DrawHud();
        EXPECT_EQ(g_iFps, i < 30 ? 0 : 62);  // counted while hidden
    }
    clock.dwTimeMs = 2400;  // a window that ran long still counts as half a second
    DrawHud();
    EXPECT_EQ(std::make_pair(g_iFrames, g_iFps), std::make_pair(0, 2));
    g_FpsTimer = CTimer();

    // The picture tests show where and how the text is written.
    for (const bool bShow : {false, true}) {
        settings.bShowFps = bShow;
        glPushMatrix();
        glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
        for (const GLenum eSwitch : {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LIGHTING}) {
            glEnable(eSwitch);
        }
        const auto before = GetState(MATRICES);
        DrawHud();
        EXPECT_EQ(GetState(MATRICES), before);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_DEPTH_TEST) || glIsEnabled(GL_LIGHTING));
        glPopMatrix();
    }
}

TEST_F(FrameTest, ThePanelChangesOnlyItsRectangleAndLeavesTheStateAsItFoundIt) {
    settings.bWireframe = true;  // the pictures show the backing filled all the same
    DrawFrame();
    const auto Paint = [] {  // blocks of colour, so that a misplaced pixel shows
        glEnable(GL_SCISSOR_TEST);
        for (int i = 0; i < 64; ++i) {
            glScissor(i % 8 * 128, i / 8 * 96, 128, 96);
            glClearColor(i / 64.0f, i % 8 / 8.0f, 0.5f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        glDisable(GL_SCISSOR_TEST);
    };
    Paint();
    for (const GLenum eSwitch : {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LIGHTING}) {
        glEnable(eSwitch);  // as the tree is drawn
    }
    glBindTexture(GL_TEXTURE_2D, 7);
    std::vector<GLenum> State = {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LIGHTING, GL_BLEND, GL_SCISSOR_TEST, GL_BLEND_SRC,
                                 GL_BLEND_DST, GL_POLYGON_MODE, GL_TEXTURE_BINDING_2D, GL_CURRENT_COLOR,
                                 GL_CURRENT_RASTER_POSITION, GL_SCISSOR_BOX, GL_COLOR_CLEAR_VALUE};
    State.insert(State.end(), MATRICES.begin(), MATRICES.end());
    const std::vector<GLfloat> StateBefore = GetState(State);
    std::vector<GLubyte> Expected = ReadWindow();
    g_bShowPanel = true;
    DrawPanel();  // the first showing, which reads the font in the panel's place
    EXPECT_EQ(GetState(State), StateBefore);
    const std::vector<GLubyte> After = ReadWindow();
    const SPanelRect r = GetPanelRect();
    for (int y = r.iBottom; y < r.iBottom + r.iHeight; ++y) {
        std::copy_n(&After[(y * 1024 + r.iLeft) * 3], r.iWidth * 3, &Expected[(y * 1024 + r.iLeft) * 3]);
    }
    EXPECT_TRUE(After == Expected) << "a pixel outside the panel changed";
    Paint();
    DrawPanel();
    EXPECT_TRUE(ReadWindow() == After) << "the first showing left a trace";
    g_bShowPanel = false;
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(FrameTest, TheLightMarkersLandOnTheirLightsInTheirColoursWhateverTheSwitchesAndLeaveNoTrace) {
    LoadTextures();
    BuildScene();
    CManualClock clock;  // the ball stays put on the tilted board
    g_FrameTimer = CTimer(clock);
    const auto Draw = [](bool bMarkers) { g_bShowLightMarkers = bMarkers; DrawFrame(); return ReadWindow(); };
    const std::tuple<int, float, std::function<void()>> VIEWS[] = {  // the selected light, the cut-off, and more
        {0, 30.0f, [] {}},
        {1, 45.0f, [this] { settings.bLighting = settings.bTextures = settings.bDepthTest = false; }},
        {2, 120.0f, [this] { settings.bWireframe = true; settings.bSmooth = settings.bPerspective = false; }},
        {3, 180.0f, [] { g_Board.fTiltZ = g_Board.fTiltX = 2.0f; g_ViewControl.iAngleX = 128; }},
    };
    const CVector3 vFrom = MakeVector(1.0f, 2.0f, 1.0f) / std::sqrt(6.0f);  // the directional light's, unit
    for (const auto& [iLight, fCutoff, fnChange] : VIEWS) {
        SCOPED_TRACE(iLight);
        AssignSettingsDefaults();
        const CVector3 vLights[LIGHT_COUNT] = {{1, 3, -2}, {-3, 1.5f, 3}, {-4, 1.5f, -1}, vFrom};
        std::copy_n(vLights, LIGHT_COUNT, settings.vLightPos);
        settings.bLightOn[1] = settings.bLightOn[3] = true;  // the green light stays off
        settings.iLight = iLight;
        settings.fSpotCutoff = fCutoff;
        fnChange();
        Draw(false);  // the state every frame finds
        const std::vector<GLubyte> f[2] = {Draw(false), Draw(true)};
        EXPECT_TRUE(Draw(false) == f[0]) << "the markers left a trace";
        // Solid while on, hollow while off.
        EXPECT_GT(Marked(f, vLights[0], 1, {255, 255, 255}) * Marked(f, vLights[1], 1, {128, 0, 0}), 0);
        EXPECT_TRUE(Marked(f, vLights[2], 1, {0, 128, 0}) == 0 && Marked(f, vLights[2], 12, {0, 128, 0}) > 0);
        // The arrow from the directional light's side to the board's centre; the spot's direction to the floor.
        EXPECT_GT(Marked(f, 2.0f * vFrom, 1, {128, 128, 128}) * Marked(f, 4.0f * vFrom, 1, {128, 128, 128}), 0);
        EXPECT_GT(Marked(f, MakeVector(1, 1.5f, -2), 1, {255, 255, 255}), 0);
        // The cone's edge on the floor, 3 tan(cut-off) round the point under the spot, below 90 degrees only.
        const float fRadius = 3.0f * std::tan(std::min(fCutoff, 45.0f) * 3.14159265f / 180.0f);
        EXPECT_EQ((Marked(f, MakeVector(1 + fRadius, 0, -2), 1, {255, 255, 255}) > 0) +
                      (Marked(f, MakeVector(1, 0, -2 - fRadius), 1, {255, 255, 255}) > 0), fCutoff < 90 ? 2 : 0);
        for (int i = 0; i < LIGHT_COUNT; ++i) {  // the ring; the directional light's round its arrow's tail
            EXPECT_EQ(Marked(f, i == 3 ? 5.0f * vFrom : vLights[i], 25, {255, 217, 77}) > 0, i == iLight) << i;
        }
    }
    EXPECT_EQ(std::make_pair(GetInteger(GL_ATTRIB_STACK_DEPTH), GetInteger(GL_LINE_WIDTH)), std::make_pair(0, 1));
    g_FrameTimer = CTimer();
}
