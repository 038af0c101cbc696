#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "app/Globals.h"
#include "ball/BallMotion.h"

namespace {

constexpr double PI = 3.141592653589793;

// A step of 0.1 s moves the ball by half its velocity (v * 0.5 * 0.01 * 100).
constexpr double STEP = 0.1;

// An open board of the given size with the ball resting on cell (10, 10) of a
// 20 x 20 field and a radius of 0.475, as the game sets it up.
void UseBoard(int iWidth, int iHeight) {
    std::memset(g_Board.iField, 0, sizeof(g_Board.iField));
    g_Board.iWidth = iWidth;
    g_Board.iHeight = iHeight;
    g_Board.fTiltZ = 0.0f;
    g_Board.fTiltX = 0.0f;
    g_Board.iStartX = 0;
    g_Board.iStartY = 0;
    g_Ball.iWidth = iWidth;
    g_Ball.iHeight = iHeight;
    g_Ball.fRadius = 0.475f;
    g_Ball.dVelocityX = 0.0;
    g_Ball.dVelocityZ = 0.0;
    g_Ball.SetPosition(0.5f, 0.5f, 0.5f);
    SetVector(&g_Ball.vRotation, 0.0f, 0.0f, 0.0f);
}

// Puts the ball at (x, z) with the velocity that carries it by (dx, dz) in one STEP.
void Launch(float x, float z, double dx, double dz) {
    g_Ball.SetPosition(x, 0.5f, z);
    g_Ball.dVelocityX = dx * 2.0;
    g_Ball.dVelocityZ = dz * 2.0;
}

class BallMotion : public testing::Test {
protected:
    void SetUp() override { UseBoard(20, 20); }
};

double TiltAcceleration(float fTiltDegrees) {
    return 2.943 * std::sin(fTiltDegrees * PI / 180.0);
}

}  // namespace

TEST_F(BallMotion, OneTiltedStepFromRest) {
    g_Board.fTiltZ = 2.0f;
    UpdateBall(0.02);
    EXPECT_NEAR(g_Ball.dVelocityX, -0.1027, 5e-5);
    EXPECT_NEAR(g_Ball.dVelocityX, -TiltAcceleration(2.0f), 1e-12);
    EXPECT_NEAR(g_Ball.vPosition.x - 0.5f, -0.00205, 5e-6);
    EXPECT_EQ(g_Ball.vPosition.z, 0.5f);
    EXPECT_EQ(g_Ball.vPosition.y, 0.5f);
    EXPECT_NEAR(g_Ball.dVelocityZ, 0.0, 1e-15);
}

TEST_F(BallMotion, TiltAboutXLowersThePositiveZSide) {
    g_Board.fTiltX = 2.0f;
    UpdateBall(0.02);
    EXPECT_NEAR(g_Ball.dVelocityZ, TiltAcceleration(2.0f), 1e-12);
    EXPECT_GT(g_Ball.vPosition.z, 0.5f);
    EXPECT_EQ(g_Ball.vPosition.x, 0.5f);
}

TEST_F(BallMotion, OneSecondAtSixtyFramesPerSecond) {
    g_Board.fTiltZ = 2.0f;
    const double dTime = 1.0 / 60.0;
    for (int i = 0; i < 60; ++i) {
        UpdateBall(dTime);
    }
    EXPECT_NEAR(-50.0 * g_Ball.dVelocityX * dTime, 5.14, 0.005);  // units per second
    EXPECT_NEAR(0.5f - g_Ball.vPosition.x, 2.61, 0.005);
}

TEST_F(BallMotion, LevelBoardKeepsARestingBallAtRest) {
    for (int i = 0; i < 1000; ++i) {
        UpdateBall(0.02);
    }
    EXPECT_EQ(g_Ball.vPosition.x, 0.5f);
    EXPECT_EQ(g_Ball.vPosition.z, 0.5f);
    EXPECT_LT(std::fabs(g_Ball.dVelocityX), 1e-12);
    EXPECT_LT(std::fabs(g_Ball.dVelocityZ), 1e-12);
    EXPECT_EQ(g_Ball.vRotation.z, 0.0f);
}

