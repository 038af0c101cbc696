#include <GL/freeglut.h>

#include <cstring>

#include <gtest/gtest.h>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/Input.h"
#include "app/Settings.h"
#include "support/GlContext.h"

namespace {

int g_iModifiers = 0;
int g_iModifierReads = 0;
int g_iDisplays = 0;

int FakeModifiers() {
    ++g_iModifierReads;
    return g_iModifiers;
}

// The callbacks get the game's state fresh, the modifier keys from the test and
// a display callback that counts the redisplays the toolkit carries out.
class InputTest : public testing::Test {
protected:
    void SetUp() override {
        AssignSettingsDefaults();
        g_ViewControl = CViewControl();
        SetVector(&g_Camera.vCenter, 0.0f, 0.0f, 0.0f);
        g_Board.fTiltZ = 0.0f;
        g_Board.fTiltX = 0.0f;
        g_iModifiers = 0;
        g_iModifierReads = 0;
        SetModifierSource(FakeModifiers);
        glutDisplayFunc([] { ++g_iDisplays; });
        PumpGlEvents();
        g_iDisplays = 0;
    }

    void TearDown() override { SetModifierSource(nullptr); }

    // Whether the callbacks asked for a redisplay since the last call.
    static bool RedisplayRequested() {
        g_iDisplays = 0;
        glutMainLoopEvent();
        return g_iDisplays > 0;
    }

    static void Press(unsigned char key, int iTimes = 1) {
        for (int i = 0; i < iTimes; ++i) {
            OnKeyboard(key, 0, 0);
        }
    }

    static void PressSpecial(int key, int iTimes = 1) {
        for (int i = 0; i < iTimes; ++i) {
            OnSpecialKey(key, 0, 0);
        }
    }

    static void Drag(int iButton, int x0, int y0, int x1, int y1) {
        OnMouse(iButton, GLUT_DOWN, x0, y0);
        OnMotion(x1, y1);
    }
};

}  // namespace

TEST_F(InputTest, SwitchKeysToggleTheirSetting) {
    struct SCase {
        const char* szKeys;
        bool CSettings::*pbSwitch;
    };
    const SCase CASES[] = {
        {"Zz", &CSettings::bDepthTest},  {"Ll", &CSettings::bLighting},   {"Ww", &CSettings::bWireframe},
        {"0", &CSettings::bAmbient},     {"Dd", &CSettings::bTwoSided},   {"Ss", &CSettings::bSmooth},
        {"Tt", &CSettings::bTextures},   {"Ff", &CSettings::bShowFps},    {"Vv", &CSettings::bLocalViewer},
        {"Pp", &CSettings::bPerspective},
    };
    CSettings& settings = GetSettings();
    for (const SCase& c : CASES) {
        for (const char* pKey = c.szKeys; *pKey != '\0'; ++pKey) {
            const bool bBefore = settings.*c.pbSwitch;
            CSettings copy = settings;
            Press(static_cast<unsigned char>(*pKey));
            EXPECT_EQ(settings.*c.pbSwitch, !bBefore) << *pKey;
            copy.*c.pbSwitch = !bBefore;
            EXPECT_EQ(std::memcmp(&copy, &settings, sizeof(settings)), 0) << *pKey << " changed more";
            Press(static_cast<unsigned char>(*pKey));
            EXPECT_EQ(settings.*c.pbSwitch, bBefore) << *pKey;
        }
    }
    EXPECT_FALSE(RedisplayRequested());
}

TEST_F(InputTest, UnboundKeysChangeNothing) {
    const CSettings before = GetSettings();
    for (const char* pKey = "qQxXbBeEgGhHkKoOrRuU5689.!'\t "; *pKey != '\0'; ++pKey) {
        Press(static_cast<unsigned char>(*pKey));
    }
    Press(200);
    EXPECT_EQ(std::memcmp(&before, &GetSettings(), sizeof(before)), 0);
    EXPECT_EQ(g_ViewControl.fDistance, 25.0f);
    EXPECT_EQ(g_Board.fTiltZ, 0.0f);
}

