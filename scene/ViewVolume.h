#pragma once

// The view volume of the current projection and modelview matrices, for
// leaving out geometry that cannot reach the window.
class CViewVolume {
public:
    // Reads both matrices as they stand now.
    CViewVolume();

    // True when the axis-aligned box (in the current modelview's input
    // coordinates) lies wholly outside one plane of the view volume.
    bool IsBoxOutside(const float fMin[3], const float fMax[3]) const;

    // True when every point of the box lies short of the far plane by a margin,
    // so that no fragment of it gets the depth the buffer is cleared to.
    bool IsBoxBeforeFar(const float fMin[3], const float fMax[3]) const;

    // True when every point of the box lies beyond the near plane, so that
    // none of it is cut away there.
    bool IsBoxBeyondNear(const float fMin[3], const float fMax[3]) const;

    // True when the plane y = fHeight shows its upper side: the eye, or in an
    // orthographic view the direction it looks from, lies above it.
    bool IsPlaneSeenFromAbove(float fHeight) const;

    // The point's window position in the viewport (x, y, width, height); false
    // when it lies at or behind the eye.
    bool ToWindow(const float fPoint[3], const int iViewport[4], float fWindow[2]) const;

    // True when point a lies nearer the eye than point b, along the view.
    bool IsNearer(const float fA[3], const float fB[3]) const;

    float fClip[16];  // projection x modelview, column-major
};
