#pragma once

#include <GL/glu.h>

#include "math/Vector.h"
#include "scene/SceneNode.h"

namespace kov {

// The ball: a quadric sphere and the state the simulation keeps for it. It is
// the board's child, so its position is in the board's tilted frame.
class CBall : public ISceneNode {
public:
    CBall();
    ~CBall();
    CBall(const CBall&) = delete;
    CBall& operator=(const CBall&) = delete;

    bool Draw() override;

    // Accelerates the ball by the tilt, bounces it off the rim and returns the
    // position it would reach without walls. vPosition is left alone.
    CVector3 Advance(float fTiltZ, float fTiltX, double dTime);

    int iWidth;   // copies of the board size, for the rim
    int iHeight;
    float fRadius;
    double dVelocityX;
    double dVelocityZ;
    GLUquadric* pQuadric;
};

}  // namespace kov
