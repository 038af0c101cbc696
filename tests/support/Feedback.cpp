#include "support/Feedback.h"

#include <GL/gl.h>

#include <gtest/gtest.h>

namespace {

constexpr int FEEDBACK_CAPACITY = 1 << 22;
constexpr int FLOATS_PER_VERTEX = 3 + 4 + 4;  // GL_3D_COLOR_TEXTURE in RGBA mode

SFeedbackVertex ReadVertex(const std::vector<GLfloat>& Buffer, size_t& i) {
    SFeedbackVertex v{};
    // Viewport 0..2E maps x and y from -E..E; depth 0..1 maps z from E..-E.
    v.x = Buffer[i] - FEEDBACK_EXTENT;
    v.y = Buffer[i + 1] - FEEDBACK_EXTENT;
    v.z = -(2.0f * Buffer[i + 2] - 1.0f) * FEEDBACK_EXTENT;
    v.r = Buffer[i + 3];
    v.g = Buffer[i + 4];
    v.b = Buffer[i + 5];
    v.a = Buffer[i + 6];
    v.s = Buffer[i + 7];
    v.t = Buffer[i + 8];
    i += FLOATS_PER_VERTEX;
    return v;
}

int VerticesOfToken(int iToken) {
    switch (iToken) {
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            return 1;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            return 2;
        default:
            return 0;
    }
}

bool SamePoint(const SFeedbackVertex& a, const SFeedbackVertex& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

}  // namespace

std::vector<SFeedbackPrimitive> CaptureFeedback(const std::function<void()>& fnDraw) {
    std::vector<GLfloat> Buffer(FEEDBACK_CAPACITY);
    GLint iViewport[4];
    glGetIntegerv(GL_VIEWPORT, iViewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-FEEDBACK_EXTENT, FEEDBACK_EXTENT, -FEEDBACK_EXTENT, FEEDBACK_EXTENT, -FEEDBACK_EXTENT, FEEDBACK_EXTENT);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, static_cast<GLsizei>(2 * FEEDBACK_EXTENT), static_cast<GLsizei>(2 * FEEDBACK_EXTENT));

    glFeedbackBuffer(FEEDBACK_CAPACITY, GL_3D_COLOR_TEXTURE, Buffer.data());
    glRenderMode(GL_FEEDBACK);
    fnDraw();
    const GLint iCount = glRenderMode(GL_RENDER);

    glViewport(iViewport[0], iViewport[1], iViewport[2], iViewport[3]);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    EXPECT_GE(iCount, 0) << "feedback buffer overflow";

    std::vector<SFeedbackPrimitive> Primitives;
    size_t i = 0;
    while (i < static_cast<size_t>(iCount)) {
        SFeedbackPrimitive primitive;
        primitive.iToken = static_cast<int>(Buffer[i++]);
        int iVertices = VerticesOfToken(primitive.iToken);
        if (primitive.iToken == GL_POLYGON_TOKEN) {
            iVertices = static_cast<int>(Buffer[i++]);
        } else if (primitive.iToken == GL_PASS_THROUGH_TOKEN) {
            ++i;
        }
        for (int v = 0; v < iVertices; ++v) {
            primitive.Vertices.push_back(ReadVertex(Buffer, i));
        }
        Primitives.push_back(primitive);
    }
    return Primitives;
}

std::vector<std::vector<SFeedbackVertex>> CapturedQuads(const std::vector<SFeedbackPrimitive>& Primitives) {
    std::vector<std::vector<SFeedbackVertex>> Quads;
    for (size_t i = 0; i < Primitives.size(); ++i) {
        const auto& first = Primitives[i].Vertices;
        if (Primitives[i].iToken != GL_POLYGON_TOKEN) {
            continue;
        }
        // A quad split as (v0 v1 v3)(v1 v2 v3) or (v0 v1 v2)(v0 v2 v3).
        if (first.size() == 3 && i + 1 < Primitives.size() && Primitives[i + 1].iToken == GL_POLYGON_TOKEN &&
            Primitives[i + 1].Vertices.size() == 3) {
            const auto& second = Primitives[i + 1].Vertices;
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
