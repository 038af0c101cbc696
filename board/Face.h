#pragma once

namespace kov {

// A corner of a face: an index into the caller's corner points and its
// texture coordinate.
struct SFaceCorner {
    int iCorner;
    float fS;
    float fT;
};

// A flat quad with one normal, its corners counter-clockwise seen from the
// side the normal points to.
struct SFace {
    float fNormal[3];
    SFaceCorner Corners[4];
};

// Sends the face as its own GL_QUADS primitive: the normal, then texture
// coordinate and vertex of each corner.
void DrawFace(const SFace& face, const float fPoints[][3]);

}  // namespace kov