TEST_F(BallMotion, ZeroTimeChangesTheVelocityButMovesNothing) {
    g_Board.fTiltZ = -1.5f;
    g_Board.fTiltX = 1.0f;
    SetVector(&g_Ball.vRotation, 7.0f, 8.0f, 9.0f);
    UpdateBall(0.0);
    EXPECT_NEAR(g_Ball.dVelocityX, TiltAcceleration(1.5f), 1e-12);
    EXPECT_NEAR(g_Ball.dVelocityZ, TiltAcceleration(1.0f), 1e-12);
    EXPECT_EQ(g_Ball.vPosition.x, 0.5f);
    EXPECT_EQ(g_Ball.vPosition.z, 0.5f);
    EXPECT_EQ(g_Ball.vRotation.x, 7.0f);  // the step ended before the rolling
    EXPECT_EQ(g_Ball.vRotation.z, 9.0f);
}

TEST_F(BallMotion, MovesBelowTheSmallestStepAreDropped) {
    g_Ball.SetPosition(0.0f, 0.5f, 0.5f);
    g_Ball.dVelocityX = 2e-11;  // a move of 1e-11
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, 0.0f);

    g_Ball.dVelocityX = 4e-10;  // a move of 2e-10 is carried out
    UpdateBall(STEP);
    EXPECT_NEAR(g_Ball.vPosition.x, 2e-10f, 1e-15f);
}

TEST_F(BallMotion, FrameTimeIsNeitherClampedNorSubdivided) {
    g_Ball.dVelocityX = 0.01;
    UpdateBall(2.0);  // 0.01 * 0.5 * 4 * 100 = 2 units in one step
    EXPECT_NEAR(g_Ball.vPosition.x, 2.5f, 1e-5f);
}

TEST_F(BallMotion, RimStopsTheBallOnEverySide) {
    struct SCase {
        float x, z;
        double dx, dz;
        float fExpectX, fExpectZ;
    };
    // The rim lies half a unit inside the field's edge at +-10.
    const SCase CASES[] = {
        {-9.4f, 0.5f, -0.5, 0.0, -9.5f, 0.5f},
        {9.4f, 0.5f, 0.5, 0.0, 9.5f, 0.5f},
        {0.5f, -9.4f, 0.0, -0.5, 0.5f, -9.5f},
        {0.5f, 9.4f, 0.0, 0.5, 0.5f, 9.5f},
    };
    for (const SCase& c : CASES) {
        UseBoard(20, 20);
        Launch(c.x, c.z, c.dx, c.dz);
        UpdateBall(STEP);
        EXPECT_EQ(g_Ball.vPosition.x, c.fExpectX) << c.x << ", " << c.z;
        EXPECT_EQ(g_Ball.vPosition.z, c.fExpectZ) << c.x << ", " << c.z;
        EXPECT_NEAR(g_Ball.dVelocityX, c.dx * 2.0 * -0.25, 1e-12);
        EXPECT_NEAR(g_Ball.dVelocityZ, c.dz * 2.0 * -0.25, 1e-12);
    }
}

TEST_F(BallMotion, ReachingTheRimExactlyIsNoBounce) {
    Launch(-9.0f, 0.5f, -0.5, 0.0);
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, -9.5f);
    EXPECT_NEAR(g_Ball.dVelocityX, -1.0, 1e-12);
}

TEST_F(BallMotion, RimUsesTheBallsCopyOfTheSize) {
    g_Ball.iWidth = 10;
    Launch(-4.0f, 0.5f, -1.0, 0.0);
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, -4.5f);
}

TEST_F(BallMotion, AdvanceTestsTheLowRimBeforeTheHighOne) {
    // With no size both rims apply: the high one is tested last and wins.
    g_Ball.iWidth = 0;
    g_Ball.dVelocityX = -1.0;
    const CVector3 vRes = g_Ball.Advance(0.0f, 0.0f, STEP);
    EXPECT_EQ(vRes.x, -0.5f);
    EXPECT_NEAR(g_Ball.dVelocityX, -0.0625, 1e-12);
    EXPECT_EQ(g_Ball.vPosition.x, 0.5f);  // Advance leaves the position alone
}

