#include <GL/gl.h>
#include <GL/glu.h>

#include <gtest/gtest.h>

#include "scene/ViewVolume.h"

namespace {

// The game's first view: 45 degrees, 4:3, from (0, 23.54, 8.42) at the origin.
void LoadGameView() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1024.0 / 768.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 23.54, 8.42, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}

struct SBoxCase {
    const char* szWhere;
    float fMin[3];
    float fMax[3];
    bool bOutside;
};

}  // namespace

TEST(ViewVolume, LeavesOutOnlyBoxesWhollyBeyondOnePlane) {
    LoadGameView();
    const CViewVolume view;
    const SBoxCase CASES[] = {
        {"a cell at the centre", {0, 0, 0}, {1, 1, 1}, false},
        {"a corner cell of the 20 x 20 field", {-10, 0, -10}, {-9, 1, -9}, false},
        {"a row run reaching in from the left", {-60, 0, 0}, {-5, 1, 1}, false},
        {"far off to the left", {-60, 0, 0}, {-50, 1, 1}, true},
        {"far off to the right", {50, 0, 0}, {60, 1, 1}, true},
        {"behind the eye", {-5, 0, 40}, {5, 1, 41}, true},
        {"beyond the far plane", {-5, 0, -200}, {5, 1, -190}, true},
        {"above the eye", {-5, 40, 0}, {5, 41, 1}, true},
        {"round the eye itself", {-1, 22, 7}, {1, 25, 10}, false},
    };
    for (const SBoxCase& c : CASES) {
        EXPECT_EQ(view.IsBoxOutside(c.fMin, c.fMax), c.bOutside) << c.szWhere;
    }
}

TEST(ViewVolume, FollowsTheModelviewInForceWhenMade) {
    LoadGameView();
    const float fMin[3] = {50, 0, 0};
    const float fMax[3] = {51, 1, 1};
    glTranslatef(-50.0f, 0.0f, 0.0f);  // brings the box to the centre
    EXPECT_FALSE(CViewVolume().IsBoxOutside(fMin, fMax));
    glLoadIdentity();
    EXPECT_TRUE(CViewVolume().IsBoxOutside(fMin, fMax));  // the eye at the origin looks down -z
}
