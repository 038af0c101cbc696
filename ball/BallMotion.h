#pragma once

#include "math/Vector.h"

// One simulation step of g_Ball on g_Board, dTime seconds long.
void UpdateBall(double dTime);

// Puts g_Ball on the centre of the board's respawn cell at height 0.5.
void PlaceBallOnRespawnCell();

// Wall test of a ball of g_Ball.fRadius centred at (vDest.x, vDest.z); on a
// contact *vIP receives the nearest contact point.
bool CollideWithWalls(const CVector3& vDest, CVector2* vIP);

// True when the segment P1-P2 comes within fRadius of C (a distance equal to
// the radius counts); then *vIP gets the segment's point nearest C and *fDist
// its distance. Either pointer may be null.
bool IntersectCircleSegment(const CVector2& C, float fRadius, const CVector2& P1, const CVector2& P2,
                            CVector2* vIP, float* fDist);
