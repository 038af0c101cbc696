#include <GL/freeglut.h>

#include <cstring>
#include <utility>

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

void Press(unsigned char key, int iTimes = 1) {
    for (int i = 0; i < iTimes; ++i) {
        OnKeyboard(key, 0, 0);
    }
}

void PressSpecial(int key, int iTimes = 1) {
    for (int i = 0; i < iTimes; ++i) {
        OnSpecialKey(key, 0, 0);
    }
}

// The value after the key has been pressed iTimes.
template <typename T>
T AfterKey(unsigned char key, int iTimes, const T& value) {
    Press(key, iTimes);
    return value;
}

template <typename T>
T AfterSpecial(int key, int iTimes, const T& value) {
    PressSpecial(key, iTimes);
    return value;
}

std::pair<int, int> Orbit() { return {g_ViewControl.iAngleX, g_ViewControl.iAngleY}; }
float Distance() { return g_ViewControl.fDistance; }
std::pair<float, float> Tilt() { return {g_Board.fTiltZ, g_Board.fTiltX}; }
std::pair<int, int> LastPosition() { return {g_ViewControl.iLastX, g_ViewControl.iLastY}; }

// What fnRead reads after the pointer has moved to (x, y).
template <typename F>
auto AfterMotion(int x, int y, F fnRead) -> decltype(fnRead()) {
    OnMotion(x, y);
    return fnRead();
}

// Whether the callbacks asked for a redisplay since the last call.
bool RedisplayRequested() {
    g_iDisplays = 0;
    glutMainLoopEvent();
    return g_iDisplays > 0;
}

bool SameBytes(const void* pA, const void* pB, size_t uSize) { return std::memcmp(pA, pB, uSize) == 0; }

// The callbacks get the game's state fresh, the modifier keys from the test and
// a display callback that counts the redisplays the toolkit carries out.
class InputTest : public testing::Test {
protected:
    void SetUp() override {
        AssignSettingsDefaults();
        g_ViewControl = CViewControl();
        SetVector(&g_Camera.vCenter, 0.0f, 0.0f, 0.0f);
        g_Board.fTiltZ = g_Board.fTiltX = 0.0f;
        g_iModifiers = g_iModifierReads = 0;
        SetModifierSource(FakeModifiers);
        glutDisplayFunc([] { ++g_iDisplays; });
        PumpGlEvents();
    }

    void TearDown() override { SetModifierSource(nullptr); }

    CSettings& settings = GetSettings();
};

}  // namespace

TEST_F(InputTest, SwitchKeysToggleOnlyTheirSettingAndOtherKeysNothing) {
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
    for (const SCase& c : CASES) {
        for (const char* pKey = c.szKeys; *pKey != '\0'; ++pKey) {
            CSettings toggled = settings;
            toggled.*c.pbSwitch = !(toggled.*c.pbSwitch);
            Press(static_cast<unsigned char>(*pKey));
            EXPECT_TRUE(SameBytes(&settings, &toggled, sizeof(settings))) << *pKey;
            EXPECT_EQ(AfterKey(static_cast<unsigned char>(*pKey), 1, settings.*c.pbSwitch),
                      !(toggled.*c.pbSwitch)) << *pKey;
        }
    }
    EXPECT_FALSE(RedisplayRequested());

    const CSettings before = settings;
    for (const char* pKey = "qQxXbBeEgGhHkKoOrRuU5689.!'\t "; *pKey != '\0'; ++pKey) {
        Press(static_cast<unsigned char>(*pKey));
    }
    Press(200);
    EXPECT_TRUE(SameBytes(&before, &settings, sizeof(settings)));
    EXPECT_EQ(g_ViewControl.fDistance, 25.0f);
    EXPECT_EQ(g_Board.fTiltZ, 0.0f);
}

