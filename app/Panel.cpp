#include "app/Panel.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "app/Globals.h"
#include "app/LightMarkers.h"
#include "app/Settings.h"

namespace {

constexpr int DIRECTIONAL_LIGHT = 3;
const char* const LIGHT_WHAT[LIGHT_COUNT] = {"light 1", "light 2", "light 3", "light 4"};
const char* const LIGHT_NAME[LIGHT_COUNT] = {"white spot", "red", "green", "grey"};
constexpr float NO_CONE = 180.0f;     // OpenGL takes cut-offs up to 90 degrees, and 180
constexpr float WIDEST_CONE = 90.0f;  // for none; it keeps the cone it had otherwise.

__attribute__((format(printf, 3, 4))) SPanelLine Line(const char* szKeys, const char* szWhat, const char* szFormat,
                                                      ...) {
    SPanelLine line = {szKeys, szWhat, {}};
    va_list Args;
    va_start(Args, szFormat);
    std::vsnprintf(line.szValue, sizeof(line.szValue), szFormat, Args);
    va_end(Args);
    return line;
}

// Rounded to 1 / dScale; printf would write a value just below zero as "-0.0".
double Rounded(double d, double dScale) {
    return std::round(d * dScale) / dScale + 0.0;
}

double Tenths(float f) {
    return Rounded(f, 10.0);
}

const char* OnOff(bool b) {
    return b ? "on" : "off";
}

// An orbit angle in degrees: the window's size is a full turn.
double Degrees(int iPixels, int iWindowSize) {
    return iPixels * 360.0 / iWindowSize;
}

SPanelLine LightLine(const CSettings& s, int i) {
    const CVector3& v = s.vLightPos[i];
    return Line("1-4", LIGHT_WHAT[i], "%s  %s  %s (%.1f, %.1f, %.1f)", LIGHT_NAME[i], OnOff(s.bLightOn[i]),
                i == DIRECTIONAL_LIGHT ? "from" : "at", Tenths(v.x), Tenths(v.y), Tenths(v.z));
}

SPanelLine CutoffLine(float fCutoff) {
    const char* szNote = fCutoff == NO_CONE ? "  no cone" : fCutoff > WIDEST_CONE ? "  OpenGL refuses it" : "";
    return Line("PgUp/PgDn", "spot cut-off", "%.0f\xb0%s", fCutoff, szNote);
}

}  // namespace

CPanelText BuildPanelText() {
    const CSettings& s = GetSettings();
    const CViewControl& view = g_ViewControl;
    const CVector3& vSpot = s.vSpotDir;
    const CVector3& vCenter = g_Camera.vCenter;
    return {
        Line("Z", "depth test", "%s", OnOff(s.bDepthTest)),
        Line("L", "lighting", "%s", OnOff(s.bLighting)),
        Line("T", "textures", "%s", OnOff(s.bTextures)),
        Line("W", "wire-frame", "%s", OnOff(s.bWireframe)),
        Line("S", "shading", "%s", s.bSmooth ? "smooth" : "flat"),
        Line("D", "two-sided light", "%s", OnOff(s.bTwoSided)),
        Line("V", "local viewer", "%s", OnOff(s.bLocalViewer)),
        Line("0", "ambient light", "%s", OnOff(s.bAmbient)),
        Line("P", "projection", "%s", s.bPerspective ? "perspective" : "orthographic"),
        Line("F", "frame-rate text", "%s  (%i a second)", OnOff(s.bShowFps), g_iFps),
        Line("F2", "light markers", "%s", OnOff(g_bShowLightMarkers)),
        LightLine(s, 0),
        LightLine(s, 1),
        LightLine(s, 2),
        LightLine(s, 3),
        Line("Ins n , j m", "selected light", "%s  %s", LIGHT_WHAT[s.iLight], LIGHT_NAME[s.iLight]),
        Line("N ; J M", "spot direction", "(%.1f, %.1f, %.1f)", Tenths(vSpot.x), Tenths(vSpot.y), Tenths(vSpot.z)),
        CutoffLine(s.fSpotCutoff),
        Line("Home/End", "spot exponent", "%.1f", Tenths(s.fSpotExponent)),
        Line("y/Y", "near", "%.1f", Tenths(s.fNear)),
        Line("A/a", "far", "%.1f", Tenths(s.fFar)),
        Line("+/-", "ball", "%i slices, %i stacks", s.iSlices, s.iStacks),
        // The tilt moves by a tenth of a degree a press, by 0.02 a pixel of drag.
        Line("Left/Right", "tilt about z", "%.2f\xb0", Rounded(g_Board.fTiltZ, 100.0)),
        Line("Up/Down", "tilt about x", "%.2f\xb0", Rounded(g_Board.fTiltX, 100.0)),
        Line("Shift+arrows", "camera centre", "(%.1f, %.1f, %.1f)", Tenths(vCenter.x), Tenths(vCenter.y),
             Tenths(vCenter.z)),
        Line("middle drag", "camera distance", "%.1f", Tenths(view.fDistance)),
        Line("right drag, I", "camera orbit", "azimuth %.0f\xb0, elevation %.0f\xb0",
             Degrees(view.iAngleX, view.iWindowWidth), Degrees(view.iAngleY, view.iWindowHeight)),
    };
}