TEST_F(InputTest, TessellationGoesUpWithoutLimitAndDownToNine) {
    CSettings& settings = GetSettings();
    Press('-', 22);
    EXPECT_EQ(settings.iSlices, 10);
    Press('-');
    EXPECT_EQ(settings.iSlices, 9);
    EXPECT_EQ(settings.iStacks, 9);
    Press('-', 5);
    EXPECT_EQ(settings.iSlices, 9);
    EXPECT_EQ(settings.iStacks, 9);
    Press('+', 1000);
    EXPECT_EQ(settings.iSlices, 1009);
    EXPECT_EQ(settings.iStacks, 1009);
}

TEST_F(InputTest, NumberKeysSelectTheLightThatTheLightKeysMove) {
    CSettings& settings = GetSettings();
    const CSettings before = settings;
    Press('3');
    EXPECT_EQ(settings.iLight, 2);
    Press('j');
    EXPECT_FLOAT_EQ(settings.vLightPos[2].z, -9.5f - 0.1f);
    Press('m', 3);
    EXPECT_FLOAT_EQ(settings.vLightPos[2].z, -9.5f + 0.2f);
    Press('n', 2);
    EXPECT_FLOAT_EQ(settings.vLightPos[2].x, -9.5f - 0.2f);
    Press(',');
    EXPECT_FLOAT_EQ(settings.vLightPos[2].x, -9.5f - 0.1f);
    EXPECT_EQ(settings.vLightPos[2].y, before.vLightPos[2].y);
    for (int i : {0, 1, 3}) {
        EXPECT_EQ(std::memcmp(&settings.vLightPos[i], &before.vLightPos[i], sizeof(CVector3)), 0) << i;
    }
    EXPECT_EQ(std::memcmp(&settings.vSpotDir, &before.vSpotDir, sizeof(CVector3)), 0);

    Press('1');
    EXPECT_EQ(settings.iLight, 0);
    Press('2');
    EXPECT_EQ(settings.iLight, 1);
    Press('4');
    EXPECT_EQ(settings.iLight, 3);
    Press('m');
    EXPECT_FLOAT_EQ(settings.vLightPos[3].z, 1.1f);
}

TEST_F(InputTest, CapitalLightKeysMoveTheSpotDirection) {
    CSettings& settings = GetSettings();
    Press('J');
    EXPECT_FLOAT_EQ(settings.vSpotDir.z, -0.1f);
    Press('M', 2);
    EXPECT_FLOAT_EQ(settings.vSpotDir.z, 0.1f);
    Press('N');
    EXPECT_FLOAT_EQ(settings.vSpotDir.x, -0.1f);
    Press(';', 3);
    EXPECT_FLOAT_EQ(settings.vSpotDir.x, 0.2f);
    EXPECT_EQ(settings.vSpotDir.y, -1.0f);
    EXPECT_EQ(settings.vLightPos[0].z, 0.0f);
}

TEST_F(InputTest, ClippingDistancesStepByOneAboveTheirFloor) {
    CSettings& settings = GetSettings();
    Press('Y');  // 0.1 is not above 1
    EXPECT_EQ(settings.fNear, 0.1f);
    Press('y');
    EXPECT_FLOAT_EQ(settings.fNear, 1.1f);
    Press('Y');
    EXPECT_NEAR(settings.fNear, 0.1f, 1e-7f);
    Press('Y');
    EXPECT_NEAR(settings.fNear, 0.1f, 1e-7f);
    Press('y', 200);  // raised past fFar, unchecked
    EXPECT_GT(settings.fNear, settings.fFar);

    Press('A', 5);
    EXPECT_EQ(settings.fFar, 105.0f);
    Press('a', 104);
    EXPECT_EQ(settings.fFar, 1.0f);
    Press('a', 3);
    EXPECT_EQ(settings.fFar, 1.0f);
}

TEST_F(InputTest, IResetsTheOrbitButNotTheCentre) {
    g_ViewControl.iAngleX = 300;
    g_ViewControl.iAngleY = 20;
    g_ViewControl.fDistance = 7.0f;
    g_Camera.vCenter.x = 1.5f;
    Press('I');
    EXPECT_EQ(g_ViewControl.iAngleX, 0);
    EXPECT_EQ(g_ViewControl.iAngleY, 150);
    EXPECT_EQ(g_ViewControl.fDistance, 25.0f);
    EXPECT_EQ(g_Camera.vCenter.x, 1.5f);
    EXPECT_TRUE(RedisplayRequested());

    g_ViewControl.iAngleX = 5;
    Press('i');
    EXPECT_EQ(g_ViewControl.iAngleX, 0);
    EXPECT_TRUE(RedisplayRequested());
    Press('z');
    EXPECT_FALSE(RedisplayRequested());
}

