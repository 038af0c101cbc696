#include "scene/Stars.h"

#include <GL/gl.h>

#include <cmath>

#include "app/Settings.h"
#include "math/Random.h"

namespace kov {

namespace {

// The sky's angles are whole degrees turned into radians with this
// single-precision approximation of pi.
constexpr float SKY_PI = 3.1415f;

float RandomAngle(CRandom& random) {
    const int iDegrees = random.Next() % 360;
    return static_cast<float>(iDegrees / 180.0 * static_cast<double>(SKY_PI));
}

}  // namespace

CStars::CStars() {
    CRandom random;
    for (CVector3& vStar : vStars) {
        // a from the +y axis, b about it from +z towards +x.
        const float a = RandomAngle(random);
        const float b = RandomAngle(random);
        vStar.x = std::sin(a) * std::sin(b);
        vStar.y = std::cos(a);
        vStar.z = std::sin(a) * std::cos(b);
    }
}

bool CStars::Draw() {
    glDisable(GL_LIGHTING);
    glEnable(GL_POINT_SMOOTH);
    glPointSize(3.0f);
    glBegin(GL_POINTS);
    for (int i = 0; i < STAR_COUNT; ++i) {
        // Dim blue-grey, brightening with the index.
        const double c = i / 2000.0;
        glColor3f(static_cast<float>(c + 0.1), static_cast<float>(c + 0.1), static_cast<float>(c + 0.2));
        glVertex3f(vStars[i].x, vStars[i].y, vStars[i].z);
    }
    glEnd();
    if (GetSettings().bLighting) {
        glEnable(GL_LIGHTING);
    }
    // The stars are one unit from the eye; they must never hide the scene.
    glClear(GL_DEPTH_BUFFER_BIT);
    return ISceneNode::Draw();
}

}  // namespace kov
