#include "app/LightMarkers.h"

#include <GL/gl.h>

#include <cmath>

#include "app/Settings.h"
#include "scene/LightColors.h"

bool g_bShowLightMarkers = false;

namespace {

constexpr int SPOT_LIGHT = 0;
constexpr int DIRECTIONAL_LIGHT = 3;

// In board units.
constexpr float MARKER_RADIUS = 0.3f;  // from a light's position to its diamond's corners
constexpr float RING_RADIUS = 0.5f;    // of the ring round the selected light
constexpr float ARROW_GAP = 1.0f;      // between the board's centre and the arrow's tip
constexpr float ARROW_LENGTH = 4.0f;
constexpr float HEAD_LENGTH = 0.6f;
constexpr float HEAD_RADIUS = 0.25f;
constexpr float SPOT_LINE_LENGTH = 3.0f;  // of the spot's direction where it meets no floor near by
constexpr float FARTHEST_HIT = 100.0f;    // from the spot, of a point of the floor drawn

constexpr int RING_SEGMENTS = 24;
constexpr int CONE_SEGMENTS = 48;
constexpr float WIDEST_CONE = 90.0f;  // degrees; a wider cone never closes on the floor
constexpr double PI = 3.141592653589793;
constexpr float LINE_WIDTH = 2.0f;  // pixels
const GLfloat SELECTED_COLOR[3] = {1.0f, 0.85f, 0.3f};  // the panel's colour of keys

// The camera's right, up and backward axes in world coordinates, from the rows
// of the view's rotation: markers face the eye.
struct SViewAxes {
    CVector3 vRight, vUp, vBack;
};

SViewAxes GetViewAxes() {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return {MakeVector(m[0], m[4], m[8]), MakeVector(m[1], m[5], m[9]), MakeVector(m[2], m[6], m[10])};
}

CVector3 Unit(CVector3 v) {
    SetLength(&v, 1.0f);
    return v;
}

void Vertex(const CVector3& v) {
    glVertex3f(v.x, v.y, v.z);
}

// Step i of iSteps round the unit circle in the plane of the unit vectors vU and vV.
CVector3 AroundCircle(const CVector3& vU, const CVector3& vV, int i, int iSteps) {
    const double dAngle = 2.0 * PI * i / iSteps;
    return float(std::cos(dAngle)) * vU + float(std::sin(dAngle)) * vV;
}

void DrawRing(const CVector3& vCenter, const SViewAxes& axes) {
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < RING_SEGMENTS; ++i) {
        Vertex(vCenter + RING_RADIUS * AroundCircle(axes.vRight, axes.vUp, i, RING_SEGMENTS));
    }
    glEnd();
}

// A filled polygon when the light is on, its outline when off.
void BeginShape(bool bOn) {
    glBegin(bOn ? GL_POLYGON : GL_LINE_LOOP);
}

void DrawDiamond(const CVector3& vPos, const SViewAxes& axes, bool bOn) {
    BeginShape(bOn);
    Vertex(vPos + MARKER_RADIUS * axes.vRight);
    Vertex(vPos + MARKER_RADIUS * axes.vUp);
    Vertex(vPos - MARKER_RADIUS * axes.vRight);
    Vertex(vPos - MARKER_RADIUS * axes.vUp);
    glEnd();
}

// The point where the ray from vFrom along the unit vector vDir meets the
// floor plane (y = 0) no farther than FARTHEST_HIT; false when it does not.
bool HitFloor(const CVector3& vFrom, const CVector3& vDir, CVector3* pvHit) {
    const float fDistance = -vFrom.y / vDir.y;
    if (!(fDistance > 0.0f && fDistance <= FARTHEST_HIT)) {  // also false for a ray along the floor
        return false;
    }
    *pvHit = vFrom + fDistance * vDir;
    return true;
}

