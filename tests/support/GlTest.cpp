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
constexpr int FLOATS_PER_VERTEX = 11;  // GL_3D_COLOR_TEXTURE in RGBA mode: xyz, rgba, strq

bool g_bShown = false;

// Opened in SetUp, not in main, so that listing the tests needs no display.
// The toolkit redisplays a window only once it is mapped and exposed: that
// first display is the sign that it is shown.
class CGlEnvironment : public testing::Environment {
public:
    void SetUp() override {
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
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

bool SamePoint(const SFeedbackVertex& a, const SFeedbackVertex& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

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

std::vector<SFeedbackPrimitive> CaptureFeedback(const std::function<void()>& fnDraw) {
    std::vector<GLfloat> Buffer(1 << 22);
    GLint iViewport[4];
    glGetIntegerv(GL_VIEWPORT, iViewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-EXTENT, EXTENT, -EXTENT, EXTENT, -EXTENT, EXTENT);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, static_cast<GLsizei>(2 * EXTENT), static_cast<GLsizei>(2 * EXTENT));
    glFeedbackBuffer(static_cast<GLsizei>(Buffer.size()), GL_3D_COLOR_TEXTURE, Buffer.data());
    glRenderMode(GL_FEEDBACK);
    fnDraw();
    const GLint iCount = glRenderMode(GL_RENDER);
    glViewport(iViewport[0], iViewport[1], iViewport[2], iViewport[3]);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    EXPECT_GE(iCount, 0) << "feedback buffer overflow";

    std::vector<SFeedbackPrimitive> Primitives;
    for (GLint i = 0; i < iCount;) {
        SFeedbackPrimitive primitive{static_cast<int>(Buffer[i++]), {}};
        const int iVertices = primitive.iToken == GL_POLYGON_TOKEN ? static_cast<int>(Buffer[i++]) : 1;
        for (int v = 0; v < iVertices; ++v, i += FLOATS_PER_VERTEX) {
            // Window x and y run 0 to 2E from -E; depth 0 to 1 from E to -E.
            const GLfloat* f = &Buffer[i];
            primitive.Vertices.push_back(
                {f[0] - EXTENT, f[1] - EXTENT, (1.0f - 2.0f * f[2]) * EXTENT, f[3], f[4], f[5], f[6], f[7], f[8]});
        }
        Primitives.push_back(primitive);
    }
    return Primitives;
}

std::vector<std::vector<SFeedbackVertex>> CapturedQuads(const std::vector<SFeedbackPrimitive>& Primitives) {
    std::vector<std::vector<SFeedbackVertex>> Quads;
    for (size_t i = 0; i < Primitives.size(); ++i) {
        const auto& first = Primitives[i].Vertices;
        const auto* pSecond = i + 1 < Primitives.size() ? &Primitives[i + 1].Vertices : nullptr;
        if (Primitives[i].iToken != GL_POLYGON_TOKEN) {
            continue;
        }
        // A quad split as (v0 v1 v2)(v0 v2 v3) or as (v0 v1 v3)(v1 v2 v3).
        if (first.size() == 3 && pSecond != nullptr && pSecond->size() == 3) {
            const auto& second = *pSecond;
            if (SamePoint(first[0], second[0]) && SamePoint(first[2], second[1])) {
                Quads.push_back({first[0], first[1], first[2], second[2]});
                ++i;
                continue;
            }
            if (SamePoint(first[1], second[0]) && SamePoint(first[2], second[2])) {
                Quads.push_back({first[0], first[1], second[1], first[2]});
                ++i;
                continue;
            }
        }
        Quads.push_back(first);
    }
    return Quads;
}
