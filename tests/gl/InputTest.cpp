// The input callbacks through their real entry points: each case plays its
// input from the start state and must change exactly what the case expects,
// and the F1 panel must show it.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/Input.h"
#include "app/LightMarkers.h"
#include "app/Panel.h"
#include "app/Settings.h"
#include "support/GlTest.h"

namespace {

int g_iModifiers = 0;

void Keys(const std::string& sKeys) {
    for (const char c : sKeys) {
        OnKeyboard(static_cast<unsigned char>(c), 0, 0);
    }
}

void Special(int key, int iTimes = 1, int iModifiers = 0, int iShiftKey = GLUT_KEY_SHIFT_L) {
    const int iHeld = (iModifiers & GLUT_ACTIVE_SHIFT) != 0 ? iShiftKey : 0;  // 0: none, as under Caps Lock
    OnSpecialKey(iHeld, 0, 0);
    g_iModifiers = iModifiers;
    for (int i = 0; i < iTimes; ++i) {
        OnSpecialKey(key, 0, 0);
    }
    g_iModifiers = 0;
    OnSpecialKeyUp(iHeld, 0, 0);
}

// A press at the first point, then motion through the others.
void Drag(int iButton, const std::vector<std::array<int, 2>>& Points) {
    OnMouse(iButton, GLUT_DOWN, Points[0][0], Points[0][1]);
    for (size_t i = 1; i < Points.size(); ++i) {
        OnMotion(Points[i][0], Points[i][1]);
    }
}

CSettings& S() { return GetSettings(); }
CViewControl& V() { return g_ViewControl; }

// Everything input may change, flattened.
std::vector<float> Snapshot() {
    const CSettings& s = S();
    std::vector<float> Values = {
        float(s.iSlices),   float(s.iStacks),   s.fSpotCutoff,      s.fSpotExponent,     s.fNear,
        s.fFar,             s.vSpotDir.x,       s.vSpotDir.y,       s.vSpotDir.z,        float(s.iLight),
        g_Camera.vCenter.x, g_Camera.vCenter.y, g_Camera.vCenter.z, g_Board.fTiltZ,      g_Board.fTiltX,
        float(V().iAngleX), float(V().iAngleY), V().fDistance,      float(V().iButton),  float(V().iLastX),
        float(V().iLastY)};
    for (const bool b : {s.bSmooth, s.bLocalViewer, s.bDepthTest, s.bTwoSided, s.bAmbient, s.bPerspective, s.bShowFps,
                         s.bWireframe, s.bLighting, s.bTextures, s.bLightOn[0], s.bLightOn[1], s.bLightOn[2],
                         s.bLightOn[3], g_bShowPanel, g_bShowLightMarkers}) {
        Values.push_back(b);
    }
    for (const CVector3& v : s.vLightPos) {
        Values.insert(Values.end(), {v.x, v.y, v.z});
    }
    return Values;
}

void ResetState() {
    AssignSettingsDefaults();
    V() = CViewControl();
    SetVector(&g_Camera.vCenter, 0.0f, 0.0f, 0.0f);
    g_Board.fTiltZ = g_Board.fTiltX = 0.0f;
    g_bShowPanel = g_bShowLightMarkers = false;
    g_iFps = 0;
}

// What the panel shows, by line.
std::map<std::string, std::string> PanelValues() {
    std::map<std::string, std::string> Values;
    for (const SPanelLine& line : BuildPanelText()) {
        Values[line.szWhat] = line.szValue;
    }
    return Values;
}

struct SCase {
    std::string sName;
    std::function<void()> fnInput;
    std::function<void()> fnExpect;  // makes the expected change directly
    std::map<std::string, std::string> Panel = {};  // lines of the panel after the input
};

class InputTest : public testing::Test {
protected:
    void SetUp() override { SetModifierSource([] { return g_iModifiers; }); }
    void TearDown() override { SetModifierSource(nullptr); }
};

}  // namespace