TEST_F(InputTest, TessellationGoesUpWithoutLimitAndDownToNine) {
    EXPECT_EQ(AfterKey('-', 22, settings.iSlices), 10);
    EXPECT_EQ(AfterKey('-', 1, settings.iSlices), 9);
    EXPECT_EQ(settings.iStacks, 9);
    EXPECT_EQ(AfterKey('-', 5, settings.iSlices), 9);
    EXPECT_EQ(settings.iStacks, 9);
    EXPECT_EQ(AfterKey('+', 1000, settings.iSlices), 1009);
    EXPECT_EQ(settings.iStacks, 1009);
}

TEST_F(InputTest, LightKeysSwitchAndMoveTheSelectedLightAndCapitalsTheSpot) {
    EXPECT_FALSE(AfterSpecial(GLUT_KEY_INSERT, 1, settings.bLightOn[0]));
    EXPECT_EQ(AfterKey('3', 1, settings.iLight), 2);
    EXPECT_TRUE(AfterSpecial(GLUT_KEY_INSERT, 1, settings.bLightOn[2]));
    EXPECT_FALSE(settings.bLightOn[1]);
    EXPECT_FALSE(settings.bLightOn[3]);
    EXPECT_FALSE(AfterSpecial(GLUT_KEY_INSERT, 1, settings.bLightOn[2]));

    const CSettings before = settings;
    const CVector3& vLight = settings.vLightPos[2];
    EXPECT_FLOAT_EQ(AfterKey('j', 1, vLight.z), -9.5f - 0.1f);
    EXPECT_FLOAT_EQ(AfterKey('m', 3, vLight.z), -9.5f + 0.2f);
    EXPECT_FLOAT_EQ(AfterKey('n', 2, vLight.x), -9.5f - 0.2f);
    EXPECT_FLOAT_EQ(AfterKey(',', 1, vLight.x), -9.5f - 0.1f);
    EXPECT_EQ(vLight.y, before.vLightPos[2].y);
    for (int i : {0, 1, 3}) {
        EXPECT_TRUE(SameBytes(&settings.vLightPos[i], &before.vLightPos[i], sizeof(CVector3))) << i;
    }
    EXPECT_TRUE(SameBytes(&settings.vSpotDir, &before.vSpotDir, sizeof(CVector3)));

    const CVector3 vMoved = vLight;
    const CVector3& vSpot = settings.vSpotDir;
    EXPECT_FLOAT_EQ(AfterKey('J', 1, vSpot.z), -0.1f);
    EXPECT_FLOAT_EQ(AfterKey('M', 2, vSpot.z), 0.1f);
    EXPECT_FLOAT_EQ(AfterKey('N', 1, vSpot.x), -0.1f);
    EXPECT_FLOAT_EQ(AfterKey(';', 3, vSpot.x), 0.2f);
    EXPECT_EQ(vSpot.y, -1.0f);
    EXPECT_TRUE(SameBytes(&vLight, &vMoved, sizeof(CVector3)));

    for (int i : {0, 1, 3}) {
        EXPECT_EQ(AfterKey(static_cast<unsigned char>('1' + i), 1, settings.iLight), i);
    }
    EXPECT_FLOAT_EQ(AfterKey('m', 1, settings.vLightPos[3].z), 1.1f);
}

TEST_F(InputTest, ClippingDistancesStepByOneAboveTheirFloor) {
    EXPECT_EQ(AfterKey('Y', 1, settings.fNear), 0.1f);  // 0.1 is not above 1
    EXPECT_FLOAT_EQ(AfterKey('y', 1, settings.fNear), 1.1f);
    EXPECT_NEAR(AfterKey('Y', 1, settings.fNear), 0.1f, 1e-7f);
    EXPECT_NEAR(AfterKey('Y', 1, settings.fNear), 0.1f, 1e-7f);
    EXPECT_GT(AfterKey('y', 200, settings.fNear), settings.fFar);  // raised past fFar, unchecked

    EXPECT_EQ(AfterKey('A', 5, settings.fFar), 105.0f);
    EXPECT_EQ(AfterKey('a', 104, settings.fFar), 1.0f);
    EXPECT_EQ(AfterKey('a', 3, settings.fFar), 1.0f);
}