TEST_F(BallMotion, WorkedWallContact) {
    g_Board.iField[12][10] = TILE_WALL;  // x 2 to 3, z 0 to 1
    g_Ball.SetPosition(1.4f, 0.5f, 0.5f);

    CVector3 vDest;
    SetVector(&vDest, 1.6f, 0.5f, 0.5f);
    CVector2 vIP;
    ASSERT_TRUE(CollideWithWalls(vDest, &vIP));
    EXPECT_EQ(vIP.x, 2.0f);
    EXPECT_EQ(vIP.y, 0.5f);

    Launch(1.4f, 0.5f, 0.2, 0.0);
    UpdateBall(STEP);
    EXPECT_NEAR(g_Ball.vPosition.x, 1.5155f, 1e-6f);
    EXPECT_EQ(g_Ball.vPosition.z, 0.5f);
    EXPECT_NEAR(g_Ball.dVelocityX, -0.1, 1e-12);
    EXPECT_NEAR(g_Ball.vRotation.z, -238.05f, 0.005f);
    EXPECT_NEAR(g_Ball.vRotation.z, -g_Ball.vPosition.x * PI * 50.0, 1e-4);
    EXPECT_NEAR(g_Ball.vRotation.x, 78.54f, 0.005f);
}

TEST_F(BallMotion, WallResponseTurnsTheComponentThatHitIt) {
    g_Board.iField[12][10] = TILE_WALL;
    // Mostly along x: x turns and keeps a quarter, z keeps 95 %.
    Launch(1.4f, 0.5f, 0.2, 0.01);
    UpdateBall(STEP);
    EXPECT_NEAR(g_Ball.dVelocityX, -0.25 * 0.4, 1e-12);
    EXPECT_NEAR(g_Ball.dVelocityZ, 0.95 * 0.02, 1e-12);

    // Mostly along z, into the low-z face: the other way round.
    UseBoard(20, 20);
    g_Board.iField[12][10] = TILE_WALL;
    Launch(2.5f, -0.6f, 0.01, 0.2);
    UpdateBall(STEP);
    EXPECT_NEAR(g_Ball.dVelocityZ, -0.25 * 0.4, 1e-12);
    EXPECT_NEAR(g_Ball.dVelocityX, 0.95 * 0.02, 1e-12);
    EXPECT_NEAR(g_Ball.vPosition.z, -0.4845f, 1e-3f);
}

TEST_F(BallMotion, EqualNormalComponentsCountAsAZContact) {
    // Coming diagonally at the wall's corner (2, 0): the contact is the corner
    // and the normal runs at 45 degrees.
    g_Board.iField[12][10] = TILE_WALL;
    Launch(1.5f, -0.5f, 0.2, 0.2);
    UpdateBall(STEP);
    EXPECT_NEAR(g_Ball.dVelocityZ, -0.25 * 0.4, 1e-12);
    EXPECT_NEAR(g_Ball.dVelocityX, 0.95 * 0.4, 1e-12);
}

TEST_F(BallMotion, ContactOnTheCentreLeavesTheBallInPlace) {
    // The centre lies on the wall's low-x edge and the ball moves straight away
    // from it: the nearest contact is the old centre itself.
    g_Board.iField[12][10] = TILE_WALL;
    Launch(2.0f, 0.5f, -0.1, 0.0);
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, 2.0f);
    EXPECT_EQ(g_Ball.vPosition.z, 0.5f);
    EXPECT_NEAR(g_Ball.dVelocityX, 0.95 * -0.2, 1e-12);
    EXPECT_NEAR(g_Ball.dVelocityZ, 0.0, 1e-15);
    EXPECT_FALSE(std::isnan(g_Ball.vRotation.z));
}

TEST_F(BallMotion, OnePassOnlyAgainstTheWalls) {
    // A corridor one unit wide, x 1 to 2, for a ball of radius 0.6: pushed out
    // of the right wall it overlaps the left one, which is not tested again.
    g_Board.iField[10][10] = TILE_WALL;
    g_Board.iField[12][10] = TILE_WALL;
    g_Ball.fRadius = 0.6f;
    Launch(1.5f, 0.5f, 0.2, 0.0);
    UpdateBall(STEP);
    EXPECT_NEAR(g_Ball.vPosition.x, 2.0f - 0.612f, 1e-6f);
    EXPECT_NEAR(g_Ball.dVelocityX, -0.25 * 0.4, 1e-12);
}

