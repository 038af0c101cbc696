#include <gtest/gtest.h>

#include "math/Vector.h"

TEST(Vector, ToleranceIsInclusiveAndSetLengthAndNormalizeKeepZero) {
    const CVector2 ZERO = MakeVector(0.0f, 0.0f);
    EXPECT_TRUE(ZERO == MakeVector(1e-11f, 0.0f) && ZERO == MakeVector(VECTOR_EPSILON, -VECTOR_EPSILON));
    EXPECT_TRUE(ZERO != MakeVector(1e-9f, 0.0f) && ZERO != MakeVector(0.0f, -1e-9f));

    CVector2 v = MakeVector(3.0f, 4.0f), zero = ZERO;
    SetLength(&v, 10.0f);
    EXPECT_TRUE(v.x == 6.0f && v.y == 8.0f) << v.x << ", " << v.y;
    // Normalize divides zero by the floor 1e-10; SetLength has no direction to keep.
    Normalize(&zero);
    SetLength(&zero, 0.4845f);
    EXPECT_TRUE(zero.x == 0.0f && zero.y == 0.0f) << zero.x << ", " << zero.y;
}