TEST_F(InputTest, IResetsTheOrbitButNotTheCentre) {
    g_ViewControl.iAngleX = 300;
    g_ViewControl.iAngleY = 20;
    g_ViewControl.fDistance = 7.0f;
    g_Camera.vCenter.x = 1.5f;
    Press('I');
    EXPECT_EQ(Orbit(), std::make_pair(0, 150));
    EXPECT_EQ(g_ViewControl.fDistance, 25.0f);
    EXPECT_EQ(g_Camera.vCenter.x, 1.5f);
    EXPECT_TRUE(RedisplayRequested());

    g_ViewControl.iAngleX = 5;
    EXPECT_EQ(AfterKey('i', 1, g_ViewControl.iAngleX), 0);
    EXPECT_TRUE(RedisplayRequested());
}

TEST_F(InputTest, EscapeEndsTheProcessWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(Press(27), testing::ExitedWithCode(0), "");
}

TEST_F(InputTest, ArrowsTiltWithinTwoDegreesAndWithShiftAloneMoveTheCentre) {
    EXPECT_FLOAT_EQ(AfterSpecial(GLUT_KEY_LEFT, 1, g_Board.fTiltZ), 0.1f);
    EXPECT_EQ(AfterSpecial(GLUT_KEY_LEFT, 30, g_Board.fTiltZ), 2.0f);
    EXPECT_EQ(AfterSpecial(GLUT_KEY_RIGHT, 50, g_Board.fTiltZ), -2.0f);
    EXPECT_FLOAT_EQ(AfterSpecial(GLUT_KEY_DOWN, 3, g_Board.fTiltX), 0.3f);
    EXPECT_EQ(AfterSpecial(GLUT_KEY_DOWN, 30, g_Board.fTiltX), 2.0f);
    EXPECT_EQ(AfterSpecial(GLUT_KEY_UP, 50, g_Board.fTiltX), -2.0f);
    EXPECT_EQ(g_Camera.vCenter.x, 0.0f);
    EXPECT_EQ(g_Camera.vCenter.z, 0.0f);

    g_Board.fTiltZ = g_Board.fTiltX = 0.0f;
    g_iModifiers = GLUT_ACTIVE_SHIFT;
    const CVector3& vCenter = g_Camera.vCenter;
    EXPECT_FLOAT_EQ(AfterSpecial(GLUT_KEY_LEFT, 3, vCenter.x), -0.3f);
    EXPECT_NEAR(AfterSpecial(GLUT_KEY_RIGHT, 50, vCenter.x), 4.7f, 1e-5f);  // no limit
    EXPECT_FLOAT_EQ(AfterSpecial(GLUT_KEY_UP, 2, vCenter.z), -0.2f);
    EXPECT_FLOAT_EQ(AfterSpecial(GLUT_KEY_DOWN, 1, vCenter.z), -0.1f);
    EXPECT_EQ(vCenter.y, 0.0f);
    EXPECT_EQ(Tilt(), std::make_pair(0.0f, 0.0f));

    // Shift with Ctrl or Alt counts as no Shift.
    for (int iModifiers :
         {GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_CTRL, GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_ALT, GLUT_ACTIVE_CTRL}) {
        g_Board.fTiltZ = 0.0f;
        g_iModifiers = iModifiers;
        EXPECT_FLOAT_EQ(AfterSpecial(GLUT_KEY_LEFT, 1, g_Board.fTiltZ), 0.1f) << iModifiers;
        EXPECT_NEAR(vCenter.x, 4.7f, 1e-5f) << iModifiers;
    }
}

