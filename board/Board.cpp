#include "board/Board.h"

#include <cstring>

namespace kov {

CBoard::CBoard() : iWidth(0), iHeight(0), fTiltZ(0.0f), fTiltX(0.0f), iStartX(0), iStartY(0), iLoadError(0) {
    std::memset(iField, 0, sizeof(iField));
    std::memset(uiTexture, 0, sizeof(uiTexture));
    LoadLevel(LEVEL_FILE_NAME);
}

// PLACEHOLDER: the level reader is being written.
bool CBoard::LoadLevel(const char*) {
    return true;
}

}  // namespace kov
