#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>
#include <utility>

#include "app/Globals.h"
#include "ball/BallMotion.h"

namespace {

constexpr double STEP = 0.1;  // moves the ball by half its velocity: v * 0.5 * 0.01 * 100

// An open field with the ball at rest on (0.5, 0.5), cell (10, 10) of a 20 x 20 field.
void UseBoard(int iWidth, int iHeight, int iStartX = 0, int iStartY = 0) {
    std::memset(g_Board.iField, 0, sizeof(g_Board.iField));
    g_Board.iWidth = g_Ball.iWidth = iWidth;
    g_Board.iHeight = g_Ball.iHeight = iHeight;
    g_Board.fTiltZ = g_Board.fTiltX = 0.0f;
    g_Board.iStartX = iStartX;
    g_Board.iStartY = iStartY;
    g_Ball.fRadius = 0.475f;
    g_Ball.dVelocityX = g_Ball.dVelocityZ = 0.0;
    g_Ball.SetPosition(0.5f, 0.5f, 0.5f);
    SetVector(&g_Ball.vRotation, 7.0f, 8.0f, 9.0f);
}

// One STEP from (x, z) with the velocity that would carry the ball by (dx, dz).
void StepFrom(float x, float z, double dx, double dz) {
    g_Ball.SetPosition(x, 0.5f, z);
    g_Ball.dVelocityX = dx * 2.0;
    g_Ball.dVelocityZ = dz * 2.0;
    UpdateBall(STEP);
}

// Put back at height 0.5, stopped, on a level board.
void ExpectRespawnedAt(float fX, float fZ) {
    const CVector3& v = g_Ball.vPosition;
    EXPECT_TRUE(v.x == fX && v.y == 0.5f && v.z == fZ) << v.x << ", " << v.y << ", " << v.z;
    EXPECT_TRUE(g_Ball.dVelocityX == 0.0 && g_Ball.dVelocityZ == 0.0);
    EXPECT_TRUE(g_Board.fTiltX == 0.0f && g_Board.fTiltZ == 0.0f);
}

}  // namespace

TEST(BallMotion, TiltAcceleratesTheBallAndOnlyTimeMovesIt) {
    const auto Tilt = [](float fTiltZ, float fTiltX, double dTime, int iSteps) {
        UseBoard(20, 20);
        g_Board.fTiltZ = fTiltZ;
        g_Board.fTiltX = fTiltX;
        for (int i = 0; i < iSteps; ++i) {
            UpdateBall(dTime);
        }
    };
    Tilt(2.0f, 0.0f, 0.02, 1);
    EXPECT_NEAR(g_Ball.dVelocityX, -0.1027, 5e-5);
    EXPECT_NEAR(g_Ball.vPosition.x - 0.5, -0.00205, 5e-6);
    Tilt(0.0f, 2.0f, 1.0 / 60.0, 60);  // a positive tilt about x lowers +z
    EXPECT_NEAR(50.0 * g_Ball.dVelocityZ / 60.0, 5.14, 0.005);  // units per second
    EXPECT_NEAR(g_Ball.vPosition.z - 0.5, 2.61, 0.005);
    Tilt(0.0f, 0.0f, 0.02, 1000);  // a level board leaves the ball at rest
    EXPECT_TRUE(g_Ball.vPosition.x == 0.5f && g_Ball.vPosition.z == 0.5f && std::fabs(g_Ball.dVelocityZ) < 1e-12);
    Tilt(-1.5f, 1.0f, 0.0, 1);  // no time: the velocity changes, nothing moves, the rolling is not reached
    EXPECT_NEAR(g_Ball.dVelocityX, 0.0770, 5e-5);
    EXPECT_NEAR(g_Ball.dVelocityZ, 0.0514, 5e-5);
    EXPECT_TRUE(g_Ball.vPosition.x == 0.5f && g_Ball.vPosition.z == 0.5f && g_Ball.vRotation.z == 9.0f);
}

