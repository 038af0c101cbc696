#include "app/Game.h"
#include "app/Settings.h"
#include "scene/LightColors.h"
#include "scene/Scene.h"

#include <GL/gl.h>

namespace kov {

namespace {

// A light of one colour for ambient, diffuse and specular, at a position
// (w = 1) or from a direction (w = 0).
void SetupLight(GLenum eLight, const float* pColor, const CVector3& vPos, float fW, bool bOn) {
    const float LightColor[4] = {pColor[0], pColor[1], pColor[2], 1.0f};
    const float LightPos[4] = {vPos.x, vPos.y, vPos.z, fW};
    glLightfv(eLight, GL_AMBIENT, LightColor);
    glLightfv(eLight, GL_DIFFUSE, LightColor);
    glLightfv(eLight, GL_SPECULAR, LightColor);
    glLightfv(eLight, GL_POSITION, LightPos);
    SetEnabled(eLight, bOn);
}

}  // namespace

void CScene::SetupLights() {
    const CSettings& settings = GetSettings();

    // Light 0: a white spot light.
    const float LightAmb0[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    const float* const WHITE = LIGHT_COLORS[0];
    const float LightDif0[4] = {WHITE[0], WHITE[1], WHITE[2], 1.0f};
    const float LightSpc0[4] = {WHITE[0], WHITE[1], WHITE[2], 1.0f};
    const CVector3 vPos = settings.vLightPos[0];
    const float LightPos0[4] = {vPos.x, vPos.y, vPos.z, 1.0f};
    const float LightDir0[4] = {settings.vSpotDir.x, settings.vSpotDir.y, settings.vSpotDir.z, 0.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, LightAmb0);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, LightDif0);
    glLightfv(GL_LIGHT0, GL_SPECULAR, LightSpc0);
    glLightfv(GL_LIGHT0, GL_POSITION, LightPos0);
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, LightDir0);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, settings.fSpotCutoff);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, settings.fSpotExponent);
    SetEnabled(GL_LIGHT0, settings.bLightOn[0]);

    // Lights 1 and 2: red and green point lights; light 3: a grey directional light.
    SetupLight(GL_LIGHT1, LIGHT_COLORS[1], settings.vLightPos[1], 1.0f, settings.bLightOn[1]);
    SetupLight(GL_LIGHT2, LIGHT_COLORS[2], settings.vLightPos[2], 1.0f, settings.bLightOn[2]);
    SetupLight(GL_LIGHT3, LIGHT_COLORS[3], settings.vLightPos[3], 0.0f, settings.bLightOn[3]);
}

}  // namespace kov