TEST_F(InputTest, EverySpecialKeyReadsTheModifiersAndAsksForARedisplay) {
    EXPECT_EQ(AfterSpecial(GLUT_KEY_F1, 1, g_iModifierReads), 1);
    EXPECT_TRUE(RedisplayRequested());
    EXPECT_EQ(AfterSpecial(GLUT_KEY_PAGE_UP, 1, g_iModifierReads), 2);
    EXPECT_TRUE(RedisplayRequested());
    EXPECT_FALSE(RedisplayRequested());
}

TEST_F(InputTest, SpotKeysStopAtTheirBounds) {
    // The cut-off moves in whole degrees from 10 to 180, with Shift the same.
    EXPECT_EQ(AfterSpecial(GLUT_KEY_PAGE_UP, 89, settings.fSpotCutoff), 179.0f);
    EXPECT_EQ(AfterSpecial(GLUT_KEY_PAGE_UP, 1, settings.fSpotCutoff), 180.0f);
    EXPECT_EQ(AfterSpecial(GLUT_KEY_PAGE_UP, 5, settings.fSpotCutoff), 180.0f);
    EXPECT_EQ(AfterSpecial(GLUT_KEY_PAGE_DOWN, 170, settings.fSpotCutoff), 10.0f);
    EXPECT_EQ(AfterSpecial(GLUT_KEY_PAGE_DOWN, 1, settings.fSpotCutoff), 10.0f);
    g_iModifiers = GLUT_ACTIVE_SHIFT;
    EXPECT_EQ(AfterSpecial(GLUT_KEY_PAGE_UP, 1, settings.fSpotCutoff), 11.0f);

    // The exponent, from 0.5, is tested before the step: Home stops just above 10.
    EXPECT_LT(AfterSpecial(GLUT_KEY_HOME, 94, settings.fSpotExponent), 10.0f);
    const float fTop = AfterSpecial(GLUT_KEY_HOME, 1, settings.fSpotExponent);
    EXPECT_NEAR(fTop, 10.000002f, 5e-7f);
    EXPECT_GT(fTop, 10.0f);
    EXPECT_EQ(AfterSpecial(GLUT_KEY_HOME, 3, settings.fSpotExponent), fTop);

    // 0.1f lies above the double 0.1 that End compares with: one step more.
    settings.fSpotExponent = 0.5f;
    for (float fExpected : {0.4f, 0.3f, 0.2f, 0.1f}) {
        EXPECT_NEAR(AfterSpecial(GLUT_KEY_END, 1, settings.fSpotExponent), fExpected, 2e-8f);
    }
    EXPECT_NEAR(AfterSpecial(GLUT_KEY_END, 1, settings.fSpotExponent), 1.5e-8f, 1e-9f);
    EXPECT_NEAR(AfterSpecial(GLUT_KEY_END, 3, settings.fSpotExponent), 1.5e-8f, 1e-9f);
    settings.fSpotExponent = 0.1f;
    EXPECT_EQ(AfterSpecial(GLUT_KEY_END, 1, settings.fSpotExponent), 0.0f);
}

TEST_F(InputTest, LeftDragTiltsLikeTheArrowsWithinTwoDegreesAndMiddleDragZoomsDownToThree) {
    OnMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100);
    // 5 pixels right tilt like one Right arrow, 10 down like two Down arrows.
    EXPECT_FLOAT_EQ(AfterMotion(105, 100, Tilt).first, -0.1f);
    OnMotion(105, 110);
    EXPECT_FLOAT_EQ(g_Board.fTiltX, 0.2f);
    EXPECT_FLOAT_EQ(g_Board.fTiltZ, -0.1f);
    EXPECT_EQ(LastPosition(), std::make_pair(105, 110));
    EXPECT_TRUE(RedisplayRequested());

    g_Board.fTiltZ = g_Board.fTiltX = 0.0f;
    OnMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100);
    EXPECT_EQ(AfterMotion(250, 100, Tilt), std::make_pair(-2.0f, 0.0f));  // 150 pixels: 3 degrees asked
    EXPECT_EQ(AfterMotion(0, 0, Tilt), std::make_pair(2.0f, -2.0f));
    EXPECT_EQ(AfterMotion(0, 500, Tilt), std::make_pair(2.0f, 2.0f));

    g_Board.fTiltZ = g_Board.fTiltX = 0.0f;
    OnMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 10, 100);
    EXPECT_EQ(AfterMotion(60, 140, Distance), 35.0f);
    EXPECT_EQ(AfterMotion(60, 0, Distance), 3.0f);
    EXPECT_EQ(AfterMotion(60, 4000, Distance), 1003.0f);
    EXPECT_EQ(Tilt(), std::make_pair(0.0f, 0.0f));
}