TEST_F(InputTest, EscapeEndsTheProcessWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(Press(27), testing::ExitedWithCode(0), "");
}

TEST_F(InputTest, ArrowsTiltTheBoardWithinTwoDegrees) {
    PressSpecial(GLUT_KEY_LEFT);
    EXPECT_FLOAT_EQ(g_Board.fTiltZ, 0.1f);
    PressSpecial(GLUT_KEY_LEFT, 30);
    EXPECT_EQ(g_Board.fTiltZ, 2.0f);
    PressSpecial(GLUT_KEY_RIGHT, 50);
    EXPECT_EQ(g_Board.fTiltZ, -2.0f);
    PressSpecial(GLUT_KEY_DOWN, 3);
    EXPECT_FLOAT_EQ(g_Board.fTiltX, 0.3f);
    PressSpecial(GLUT_KEY_DOWN, 30);
    EXPECT_EQ(g_Board.fTiltX, 2.0f);
    PressSpecial(GLUT_KEY_UP, 50);
    EXPECT_EQ(g_Board.fTiltX, -2.0f);
    EXPECT_EQ(g_Camera.vCenter.x, 0.0f);
    EXPECT_EQ(g_Camera.vCenter.z, 0.0f);
}

TEST_F(InputTest, ShiftAloneMovesTheCameraCentre) {
    g_iModifiers = GLUT_ACTIVE_SHIFT;
    PressSpecial(GLUT_KEY_LEFT, 3);
    EXPECT_FLOAT_EQ(g_Camera.vCenter.x, -0.3f);
    PressSpecial(GLUT_KEY_RIGHT, 50);
    EXPECT_NEAR(g_Camera.vCenter.x, 4.7f, 1e-5f);  // no limit
    PressSpecial(GLUT_KEY_UP, 2);
    EXPECT_FLOAT_EQ(g_Camera.vCenter.z, -0.2f);
    PressSpecial(GLUT_KEY_DOWN);
    EXPECT_FLOAT_EQ(g_Camera.vCenter.z, -0.1f);
    EXPECT_EQ(g_Camera.vCenter.y, 0.0f);
    EXPECT_EQ(g_Board.fTiltZ, 0.0f);
    EXPECT_EQ(g_Board.fTiltX, 0.0f);

    // Shift with Ctrl or Alt counts as no Shift.
    const float fCenterX = g_Camera.vCenter.x;
    for (int iModifiers :
         {GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_CTRL, GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_ALT, GLUT_ACTIVE_CTRL}) {
        g_Board.fTiltZ = 0.0f;
        g_iModifiers = iModifiers;
        PressSpecial(GLUT_KEY_LEFT);
        EXPECT_FLOAT_EQ(g_Board.fTiltZ, 0.1f) << iModifiers;
        EXPECT_EQ(g_Camera.vCenter.x, fCenterX) << iModifiers;
    }
}

TEST_F(InputTest, EverySpecialKeyReadsTheModifiersAndAsksForARedisplay) {
    PressSpecial(GLUT_KEY_F1);
    EXPECT_EQ(g_iModifierReads, 1);
    EXPECT_TRUE(RedisplayRequested());
    PressSpecial(GLUT_KEY_PAGE_UP);
    EXPECT_EQ(g_iModifierReads, 2);
    EXPECT_TRUE(RedisplayRequested());
    EXPECT_FALSE(RedisplayRequested());
}

TEST_F(InputTest, SpotCutoffMovesInWholeDegreesFromTenTo180) {
    CSettings& settings = GetSettings();
    PressSpecial(GLUT_KEY_PAGE_UP, 89);
    EXPECT_EQ(settings.fSpotCutoff, 179.0f);
    PressSpecial(GLUT_KEY_PAGE_UP);
    EXPECT_EQ(settings.fSpotCutoff, 180.0f);
    PressSpecial(GLUT_KEY_PAGE_UP, 5);
    EXPECT_EQ(settings.fSpotCutoff, 180.0f);
    PressSpecial(GLUT_KEY_PAGE_DOWN, 170);
    EXPECT_EQ(settings.fSpotCutoff, 10.0f);
    PressSpecial(GLUT_KEY_PAGE_DOWN);
    EXPECT_EQ(settings.fSpotCutoff, 10.0f);
    g_iModifiers = GLUT_ACTIVE_SHIFT;  // the same with Shift
    PressSpecial(GLUT_KEY_PAGE_UP);
    EXPECT_EQ(settings.fSpotCutoff, 11.0f);
}