// The direction line, to the floor where it meets it, and the cone's edge on
// the floor: a circle under a spot pointing straight down, else an ellipse, or
// the part of a parabola or hyperbola within reach where the cone opens past
// the horizon. A cut-off of 90 degrees or more draws no edge: OpenGL refuses
// those between 90 and 180, and 180 is a light without a cone.
void DrawSpot(const CSettings& s) {
    const CVector3& vPos = s.vLightPos[SPOT_LIGHT];
    const CVector3 vAxis = Unit(s.vSpotDir);
    CVector3 vEnd;
    if (!HitFloor(vPos, vAxis, &vEnd)) {
        vEnd = vPos + SPOT_LINE_LENGTH * vAxis;
    }
    glBegin(GL_LINES);
    Vertex(vPos);
    Vertex(vEnd);
    if (s.fSpotCutoff < WIDEST_CONE) {
        const double dCutoff = s.fSpotCutoff * PI / 180.0;
        const CVector3 vU = Unit(Cross(vAxis, std::fabs(vAxis.y) < 0.9f ? MakeVector(0, 1, 0) : MakeVector(1, 0, 0)));
        const CVector3 vV = Cross(vAxis, vU);
        CVector3 vHit[CONE_SEGMENTS];
        bool bHit[CONE_SEGMENTS];
        for (int i = 0; i < CONE_SEGMENTS; ++i) {
            const CVector3 vSide = AroundCircle(vU, vV, i, CONE_SEGMENTS);
            const CVector3 vRay = float(std::cos(dCutoff)) * vAxis + float(std::sin(dCutoff)) * vSide;
            bHit[i] = HitFloor(vPos, vRay, &vHit[i]);
        }
        for (int i = 0; i < CONE_SEGMENTS; ++i) {
            const int iNext = (i + 1) % CONE_SEGMENTS;
            if (bHit[i] && bHit[iNext]) {
                Vertex(vHit[i]);
                Vertex(vHit[iNext]);
            }
        }
    }
    glEnd();
}

// Along the light's rays, which come from the direction it holds, to a little
// before the board's centre; on the side of the board the light comes from.
// The head faces the eye. Returns the arrow's tail.
CVector3 DrawArrow(const CSettings& s, const SViewAxes& axes) {
    const CVector3 vFrom = Unit(s.vLightPos[DIRECTIONAL_LIGHT]);
    const CVector3 vTip = ARROW_GAP * vFrom;
    const CVector3 vTail = (ARROW_GAP + ARROW_LENGTH) * vFrom;
    CVector3 vSide = Unit(Cross(vFrom, axes.vBack));
    if (Length(vSide) == 0.0f) {  // seen along the arrow
        vSide = axes.vRight;
    }
    glBegin(GL_LINES);
    Vertex(vTail);
    Vertex(vTip);
    glEnd();
    BeginShape(s.bLightOn[DIRECTIONAL_LIGHT]);
    Vertex(vTip);
    Vertex(vTip + HEAD_LENGTH * vFrom + HEAD_RADIUS * vSide);
    Vertex(vTip + HEAD_LENGTH * vFrom - HEAD_RADIUS * vSide);
    glEnd();
    return vTail;
}

}  // namespace

void DrawLightMarkers() {
    if (!g_bShowLightMarkers) {
        return;
    }
    // Unlit, untextured, filled and over the scene, whatever the switches say.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glLineWidth(LINE_WIDTH);

    const CSettings& s = GetSettings();
    const SViewAxes axes = GetViewAxes();
    CVector3 vSelected = s.vLightPos[s.iLight];
    for (int i = 0; i < LIGHT_COUNT; ++i) {
        glColor3fv(LIGHT_COLORS[i]);
        if (i == DIRECTIONAL_LIGHT) {
            const CVector3 vTail = DrawArrow(s, axes);
            if (s.iLight == i) {
                vSelected = vTail;
            }
        } else {
            DrawDiamond(s.vLightPos[i], axes, s.bLightOn[i]);
        }
        if (i == SPOT_LIGHT) {
            DrawSpot(s);
        }
    }
    glColor3fv(SELECTED_COLOR);
    DrawRing(vSelected, axes);

    glPopAttrib();
}
