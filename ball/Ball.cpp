#include "ball/Ball.h"

#include <GL/gl.h>

#include "app/Settings.h"
#include "scene/ViewVolume.h"

namespace kov {

namespace {

// The sphere is closed and convex. Seen from outside, with the depth test on
// and its faces filled, those turned away from the eye lie behind those turned
// to it and never show: leaving them out spares the renderer half the sphere.
// The near plane must not cut it open.
bool MayCullBackFaces(float fSphereRadius) {
    const CSettings& settings = GetSettings();
    const float fMin[3] = {-fSphereRadius, -fSphereRadius, -fSphereRadius};
    const float fMax[3] = {fSphereRadius, fSphereRadius, fSphereRadius};
    return IsNearestShown(settings) && !settings.bWireframe && CViewVolume().IsBoxBeyondNear(fMin, fMax);
}

}  // namespace

CBall::CBall()
    : iWidth(0), iHeight(0), fRadius(1.0f), dVelocityX(0.0), dVelocityZ(0.0), pQuadric(gluNewQuadric()) {
    fSpecular[0] = 0.95f;
    fSpecular[1] = 0.95f;
    fSpecular[2] = 0.95f;
}

CBall::~CBall() {
    if (pQuadric != nullptr) {
        gluDeleteQuadric(pQuadric);
    }
}

bool CBall::Draw() {
    glEnable(GL_NORMALIZE);  // the node is scaled by 2
    // The default texture object holds no image, so the ball keeps its
    // material colours even while texturing is on.
    glBindTexture(GL_TEXTURE_2D, 0);
    if (pQuadric != nullptr) {
        gluQuadricNormals(pQuadric, GLU_SMOOTH);
        const CSettings& settings = GetSettings();
        if (MayCullBackFaces(fRadius / 2.0f)) {
            glEnable(GL_CULL_FACE);
        }
        gluSphere(pQuadric, fRadius / 2.0, settings.iSlices, settings.iStacks);
        glDisable(GL_CULL_FACE);
    }
    return ISceneNode::Draw();
}

}  // namespace kov