TEST_F(InputTest, HomeStopsJustAboveTen) {
    CSettings& settings = GetSettings();
    PressSpecial(GLUT_KEY_HOME, 94);
    EXPECT_LT(settings.fSpotExponent, 10.0f);
    PressSpecial(GLUT_KEY_HOME);
    EXPECT_NEAR(settings.fSpotExponent, 10.000002f, 5e-7f);
    EXPECT_GT(settings.fSpotExponent, 10.0f);
    const float fTop = settings.fSpotExponent;
    PressSpecial(GLUT_KEY_HOME, 3);
    EXPECT_EQ(settings.fSpotExponent, fTop);
}

TEST_F(InputTest, EndStepsDownToAlmostZero) {
    // 0.1f lies above the double 0.1 it is compared with: one step more.
    CSettings& settings = GetSettings();
    const float EXPECTED[] = {0.4f, 0.3f, 0.2f, 0.1f};
    for (float fExpected : EXPECTED) {
        PressSpecial(GLUT_KEY_END);
        EXPECT_NEAR(settings.fSpotExponent, fExpected, 2e-8f);
    }
    PressSpecial(GLUT_KEY_END);
    EXPECT_NEAR(settings.fSpotExponent, 1.5e-8f, 1e-9f);
    PressSpecial(GLUT_KEY_END, 3);
    EXPECT_NEAR(settings.fSpotExponent, 1.5e-8f, 1e-9f);

    // Even 0.1f itself is above the double 0.1.
    settings.fSpotExponent = 0.1f;
    PressSpecial(GLUT_KEY_END);
    EXPECT_EQ(settings.fSpotExponent, 0.0f);
}

TEST_F(InputTest, InsertSwitchesTheSelectedLight) {
    CSettings& settings = GetSettings();
    PressSpecial(GLUT_KEY_INSERT);
    EXPECT_FALSE(settings.bLightOn[0]);
    Press('3');
    PressSpecial(GLUT_KEY_INSERT);
    EXPECT_TRUE(settings.bLightOn[2]);
    EXPECT_FALSE(settings.bLightOn[1]);
    EXPECT_FALSE(settings.bLightOn[3]);
    PressSpecial(GLUT_KEY_INSERT);
    EXPECT_FALSE(settings.bLightOn[2]);
}

TEST_F(InputTest, LeftDragTiltsLikeTheArrows) {
    Drag(GLUT_LEFT_BUTTON, 100, 100, 105, 100);  // 5 pixels right: one Right arrow
    EXPECT_FLOAT_EQ(g_Board.fTiltZ, -0.1f);
    OnMotion(105, 110);  // 10 pixels down: two Down arrows
    EXPECT_FLOAT_EQ(g_Board.fTiltX, 0.2f);
    EXPECT_FLOAT_EQ(g_Board.fTiltZ, -0.1f);
    EXPECT_EQ(g_ViewControl.iLastX, 105);
    EXPECT_EQ(g_ViewControl.iLastY, 110);
    EXPECT_TRUE(RedisplayRequested());
}

TEST_F(InputTest, LeftDragIsClampedToTwoDegrees) {
    Drag(GLUT_LEFT_BUTTON, 100, 100, 250, 100);  // 150 pixels: 3 degrees asked
    EXPECT_EQ(g_Board.fTiltZ, -2.0f);
    OnMotion(0, 0);
    EXPECT_EQ(g_Board.fTiltZ, 2.0f);
    EXPECT_EQ(g_Board.fTiltX, -2.0f);
    OnMotion(0, 500);
    EXPECT_EQ(g_Board.fTiltX, 2.0f);
}

