#pragma once

#include "math/Vector.h"

// The start view, to which the I key also returns: high above the board on its +z side.
constexpr int ORBIT_START_ANGLE_X = 0;
constexpr int ORBIT_START_ANGLE_Y = 150;
// The shipped board's size and the distance that frames it; the middle
// button brings the camera no nearer than MIN_DISTANCE.
constexpr int FRAMED_BOARD_SIZE = 20;
constexpr float FRAMED_DISTANCE = 25.0f;
constexpr float MIN_DISTANCE = 3.0f;

// The start view's distance, which frames a board of iWidth x iHeight cells
// whole: in proportion to its larger side, at least MIN_DISTANCE.
float StartDistance(int iWidth, int iHeight);

// The far plane at start: four start distances, well beyond the box's far
// corner seen from there.
float StartFar(int iWidth, int iHeight);

// The orbit as the mouse left it: angles in window pixels (a full turn is the
// window's width, resp. height), the distance, the window size and the drag state.
class CViewControl {
public:
    CViewControl();
    ~CViewControl() {}

    int iButton;  // held mouse button, -1 for none
    int iAngleX;
    int iAngleY;
    int iLastX;
    int iLastY;
    float fDistance;
    int iWindowWidth;
    int iWindowHeight;
};

// An orbit camera: the eye moves on a sphere around vCenter and looks at it.
class CCamera {
public:
    CCamera();
    ~CCamera() {}

    // Computes the eye offset and the up vector from the orbit values and
    // multiplies the current matrix by the look-at transform.
    void Apply(int x, int y, int w, int h, double dist);

    float GetEyeX() const;
    float GetEyeY() const;
    float GetEyeZ() const;
    float GetUpY() const;

    CVector3 vCenter;
    CVector3 vOffset;
    float fUpY;
};
