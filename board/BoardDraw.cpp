#include "board/Board.h"

namespace kov {

// PLACEHOLDER: the board drawing is being written.
bool CBoard::Draw() {
    return ISceneNode::Draw();
}

}  // namespace kov