TEST_F(BallMotion, WorkedRespawn) {
    g_Board.iStartX = 3;
    g_Board.iStartY = 4;
    g_Board.iField[11][10] = TILE_HOLE;
    g_Board.fTiltZ = -1.0f;
    g_Board.fTiltX = 0.5f;
    g_Ball.SetPosition(0.5f, 0.7f, 0.5f);
    g_Ball.dVelocityX = 2.0;
    SetVector(&g_Ball.vRotation, 1.0f, 2.0f, 3.0f);
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, -6.5f);
    EXPECT_EQ(g_Ball.vPosition.y, 0.5f);
    EXPECT_EQ(g_Ball.vPosition.z, -5.5f);
    EXPECT_EQ(g_Ball.dVelocityX, 0.0);
    EXPECT_EQ(g_Ball.dVelocityZ, 0.0);
    EXPECT_EQ(g_Board.fTiltZ, 0.0f);
    EXPECT_EQ(g_Board.fTiltX, 0.0f);
    // The rotation waits for the next move.
    EXPECT_EQ(g_Ball.vRotation.x, 1.0f);
    EXPECT_EQ(g_Ball.vRotation.z, 3.0f);
}

TEST_F(BallMotion, HoleComesBeforeTheWall) {
    // The destination lies in the hole and touches the wall beside it.
    g_Board.iField[11][10] = TILE_WALL;
    g_Board.iField[12][10] = TILE_HOLE;
    g_Board.iStartX = 10;
    g_Board.iStartY = 10;
    Launch(0.5f, 0.5f, 1.8, 0.0);
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, 0.5f);
    EXPECT_EQ(g_Ball.dVelocityX, 0.0);
}

TEST_F(BallMotion, SaveCellCountsBeforeTheWallPushesTheBallOut) {
    g_Board.iField[11][10] = TILE_SAVE;  // x 1 to 2, z 0 to 1
    g_Board.iField[12][10] = TILE_WALL;
    Launch(1.6f, -0.9f, 0.0, 0.95);
    UpdateBall(STEP);
    EXPECT_EQ(g_Board.iStartX, 11);
    EXPECT_EQ(g_Board.iStartY, 10);
    EXPECT_LT(g_Ball.vPosition.z, 0.0f);  // back in row 9
}

TEST_F(BallMotion, SaveCellBecomesTheRespawnCell) {
    g_Board.iField[11][10] = TILE_SAVE;
    g_Board.iField[11][12] = TILE_HOLE;
    Launch(0.5f, 0.5f, 1.0, 0.0);
    UpdateBall(STEP);
    EXPECT_EQ(g_Board.iStartX, 11);
    EXPECT_EQ(g_Board.iStartY, 10);

    Launch(1.5f, 1.5f, 0.0, 1.0);  // into the hole at row 12
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, 1.5f);
    EXPECT_EQ(g_Ball.vPosition.z, 0.5f);
}

TEST_F(BallMotion, GoalCellIsPlainFloor) {
    g_Board.iField[11][10] = TILE_GOAL;
    Launch(0.5f, 0.5f, 1.0, 0.0);
    UpdateBall(STEP);
    EXPECT_NEAR(g_Ball.vPosition.x, 1.5f, 1e-6f);
    EXPECT_EQ(g_Board.iStartX, 0);
}

TEST_F(BallMotion, CellsAreFoundByFloorOfTheSinglePrecisionValue) {
    // Just below 0 lies column 9, not 10 as truncation toward zero would give.
    g_Board.iField[9][10] = TILE_HOLE;
    g_Board.iStartX = 10;
    g_Board.iStartY = 10;
    Launch(0.25f, 0.5f, -0.25000001, 0.0);
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, 0.5f);  // respawned
    EXPECT_EQ(g_Ball.dVelocityX, 0.0);

    // 0.99999999 is stored as 1.0f, which lies on column 11's low edge.
    g_Board.iField[11][10] = TILE_HOLE;
    Launch(0.5f, 0.5f, 0.49999999, 0.0);
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, 0.5f);
    EXPECT_EQ(g_Ball.dVelocityX, 0.0);
}