TEST_F(InputTest, RightDragOrbitsAndWrapsOnceInTheWindowSize) {
    OnMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 500, 500);
    EXPECT_EQ(AfterMotion(490, 520, Orbit), std::make_pair(1014, 170));
    EXPECT_EQ(AfterMotion(500, 1118, Orbit), std::make_pair(1024, 768));  // 170 + 598 = 768: the size itself stays
    EXPECT_EQ(AfterMotion(500, 1119, Orbit), std::make_pair(1024, 1));
    // More than a window in one event is corrected by one window only.
    EXPECT_EQ(AfterMotion(-2500, 1119, Orbit), std::make_pair(1024 - 3000 + 1024, 1));
    EXPECT_TRUE(RedisplayRequested());

    g_ViewControl = CViewControl();
    OnReshape(800, 600);
    OnMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0);
    EXPECT_EQ(AfterMotion(-1, -1, Orbit), std::make_pair(799, 149));
    EXPECT_EQ(AfterMotion(100, 500, Orbit), std::make_pair(100, 50));
}

TEST_F(InputTest, PressRecordsThePositionAndAnyReleaseEndsTheDrag) {
    OnMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 12, 34);
    EXPECT_EQ(g_ViewControl.iButton, 0);
    EXPECT_EQ(LastPosition(), std::make_pair(12, 34));
    EXPECT_FALSE(RedisplayRequested());
    OnMouse(GLUT_LEFT_BUTTON, GLUT_UP, 56, 78);
    EXPECT_EQ(g_ViewControl.iButton, -1);
    EXPECT_EQ(LastPosition(), std::make_pair(12, 34));  // a release keeps the last position
    EXPECT_FALSE(RedisplayRequested());

    // A second button takes the drag over; the first one's release ends it.
    OnMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100);
    OnMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 200, 200);
    EXPECT_EQ(g_ViewControl.iButton, 2);
    EXPECT_EQ(AfterMotion(210, 200, Orbit), std::make_pair(10, 150));
    EXPECT_EQ(g_Board.fTiltZ, 0.0f);
    OnMouse(GLUT_LEFT_BUTTON, GLUT_UP, 210, 200);
    EXPECT_EQ(g_ViewControl.iButton, -1);
    RedisplayRequested();
    EXPECT_EQ(AfterMotion(300, 300, Orbit), std::make_pair(10, 150));
    EXPECT_EQ(LastPosition(), std::make_pair(210, 200));
    EXPECT_FALSE(RedisplayRequested());

    // Buttons beyond the three (a wheel step) drag nothing.
    OnMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 5);
    OnMouse(3, GLUT_DOWN, 40, 40);
    EXPECT_EQ(g_ViewControl.iButton, 3);
    RedisplayRequested();
    EXPECT_EQ(AfterMotion(80, 80, Tilt), std::make_pair(0.0f, 0.0f));
    EXPECT_EQ(Orbit(), std::make_pair(10, 150));
    EXPECT_EQ(g_ViewControl.fDistance, 25.0f);
    EXPECT_EQ(LastPosition(), std::make_pair(5, 5));
    EXPECT_FALSE(RedisplayRequested());
}
