#include "scene/ViewVolume.h"

#include <GL/gl.h>

namespace {

// a x b for column-major 4 x 4 matrices.
void Multiply(const float* a, const float* b, float* pOut) {
    for (int iCol = 0; iCol < 4; ++iCol) {
        for (int iRow = 0; iRow < 4; ++iRow) {
            float fSum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                fSum += a[k * 4 + iRow] * b[iCol * 4 + k];
            }
            pOut[iCol * 4 + iRow] = fSum;
        }
    }
}

// Corner i of an axis-aligned box (bit 0 picks x, bit 1 y, bit 2 z from the
// maximum) in clip coordinates.
void ClipCorner(const float* fClip, int iCorner, const float fMin[3], const float fMax[3], float fC[4]) {
    const float fX = (iCorner & 1) ? fMax[0] : fMin[0];
    const float fY = (iCorner & 2) ? fMax[1] : fMin[1];
    const float fZ = (iCorner & 4) ? fMax[2] : fMin[2];
    for (int iRow = 0; iRow < 4; ++iRow) {
        fC[iRow] = fClip[iRow] * fX + fClip[4 + iRow] * fY + fClip[8 + iRow] * fZ + fClip[12 + iRow];
    }
}

// True when fnHolds(clip coordinates) holds at all eight corners of the box;
// for a condition linear in them it then holds inside as well.
template <typename FHolds>
bool HoldsAtEveryCorner(const float* fClip, const float fMin[3], const float fMax[3], FHolds fnHolds) {
    for (int iCorner = 0; iCorner < 8; ++iCorner) {
        float fC[4];
        ClipCorner(fClip, iCorner, fMin, fMax, fC);
        if (!fnHolds(fC)) {
            return false;
        }
    }
    return true;
}

// How far short of the far plane (in z / w) geometry must stay: the depth it
// gets then lies well below the largest value the depth buffer holds.
constexpr float FAR_MARGIN = 1.0f / 65536.0f;

}  // namespace

CViewVolume::CViewVolume() {
    float fProjection[16];
    float fModelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, fProjection);
    glGetFloatv(GL_MODELVIEW_MATRIX, fModelview);
    Multiply(fProjection, fModelview, fClip);
}

bool CViewVolume::IsBoxOutside(const float fMin[3], const float fMax[3]) const {
    // Bit i of a mask: the corner lies beyond plane i (-x, +x, -y, +y, -z, +z
    // of clip space). A plane that has every corner beyond it hides the box.
    int iOutsideAll = 0x3f;
    for (int iCorner = 0; iCorner < 8; ++iCorner) {
        float fC[4];
        ClipCorner(fClip, iCorner, fMin, fMax, fC);
        const float fW = fC[3];
        const int iOutside = (fC[0] < -fW) | (fC[0] > fW) << 1 | (fC[1] < -fW) << 2 | (fC[1] > fW) << 3 |
                             (fC[2] < -fW) << 4 | (fC[2] > fW) << 5;
        iOutsideAll &= iOutside;
        if (iOutsideAll == 0) {
            return false;
        }
    }
    return true;
}

bool CViewVolume::IsBoxBeforeFar(const float fMin[3], const float fMax[3]) const {
    // z - (1 - margin) w is linear in the clip coordinates.
    return HoldsAtEveryCorner(fClip, fMin, fMax,
                              [](const float* fC) { return !(fC[2] >= fC[3] * (1.0f - FAR_MARGIN)); });
}

bool CViewVolume::IsBoxBeyondNear(const float fMin[3], const float fMax[3]) const {
    return HoldsAtEveryCorner(fClip, fMin, fMax, [](const float* fC) { return fC[2] > -fC[3]; });
}

bool CViewVolume::IsPlaneSeenFromAbove(float fHeight) const {
    // A point (x, h, z) of the plane reaches the window at (X / W, Y / W),
    // where (X, Y, W) = A (x, z, 1) and A holds the clip matrix's x, y and w
    // rows over its x and z columns and the column of the point (0, h, 0).
    // That map's Jacobian, det A / W^3, has one sign wherever the plane lies
    // before the eye (W > 0): the winding a shape on the plane shows,
    // negative for its upper side.
    const float* c = fClip;
    const float t[4] = {c[12] + fHeight * c[4], c[13] + fHeight * c[5], 0.0f, c[15] + fHeight * c[7]};
    const float fDet = c[0] * (c[9] * t[3] - t[1] * c[11]) - c[8] * (c[1] * t[3] - t[1] * c[3]) +
                       t[0] * (c[1] * c[11] - c[9] * c[3]);
    return fDet < 0.0f;
}

bool CViewVolume::ToWindow(const float fPoint[3], const int iViewport[4], float fWindow[2]) const {
    float fC[4];
    ClipCorner(fClip, 0, fPoint, fPoint, fC);
    if (!(fC[3] > 0.0f)) {
        return false;
    }
    fWindow[0] = static_cast<float>(iViewport[0]) + (fC[0] / fC[3] + 1.0f) * 0.5f * static_cast<float>(iViewport[2]);
    fWindow[1] = static_cast<float>(iViewport[1]) + (fC[1] / fC[3] + 1.0f) * 0.5f * static_cast<float>(iViewport[3]);
    return true;
}

bool CViewVolume::IsNearer(const float fA[3], const float fB[3]) const {
    // Clip z grows with the distance from the eye in either projection.
    float fClipA[4], fClipB[4];
    ClipCorner(fClip, 0, fA, fA, fClipA);
    ClipCorner(fClip, 0, fB, fB, fClipB);
    return fClipA[2] < fClipB[2];
}
