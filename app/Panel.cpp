#include "app/Panel.h"

#include <GL/glu.h>
#include <GL/glut.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/Globals.h"
#include "app/Settings.h"

bool g_bShowPanel = false;

namespace {

constexpr int DIRECTIONAL_LIGHT = 3;
const char* const LIGHT_WHAT[LIGHT_COUNT] = {"light 1", "light 2", "light 3", "light 4"};
const char* const LIGHT_NAME[LIGHT_COUNT] = {"white spot", "red", "green", "grey"};
constexpr float NO_CONE = 180.0f;     // OpenGL takes cut-offs up to 90 degrees, and 180
constexpr float WIDEST_CONE = 90.0f;  // for none; it keeps the cone it had otherwise.

// In pixels.
constexpr int MARGIN = 8;  // from the window's top left corner, away from the frame rate
constexpr int PADDING = 6;
constexpr int GLYPH_WIDTH = 9;  // of the 9 x 15 font
constexpr int LINE_HEIGHT = 17;
constexpr int DESCENT = 4;  // below the base line
constexpr int GLYPH_COUNT = 256;
// In glyphs.
constexpr int WHAT_COLUMN = 15;
constexpr int VALUE_COLUMN = 32;
constexpr int LINE_LENGTH = 68;

// Dark enough for light text over the bright board, yet the board shows through.
const GLfloat BACKING_COLOUR[4] = {0.0f, 0.0f, 0.0f, 0.75f};
const GLfloat KEYS_COLOUR[4] = {1.0f, 0.85f, 0.3f, 1.0f};
const GLfloat WHAT_COLOUR[4] = {0.75f, 0.75f, 0.75f, 1.0f};
const GLfloat VALUE_COLOUR[4] = {1.0f, 1.0f, 1.0f, 1.0f};

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

// One display list a glyph, made at the first showing: Mesa draws a string of
// such lists from one texture, where it would draw each single bitmap apart.
// It does so only when every list of the block holds one bitmap, hence the
// blank for 0, which the font does not draw.
GLuint FontLists() {
    static GLuint s_uiBase = 0;
    if (s_uiBase == 0) {
        s_uiBase = glGenLists(GLYPH_COUNT);
        for (int c = 0; c < GLYPH_COUNT; ++c) {
            glNewList(s_uiBase + c, GL_COMPILE);
            glutBitmapCharacter(GLUT_BITMAP_9_BY_15, c == 0 ? ' ' : c);
            glEndList();
        }
    }
    return s_uiBase;
}

GLint GetInteger(GLenum eName, int iIndex) {
    GLint iValue[4] = {};
    glGetIntegerv(eName, iValue);
    return iValue[iIndex];
}

void DrawString(int x, int y, const char* sz) {
    glRasterPos2i(x, y);
    glCallLists(static_cast<GLsizei>(std::strlen(sz)), GL_UNSIGNED_BYTE, sz);
}

void DrawText(const CPanelText& Text, const SPanelRect& rect) {
    const int iLeft = rect.iLeft + PADDING;
    const int iTop = rect.iBottom + rect.iHeight - PADDING;
    for (int i = 0; i < PANEL_LINE_COUNT; ++i) {
        const int y = iTop - (i + 1) * LINE_HEIGHT + DESCENT;
        glColor4fv(KEYS_COLOUR);
        DrawString(iLeft, y, Text[i].szKeys);
        glColor4fv(WHAT_COLOUR);
        DrawString(iLeft + WHAT_COLUMN * GLYPH_WIDTH, y, Text[i].szWhat);
        glColor4fv(VALUE_COLOUR);
        DrawString(iLeft + VALUE_COLUMN * GLYPH_WIDTH, y, Text[i].szValue);
    }
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

SPanelRect GetPanelRect() {
    const int iWidth = 2 * PADDING + LINE_LENGTH * GLYPH_WIDTH;
    const int iHeight = 2 * PADDING + PANEL_LINE_COUNT * LINE_HEIGHT;
    return {MARGIN, GetInteger(GL_VIEWPORT, 3) - MARGIN - iHeight, iWidth, iHeight};
}

void DrawPanel() {
    if (!g_bShowPanel) {
        return;
    }
    const SPanelRect rect = GetPanelRect();
    // Restores the switches, the blending, the colour, the raster position, the
    // polygon mode, the scissor box, the matrix mode and the list base; the
    // matrices are pushed.
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT | GL_SCISSOR_BIT |
                 GL_TRANSFORM_BIT | GL_LIST_BIT);
    glListBase(FontLists());
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    // A value too long for its column is cut off at the panel's edge.
    glEnable(GL_SCISSOR_TEST);
    glScissor(rect.iLeft, rect.iBottom, rect.iWidth, rect.iHeight);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, GetInteger(GL_VIEWPORT, 2), 0.0, GetInteger(GL_VIEWPORT, 3));
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    glColor4fv(BACKING_COLOUR);
    glRecti(rect.iLeft, rect.iBottom, rect.iLeft + rect.iWidth, rect.iBottom + rect.iHeight);
    DrawText(BuildPanelText(), rect);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}
