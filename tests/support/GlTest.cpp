#include "support/GlTest.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/Game.h"
#include "app/Window.h"
#include "platform/LeakCheck.h"

namespace {

constexpr float EXTENT = 100.0f;

bool g_bShown = false;

// Opened in SetUp, not in main, so that listing the tests needs no display.
// The toolkit redisplays a window only once it is mapped and exposed: that
// first display is the sign that it is shown.
class CGlEnvironment : public testing::Environment {
public:
    void SetUp() override {
        int argc = 1;
        char szName[] = "kov_gl_tests";
        char* argv[] = {szName, nullptr};
        OpenGameWindow(&argc, argv);
        glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
        CheckLeaksBeforeTheDriverUnloads();
        glutDisplayFunc([] { g_bShown = true; });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!g_bShown && std::chrono::steady_clock::now() < deadline) {
            glutMainLoopEvent();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(g_bShown) << "the test window was not shown within 30 s";
        glutDisplayFunc([] {});
    }
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new CGlEnvironment);
    return RUN_ALL_TESTS();
}

GLint GetInteger(GLenum eName) {
    GLint iValue[4] = {};
    glGetIntegerv(eName, iValue);
    return iValue[0];
}

std::vector<GLubyte> ReadWindow() {
    std::vector<GLubyte> Pixels(static_cast<size_t>(WINDOW_WIDTH) * WINDOW_HEIGHT * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, Pixels.data());
    return Pixels;
}

void ExpectNear(const std::vector<float>& Actual, const std::vector<float>& Expected, float fTolerance) {
    ASSERT_EQ(Actual.size(), Expected.size());
    for (size_t i = 0; i < Actual.size(); ++i) {
        EXPECT_NEAR(Actual[i], Expected[i], fTolerance) << "value " << i;
    }
}

std::vector<std::vector<float>> CapturePoints(const std::function<void()>& fnDraw) {
    std::vector<GLfloat> Buffer(1 << 16);
    GLint iViewport[4];
    glGetIntegerv(GL_VIEWPORT, iViewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-EXTENT, EXTENT, -EXTENT, EXTENT, -EXTENT, EXTENT);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, static_cast<GLsizei>(2 * EXTENT), static_cast<GLsizei>(2 * EXTENT));
    glFeedbackBuffer(static_cast<GLsizei>(Buffer.size()), GL_3D, Buffer.data());
    glRenderMode(GL_FEEDBACK);
    fnDraw();
    const GLint iCount = glRenderMode(GL_RENDER);
    glViewport(iViewport[0], iViewport[1], iViewport[2], iViewport[3]);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    // Window x and y run 0 to 2E from -E; depth 0 to 1 from E to -E.
    std::vector<std::vector<float>> Points;
    for (GLint i = 0; i + 3 < iCount; i += 4) {
        EXPECT_EQ(Buffer[i], GL_POINT_TOKEN);
        Points.push_back({Buffer[i + 1] - EXTENT, Buffer[i + 2] - EXTENT, (1.0f - 2.0f * Buffer[i + 3]) * EXTENT});
    }
    return Points;
}
