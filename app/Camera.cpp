#include "app/Camera.h"

#include "app/Window.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double PI = 3.141592653589793;

// |cos| of the elevation at the poles is rounding, about 1e-16; one pixel off
// them it is about pi / (2 x window height).
constexpr double POLE_COSINE = 1e-9;

// The part of a full turn that a pixel angle stands for. A window of no size
// (minimised) stands still at the start of the turn instead of dividing by zero.
double TurnFraction(int iPixels, int iSize) {
    if (iSize <= 0) {
        return 0.0;
    }
    return static_cast<double>(iPixels) / static_cast<double>(iSize);
}

}  // namespace

float StartDistance(int iWidth, int iHeight) {
    const float fSize = static_cast<float>(std::max(iWidth, iHeight));
    return std::max(FRAMED_DISTANCE * fSize / FRAMED_BOARD_SIZE, MIN_DISTANCE);
}

float StartFar(int iWidth, int iHeight) {
    return 4.0f * StartDistance(iWidth, iHeight);
}

CViewControl::CViewControl()
    : iButton(-1),
      iAngleX(ORBIT_START_ANGLE_X),
      iAngleY(ORBIT_START_ANGLE_Y),
      iLastX(0),
      iLastY(0),
      fDistance(FRAMED_DISTANCE),
      iWindowWidth(WINDOW_WIDTH),
      iWindowHeight(WINDOW_HEIGHT) {}

CCamera::CCamera() : fUpY(1.0f) {
    SetVector(&vCenter, 0.0f, 0.0f, 0.0f);
    SetVector(&vOffset, 0.0f, 0.0f, 0.0f);
}

void CCamera::Apply(int x, int y, int w, int h, double dist) {
    const double dAzimuth = TurnFraction(x, w) * 2.0 * PI + PI / 2.0;
    const double dElevation = TurnFraction(y, h) * 2.0 * PI;

    vOffset.x = static_cast<float>(std::cos(dAzimuth) * dist * std::cos(dElevation));
    vOffset.y = static_cast<float>(std::sin(dElevation) * dist);
    vOffset.z = static_cast<float>(std::sin(dAzimuth) * dist * std::cos(dElevation));

    // Past the top and not yet under the bottom the world is upside down; the
    // flip keeps the picture turning smoothly over the poles.
    const bool bUpsideDown = dElevation > PI / 2.0 && dElevation <= 3.0 * PI / 2.0;
    fUpY = bUpsideDown ? -1.0f : 1.0f;

    // Straight above or below the centre the eye's tiny horizontal offset is
    // lost in the float centre, and (0, fUpY, 0) would lie along the line of
    // sight. There the up vector is the direction in which the elevation
    // grows: across the line of sight, and the limit of the picture from
    // either side.
    double dUp[3] = {0.0, fUpY, 0.0};
    if (std::fabs(std::cos(dElevation)) < POLE_COSINE) {
        dUp[0] = -std::cos(dAzimuth) * std::sin(dElevation);
        dUp[1] = std::cos(dElevation);
        dUp[2] = -std::sin(dAzimuth) * std::sin(dElevation);
    }
    gluLookAt(GetEyeX(), GetEyeY(), GetEyeZ(), vCenter.x, vCenter.y, vCenter.z, dUp[0], dUp[1], dUp[2]);
}

float CCamera::GetEyeX() const { return vCenter.x + vOffset.x; }
float CCamera::GetEyeY() const { return vCenter.y + vOffset.y; }
float CCamera::GetEyeZ() const { return vCenter.z + vOffset.z; }
float CCamera::GetUpY() const { return fUpY; }
