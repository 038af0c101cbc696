// LoadTexture against real OpenGL: filters, mip levels and texels read back.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>

#include "app/Globals.h"
#include "board/Texture.h"
#include "support/TempFile.h"
#include "unit/BitmapWriter.h"

namespace {

// A 24-bit BMP: distinct bytes in every pixel, or all pixels red 30, green 20, blue 10.
std::string PictureBmp(int iWidth, int iHeight, bool bOneColour = false) {
    std::vector<uint8_t> Pixels;
    for (int y = 0; y < iHeight; ++y) {
        for (int i = 0; i < (iWidth * 3 + 3) / 4 * 4; ++i) {
            const int iByte = bOneColour ? 10 * (i % 3 + 1) : 40 * y + 3 * i + 1;
            Pixels.push_back(i < iWidth * 3 ? static_cast<uint8_t>(iByte) : 0xEE);
        }
    }
    return BuildBmp(Bmp(iWidth, iHeight, 24, Pixels));
}

// One integer read back with glGet*.
template <class FGet, class... TArgs>
GLint Get(FGet fnGet, TArgs... Args) {
    GLint iValue = -1;
    fnGet(Args..., &iValue);
    return iValue;
}

GLint LevelSize(int iLevel, GLenum eName = GL_TEXTURE_WIDTH) {
    return Get(glGetTexLevelParameteriv, GL_TEXTURE_2D, iLevel, eName);
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
    // Magnification, minification, widths of levels 0 and 1. An unknown mode
    // only binds the texture: stock filters, no image.
    const struct {
        int iMode;
        std::vector<GLint> State;
    } CASES[] = {{TEX_MODE_MIPMAP, {GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, 4, 2}},
                 {TEX_MODE_LINEAR, {GL_LINEAR, GL_LINEAR, 4, 0}},
                 {TEX_MODE_NEAREST, {GL_NEAREST, GL_NEAREST, 4, 0}},
                 {7, {GL_LINEAR, GL_NEAREST_MIPMAP_LINEAR, 0, 0}}};
    const CTempFile File(PictureBmp(4, 4), ".bmp");
    for (int iSlot = 0; iSlot < 4; ++iSlot) {
        LoadTexture(iSlot, File.Path(), CASES[iSlot].iMode);
        ASSERT_NE(g_Textures[iSlot], 0u);
        EXPECT_NE(g_Textures[iSlot], iSlot > 0 ? g_Textures[iSlot - 1] : 0u);  // a texture of its own
        EXPECT_EQ(Get(glGetIntegerv, GL_TEXTURE_BINDING_2D), static_cast<GLint>(g_Textures[iSlot]));
        const GLint iMag = Get(glGetTexParameteriv, GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER);
        const GLint iMin = Get(glGetTexParameteriv, GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER);
        EXPECT_EQ((std::vector<GLint>{iMag, iMin, LevelSize(0), LevelSize(1)}), CASES[iSlot].State)
            << CASES[iSlot].iMode;
    }
    EXPECT_EQ(g_Textures[4], 0u);
}

TEST_F(TextureTest, FailuresAndSlotsOutsideTheTableLeaveEverySlotEmpty) {
    std::string sBroken = PictureBmp(4, 4);
    sBroken.resize(sBroken.size() - 20);
    const CTempFile Broken(sBroken, ".bmp"), Good(PictureBmp(4, 4), ".bmp");
    testing::internal::CaptureStderr();
    LoadTexture(TEX_START, "data/no-such-start.bmp", TEX_MODE_LINEAR);
    LoadTexture(TEX_GOAL, Broken.Path(), TEX_MODE_NEAREST);
    LoadTexture(-1, Good.Path(), TEX_MODE_LINEAR);
    LoadTexture(TEX_COUNT, Good.Path(), TEX_MODE_LINEAR);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Failed to open DIB file data/no-such-start.bmp.\nError: Image file conversion error.\n");
    EXPECT_EQ(std::vector<GLuint>(g_Textures, g_Textures + TEX_COUNT), std::vector<GLuint>(TEX_COUNT, 0u));
    EXPECT_EQ(Get(glGetIntegerv, GL_TEXTURE_BINDING_2D), 0);
}

TEST_F(TextureTest, OddWidthRowsArriveUnskewed) {
    // 3 pixels make 9-byte rows: at the default unpack alignment of 4 the
    // second row would be read from byte 12. The caller's alignment survives.
    const std::string sFile = PictureBmp(3, 2);
    const SDecoded Decoded = Decode(sFile);
    ASSERT_NE(Decoded.pImage, nullptr);
    const CTempFile File(sFile, ".bmp");
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    LoadTexture(TEX_GOAL, File.Path(), TEX_MODE_NEAREST);
    EXPECT_EQ(Get(glGetIntegerv, GL_UNPACK_ALIGNMENT), 8);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    ASSERT_EQ(LevelSize(0), 3);

    std::vector<unsigned char> Texels(18, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, Texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    EXPECT_EQ(Texels, std::vector<unsigned char>(Decoded.pImage->pData, Decoded.pImage->pData + 18));
    EXPECT_EQ(Texels[9], 47);  // the second row's first red: its file byte 2, 40 + 3 * 2 + 1
}

TEST_F(TextureTest, MipmappedOddSizeKeepsItsColour) {
    const CTempFile File(PictureBmp(3, 3, true), ".bmp");
    LoadTexture(TEX_WALL, File.Path(), TEX_MODE_MIPMAP);
    ASSERT_GT(LevelSize(0), 0);
    std::vector<unsigned char> Texels(static_cast<size_t>(LevelSize(0) * LevelSize(0, GL_TEXTURE_HEIGHT)) * 4, 0);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, Texels.data());
    for (size_t i = 0; i < Texels.size(); i += 4) {
        EXPECT_EQ(std::vector<int>(Texels.begin() + i, Texels.begin() + i + 3), (std::vector<int>{30, 20, 10})) << i;
    }
}

}  // namespace