TEST_F(BallMotion, OddWidthPutsTheCellsHalfAUnitTowardPlusX) {
    UseBoard(21, 21);
    g_Board.iStartX = 10;
    g_Board.iStartY = 10;
    PlaceBallOnRespawnCell();
    // The exact halves put the respawn position on the cell's low-x edge.
    EXPECT_EQ(g_Ball.vPosition.x, 0.0f);
    EXPECT_EQ(g_Ball.vPosition.z, 0.0f);

    // Column 10 of this field spans x 0 to 1 here (drawn: -0.5 to 0.5).
    g_Board.iField[10][10] = TILE_HOLE;
    Launch(-0.4f, 0.5f, 0.2, 0.0);
    UpdateBall(STEP);
    EXPECT_NEAR(g_Ball.vPosition.x, -0.2f, 1e-6f);  // still column 9
    Launch(-0.1f, 0.5f, 0.3, 0.0);
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, 0.0f);  // column 10: respawned
    EXPECT_EQ(g_Ball.dVelocityX, 0.0);

    // Wall (12, 10) is met at x 2, where the even field has it too.
    g_Board.iField[12][10] = TILE_WALL;
    Launch(1.4f, 0.5f, 0.2, 0.0);
    UpdateBall(STEP);
    EXPECT_NEAR(g_Ball.vPosition.x, 1.5155f, 1e-6f);

    // The rim uses the exact half: 10.5 - 0.5.
    Launch(-9.8f, 0.5f, -0.5, 0.0);
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, -10.0f);
}

TEST_F(BallMotion, EmptyBoardLeavesTheBallAlone) {
    for (int iSize : {0, -3}) {
        UseBoard(iSize, 20);
        g_Board.fTiltZ = 2.0f;
        g_Ball.dVelocityX = 1.0;
        UpdateBall(STEP);
        EXPECT_EQ(g_Ball.vPosition.x, 0.5f);
        EXPECT_EQ(g_Ball.dVelocityX, 1.0);

        UseBoard(20, iSize);
        g_Board.fTiltX = 2.0f;
        UpdateBall(STEP);
        EXPECT_EQ(g_Ball.vPosition.z, 0.5f);
        EXPECT_EQ(g_Ball.dVelocityZ, 0.0);
    }
}

TEST_F(BallMotion, CellsOutsideTheBoardReadAsFloor) {
    // A ball whose size copy is larger than the board can leave it. Row 110 of
    // column 10 is not on the board; read unchecked it would be cell (11, 10).
    g_Ball.iHeight = 240;
    g_Board.iField[11][10] = TILE_HOLE;
    Launch(0.5f, 100.2f, 0.0, 0.1);
    UpdateBall(STEP);
    EXPECT_NEAR(g_Ball.vPosition.z, 100.3f, 1e-4f);
    EXPECT_NE(g_Ball.dVelocityZ, 0.0);

    // Far beyond the 100 x 100 grid, and nowhere at all.
    g_Ball.iWidth = 100000;
    Launch(4000.5f, 0.5f, 0.1, 0.0);
    UpdateBall(STEP);
    EXPECT_NEAR(g_Ball.vPosition.x, 4000.6f, 1e-3f);
    Launch(std::numeric_limits<float>::quiet_NaN(), 0.5f, 0.1, 0.0);
    UpdateBall(STEP);
    EXPECT_TRUE(std::isnan(g_Ball.vPosition.x));
    EXPECT_EQ(g_Board.iStartX, 0);
    g_Ball.iWidth = std::numeric_limits<int>::max();
    Launch(3e9f, 0.5f, 0.0, 0.0);
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, 1073741824.0f);  // on the rim, far off the grid
}

TEST_F(BallMotion, BoardClaimingMoreColumnsStillReadsItsGrid) {
    // 1000 columns claimed: column 49 of the grid lies at x -451 to -450.
    UseBoard(1000, 20);
    g_Board.iField[49][10] = TILE_HOLE;
    g_Board.iStartX = 500;
    g_Board.iStartY = 10;
    Launch(-449.9f, 0.5f, -0.5, 0.0);
    UpdateBall(STEP);
    EXPECT_EQ(g_Ball.vPosition.x, 0.5f);
    EXPECT_EQ(g_Ball.dVelocityX, 0.0);
}

