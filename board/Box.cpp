#include "board/Box.h"

#include <algorithm>
#include <cmath>

#include "app/Settings.h"
#include "board/Face.h"
#include "scene/ViewVolume.h"

namespace kov {

namespace {

// Twelve corners: B outer bottom, U outer top, I inner top (over the field's border).
enum { B0, B1, B2, B3, U0, U1, U2, U3, I0, I1, I2, I3, BOX_CORNER_COUNT };

// In drawing order. The rims repeat the wood five times along and a tenth
// across; the inner walls lean out by one rim from the bottom edge up to the
// rim. The faces seen from inside the box wind facing into it, the rims
// upwards, so that two-sided lighting finds them front faces and lights them
// with their own normals, as one-sided lighting does.
const SFace BOX_FACES[] = {
    {{0, 1, 0}, {{B0, 0.0f, 0.5f}, {B1, 0.0f, 0.0f}, {B2, 0.5f, 0.0f}, {B3, 0.5f, 0.5f}}},   // bottom plate
    {{-1, 0, 0}, {{B0, 1.0f, 0.0f}, {B1, 0.0f, 0.0f}, {U1, 0.0f, 1.0f}, {U0, 1.0f, 1.0f}}},  // outer wall -x
    {{1, 0, 0}, {{B2, 1.0f, 0.0f}, {B3, 0.0f, 0.0f}, {U3, 0.0f, 1.0f}, {U2, 1.0f, 1.0f}}},   // outer wall +x
    {{0, 0, -1}, {{B3, 1.0f, 0.0f}, {B0, 0.0f, 0.0f}, {U0, 0.0f, 1.0f}, {U3, 1.0f, 1.0f}}},  // outer wall -z
    {{0, 0, 1}, {{B1, 1.0f, 0.0f}, {B2, 0.0f, 0.0f}, {U2, 0.0f, 1.0f}, {U1, 1.0f, 1.0f}}},   // outer wall +z
    {{0, 1, 0}, {{U0, 0.0f, 0.0f}, {U1, 0.0f, 5.0f}, {I1, 0.1f, 5.0f}, {I0, 0.1f, 0.0f}}},   // rim -x
    {{1, 0, 0}, {{B0, 0.0f, 0.0f}, {I0, 0.5f, 0.0f}, {I1, 0.5f, 5.0f}, {B1, 0.0f, 5.0f}}},   // inner wall -x
    {{0, 1, 0}, {{U3, 0.0f, 0.0f}, {I3, 0.1f, 0.0f}, {I2, 0.1f, 5.0f}, {U2, 0.0f, 5.0f}}},   // rim +x
    {{-1, 0, 0}, {{B3, 0.0f, 0.0f}, {B2, 0.0f, 5.0f}, {I2, 0.5f, 5.0f}, {I3, 0.5f, 0.0f}}},  // inner wall +x
    {{0, 1, 0}, {{U1, 0.0f, 0.0f}, {U2, 0.0f, 5.0f}, {I2, 0.1f, 5.0f}, {I1, 0.1f, 0.0f}}},   // rim +z
    {{0, 0, -1}, {{B1, 0.0f, 0.0f}, {I1, 0.5f, 0.0f}, {I2, 0.5f, 5.0f}, {B2, 0.0f, 5.0f}}},  // inner wall +z
    {{0, 1, 0}, {{U3, 0.0f, 0.0f}, {U0, 0.0f, 5.0f}, {I0, 0.1f, 5.0f}, {I3, 0.1f, 0.0f}}},   // rim -z
    {{0, 0, 1}, {{B3, 0.0f, 0.0f}, {I3, 0.5f, 0.0f}, {I0, 0.5f, 5.0f}, {B0, 0.0f, 5.0f}}},   // inner wall -z
};

void SetCorner(float* pCorner, float fX, float fY, float fZ) {
    pCorner[0] = fX;
    pCorner[1] = fY;
    pCorner[2] = fZ;
}

// The box's corners for a W x H field, centred like the board.
void FillBoxCorners(int iWidth, int iHeight, float fCorner[BOX_CORNER_COUNT][3]) {
    const float fW = static_cast<float>(iWidth);
    const float fH = static_cast<float>(iHeight);
    // The rim follows the width on all four sides.
    const float fRim = 0.02f * fW;
    const float fBottom = -0.05f * fW - 0.5f;
    const float fTop = 0.04f * fW;
    const float fOuter[4][2] = {{-fRim, -fRim}, {-fRim, fH + fRim}, {fW + fRim, fH + fRim}, {fW + fRim, -fRim}};
    const float fInner[4][2] = {{0.0f, 0.0f}, {0.0f, fH}, {fW, fH}, {fW, 0.0f}};
    const float fHalfW = fW * 0.5f;
    const float fHalfH = fH * 0.5f;
    for (int i = 0; i < 4; ++i) {
        SetCorner(fCorner[B0 + i], fOuter[i][0] - fHalfW, fBottom, fOuter[i][1] - fHalfH);
        SetCorner(fCorner[U0 + i], fOuter[i][0] - fHalfW, fTop, fOuter[i][1] - fHalfH);
        SetCorner(fCorner[I0 + i], fInner[i][0] - fHalfW, fTop, fInner[i][1] - fHalfH);
    }
}

// Input keeps the board's tilt within 2 degrees: its highest point, a wall
// top at a corner, lies at most this sine of it times half the sizes above 1.
constexpr float TILT_SINE = 0.035f;
// Of the bottom plate, the part half a cell inside the field's border lies
// under the board however it tilts, even on the largest level: the board's
// edges move inwards by a small part of that.
constexpr float UNDER_BOARD_INSET = 0.5f;

// The left and right ends of the convex quad's extent along the window row fY.
void RowExtent(const float fQuad[4][2], float fY, float* pfLeft, float* pfRight) {
    *pfLeft = 1e30f;
    *pfRight = -1e30f;
    for (int i = 0; i < 4; ++i) {
        const float* a = fQuad[i];
        const float* b = fQuad[(i + 1) % 4];
        if ((a[1] - fY) * (b[1] - fY) <= 0.0f && a[1] != b[1]) {
            const float fX = a[0] + (b[0] - a[0]) * (fY - a[1]) / (b[1] - a[1]);
            *pfLeft = std::min(*pfLeft, fX);
            *pfRight = std::max(*pfRight, fX);
        }
    }
}

// The viewport (x, y, width, height) and, within it, the window rectangle of
// pixels x0, y0, x1, y1 (ends excluded) that the bottom plate need not fill.
struct SPlateGap {
    GLint iViewport[4];
    int iRect[4];
};

// The gap where the window shows only the part of the bottom plate under the
// board. Seen from above the board's highest point, with none of the board cut
// away by the near plane, every ray to that part passes the board's surface,
// which covers the whole field: there the plate would only fail the depth
// test. False when there is no such rectangle.
bool FindPlateUnderBoard(const CViewVolume& view, int iWidth, int iHeight, const float fCorner[BOX_CORNER_COUNT][3],
                         SPlateGap* pGap) {
    const float fHighest = 1.0f + TILT_SINE * static_cast<float>(iWidth + iHeight) * 0.5f;
    const float fBoxMax[3] = {fCorner[U2][0], fHighest, fCorner[U2][2]};
    const float fX = static_cast<float>(iWidth) * 0.5f - UNDER_BOARD_INSET;
    const float fZ = static_cast<float>(iHeight) * 0.5f - UNDER_BOARD_INSET;
    if (fX <= 0.0f || fZ <= 0.0f || !view.IsPlaneSeenFromAbove(fHighest) ||
        !view.IsBoxBeyondNear(fCorner[B0], fBoxMax)) {
        return false;
    }
    glGetIntegerv(GL_VIEWPORT, pGap->iViewport);
    const float fBottom = fCorner[B0][1];
    const float SIGNS[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
    float fQuad[4][2];
    float fRows[4];
    for (int i = 0; i < 4; ++i) {
        const float fPoint[3] = {SIGNS[i][0] * fX, fBottom, SIGNS[i][1] * fZ};
        if (!view.ToWindow(fPoint, pGap->iViewport, fQuad[i])) {
            return false;
        }
        fRows[i] = fQuad[i][1];
    }
    // Between the second lowest and the second highest corner the extent
    // narrows towards one end at most: the ends' overlap holds all rows'.
    std::sort(fRows, fRows + 4);
    float fLeft[2], fRight[2];
    RowExtent(fQuad, fRows[1], &fLeft[0], &fRight[0]);
    RowExtent(fQuad, fRows[2], &fLeft[1], &fRight[1]);
    // A pixel counts when its centre is inside; one more pixel spares rounding.
    int* iRect = pGap->iRect;
    iRect[0] = static_cast<int>(std::ceil(std::max(fLeft[0], fLeft[1]))) + 1;
    iRect[1] = static_cast<int>(std::ceil(fRows[1])) + 1;
    iRect[2] = static_cast<int>(std::floor(std::min(fRight[0], fRight[1]))) - 1;
    iRect[3] = static_cast<int>(std::floor(fRows[2])) - 1;
    return iRect[0] < iRect[2] && iRect[1] < iRect[3];
}

// The face in the viewport but for the gap, through four scissor bands.
void DrawFaceAround(const SFace& face, const float fCorner[BOX_CORNER_COUNT][3], const SPlateGap& gap) {
    const GLint* v = gap.iViewport;
    const int* r = gap.iRect;
    const int BANDS[4][4] = {{v[0], v[1], v[0] + v[2], r[1]},
                             {v[0], r[3], v[0] + v[2], v[1] + v[3]},
                             {v[0], r[1], r[0], r[3]},
                             {r[2], r[1], v[0] + v[2], r[3]}};
    glEnable(GL_SCISSOR_TEST);
    for (const auto& band : BANDS) {
        if (band[0] < band[2] && band[1] < band[3]) {
            glScissor(band[0], band[1], band[2] - band[0], band[3] - band[1]);
            DrawFace(face, fCorner);
        }
    }
    glDisable(GL_SCISSOR_TEST);
}

// All faces, the bottom plate but for pGap when there is one.
void DrawFaces(GLuint uiTexture, const float fCorner[BOX_CORNER_COUNT][3], bool bReverse,
               const SPlateGap* pGap = nullptr) {
    glBindTexture(GL_TEXTURE_2D, uiTexture);
    constexpr int FACE_COUNT = sizeof(BOX_FACES) / sizeof(BOX_FACES[0]);
    for (int i = 0; i < FACE_COUNT; ++i) {
        const int iFace = bReverse ? FACE_COUNT - 1 - i : i;
        if (iFace == 0 && pGap != nullptr) {
            DrawFaceAround(BOX_FACES[iFace], fCorner, *pGap);
        } else {
            DrawFace(BOX_FACES[iFace], fCorner);
        }
    }
}

}  // namespace

CBox::CBox() : iWidth(10), iHeight(10), uiTexture(0) {}

bool CBox::Draw() {
    float fCorner[BOX_CORNER_COUNT][3];
    FillBoxCorners(iWidth, iHeight, fCorner);
    // With the frame's depth test on, the board goes first and hides most of
    // the bottom plate and the inner walls before they are shaded. Under
    // GL_LEQUAL the later of two equal depths wins, so the faces drawn after
    // the board and in reverse give the picture that the tree's order gives
    // under GL_LESS, ties included. A face reaching the far plane would pass
    // against the cleared depth as well, so such a box keeps the tree's order.
    const CViewVolume view;  // the children leave the matrices as they found them
    if (!IsNearestShown(GetSettings()) || !view.IsBoxBeforeFar(fCorner[B0], fCorner[U2])) {
        DrawFaces(uiTexture, fCorner, false);
        return ISceneNode::Draw();
    }
    const bool bResult = ISceneNode::Draw();
    // The next frame's stars are drawn with whatever texture the tree's last
    // node left bound.
    GLint iLastTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &iLastTexture);
    ApplyMaterial();
    glDepthFunc(GL_LEQUAL);
    SPlateGap gap;
    const bool bGap = FindPlateUnderBoard(view, iWidth, iHeight, fCorner, &gap);
    DrawFaces(uiTexture, fCorner, true, bGap ? &gap : nullptr);
    glDepthFunc(GL_LESS);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(iLastTexture));
    return bResult;
}

}  // namespace kov
