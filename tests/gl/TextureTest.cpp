// The textures against real OpenGL: the filters start-up gives each slot,
// the texels read back, and failures.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/Game.h"
#include "app/Globals.h"
#include "platform/Message.h"
#include "support/GlTest.h"
#include "support/TempFile.h"
#include "tools/TextureArt.h"

TEST(Texture, StartUpGivesEachSlotItsFilesFilterAndLevels) {
    std::memset(g_Textures, 0, sizeof(g_Textures));
    LoadTextures();
    // Slot 3, start.bmp, linear; slot 4, ziel.bmp, nearest; the others mip-mapped.
    for (int iSlot = 0; iSlot < TEX_COUNT; ++iSlot) {
        ASSERT_NE(g_Textures[iSlot], iSlot > 0 ? g_Textures[iSlot - 1] : 0u) << iSlot;
        glBindTexture(GL_TEXTURE_2D, g_Textures[iSlot]);
        GLint iValues[4] = {};
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &iValues[0]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &iValues[1]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &iValues[2]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &iValues[3]);
        const GLint MIPMAPPED[4] = {GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, 256, 128};
        const GLint LINEAR[4] = {GL_LINEAR, GL_LINEAR, 256, 0}, NEAREST[4] = {GL_NEAREST, GL_NEAREST, 256, 0};
        const GLint* pExpected = iSlot == TEX_START ? LINEAR : iSlot == TEX_GOAL ? NEAREST : MIPMAPPED;
        EXPECT_EQ(std::vector<GLint>(iValues, iValues + 4), std::vector<GLint>(pExpected, pExpected + 4)) << iSlot;
    }
}

TEST(Texture, OddWidthRowsArriveUnskewedAndFailuresLeaveTheSlotEmpty) {
    // 3 pixels make 9-byte rows: at an unpack alignment of 4 the second row
    // would start at byte 12. The caller's alignment survives.
    std::vector<unsigned char> Rgb(18);
    for (int i = 0; i < 18; ++i) {
        Rgb[i] = static_cast<unsigned char>(i + 1);
    }
    const std::vector<unsigned char> Bytes = EncodeBmp24(3, 2, Rgb.data());
    const CTempFile File(std::string(Bytes.begin(), Bytes.end()), ".bmp");
    const CTempFile Broken(std::string(Bytes.begin(), Bytes.end() - 20), ".bmp");
    std::memset(g_Textures, 0, sizeof(g_Textures));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    LoadTexture(TEX_GOAL, File.Path(), TEX_MODE_NEAREST);
    EXPECT_EQ(GetInteger(GL_UNPACK_ALIGNMENT), 8);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    std::vector<unsigned char> Texels(18, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, Texels.data());
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(Texels[i], Rgb[(i + 9) % 18]) << i;  // bottom row first
    }
    // Caught here: the stock sink would wait for a player to close its box.
    static std::string s_sMessages;
    s_sMessages.clear();
    const MessageSink pPrevious = SetMessageSink([](const char* szText) { s_sMessages += szText; });
    LoadTexture(TEX_START, Broken.Path(), TEX_MODE_LINEAR);
    LoadTexture(TEX_COUNT, File.Path(), TEX_MODE_LINEAR);  // outside the table
    SetMessageSink(pPrevious);
    EXPECT_EQ(s_sMessages, "Image file conversion error.");
    EXPECT_EQ(g_Textures[TEX_START], 0u);
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), static_cast<GLint>(g_Textures[TEX_GOAL]));
}