TEST_F(InputTest, MiddleDragZoomsDownToThree) {
    Drag(GLUT_MIDDLE_BUTTON, 10, 100, 60, 140);
    EXPECT_EQ(g_ViewControl.fDistance, 35.0f);
    OnMotion(60, 0);
    EXPECT_EQ(g_ViewControl.fDistance, 3.0f);
    OnMotion(60, 4000);
    EXPECT_EQ(g_ViewControl.fDistance, 1003.0f);
    EXPECT_EQ(g_Board.fTiltZ, 0.0f);
}

TEST_F(InputTest, RightDragOrbitsAndWrapsOnce) {
    Drag(GLUT_RIGHT_BUTTON, 500, 500, 490, 520);
    EXPECT_EQ(g_ViewControl.iAngleX, 1014);
    EXPECT_EQ(g_ViewControl.iAngleY, 170);
    OnMotion(500, 1118);  // 170 + 598 = 768: the size itself stays
    EXPECT_EQ(g_ViewControl.iAngleX, 1024);
    EXPECT_EQ(g_ViewControl.iAngleY, 768);
    OnMotion(500, 1119);
    EXPECT_EQ(g_ViewControl.iAngleY, 1);
    // A jump of more than a window is corrected by one window only.
    OnMotion(-2500, 1119);
    EXPECT_EQ(g_ViewControl.iAngleX, 1024 - 3000 + 1024);
    EXPECT_TRUE(RedisplayRequested());
}

TEST_F(InputTest, OrbitWrapsInTheCurrentWindowSize) {
    OnReshape(800, 600);
    Drag(GLUT_RIGHT_BUTTON, 0, 0, -1, -1);
    EXPECT_EQ(g_ViewControl.iAngleX, 799);
    EXPECT_EQ(g_ViewControl.iAngleY, 149);
    OnMotion(100, 500);
    EXPECT_EQ(g_ViewControl.iAngleX, 100);
    EXPECT_EQ(g_ViewControl.iAngleY, 50);
}

TEST_F(InputTest, PressRecordsThePositionWithoutARedisplay) {
    OnMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 12, 34);
    EXPECT_EQ(g_ViewControl.iButton, 0);
    EXPECT_EQ(g_ViewControl.iLastX, 12);
    EXPECT_EQ(g_ViewControl.iLastY, 34);
    EXPECT_FALSE(RedisplayRequested());
    OnMouse(GLUT_LEFT_BUTTON, GLUT_UP, 56, 78);
    EXPECT_EQ(g_ViewControl.iButton, -1);
    EXPECT_EQ(g_ViewControl.iLastX, 12);  // a release keeps the last position
    EXPECT_FALSE(RedisplayRequested());
}

TEST_F(InputTest, SecondButtonTakesOverAndAnyReleaseEndsTheDrag) {
    OnMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100);
    OnMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 200, 200);
    EXPECT_EQ(g_ViewControl.iButton, 2);
    OnMotion(210, 200);
    EXPECT_EQ(g_ViewControl.iAngleX, 10);
    EXPECT_EQ(g_Board.fTiltZ, 0.0f);

    // The left button is still held, yet its release ends all dragging.
    OnMouse(GLUT_LEFT_BUTTON, GLUT_UP, 210, 200);
    EXPECT_EQ(g_ViewControl.iButton, -1);
    RedisplayRequested();
    OnMotion(300, 300);
    EXPECT_EQ(g_ViewControl.iAngleX, 10);
    EXPECT_EQ(g_ViewControl.iAngleY, 150);
    EXPECT_EQ(g_ViewControl.iLastX, 210);
    EXPECT_FALSE(RedisplayRequested());
}

TEST_F(InputTest, ButtonsBeyondTheThreeDragNothing) {
    OnMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 5);
    OnMouse(3, GLUT_DOWN, 40, 40);  // a wheel step
    EXPECT_EQ(g_ViewControl.iButton, 3);
    EXPECT_EQ(g_ViewControl.iLastX, 5);
    RedisplayRequested();
    OnMotion(80, 80);
    EXPECT_EQ(g_Board.fTiltZ, 0.0f);
    EXPECT_EQ(g_ViewControl.iAngleX, 0);
    EXPECT_EQ(g_ViewControl.fDistance, 25.0f);
    EXPECT_EQ(g_ViewControl.iLastX, 5);
    EXPECT_FALSE(RedisplayRequested());
}
