#include "board/Face.h"

#include <GL/gl.h>

namespace kov {

void DrawFace(const SFace& face, const float fPoints[][3]) {
    glBegin(GL_QUADS);
    glNormal3f(face.fNormal[0], face.fNormal[1], face.fNormal[2]);
    for (const SFaceCorner& corner : face.Corners) {
        glTexCoord2f(corner.fS, corner.fT);
        glVertex3fv(fPoints[corner.iCorner]);
    }
    glEnd();
}

}  // namespace kov
