#pragma once

#include <GL/gl.h>

#include "scene/SceneNode.h"

namespace kov {

// The wooden box around the board: a bottom plate, four outer walls, a rim and
// four inner walls, sized by the field. It stays level while the board, its
// child, tilts.
class CBox : public ISceneNode {
public:
    CBox();

    bool Draw() override;

    int iWidth;
    int iHeight;
    GLuint uiTexture;
};

}  // namespace kov
