#pragma once

// Probes for the board and box drawing tests: the quads a node draws, the
// normal OpenGL lit each one with, and the way each one is wound.

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "scene/SceneNode.h"
#include "support/Feedback.h"

using SQuad = std::vector<SFeedbackVertex>;
using SDirection = std::array<float, 3>;

// The quads the node draws, with an identity modelview and lighting off.
inline std::vector<SQuad> QuadsOf(kov::ISceneNode& node) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    return CapturedQuads(CaptureFeedback([&node] { node.Draw(); }));
}

// The normal each quad was drawn with, found by lighting the node from the six
// axis directions in turn with one white directional light (the only one on,
// one-sided lighting) on a white, purely diffuse material: a vertex's red is
// then max(0, N . L), so a unit axis normal is fully lit from exactly one of
// them. Any other normal gives (0, 0, 0).
inline std::vector<SDirection> AxisNormalsOf(kov::ISceneNode& node) {
    const GLfloat BLACK[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat WHITE[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, BLACK);
    for (const GLenum eColor : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) {
        glLightfv(GL_LIGHT0, eColor, eColor == GL_DIFFUSE ? WHITE : BLACK);
        glMaterialfv(GL_FRONT_AND_BACK, eColor, eColor == GL_DIFFUSE ? WHITE : BLACK);
    }
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, BLACK);
    const SDirection AXES[6] = {{{1, 0, 0}}, {{-1, 0, 0}}, {{0, 1, 0}}, {{0, -1, 0}}, {{0, 0, 1}}, {{0, 0, -1}}};
    std::vector<SDirection> Normals;
    for (const SDirection& vAxis : AXES) {
        const GLfloat POSITION[4] = {vAxis[0], vAxis[1], vAxis[2], 0.0f};
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glLightfv(GL_LIGHT0, GL_POSITION, POSITION);
        const std::vector<SQuad> Quads = CapturedQuads(CaptureFeedback([&node] { node.Draw(); }));
        Normals.resize(Quads.size(), SDirection{0, 0, 0});
        for (size_t i = 0; i < Quads.size(); ++i) {
            if (std::all_of(Quads[i].begin(), Quads[i].end(),
                            [](const SFeedbackVertex& v) { return std::fabs(v.r - 1.0f) < 0.01f; })) {
                Normals[i] = vAxis;
            }
        }
    }
    glDisable(GL_LIGHTING);
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

inline void ExpectVector(const SDirection& vActual, const SDirection& vExpected, const char* szWhat, size_t uQuad) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(vActual[i], vExpected[i], 1e-4) << szWhat << " of quad " << uQuad << ", component " << i;
    }
}

// One corner as the test expects it: x, y, z and the texture's s, t.
using SExpectedCorner = std::array<float, 5>;

inline void ExpectCorners(const SQuad& quad, const std::array<SExpectedCorner, 4>& Expected, size_t uQuad) {
    ASSERT_EQ(quad.size(), 4u) << "quad " << uQuad;
    for (size_t i = 0; i < 4; ++i) {
        const SExpectedCorner fActual = {quad[i].x, quad[i].y, quad[i].z, quad[i].s, quad[i].t};
        for (size_t c = 0; c < 5; ++c) {
            EXPECT_NEAR(fActual[c], Expected[i][c], c < 3 ? 1e-4 : 1e-5) << "quad " << uQuad << " corner " << i;
        }
    }
}
