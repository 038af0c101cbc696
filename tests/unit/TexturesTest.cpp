#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "board/Bitmap.h"
#include "support/TempFile.h"
#include "tools/TextureArt.h"

namespace {

uint32_t ReadLittleEndian(const std::vector<unsigned char>& Bytes, size_t uOffset, int iSize) {
    uint32_t dwValue = 0;
    for (int i = iSize - 1; i >= 0; --i) {
        dwValue = (dwValue << 8) | Bytes[uOffset + static_cast<size_t>(i)];
    }
    return dwValue;
}

}  // namespace

TEST(Textures, TheGeneratorReproducesTheShippedFilesByteForByte) {
    for (const char* szName : TEXTURE_ART_FILES) {
        const std::string sShipped = ReadWholeFile(std::string("data/") + szName);
        const std::vector<unsigned char> Made = MakeTextureFile(szName);
        ASSERT_FALSE(sShipped.empty()) << szName;
        EXPECT_TRUE(std::string(Made.begin(), Made.end()) == sShipped) << szName << " differs from the generator's";
    }
    EXPECT_TRUE(MakeTextureFile("other.bmp").empty());
}

TEST(Textures, EveryFileIsA256Square24BitBmpWithA40ByteHeader) {
    for (const char* szName : TEXTURE_ART_FILES) {
        const std::vector<unsigned char> Bytes = MakeTextureFile(szName);
        ASSERT_EQ(Bytes.size(), 54u + 256u * 256u * 3u) << szName;
        EXPECT_EQ(Bytes[0], 'B');
        EXPECT_EQ(Bytes[1], 'M');
        EXPECT_EQ(ReadLittleEndian(Bytes, 2, 4), Bytes.size());
        EXPECT_EQ(ReadLittleEndian(Bytes, 10, 4), 54u);
        EXPECT_EQ(ReadLittleEndian(Bytes, 14, 4), 40u);
        EXPECT_EQ(ReadLittleEndian(Bytes, 18, 4), 256u);
        EXPECT_EQ(ReadLittleEndian(Bytes, 22, 4), 256u);
        EXPECT_EQ(ReadLittleEndian(Bytes, 26, 2), 1u);
        EXPECT_EQ(ReadLittleEndian(Bytes, 28, 2), 24u);
        EXPECT_EQ(ReadLittleEndian(Bytes, 30, 4), 0u);  // uncompressed
    }
}

TEST(Textures, TheWriterStoresRowsBottomUpInBlueGreenRedPaddedToFourBytes) {
    // Two rows of three pixels: 9 bytes of pixels and 3 of padding per row.
    const unsigned char RGB[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    const std::vector<unsigned char> Bytes = EncodeBmp24(3, 2, RGB);
    ASSERT_EQ(Bytes.size(), 54u + 2u * 12u);
    EXPECT_EQ(ReadLittleEndian(Bytes, 34, 4), 24u);
    const std::vector<unsigned char> Rows(Bytes.begin() + 54, Bytes.end());
    const std::vector<unsigned char> EXPECTED = {13, 12, 11, 16, 15, 14, 19, 18, 17, 0, 0, 0,
                                                 3,  2,  1,  6,  5,  4,  9,  8,  7,  0, 0, 0};
    EXPECT_EQ(Rows, EXPECTED);
}

TEST(Textures, TheGameDecodesWhatTheWriterWrote) {
    const unsigned char RGB[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    const std::vector<unsigned char> Bytes = EncodeBmp24(3, 2, RGB);
    CTempFile file(std::string(Bytes.begin(), Bytes.end()), ".bmp");
    ImageRGB* pImage = LoadBitmapRGB(file.Path());
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->iSizeX, 3);
    EXPECT_EQ(pImage->iSizeY, 2);
    // The decoded rows run bottom-up: the picture's lower row comes first.
    const std::vector<unsigned char> Decoded(pImage->pData, pImage->pData + 18);
    const std::vector<unsigned char> EXPECTED = {10, 20, 30, 40, 50, 60, 70, 80, 90, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    EXPECT_EQ(Decoded, EXPECTED);
    FreeImageRGB(pImage);
}

TEST(Textures, ThePicturesTileAndDifferFromEachOther) {
    // The wood runs on from cell to cell: its left and right columns, and its
    // top and bottom rows, are close in colour.
    const std::vector<unsigned char> Wood = MakeTextureFile("wood.bmp");
    const auto Pixel = [&Wood](int x, int y, int c) { return static_cast<int>(Wood[54 + (y * 256 + x) * 3 + c]); };
    int iWorstSeam = 0;
    for (int i = 0; i < 256; ++i) {
        for (int c = 0; c < 3; ++c) {
            iWorstSeam = std::max(iWorstSeam, std::abs(Pixel(0, i, c) - Pixel(255, i, c)));
            iWorstSeam = std::max(iWorstSeam, std::abs(Pixel(i, 0, c) - Pixel(i, 255, c)));
        }
    }
    EXPECT_LT(iWorstSeam, 24);
    std::vector<std::vector<unsigned char>> Files;
    for (const char* szName : TEXTURE_ART_FILES) {
        Files.push_back(MakeTextureFile(szName));
    }
    for (size_t i = 0; i < Files.size(); ++i) {
        for (size_t j = i + 1; j < Files.size(); ++j) {
            EXPECT_NE(Files[i], Files[j]) << TEXTURE_ART_FILES[i] << " and " << TEXTURE_ART_FILES[j];
        }
    }
}
