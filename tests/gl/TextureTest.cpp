// LoadTexture against real OpenGL: filters, mip levels and texels read back.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "board/Texture.h"
#include "support/TempFile.h"
#include "unit/BitmapWriter.h"

namespace {

// A 24-bit BMP of iWidth x iHeight with distinct bytes in every pixel.
std::string GradientBmp(int iWidth, int iHeight) {
    SBmpSpec Spec;
    Spec.iWidth = iWidth;
    Spec.iHeight = iHeight;
    const int iStride = (iWidth * 3 + 3) / 4 * 4;
    for (int y = 0; y < iHeight; ++y) {
        for (int i = 0; i < iStride; ++i) {
            Spec.Pixels.push_back(i < iWidth * 3 ? static_cast<uint8_t>(40 * y + 3 * i + 1) : 0xEE);
        }
    }
    return BuildBmp(Spec);
}

GLint TexParameter(GLenum eName) {
    GLint iValue = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, eName, &iValue);
    return iValue;
}

GLint LevelWidth(int iLevel) {
    GLint iWidth = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, iLevel, GL_TEXTURE_WIDTH, &iWidth);
    return iWidth;
}

GLint BoundTexture() {
    GLint iName = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &iName);
    return iName;
}

class TextureTest : public testing::Test {
protected:
    void SetUp() override {
        std::memset(g_Textures, 0, sizeof(g_Textures));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }
};

TEST_F(TextureTest, EachModeSetsItsFiltersAndLevels) {
    struct SCase {
        int iMode;
        GLint iMag;
        GLint iMin;
        bool bMipmaps;
    };
    const SCase CASES[] = {{TEX_MODE_MIPMAP, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, true},
                           {TEX_MODE_LINEAR, GL_LINEAR, GL_LINEAR, false},
                           {TEX_MODE_NEAREST, GL_NEAREST, GL_NEAREST, false}};
    const CTempFile File(GradientBmp(4, 4), ".bmp");
    int iSlot = TEX_WOOD;
    for (const SCase& Case : CASES) {
        LoadTexture(iSlot, File.Path(), Case.iMode);
        ASSERT_NE(g_Textures[iSlot], 0u) << Case.iMode;
        EXPECT_EQ(BoundTexture(), static_cast<GLint>(g_Textures[iSlot]));
        EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), Case.iMag) << Case.iMode;
        EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), Case.iMin) << Case.iMode;
        EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(LevelWidth(0), 4) << Case.iMode;
        EXPECT_EQ(LevelWidth(1), Case.bMipmaps ? 2 : 0) << Case.iMode;
        ++iSlot;
    }
    EXPECT_NE(g_Textures[0], g_Textures[1]);
    EXPECT_NE(g_Textures[1], g_Textures[2]);
    EXPECT_EQ(g_Textures[3], 0u);
}

TEST_F(TextureTest, UnknownModeOnlyBindsTheTexture) {
    const CTempFile File(GradientBmp(4, 4), ".bmp");
    LoadTexture(TEX_SAVE, File.Path(), 7);
    ASSERT_NE(g_Textures[TEX_SAVE], 0u);
    EXPECT_EQ(BoundTexture(), static_cast<GLint>(g_Textures[TEX_SAVE]));
    EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR);
    EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(LevelWidth(0), 0);
}

TEST_F(TextureTest, MissingFileLeavesTheSlotEmptyWithOneLine) {
    glBindTexture(GL_TEXTURE_2D, 0);
    testing::internal::CaptureStderr();
    LoadTexture(TEX_START, "data/no-such-start.bmp", TEX_MODE_LINEAR);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Failed to open DIB file data/no-such-start.bmp.\n");
    EXPECT_EQ(g_Textures[TEX_START], 0u);
    EXPECT_EQ(BoundTexture(), 0);
}

TEST_F(TextureTest, BrokenFileLeavesTheSlotEmpty) {
    std::string sFile = GradientBmp(4, 4);
    sFile.resize(sFile.size() - 20);
    const CTempFile File(sFile, ".bmp");
    testing::internal::CaptureStderr();
    LoadTexture(TEX_GOAL, File.Path(), TEX_MODE_NEAREST);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Image file conversion error.\n");
    EXPECT_EQ(g_Textures[TEX_GOAL], 0u);
}

TEST_F(TextureTest, OddWidthRowsArriveUnskewed) {
    // 3 pixels make 9-byte rows: at the default unpack alignment of 4 the
    // second row would be read from byte 12.
    const std::string sFile = GradientBmp(3, 2);
    const ImagePtr pImage = DecodeBytes(sFile);
    ASSERT_NE(pImage, nullptr);
    const CTempFile File(sFile, ".bmp");
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    LoadTexture(TEX_GOAL, File.Path(), TEX_MODE_NEAREST);
    GLint iAlignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &iAlignment);
    EXPECT_EQ(iAlignment, 8);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    ASSERT_EQ(LevelWidth(0), 3);

    std::vector<unsigned char> Texels(18, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, Texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    EXPECT_EQ(Texels, std::vector<unsigned char>(pImage->pData, pImage->pData + 18));
    EXPECT_EQ(Texels[9], 47);  // the second row's first red: its file byte 2, 40 + 3 * 2 + 1
}

TEST_F(TextureTest, MipmappedOddWidthKeepsItsColours) {
    // A single-colour image scaled by the mipmap builder stays that colour.
    SBmpSpec Spec;
    Spec.iWidth = 3;
    Spec.iHeight = 3;
    const unsigned char ROW[12] = {10, 20, 30, 10, 20, 30, 10, 20, 30, 0, 0, 0};  // padded to 4 bytes
    for (int y = 0; y < 3; ++y) {
        Spec.Pixels.insert(Spec.Pixels.end(), ROW, ROW + sizeof(ROW));
    }
    const CTempFile File(BuildBmp(Spec), ".bmp");
    LoadTexture(TEX_WALL, File.Path(), TEX_MODE_MIPMAP);
    const GLint iWidth = LevelWidth(0);
    GLint iHeight = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &iHeight);
    ASSERT_GT(iWidth, 0);
    std::vector<unsigned char> Texels(static_cast<size_t>(iWidth) * iHeight * 4, 0);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, Texels.data());
    for (size_t i = 0; i < Texels.size(); i += 4) {
        EXPECT_EQ(Texels[i], 30) << i;
        EXPECT_EQ(Texels[i + 1], 20) << i;
        EXPECT_EQ(Texels[i + 2], 10) << i;
    }
}

TEST_F(TextureTest, SlotOutsideTheTableWritesNothing) {
    for (int i = 0; i < TEX_COUNT; ++i) {
        g_Textures[i] = 1000 + i;
    }
    const CTempFile File(GradientBmp(4, 4), ".bmp");
    LoadTexture(-1, File.Path(), TEX_MODE_LINEAR);
    LoadTexture(TEX_COUNT, File.Path(), TEX_MODE_LINEAR);
    for (int i = 0; i < TEX_COUNT; ++i) {
        EXPECT_EQ(g_Textures[i], static_cast<GLuint>(1000 + i));
    }
    EXPECT_EQ(BoundTexture(), 0);
}

}  // namespace
