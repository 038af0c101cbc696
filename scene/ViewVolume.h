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

    // True when the plane y = 0 shows its upper side: the eye, or in an
    // orthographic view the direction it looks from, lies above it.
    bool IsFloorSeenFromAbove() const;

    // True when point a lies nearer the eye than point b, along the view.
    bool IsNearer(const float fA[3], const float fB[3]) const;

    float fClip[16];  // projection x modelview, column-major
};
