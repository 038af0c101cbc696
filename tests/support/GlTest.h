#pragma once

#include <GL/gl.h>

#include <functional>
#include <vector>

#include "platform/Clock.h"

// The GL test program opens the game's window once, before the first test;
// its context is current in every test.

GLint GetInteger(GLenum eName);
std::vector<GLubyte> ReadWindow();  // the back buffer's RGB, bottom row first

// A millisecond clock that stands still until the test moves it.
class CManualClock : public IClockSource {
public:
    bool QueryFrequency(int64_t*) const override { return false; }
    int64_t QueryCounter() const override { return 0; }
    uint32_t GetTimeMs() const override { return dwTimeMs; }
    uint32_t dwTimeMs = 1000;
};

// A vertex as feedback mode returns it, turned back into the coordinates the
// modelview matrix put out: with an identity modelview, the drawing's own.
struct SFeedbackVertex {
    float x, y, z, r, g, b, a, s, t;
};

struct SFeedbackPrimitive {
    int iToken;  // GL_POINT_TOKEN or GL_POLYGON_TOKEN
    std::vector<SFeedbackVertex> Vertices;
};

// What fnDraw sends to the rasteriser under an orthographic view of +-100 on
// every axis; the projection and viewport are restored afterwards.
std::vector<SFeedbackPrimitive> CaptureFeedback(const std::function<void()>& fnDraw);

// The polygons of a capture in drawing order, each quad that the driver split
// into two triangles joined again.
std::vector<std::vector<SFeedbackVertex>> CapturedQuads(const std::vector<SFeedbackPrimitive>& Primitives);
