#include "ball/Ball.h"

#include <GL/gl.h>

#include "app/Settings.h"

namespace kov {

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
        gluSphere(pQuadric, fRadius / 2.0, settings.iSlices, settings.iStacks);
    }
    return ISceneNode::Draw();
}

}  // namespace kov
