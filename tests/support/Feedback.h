#pragma once

#include <functional>
#include <vector>

// One vertex as OpenGL's feedback mode returns it, turned back from window
// coordinates into the coordinates of the modelview matrix's output (eye
// space): with an identity view that is the frame the caller drew in.
struct SFeedbackVertex {
    float x, y, z;
    float r, g, b, a;
    float s, t;
};

struct SFeedbackPrimitive {
    int iToken;  // GL_POLYGON_TOKEN, GL_POINT_TOKEN, GL_LINE_TOKEN, ...
    std::vector<SFeedbackVertex> Vertices;
};

// Half the side of the cube that CaptureFeedback sees; geometry outside is clipped.
constexpr float FEEDBACK_EXTENT = 100.0f;

// Runs fnDraw in feedback mode under an orthographic projection of
// +-FEEDBACK_EXTENT and returns what reached the rasteriser. The modelview
// matrix is whatever the caller left current; projection and viewport are
// restored afterwards.
std::vector<SFeedbackPrimitive> CaptureFeedback(const std::function<void()>& fnDraw);

// The polygons of a capture, with triangle pairs that the driver split from
// one quad joined again, in drawing order.
std::vector<std::vector<SFeedbackVertex>> CapturedQuads(const std::vector<SFeedbackPrimitive>& Primitives);
