#pragma once

#include <GL/gl.h>

#include <functional>
#include <vector>

#include "platform/Clock.h"

// The GL test program opens the game's window once, before the first test;
// its context is current in every test.

GLint GetInteger(GLenum eName);
std::vector<GLubyte> ReadWindow();  // the back buffer's RGB, bottom row first
void ExpectNear(const std::vector<float>& Actual, const std::vector<float>& Expected, float fTolerance = 1e-4f);

// A millisecond clock that stands still until the test moves it.
class CManualClock : public IClockSource {
public:
    bool QueryFrequency(int64_t*) const override { return false; }
    int64_t QueryCounter() const override { return 0; }
    uint32_t GetTimeMs() const override { return dwTimeMs; }
    uint32_t dwTimeMs = 1000;
};

// The points fnDraw sends, in drawing order, from feedback mode under an
// orthographic view of +-100 on every axis: the coordinates the modelview
// matrix put out. The projection and viewport are restored afterwards.
std::vector<std::vector<float>> CapturePoints(const std::function<void()>& fnDraw);
