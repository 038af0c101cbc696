#include <gtest/gtest.h>

#include "app/Game.h"
#include "app/Settings.h"

TEST(Settings, StartZeroedUntilTheDefaultsAreAssigned) {
    const CSettings& settings = GetSettings();
    EXPECT_EQ(settings.iSlices, 0);
    EXPECT_FALSE(settings.bLighting);
    EXPECT_FALSE(settings.bLightOn[0]);
    EXPECT_EQ(settings.fFar, 0.0f);
    EXPECT_EQ(&settings, &GetSettings());
}

TEST(Settings, DefaultsAreThoseOfTheGame) {
    AssignSettingsDefaults();
    const CSettings& settings = GetSettings();
    EXPECT_EQ(settings.iSlices, 32);
    EXPECT_EQ(settings.iStacks, 32);
    EXPECT_TRUE(settings.bSmooth);
    EXPECT_TRUE(settings.bLocalViewer);
    EXPECT_TRUE(settings.bDepthTest);
    EXPECT_TRUE(settings.bTwoSided);
    EXPECT_TRUE(settings.bAmbient);
    EXPECT_TRUE(settings.bPerspective);
    EXPECT_FALSE(settings.bShowFps);
    EXPECT_FALSE(settings.bWireframe);
    EXPECT_TRUE(settings.bLighting);
    EXPECT_TRUE(settings.bTextures);
    EXPECT_EQ(settings.fAspect, 0.0f);  // set by the first reshape
    EXPECT_EQ(settings.fSpotCutoff, 90.0f);
    EXPECT_EQ(settings.fSpotExponent, 0.5f);
    EXPECT_EQ(settings.fNear, 0.1f);
    EXPECT_EQ(settings.fFar, 100.0f);
    EXPECT_EQ(settings.vSpotDir, MakeVector(0.0f, -1.0f, 0.0f));
    EXPECT_TRUE(settings.bLightOn[0]);
    EXPECT_FALSE(settings.bLightOn[1]);
    EXPECT_FALSE(settings.bLightOn[2]);
    EXPECT_FALSE(settings.bLightOn[3]);
    EXPECT_EQ(settings.vLightPos[0], MakeVector(0.0f, 2.5f, 0.0f));
    EXPECT_EQ(settings.vLightPos[1], MakeVector(9.5f, 1.5f, 9.5f));
    EXPECT_EQ(settings.vLightPos[2], MakeVector(-9.5f, 1.5f, -9.5f));
    EXPECT_EQ(settings.vLightPos[3], MakeVector(1.0f, -2.0f, 1.0f));
    EXPECT_EQ(settings.iLight, 0);
}
