#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "board/LevelFile.h"

namespace {

bool IsTileCode(int iTile) {
    return iTile == TILE_WOOD || iTile == TILE_WALL || iTile == TILE_HOLE || iTile == TILE_GOAL || iTile == TILE_SAVE;
}

// What the board drawing and the ball rules rely on after any load.
bool IsSound(const SLevel& level) {
    if (level.iWidth < 0 || level.iWidth > BOARD_MAX_SIZE || level.iHeight < 0 || level.iHeight > BOARD_MAX_SIZE) {
        return false;
    }
    const bool bStartInside = level.iStartX < level.iWidth && level.iStartY < level.iHeight;
    if (level.iStartCount > 0 && (!bStartInside || level.iField[level.iStartX][level.iStartY] != TILE_SAVE)) {
        return false;
    }
    if (level.iStartCount == 0 && (level.iStartX != 0 || level.iStartY != 0)) {
        return false;
    }
    for (int x = 0; x < BOARD_MAX_SIZE; ++x) {
        for (int y = 0; y < BOARD_MAX_SIZE; ++y) {
            const bool bInside = x < level.iWidth && y < level.iHeight;
            if (!IsTileCode(level.iField[x][y]) || (!bInside && level.iField[x][y] != TILE_WOOD)) {
                return false;
            }
        }
    }
    return level.iRowLines <= level.iHeight;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uSize) {
    static SLevel s_Level;
    ParseLevel(reinterpret_cast<const char*>(pData), uSize, &s_Level);
    if (!IsSound(s_Level)) {
        std::abort();
    }
    IsGoalReachable(s_Level);
    DescribeClampedSizes(s_Level);
    return 0;
}
