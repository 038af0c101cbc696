#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "board/Bitmap.h"
#include "support/TempFile.h"
#include "tools/TextureArt.h"

TEST(Textures, TheGeneratorReproducesTheShippedFilesByteForByte) {
    // Offset, size and value of the header fields: file size, pixel offset,
    // header size, width, height, planes, bit count, compression.
    const uint32_t FIELDS[][3] = {{2, 4, 54 + 256 * 256 * 3}, {10, 4, 54}, {14, 4, 40}, {18, 4, 256},
                                  {22, 4, 256},               {26, 2, 1},  {28, 2, 24}, {30, 4, 0}};
    std::vector<std::vector<unsigned char>> Files;
    for (const char* szName : TEXTURE_ART_FILES) {
        Files.push_back(MakeTextureFile(szName));
        const std::vector<unsigned char>& Made = Files.back();
        const std::string sShipped = ReadWholeFile(std::string("data/") + szName);
        ASSERT_FALSE(sShipped.empty()) << szName;
        EXPECT_TRUE(std::string(Made.begin(), Made.end()) == sShipped) << szName << " differs from the generator's";
        // Each a 256 x 256, 24-bit BMP with the 40-byte header.
        ASSERT_EQ(Made.size(), 54u + 256u * 256u * 3u) << szName;
        EXPECT_EQ(std::string(Made.begin(), Made.begin() + 2), "BM");
        for (const auto& Field : FIELDS) {
            uint32_t dwValue = 0;
            for (uint32_t i = Field[1]; i-- > 0;) {
                dwValue = (dwValue << 8) | Made[Field[0] + i];
            }
            EXPECT_EQ(dwValue, Field[2]) << szName << " at byte " << Field[0];
        }
    }
    EXPECT_TRUE(MakeTextureFile("other.bmp").empty());
    for (size_t i = 0; i < Files.size(); ++i) {
        for (size_t j = i + 1; j < Files.size(); ++j) {
            EXPECT_NE(Files[i], Files[j]) << TEXTURE_ART_FILES[i] << " and " << TEXTURE_ART_FILES[j];
        }
    }
}

TEST(Textures, TheWriterStoresRowsBottomUpAndTheGameReadsThemBack) {
    // Two rows of three pixels: 9 bytes of blue, green, red and 3 of padding per row.
    const unsigned char RGB[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    const std::vector<unsigned char> Bytes = EncodeBmp24(3, 2, RGB);
    ASSERT_EQ(Bytes.size(), 54u + 2u * 12u);
    EXPECT_EQ(std::string(Bytes.begin() + 34, Bytes.begin() + 38), std::string("\x18\0\0\0", 4));  // 24 pixel bytes
    EXPECT_EQ(std::vector<unsigned char>(Bytes.begin() + 54, Bytes.end()),
              (std::vector<unsigned char>{13, 12, 11, 16, 15, 14, 19, 18, 17, 0, 0, 0,  //
                                          3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0}));

    // The decoded rows run bottom-up too: the picture's lower row comes first.
    ImageRGB* pImage = DecodeBitmapRGB(Bytes.data(), Bytes.size());
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(std::make_pair(pImage->iSizeX, pImage->iSizeY), std::make_pair(3, 2));
    EXPECT_EQ(std::vector<unsigned char>(pImage->pData, pImage->pData + 18),
              (std::vector<unsigned char>{11, 12, 13, 14, 15, 16, 17, 18, 19, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    FreeImageRGB(pImage);
}

TEST(Textures, TheWoodTiles) {
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
}