TEST_F(BallMotion, WallSearchStaysInsideTheGrid) {
    // A level that claims 150 rows: the grid holds 100, and row 110 of column
    // 10 would alias cell (11, 10).
    g_Board.iHeight = 150;
    g_Board.iField[11][10] = TILE_WALL;
    CVector3 vDest;
    SetVector(&vDest, 0.1f, 0.5f, 110.0f - 75.0f + 0.5f);
    CVector2 vIP;
    EXPECT_FALSE(CollideWithWalls(vDest, &vIP));

    SetVector(&vDest, std::numeric_limits<float>::quiet_NaN(), 0.5f, 0.5f);
    EXPECT_FALSE(CollideWithWalls(vDest, &vIP));
}

TEST_F(BallMotion, WallSearchSkipsNeighboursOffTheGrid) {
    // The corner cell (0, 0) with walls beside it in +x and +z.
    g_Board.iField[1][0] = TILE_WALL;
    g_Board.iField[0][1] = TILE_WALL;
    CVector3 vDest;
    SetVector(&vDest, -9.4f, 0.5f, -9.3f);
    CVector2 vIP;
    ASSERT_TRUE(CollideWithWalls(vDest, &vIP));
    EXPECT_EQ(vIP.x, -9.4f);
    EXPECT_EQ(vIP.y, -9.0f);  // the nearer: the low-z edge of cell (0, 1)

    SetVector(&vDest, -9.5f, 0.5f, -9.5f);
    g_Board.iField[0][1] = TILE_WOOD;
    g_Board.iField[1][0] = TILE_WOOD;
    vIP.x = 42.0f;
    EXPECT_FALSE(CollideWithWalls(vDest, &vIP));
    EXPECT_EQ(vIP.x, 42.0f);  // untouched without a contact

    // Row -1 of column 1 would be read as cell (0, 99), the last of column 0.
    UseBoard(100, 100);
    g_Board.iField[0][99] = TILE_WALL;
    SetVector(&vDest, 1.0f - 50.0f + 0.5f, 0.5f, -50.0f + 0.1f);
    EXPECT_FALSE(CollideWithWalls(vDest, &vIP));
}

TEST_F(BallMotion, EqualDistancesGoToTheLaterEdge) {
    g_Ball.fRadius = 0.5f;
    CVector3 vDest;
    SetVector(&vDest, 0.5f, 0.5f, 0.5f);  // centre of cell (10, 10)
    CVector2 vIP;

    // Walls left and right: the right one comes later in its row.
    g_Board.iField[9][10] = TILE_WALL;
    g_Board.iField[11][10] = TILE_WALL;
    ASSERT_TRUE(CollideWithWalls(vDest, &vIP));
    EXPECT_EQ(vIP.x, 1.0f);
    EXPECT_EQ(vIP.y, 0.5f);

    // Walls above and below: the lower row comes later.
    g_Board.iField[9][10] = TILE_WOOD;
    g_Board.iField[11][10] = TILE_WOOD;
    g_Board.iField[10][9] = TILE_WALL;
    g_Board.iField[10][11] = TILE_WALL;
    ASSERT_TRUE(CollideWithWalls(vDest, &vIP));
    EXPECT_EQ(vIP.x, 0.5f);
    EXPECT_EQ(vIP.y, 1.0f);

    // A nearer contact found first still wins over a later, farther one.
    g_Ball.fRadius = 0.6f;
    SetVector(&vDest, 0.5f, 0.5f, 0.45f);
    ASSERT_TRUE(CollideWithWalls(vDest, &vIP));
    EXPECT_EQ(vIP.y, 0.0f);
}