TEST(BallMotion, RimAndWallsTurnTheComponentThatHitThem) {
    // Field width, start, the move the velocity would make, where the ball ends and the factors on the velocity.
    const struct {
        int iWidth;
        float x, z;
        double dx, dz;
        float fExpectX, fExpectZ;
        double dFactorX, dFactorZ;
    } CASES[] = {
        // The rim lies half a unit inside the field's edge at +-10; reaching it exactly is no bounce.
        {20, -9.4f, 0.5f, -0.5, 0.0, -9.5f, 0.5f, -0.25, 1.0},
        {20, 9.4f, 0.5f, 0.5, 0.0, 9.5f, 0.5f, -0.25, 1.0},
        {20, 0.5f, -9.4f, 0.0, -0.5, 0.5f, -9.5f, 1.0, -0.25},
        {20, 0.5f, 9.4f, 0.0, 0.5, 0.5f, 9.5f, 1.0, -0.25},
        {20, -9.0f, 0.5f, -0.5, 0.0, -9.5f, 0.5f, 1.0, 1.0},
        {21, -9.8f, 0.5f, -0.5, 0.0, -10.0f, 0.5f, -0.25, 1.0},  // the rim uses the exact half, 10.5
        // The wall x 2 to 3, z 0 to 1: pushed back 1.02 radii from the contact toward the old centre.
        {20, 1.4f, 0.5f, 0.2, 0.0, 1.5155f, 0.5f, -0.25, 0.95},
        {20, 1.4f, 0.5f, 0.2, 0.01, 1.51557f, 0.50193f, -0.25, 0.95},
        {20, 3.6f, 0.5f, -0.2, 0.0, 3.4845f, 0.5f, -0.25, 0.95},  // its +x face, met toward -x
        {20, 2.5f, -0.6f, 0.01, 0.2, 2.50193f, -0.48443f, 0.95, -0.25},
        {20, 1.5f, -0.5f, 0.2, 0.2, 1.65741f, -0.34259f, 0.95, -0.25},  // the corner: equal components are a z contact
        // An odd field's wall is met where it is drawn, x 1.5 to 2.5 and z -0.5 to 0.5, from every side.
        {21, 0.9f, 0.0f, 0.2, 0.0, 1.0155f, 0.0f, -0.25, 0.95},
        {21, 3.1f, 0.0f, -0.2, 0.0, 2.9845f, 0.0f, -0.25, 0.95},
        {21, 2.0f, -1.1f, 0.0, 0.2, 2.0f, -0.9845f, 0.95, -0.25},
        {21, 2.0f, 1.1f, 0.0, -0.2, 2.0f, 0.9845f, 0.95, -0.25},
        // The centre lies on the wall's face and moves away: a contact on the centre gives no direction.
        {20, 2.0f, 0.5f, -0.1, 0.0, 2.0f, 0.5f, 0.95, -0.25},
    };
    for (const auto& c : CASES) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.z << " by " << c.dx << ", " << c.dz);
        UseBoard(c.iWidth, c.iWidth);
        g_Board.iField[12][10] = TILE_WALL;
        StepFrom(c.x, c.z, c.dx, c.dz);
        EXPECT_NEAR(g_Ball.vPosition.x, c.fExpectX, 1e-5f);
        EXPECT_NEAR(g_Ball.vPosition.z, c.fExpectZ, 1e-5f);
        EXPECT_NEAR(g_Ball.dVelocityX, 2.0 * c.dx * c.dFactorX, 1e-12);
        EXPECT_NEAR(g_Ball.dVelocityZ, 2.0 * c.dz * c.dFactorZ, 1e-12);
        // Rolling: pi * 50 degrees per unit of position, -238.05 and 78.54 at the worked contact.
        EXPECT_NEAR(g_Ball.vRotation.z, -c.fExpectX * 157.0796f, 0.01f);
        EXPECT_NEAR(g_Ball.vRotation.x, c.fExpectZ * 157.0796f, 0.01f);
    }
}

TEST(BallMotion, NearestContactWinsAndOfEqualOnesTheLaterEdge) {
    UseBoard(20, 20);
    const CVector3 vCentre = MakeVector(0.5f, 0.5f, 0.5f);  // of cell (10, 10)
    CVector2 vIP{};
    g_Ball.fRadius = 0.5f;  // a contact at exactly the radius counts
    g_Board.iField[9][10] = g_Board.iField[11][10] = TILE_WALL;
    EXPECT_TRUE(CollideWithWalls(vCentre, &vIP) && vIP.x == 1.0f && vIP.y == 0.5f);  // later in the row
    g_Board.iField[9][10] = g_Board.iField[11][10] = TILE_WOOD;
    g_Board.iField[10][9] = g_Board.iField[10][11] = TILE_WALL;
    EXPECT_TRUE(CollideWithWalls(vCentre, &vIP) && vIP.x == 0.5f && vIP.y == 1.0f);  // the later row
    g_Ball.fRadius = 0.6f;
    EXPECT_TRUE(CollideWithWalls(MakeVector(0.5f, 0.5f, 0.45f), &vIP) && vIP.y == 0.0f);  // nearer, found first
}

