// The runs of cells a view leaves out of the board, against real OpenGL.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "board/Board.h"
#include "board/Texture.h"
#include "scene/ViewVolume.h"
#include "support/GlTest.h"
#include "support/TempFile.h"

namespace {

void LoadBoard(kov::CBoard& board, const std::string& sLevel) {
    const CTempFile File(sLevel, ".txt");
    EXPECT_TRUE(board.LoadLevel(File.Path()));
}

// A 1 x 1 texture per slot whose red is 10 + 40 x the slot, shown unlit.
void MakeSlotTextures(GLuint* pTextures) {
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    glGenTextures(TEX_COUNT, pTextures);
    for (int i = 0; i < TEX_COUNT; ++i) {
        const GLubyte ubTexel[4] = {static_cast<GLubyte>(10 + 40 * i), 0, 0, 0};
        glBindTexture(GL_TEXTURE_2D, pTextures[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, ubTexel);
    }
}

}  // namespace

TEST(BoardDraw, RunsOfCellsOutsideTheViewAreLeftOutWithoutChangingThePicture) {
    kov::CBoard board;
    std::string sLevel = "100\n100\n";
    for (int i = 0; i < 100 * 100; ++i) {
        sLevel += (i * 7 + i / 100 * 3) % 11 == 0 ? 'X' : ".sZO"[(i + i / 100) % 4];
        sLevel += i % 100 == 99 ? "\n" : "";
    }
    LoadBoard(board, sLevel);
    MakeSlotTextures(board.uiTexture);
    board.fTiltZ = 1.5f;
    // The reference: the same commands recorded while the whole board lies in
    // view, so that nothing is left out, and played back under the real view.
    const GLuint uiWhole = glGenLists(1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100.0, 100.0, -100.0, 100.0, -100.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glNewList(uiWhole, GL_COMPILE);
    board.Draw();
    glEndList();
    // Zoomed in and shifted off the centre.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1024.0 / 768.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(14.0, 7.0, 22.0, 9.0, 0.0, 12.0, 0.0, 1.0, 0.0);
    const float fMin[3] = {-50, 0, -50}, fMax[3] = {-40, 1, -49};  // the far corner's run
    ASSERT_TRUE(CViewVolume().IsBoxOutside(fMin, fMax));
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    std::vector<GLubyte> Pictures[2];
    for (int i = 0; i < 2; ++i) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glPushMatrix();
        i == 0 ? static_cast<void>(board.Draw()) : glCallList(uiWhole);
        glPopMatrix();
        Pictures[i] = ReadWindow();
    }
    EXPECT_TRUE(Pictures[0] == Pictures[1]);
    EXPECT_GT(std::count(Pictures[0].begin(), Pictures[0].end(), 10), 100000);  // much wooden floor shows
    glDisable(GL_DEPTH_TEST);
    glDeleteLists(uiWhole, 1);
    glDeleteTextures(TEX_COUNT, board.uiTexture);
}

TEST(ViewVolume, LeavesOutOnlyBoxesWhollyBeyondOnePlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1024.0 / 768.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 23.54, 8.42, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);  // the start view
    const struct {
        float fMin[3], fMax[3];
        bool bOutside;
    } CASES[] = {{{-10, 0, -10}, {-9, 1, -9}, false}, {{-60, 0, 0}, {-5, 1, 1}, false},
                 {{-60, 0, 0}, {-50, 1, 1}, true},    {{50, 0, 0}, {60, 1, 1}, true},
                 {{-5, 0, 40}, {5, 1, 41}, true},     {{-5, 0, -200}, {5, 1, -190}, true},
                 {{-5, 40, 0}, {5, 41, 1}, true},     {{-1, 22, 7}, {1, 25, 10}, false}};
    const CViewVolume view;
    for (const auto& c : CASES) {
        EXPECT_EQ(view.IsBoxOutside(c.fMin, c.fMax), c.bOutside) << c.fMin[0] << " " << c.fMin[1] << " " << c.fMin[2];
    }
}
