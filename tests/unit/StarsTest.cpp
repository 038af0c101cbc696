#include <gtest/gtest.h>

#include <cstdlib>

#include "scene/Stars.h"

TEST(Stars, TheSkyIsTheSameOnEveryRunAndOnTheUnitSphere) {
    std::srand(12345);  // the sky has a random source of its own, never seeded
    const kov::CStars Stars;
    // 41 and 107 degrees, then 214 and 220, in radians with 3.1415 (with pi they would lie some 1e-5 away).
    const CVector3 EXPECTED[2] = {{0.62739f, 0.75472f, -0.19177f}, {0.35934f, -0.82910f, 0.42834f}};
    EXPECT_LT(Length(Stars.vStars[0] - EXPECTED[0]), 1e-5f);
    EXPECT_LT(Length(Stars.vStars[1] - EXPECTED[1]), 1e-5f);
    for (const CVector3& vStar : Stars.vStars) {
        ASSERT_NEAR(Length(vStar), 1.0f, 2e-7f);
    }
}
