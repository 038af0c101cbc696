#include <gtest/gtest.h>

#include <iterator>

#include "app/Game.h"
#include "app/Globals.h"

namespace {

kov::ISceneNode* ChildAt(const kov::ISceneNode& node, int iIndex) {
    auto itNode = node.Children.begin();
    std::advance(itNode, iIndex);
    return *itNode;
}

}  // namespace

TEST(Startup, BuildSceneLinksTheTreeAndHandsOutSizesAndTextures) {
    g_Board.iWidth = 10;
    g_Board.iHeight = 7;
    g_Board.iStartX = 0;
    g_Board.iStartY = 6;
    for (int i = 0; i < TEX_COUNT; ++i) {
        g_Textures[i] = static_cast<GLuint>(11 + i);
    }

    BuildScene();

    ASSERT_EQ(g_Scene.RootNode.Children.size(), 2u);
    EXPECT_EQ(ChildAt(g_Scene.RootNode, 0), &g_Stars);
    EXPECT_EQ(ChildAt(g_Scene.RootNode, 1), &g_Box);
    ASSERT_EQ(g_Box.Children.size(), 1u);
    EXPECT_EQ(ChildAt(g_Box, 0), &g_Board);
    ASSERT_EQ(g_Board.Children.size(), 1u);
    EXPECT_EQ(ChildAt(g_Board, 0), &g_Ball);
    EXPECT_TRUE(g_Ball.Children.empty());
    EXPECT_TRUE(g_Stars.Children.empty());

    EXPECT_EQ(g_Box.uiTexture, 11u);
    for (int i = 0; i < TEX_COUNT; ++i) {
        EXPECT_EQ(g_Board.uiTexture[i], static_cast<GLuint>(11 + i));
    }
    EXPECT_EQ(g_Box.iWidth, 10);
    EXPECT_EQ(g_Box.iHeight, 7);
    EXPECT_EQ(g_Ball.iWidth, 10);
    EXPECT_EQ(g_Ball.iHeight, 7);
}

TEST(Startup, TheBallSitsOnTheCentreOfTheRespawnCell) {
    g_Board.iWidth = 10;
    g_Board.iHeight = 7;
    g_Board.iStartX = 0;
    g_Board.iStartY = 6;
    BuildScene();
    // x = 0 - 5 + 0.5; z = 6 - 3.5 + 0.5 (exact halves, also for the odd height)
    EXPECT_EQ(g_Ball.vPosition, MakeVector(-4.5f, 0.5f, 3.0f));
    EXPECT_EQ(g_Ball.fRadius, 0.475f);
    EXPECT_EQ(g_Ball.vScale, MakeVector(2.0f, 2.0f, 2.0f));
    EXPECT_EQ(g_Ball.dVelocityX, 0.0);
    EXPECT_EQ(g_Ball.dVelocityZ, 0.0);

    const float AMBIENT[4] = {0.4f, 0.2f, 0.0f, 1.0f};
    const float DIFFUSE[4] = {0.9f, 0.6f, 0.0f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(g_Ball.fAmbient[i], AMBIENT[i]);
        EXPECT_EQ(g_Ball.fDiffuse[i], DIFFUSE[i]);
        EXPECT_EQ(g_Ball.fSpecular[i], 1.0f);
    }
    EXPECT_EQ(g_Ball.fShininess, 10.0f);
}
