#pragma once

// Probes for the board and box drawing tests: the quads a drawing sends, the
// normal OpenGL lit each one with, and the way each one is wound.

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "support/Feedback.h"

using SQuad = std::vector<SFeedbackVertex>;
using SDirection = std::array<float, 3>;

// The quads fnDraw sends, with an identity modelview and lighting off.
inline std::vector<SQuad> CaptureQuadsOf(const std::function<void()>& fnDraw) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    return CapturedQuads(CaptureFeedback(fnDraw));
}

// Lights the drawing with one white directional light along vDirection and a
// white, purely diffuse material: each vertex's red is then max(0, N . L).
inline std::vector<SQuad> CaptureLitQuadsOf(const std::function<void()>& fnDraw, const SDirection& vDirection) {
    const GLfloat BLACK[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat WHITE[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat POSITION[4] = {vDirection[0], vDirection[1], vDirection[2], 0.0f};
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    for (int i = 1; i < 8; ++i) {
        glDisable(GL_LIGHT0 + i);
    }
    glEnable(GL_LIGHT0);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, BLACK);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    glLightfv(GL_LIGHT0, GL_AMBIENT, BLACK);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, WHITE);
    glLightfv(GL_LIGHT0, GL_SPECULAR, BLACK);
    glLightfv(GL_LIGHT0, GL_POSITION, POSITION);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, BLACK);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, WHITE);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, BLACK);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, BLACK);
    std::vector<SQuad> Quads = CapturedQuads(CaptureFeedback(fnDraw));
    glDisable(GL_LIGHTING);
    return Quads;
}

// The normal each quad was drawn with, found by lighting the drawing from the
// six axis directions in turn: a unit axis normal is fully lit from exactly
// one of them. A quad whose normal is no unit axis gets (0, 0, 0).
inline std::vector<SDirection> CaptureAxisNormalsOf(const std::function<void()>& fnDraw) {
    const SDirection AXES[6] = {{{1, 0, 0}}, {{-1, 0, 0}}, {{0, 1, 0}}, {{0, -1, 0}}, {{0, 0, 1}}, {{0, 0, -1}}};
    std::vector<SDirection> Normals;
    for (const SDirection& vAxis : AXES) {
        const std::vector<SQuad> Quads = CaptureLitQuadsOf(fnDraw, vAxis);
        Normals.resize(Quads.size(), SDirection{0, 0, 0});
        for (size_t i = 0; i < Quads.size(); ++i) {
            bool bFullyLit = true;
            for (const SFeedbackVertex& v : Quads[i]) {
                bFullyLit = bFullyLit && std::fabs(v.r - 1.0f) < 0.01f;
            }
            if (bFullyLit) {
                Normals[i] = vAxis;
            }
        }
    }
    return Normals;
}

// The unit normal of the side from which the quad's corners run counter-clockwise.
inline SDirection WindingNormal(const SQuad& quad) {
    const float ax = quad[1].x - quad[0].x, ay = quad[1].y - quad[0].y, az = quad[1].z - quad[0].z;
    const float bx = quad[2].x - quad[0].x, by = quad[2].y - quad[0].y, bz = quad[2].z - quad[0].z;
    const float nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
    const float fLength = std::sqrt(nx * nx + ny * ny + nz * nz);
    return {nx / fLength, ny / fLength, nz / fLength};
}

inline void ExpectDirection(const SDirection& vActual, const SDirection& vExpected, const char* szWhat, size_t uQuad) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(vActual[i], vExpected[i], 1e-4) << szWhat << " of quad " << uQuad << ", component " << i;
    }
}

// One corner as the test expects it: position and texture coordinate.
struct SExpectedCorner {
    float x, y, z;
    float s, t;
};

inline void ExpectCorners(const SQuad& quad, const std::array<SExpectedCorner, 4>& Expected, size_t uQuad) {
    ASSERT_EQ(quad.size(), 4u) << "quad " << uQuad;
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(quad[i].x, Expected[i].x, 1e-4) << "quad " << uQuad << " corner " << i;
        EXPECT_NEAR(quad[i].y, Expected[i].y, 1e-4) << "quad " << uQuad << " corner " << i;
        EXPECT_NEAR(quad[i].z, Expected[i].z, 1e-4) << "quad " << uQuad << " corner " << i;
        EXPECT_NEAR(quad[i].s, Expected[i].s, 1e-5) << "quad " << uQuad << " corner " << i;
        EXPECT_NEAR(quad[i].t, Expected[i].t, 1e-5) << "quad " << uQuad << " corner " << i;
    }
}
