// The ball leaves out the half turned away from the eye only where the depth
// test hides it anyway: filled, and seen whole from outside.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/Settings.h"

namespace {

// The values the ball sends in feedback mode, its centre 3 before the eye.
GLint FeedBackBall(float fNear, float fFar) {
    GetSettings().fNear = fNear;
    GetSettings().fFar = fFar;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 4.0 / 3.0, fNear, fFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -3.0f);
    std::vector<GLfloat> Buffer(1 << 18);
    glFeedbackBuffer(static_cast<GLsizei>(Buffer.size()), GL_2D, Buffer.data());
    glRenderMode(GL_FEEDBACK);
    g_Ball.Draw();
    return glRenderMode(GL_RENDER);
}

}  // namespace

TEST(Ball, LeavesOutItsFarHalfOnlyWhereTheDepthTestHidesIt) {
    const struct {
        const char* szCase;
        bool bWireframe;
        float fNear, fFar;
        bool bHalf;  // with the depth test on, against off
    } CASES[] = {
        {"filled, seen whole", false, 0.1f, 100.0f, true},
        {"wire-frame", true, 0.1f, 100.0f, false},
        {"cut open by the near plane", false, 3.0f, 100.0f, false},
        {"depth order inverted: the far half wins", false, 4.0f, 1.0f, false},
    };
    AssignSettingsDefaults();
    for (const auto& c : CASES) {
        CSettings& settings = GetSettings();
        settings.bWireframe = c.bWireframe;
        glPolygonMode(GL_FRONT_AND_BACK, c.bWireframe ? GL_LINE : GL_FILL);
        settings.bDepthTest = false;
        const GLint iAll = FeedBackBall(c.fNear, c.fFar);
        settings.bDepthTest = true;
        const GLint iSent = FeedBackBall(c.fNear, c.fFar);
        EXPECT_GT(iAll, 1000) << c.szCase;
        if (c.bHalf) {
            EXPECT_LT(iSent, iAll * 0.6) << c.szCase;
        } else {
            EXPECT_EQ(iSent, iAll) << c.szCase;
        }
    }
    AssignSettingsDefaults();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}
