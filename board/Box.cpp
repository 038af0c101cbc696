#include "board/Box.h"

#include "app/Settings.h"
#include "board/Face.h"
#include "scene/ViewVolume.h"

namespace kov {

namespace {

// Twelve corners: B outer bottom, U outer top, I inner top (over the field's border).
enum { B0, B1, B2, B3, U0, U1, U2, U3, I0, I1, I2, I3, BOX_CORNER_COUNT };

// In drawing order. The rims repeat the wood five times along and a tenth
// across; the inner walls lean out by one rim from the bottom edge up to the
// rim. The -z inner wall's normal agrees with its corners, which wind facing
// out of the box: seen from inside it is a back face, and two-sided lighting
// lights it with the normal turned into the box, like its sisters.
const SFace BOX_FACES[] = {
    {{0, 1, 0}, {{B0, 0.0f, 0.5f}, {B1, 0.0f, 0.0f}, {B2, 0.5f, 0.0f}, {B3, 0.5f, 0.5f}}},   // bottom plate
    {{-1, 0, 0}, {{B0, 1.0f, 0.0f}, {B1, 0.0f, 0.0f}, {U1, 0.0f, 1.0f}, {U0, 1.0f, 1.0f}}},  // outer wall -x
    {{1, 0, 0}, {{B2, 1.0f, 0.0f}, {B3, 0.0f, 0.0f}, {U3, 0.0f, 1.0f}, {U2, 1.0f, 1.0f}}},   // outer wall +x
    {{0, 0, -1}, {{B3, 1.0f, 0.0f}, {B0, 0.0f, 0.0f}, {U0, 0.0f, 1.0f}, {U3, 1.0f, 1.0f}}},  // outer wall -z
    {{0, 0, 1}, {{B1, 1.0f, 0.0f}, {B2, 0.0f, 0.0f}, {U2, 0.0f, 1.0f}, {U1, 1.0f, 1.0f}}},   // outer wall +z
    {{0, 1, 0}, {{U0, 0.0f, 0.0f}, {U1, 0.0f, 5.0f}, {I1, 0.1f, 5.0f}, {I0, 0.1f, 0.0f}}},   // rim -x
    {{1, 0, 0}, {{B0, 0.0f, 0.0f}, {B1, 0.0f, 5.0f}, {I1, 0.5f, 5.0f}, {I0, 0.5f, 0.0f}}},   // inner wall -x
    {{0, 1, 0}, {{U3, 0.0f, 0.0f}, {U2, 0.0f, 5.0f}, {I2, 0.1f, 5.0f}, {I3, 0.1f, 0.0f}}},   // rim +x
    {{-1, 0, 0}, {{B3, 0.0f, 0.0f}, {B2, 0.0f, 5.0f}, {I2, 0.5f, 5.0f}, {I3, 0.5f, 0.0f}}},  // inner wall +x
    {{0, 1, 0}, {{U1, 0.0f, 0.0f}, {U2, 0.0f, 5.0f}, {I2, 0.1f, 5.0f}, {I1, 0.1f, 0.0f}}},   // rim +z
    {{0, 0, 1}, {{B1, 0.0f, 0.0f}, {B2, 0.0f, 5.0f}, {I2, 0.5f, 5.0f}, {I1, 0.5f, 0.0f}}},   // inner wall +z
    {{0, 1, 0}, {{U3, 0.0f, 0.0f}, {U0, 0.0f, 5.0f}, {I0, 0.1f, 5.0f}, {I3, 0.1f, 0.0f}}},   // rim -z
    {{0, 0, -1}, {{B3, 0.0f, 0.0f}, {B0, 0.0f, 5.0f}, {I0, 0.5f, 5.0f}, {I3, 0.5f, 0.0f}}},  // inner wall -z
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

void DrawFaces(GLuint uiTexture, const float fCorner[BOX_CORNER_COUNT][3], bool bReverse) {
    glBindTexture(GL_TEXTURE_2D, uiTexture);
    constexpr int FACE_COUNT = sizeof(BOX_FACES) / sizeof(BOX_FACES[0]);
    for (int i = 0; i < FACE_COUNT; ++i) {
        DrawFace(BOX_FACES[bReverse ? FACE_COUNT - 1 - i : i], fCorner);
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
    if (!GetSettings().bDepthTest || !CViewVolume().IsBoxBeforeFar(fCorner[B0], fCorner[U2])) {
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
    DrawFaces(uiTexture, fCorner, true);
    glDepthFunc(GL_LESS);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(iLastTexture));
    return bResult;
}

}  // namespace kov