TEST(BallMotion, HolesRespawnBeforeAnyWallSaveCellsMoveTheRespawnCellAndNoCellIsNoRule) {
    // Just left of x 0 lies column 9 (the floor of x, not its truncation): a
    // hole, whose wall neighbour above touches the destination too.
    UseBoard(20, 20, 3, 4);
    g_Board.iField[9][10] = TILE_HOLE;
    g_Board.iField[9][9] = TILE_WALL;
    g_Ball.SetPosition(0.5f, 0.7f, 0.3f);
    g_Ball.dVelocityX = -1.2;
    g_Board.fTiltZ = -1.0f;
    g_Board.fTiltX = 1.5f;
    UpdateBall(STEP);
    ExpectRespawnedAt(-6.5f, -5.5f);
    EXPECT_EQ(g_Ball.vRotation.z, 9.0f);  // until the next move

    // The save counts though the wall pushes the ball back out of the cell.
    g_Board.iField[11][10] = TILE_SAVE;
    g_Board.iField[12][10] = TILE_WALL;
    g_Board.iField[11][12] = TILE_HOLE;
    StepFrom(1.6f, -0.9f, 0.0, 0.95);
    EXPECT_TRUE(g_Board.iStartX == 11 && g_Board.iStartY == 10) << g_Board.iStartX << ", " << g_Board.iStartY;
    EXPECT_LT(g_Ball.vPosition.z, 0.0f);
    StepFrom(1.5f, 1.5f, 0.0, 1.0);
    ExpectRespawnedAt(1.5f, 0.5f);

    // On an odd field the hole (11, 10) is drawn at x 0.5 to 1.5; the respawn cell's drawn centre is (0, 0).
    UseBoard(21, 21, 10, 10);
    g_Board.iField[11][10] = TILE_HOLE;
    StepFrom(0.3f, 0.0f, 0.25, 0.0);
    ExpectRespawnedAt(0.0f, 0.0f);

    // Holes and save cells on the outermost columns and rows act as anywhere, met from 0.2 inside.
    for (const auto& [iX, iY, iTile] : {std::tuple(0, 10, TILE_HOLE), std::tuple(19, 10, TILE_SAVE),
                                        std::tuple(10, 0, TILE_SAVE), std::tuple(10, 19, TILE_HOLE)}) {
        UseBoard(20, 20, 3, 4);
        g_Board.iField[iX][iY] = iTile;
        const int iSignX = (iX > 10) - (iX < 10), iSignZ = (iY > 10) - (iY < 10);
        StepFrom(iX - 9.5f - 0.2f * iSignX, iY - 9.5f - 0.2f * iSignZ, 0.2 * iSignX, 0.2 * iSignZ);
        EXPECT_TRUE(iTile == TILE_SAVE ? g_Board.iStartX == iX && g_Board.iStartY == iY : g_Ball.vPosition.x == -6.5f);
    }

    // Empty boards, and cells off the grid, are left alone.
    for (const auto& [iWidth, iHeight] : {std::pair(0, 20), std::pair(20, -3)}) {
        UseBoard(iWidth, iHeight);
        StepFrom(0.5f, 0.5f, 0.5, 0.0);
        EXPECT_TRUE(g_Ball.vPosition.x == 0.5f && g_Ball.dVelocityX == 1.0) << iWidth << " x " << iHeight;
    }
    // A ball whose size copy is larger than the board leaves it: row 110 would alias the hole (11, 10).
    UseBoard(20, 20);
    g_Ball.iHeight = 240;
    g_Board.iField[11][10] = TILE_HOLE;
    StepFrom(0.5f, 100.2f, 0.0, 0.1);
    EXPECT_NEAR(g_Ball.vPosition.z, 100.3f, 1e-4f);
}
