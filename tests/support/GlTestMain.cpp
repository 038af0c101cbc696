#include <gtest/gtest.h>

#include "support/GlContext.h"

namespace {

// The window is made in SetUp, not in main, so that listing the tests needs no display.
class CGlEnvironment : public testing::Environment {
public:
    void SetUp() override { EnsureGlWindow(); }
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new CGlEnvironment);
    return RUN_ALL_TESTS();
}