TEST(IntersectCircleSegment, ContactAtExactlyTheRadiusCounts) {
    const CVector2 C = MakeVector(0.0f, 0.0f);
    const CVector2 P1 = MakeVector(0.5f, -1.0f);
    const CVector2 P2 = MakeVector(0.5f, 1.0f);
    CVector2 vIP;
    float fDist = -1.0f;
    ASSERT_TRUE(IntersectCircleSegment(C, 0.5f, P1, P2, &vIP, &fDist));
    EXPECT_EQ(vIP.x, 0.5f);
    EXPECT_EQ(vIP.y, 0.0f);
    EXPECT_EQ(fDist, 0.5f);
    EXPECT_FALSE(IntersectCircleSegment(C, std::nextafter(0.5f, 0.0f), P1, P2, &vIP, &fDist));
}

TEST(IntersectCircleSegment, ClosestPointIsClampedToTheEnds) {
    const CVector2 P1 = MakeVector(0.0f, 0.0f);
    const CVector2 P2 = MakeVector(1.0f, 0.0f);
    CVector2 vIP;
    float fDist;
    ASSERT_TRUE(IntersectCircleSegment(MakeVector(1.3f, 0.2f), 0.5f, P1, P2, &vIP, &fDist));
    EXPECT_EQ(vIP.x, 1.0f);
    EXPECT_EQ(vIP.y, 0.0f);
    EXPECT_NEAR(fDist, std::sqrt(0.13f), 1e-6f);
    ASSERT_TRUE(IntersectCircleSegment(MakeVector(-0.3f, -0.2f), 0.5f, P1, P2, &vIP, &fDist));
    EXPECT_EQ(vIP.x, 0.0f);
    EXPECT_EQ(vIP.y, 0.0f);
    ASSERT_TRUE(IntersectCircleSegment(MakeVector(0.25f, 0.4f), 0.5f, P1, P2, &vIP, &fDist));
    EXPECT_EQ(vIP.x, 0.25f);
    EXPECT_NEAR(fDist, 0.4f, 1e-7f);
    // Beyond an end the distance is to the end, not to the line.
    EXPECT_FALSE(IntersectCircleSegment(MakeVector(1.45f, 0.1f), 0.46f, P1, P2, &vIP, &fDist));
}

TEST(IntersectCircleSegment, OutputsAreOptionalAndWrittenOnlyOnAHit) {
    const CVector2 C = MakeVector(0.0f, 0.0f);
    const CVector2 P1 = MakeVector(0.3f, -1.0f);
    const CVector2 P2 = MakeVector(0.3f, 1.0f);
    EXPECT_TRUE(IntersectCircleSegment(C, 0.5f, P1, P2, nullptr, nullptr));
    float fDist = -1.0f;
    EXPECT_TRUE(IntersectCircleSegment(C, 0.5f, P1, P2, nullptr, &fDist));
    EXPECT_NEAR(fDist, 0.3f, 1e-7f);
    CVector2 vIP = MakeVector(7.0f, 7.0f);
    fDist = -1.0f;
    EXPECT_FALSE(IntersectCircleSegment(C, 0.2f, P1, P2, &vIP, &fDist));
    EXPECT_EQ(vIP.x, 7.0f);
    EXPECT_EQ(fDist, -1.0f);
}

TEST(IntersectCircleSegment, SegmentOfNoLengthIsItsPoint) {
    const CVector2 C = MakeVector(0.0f, 0.0f);
    const CVector2 P = MakeVector(0.3f, 0.0f);
    CVector2 vIP;
    float fDist;
    ASSERT_TRUE(IntersectCircleSegment(C, 0.5f, P, P, &vIP, &fDist));
    EXPECT_EQ(vIP.x, 0.3f);
    EXPECT_EQ(vIP.y, 0.0f);
    EXPECT_NEAR(fDist, 0.3f, 1e-7f);
    EXPECT_FALSE(IntersectCircleSegment(C, 0.2f, P, P, &vIP, &fDist));
}

TEST(IntersectCircleSegment, NanCentreIsNoContact) {
    const float fNan = std::numeric_limits<float>::quiet_NaN();
    CVector2 vIP;
    EXPECT_FALSE(IntersectCircleSegment(MakeVector(fNan, 0.0f), 0.5f, MakeVector(0.0f, 0.0f),
                                        MakeVector(1.0f, 0.0f), &vIP, nullptr));
}