TEST_F(InputTest, EachInputChangesExactlyWhatItsBindingSaysWithinItsBoundsAndThePanelShowsIt) {
    const auto Held = [](int iButton, int x, int y) { V().iButton = iButton; V().iLastX = x; V().iLastY = y; };
    std::vector<SCase> Cases = {
        {"unbound keys", [] { Keys("qQxXbBeEgGhHkKoOrRuU5689.!'\t \xc8"); }, [] {}},
        {"- stops at 9", [] { Keys(std::string(30, '-')); }, [] { S().iSlices = S().iStacks = 9; },
         {{"ball", "9 slices, 9 stacks"}}},
        {"+ has no ceiling", [] { Keys("--+++"); }, [] { S().iSlices = S().iStacks = 33; }},
        {"3, Insert", [] { Keys("3"); Special(GLUT_KEY_INSERT); }, [] { S().iLight = 2; S().bLightOn[2] = true; },
         {{"selected light", "light 3  green"}, {"light 3", "green  on  at (-9.5, 1.5, -9.5)"}}},
        {"Insert", [] { Special(GLUT_KEY_INSERT); }, [] { S().bLightOn[0] = false; }},
        {"F1 twice, Shift+F1", [] { Special(GLUT_KEY_F1, 2); Special(GLUT_KEY_F1, 1, GLUT_ACTIVE_SHIFT); },
         [] { g_bShowPanel = true; }},
        {"F2 thrice", [] { Special(GLUT_KEY_F2, 3); }, [] { g_bShowLightMarkers = true; }, {{"light markers", "on"}}},
        {"light 3 moves", [] { Keys("3jmmmnn,"); },
         [] { S().iLight = 2; S().vLightPos[2].z += 0.2f; S().vLightPos[2].x -= 0.1f; }},
        {"light 4 moves", [] { Keys("4m"); }, [] { S().iLight = 3; S().vLightPos[3].z = 1.1f; },
         {{"selected light", "light 4  grey"}, {"light 4", "grey  off  from (1.0, -2.0, 1.1)"}}},
        {"capitals turn the spot", [] { Keys("JMMN;;;"); }, [] { S().vSpotDir.z = 0.1f; S().vSpotDir.x = 0.2f; },
         {{"spot direction", "(0.2, -1.0, 0.1)"}}},
        {"the spot back to just below 0", [] { Keys("JJJMMM"); }, [] {}, {{"spot direction", "(0.0, -1.0, 0.0)"}}},
        {"Y only above 1", [] { Keys("YyyYYY"); }, [] {}},
        {"y raises near past far", [] { Keys(std::string(200, 'y')); }, [] { S().fNear = 200.1f; },
         {{"near", "200.1"}}},
        {"A, and a stops at 1", [] { Keys("AAAAA" + std::string(120, 'a')); }, [] { S().fFar = 1.0f; }},
        {"I resets the orbit, not the centre",
         [] { V().iAngleX = 300; V().iAngleY = 20; V().fDistance = 7; g_Camera.vCenter.x = 1.5f; Keys("I"); },
         [] { g_Camera.vCenter.x = 1.5f; }, {{"camera orbit", "azimuth 0\xb0, elevation 70\xb0"}}},
        {"i too", [] { V().iAngleY = 5; Keys("i"); }, [] {}},
        {"Page Up stops at 180", [] { Special(GLUT_KEY_PAGE_UP, 95); }, [] { S().fSpotCutoff = 180; },
         {{"spot cut-off", "180\xb0  no cone"}}},
        {"Page Up with Shift", [] { Special(GLUT_KEY_PAGE_UP, 89, GLUT_ACTIVE_SHIFT); },
         [] { S().fSpotCutoff = 179; }, {{"spot cut-off", "179\xb0  OpenGL refuses it"}}},
        {"Page Down stops at 10", [] { Special(GLUT_KEY_PAGE_DOWN, 90); }, [] { S().fSpotCutoff = 10; }},
        // Bounds are tested before the step: Home stops just above 10, and End
        // goes one step below 0.1, since 0.1f lies above the double 0.1.
        {"Home stops above 10", [] { Special(GLUT_KEY_HOME, 100); }, [] { S().fSpotExponent = 10.000002f; }},
        {"End stops near 0", [] { Special(GLUT_KEY_END, 10); }, [] { S().fSpotExponent = 1.5e-8f; },
         {{"spot exponent", "0.0"}}},
        {"Left", [] { Special(GLUT_KEY_LEFT); }, [] { g_Board.fTiltZ = 0.1f; }},
        {"Left 30", [] { Special(GLUT_KEY_LEFT, 30); }, [] { g_Board.fTiltZ = 2.0f; }},
        {"Right 30", [] { Special(GLUT_KEY_RIGHT, 30); }, [] { g_Board.fTiltZ = -2.0f; },
         {{"tilt about z", "-2.00\xb0"}}},
        {"Right, Left, to just below 0", [] { Special(GLUT_KEY_RIGHT, 3); Special(GLUT_KEY_LEFT, 3); }, [] {},
         {{"tilt about z", "0.00\xb0"}}},
        {"Down 30", [] { Special(GLUT_KEY_DOWN, 30); }, [] { g_Board.fTiltX = 2.0f; }},
        {"Up 3", [] { Special(GLUT_KEY_UP, 3); }, [] { g_Board.fTiltX = -0.3f; }},
        {"Shift+Left", [] { Special(GLUT_KEY_LEFT, 50, GLUT_ACTIVE_SHIFT); }, [] { g_Camera.vCenter.x = -5.0f; }},
        {"Shift+Right, then Left under Caps Lock, which is no Shift",
         [] { Special(GLUT_KEY_RIGHT, 2, GLUT_ACTIVE_SHIFT); Special(GLUT_KEY_LEFT, 1, GLUT_ACTIVE_SHIFT, 0); },
         [] { g_Camera.vCenter.x = 0.2f; g_Board.fTiltZ = 0.1f; }},
        {"Shift+Up", [] { Special(GLUT_KEY_UP, 2, GLUT_ACTIVE_SHIFT); }, [] { g_Camera.vCenter.z = -0.2f; },
         {{"camera centre", "(0.0, 0.0, -0.2)"}}},
        {"right Shift+Down", [] { Special(GLUT_KEY_DOWN, 1, GLUT_ACTIVE_SHIFT, GLUT_KEY_SHIFT_R); },
         [] { g_Camera.vCenter.z = 0.1f; }},
        {"Shift+Ctrl", [] { Special(GLUT_KEY_LEFT, 1, GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_CTRL); },
         [] { g_Board.fTiltZ = 0.1f; }},
        {"Shift+Alt", [] { Special(GLUT_KEY_UP, 1, GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_ALT); },
         [] { g_Board.fTiltX = -0.1f; }},
        // Drags: 5 pixels right tilt like one Right arrow, 10 down like two Down arrows.
        {"left drag", [] { Drag(0, {{100, 100}, {105, 100}, {105, 110}}); },
         [=] { g_Board.fTiltZ = -0.1f; g_Board.fTiltX = 0.2f; Held(0, 105, 110); }, {{"tilt about x", "0.20\xb0"}}},
        {"left drag clamps", [] { Drag(0, {{100, 100}, {250, 100}, {100, 0}}); },
         [=] { g_Board.fTiltZ = 1.0f; g_Board.fTiltX = -2.0f; Held(0, 100, 0); }},
        {"middle drag, not nearer than 3", [] { Drag(1, {{10, 100}, {60, 140}, {60, 0}}); },
         [=] { V().fDistance = 3.0f; Held(1, 60, 0); }, {{"camera distance", "3.0"}}},
        // Each angle is wrapped once into 0 to the window size; the size itself stays.
        {"right drag", [] { Drag(2, {{500, 500}, {490, 520}, {500, 1118}}); },
         [=] { V().iAngleX = 1024; V().iAngleY = 768; Held(2, 500, 1118); },
         {{"camera orbit", "azimuth 360\xb0, elevation 360\xb0"}}},
        {"right drag wraps once", [] { Drag(2, {{500, 500}, {490, 1119}, {-2500, 1119}}); },
         [=] { V().iAngleX = 1014 - 2990 + 1024; V().iAngleY = 1; Held(2, -2500, 1119); }},
        {"any release ends the drag",
         [] { Drag(0, {{1, 1}}); Drag(2, {{200, 200}, {210, 200}}); OnMouse(0, GLUT_UP, 0, 0); OnMotion(0, 0); },
         [=] { V().iAngleX = 10; Held(-1, 210, 200); }},
        {"a fourth button drags nothing", [] { Drag(3, {{5, 5}, {80, 80}}); }, [] { V().iButton = 3; }},
    };
    // Each switch, with its line of the panel and the value it shows after one press.
    for (const auto& [szKeys, pbSwitch, szWhat, szValue] :
         {std::make_tuple("Zz", &CSettings::bDepthTest, "depth test", "off"),
          {"Ll", &CSettings::bLighting, "lighting", "off"}, {"Ww", &CSettings::bWireframe, "wire-frame", "on"},
          {"0", &CSettings::bAmbient, "ambient light", "off"}, {"Dd", &CSettings::bTwoSided, "two-sided light", "off"},
          {"Ss", &CSettings::bSmooth, "shading", "flat"}, {"Tt", &CSettings::bTextures, "textures", "off"},
          {"Ff", &CSettings::bShowFps, "frame-rate text", "on  (0 a second)"},
          {"Vv", &CSettings::bLocalViewer, "local viewer", "off"},
          {"Pp", &CSettings::bPerspective, "projection", "orthographic"}}) {
        for (const char* p = szKeys; *p != '\0'; ++p) {
            const std::string sKey(1, *p);
            Cases.push_back({sKey, [sKey] { Keys(sKey); }, [pb = pbSwitch] { S().*pb = !(S().*pb); },
                             {{szWhat, szValue}}});
        }
    }
    for (const SCase& c : Cases) {
        ResetState();
        c.fnExpect();
        const std::vector<float> Expected = Snapshot();
        ResetState();
        c.fnInput();
        const std::vector<float> Actual = Snapshot();
        const auto Panel = PanelValues();
        for (const auto& [sWhat, sValue] : c.Panel) {
            EXPECT_EQ(Panel.at(sWhat), sValue) << c.sName;
        }
        for (size_t i = 0; i < Actual.size(); ++i) {
            EXPECT_NEAR(Actual[i], Expected[i], 1e-5f * std::max(1.0f, std::fabs(Expected[i])))
                << c.sName << ": " << i;
        }
    }
}
