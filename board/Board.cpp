#include "board/Board.h"

#include <cstdio>
#include <cstring>

#include "board/LevelFile.h"

namespace kov {

CBoard::CBoard() : iWidth(0), iHeight(0), fTiltZ(0.0f), fTiltX(0.0f), iStartX(0), iStartY(0), iLoadError(0) {
    std::memset(iField, 0, sizeof(iField));
    std::memset(uiTexture, 0, sizeof(uiTexture));
    LoadLevel(LEVEL_FILE_NAME);
}

bool CBoard::LoadLevel(const char* szFileName) {
    SLevel level;
    const bool bRead = ReadLevelFile(szFileName, &level);
    iWidth = level.iWidth;
    iHeight = level.iHeight;
    std::memcpy(iField, level.iField, sizeof(iField));
    iStartX = level.iStartX;
    iStartY = level.iStartY;
    iLoadError = level.iError;
    const std::string sClamped = DescribeClampedSizes(level);
    if (!sClamped.empty()) {
        std::fprintf(stderr, "kov: %s: %s\n", szFileName, sClamped.c_str());
    }
    return bRead;
}

}  // namespace kov
