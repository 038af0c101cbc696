#include "board/Box.h"

namespace kov {

CBox::CBox() : iWidth(10), iHeight(10), uiTexture(0) {}

// PLACEHOLDER: the box drawing is being written.
bool CBox::Draw() {
    return ISceneNode::Draw();
}

}  // namespace kov
