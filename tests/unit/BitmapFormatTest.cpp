// Pixel formats of the BMP reader: what each stored pixel becomes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "unit/BitmapWriter.h"

namespace {

using Rgb = std::vector<int>;

// Decodes and expects success without a message.
ImagePtr DecodeOk(const SBmpSpec& Spec) {
    CMessageCapture Capture;
    ImagePtr pImage = DecodeBytes(BuildBmp(Spec));
    EXPECT_NE(pImage, nullptr) << (Capture.Messages().empty() ? "" : Capture.Messages()[0]);
    EXPECT_TRUE(Capture.Messages().empty());
    return pImage;
}

std::vector<uint8_t> Bytes(const std::string& sBytes) {
    return std::vector<uint8_t>(sBytes.begin(), sBytes.end());
}

SBmpSpec Rgb24ThreeByTwo() {
    SBmpSpec Spec;
    Spec.iWidth = 3;
    Spec.iHeight = 2;
    // Blue, green, red per pixel; 9 bytes of pixels and 3 of padding per row.
    Spec.Pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE,
                   11, 12, 13, 14, 15, 16, 17, 18, 19, 0xEE, 0xEE, 0xEE};
    return Spec;
}

TEST(BitmapFormat, Rgb24RowsLoseTheirPaddingAndTurnToRgb) {
    const ImagePtr pImage = DecodeOk(Rgb24ThreeByTwo());
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->iSizeX, 3);
    EXPECT_EQ(pImage->iSizeY, 2);
    const std::vector<uint8_t> Expected = {3, 2, 1, 6, 5, 4, 9, 8, 7, 13, 12, 11, 16, 15, 14, 19, 18, 17};
    EXPECT_EQ(std::vector<uint8_t>(pImage->pData, pImage->pData + 18), Expected);
}

TEST(BitmapFormat, TopDownComesBackBottomRowFirst) {
    SBmpSpec Spec = Rgb24ThreeByTwo();
    Spec.iHeight = -2;
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->iSizeY, 2);
    // The file's first row is now the top one.
    EXPECT_EQ(PixelAt(*pImage, 0, 1), (Rgb{3, 2, 1}));
    EXPECT_EQ(PixelAt(*pImage, 2, 0), (Rgb{19, 18, 17}));
}

TEST(BitmapFormat, Rgb32IgnoresTheFourthByte) {
    SBmpSpec Spec;
    Spec.iWidth = 2;
    Spec.wBitCount = 32;
    Spec.Pixels = {10, 20, 30, 0xFF, 40, 50, 60, 0x00};
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{30, 20, 10}));
    EXPECT_EQ(PixelAt(*pImage, 1, 0), (Rgb{60, 50, 40}));
}

TEST(BitmapFormat, Rgb16Is555AndFullIntensityStaysFull) {
    SBmpSpec Spec;
    Spec.iWidth = 5;
    Spec.wBitCount = 16;
    // White, pure red, pure green, blue 1 of 31, and bit 15 set on black.
    Spec.Pixels = {0xFF, 0x7F, 0x00, 0x7C, 0xE0, 0x03, 0x01, 0x00, 0x00, 0x80, 0, 0};
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(PixelAt(*pImage, 1, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(*pImage, 2, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(PixelAt(*pImage, 3, 0), (Rgb{0, 0, 8}));  // 255 / 31 rounded
    EXPECT_EQ(PixelAt(*pImage, 4, 0), (Rgb{0, 0, 0}));
}

TEST(BitmapFormat, BitFieldMasksAreRead) {
    SBmpSpec Spec;
    Spec.iWidth = 4;
    Spec.wBitCount = 16;
    Spec.dwCompression = 3;
    Spec.Masks = {0xF800, 0x07E0, 0x001F};
    // Red full, green full (6 bits), green 1 of 63, blue 16 of 31.
    Spec.Pixels = {0x00, 0xF8, 0xE0, 0x07, 0x20, 0x00, 0x10, 0x00};
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(*pImage, 1, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(PixelAt(*pImage, 2, 0), (Rgb{0, 4, 0}));
    EXPECT_EQ(PixelAt(*pImage, 3, 0), (Rgb{0, 0, 132}));
}

TEST(BitmapFormat, WideMasksScaleFromTheirBitWidth) {
    SBmpSpec Spec;
    Spec.iWidth = 2;
    Spec.wBitCount = 32;
    Spec.dwCompression = 3;
    // 10 bits each, red on top; the top two bits carry nothing.
    Spec.Masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
    const uint32_t dwFirst = (1023u << 20) | (512u << 10) | 0u;
    const uint32_t dwSecond = 0xC0000000u | (1u << 20) | (1023u << 10) | 1u;
    std::string sPixels;
    PutLe(&sPixels, dwFirst, 4);
    PutLe(&sPixels, dwSecond, 4);
    Spec.Pixels = Bytes(sPixels);
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{255, 128, 0}));
    EXPECT_EQ(PixelAt(*pImage, 1, 0), (Rgb{0, 255, 0}));
}

TEST(BitmapFormat, EmptyMaskGivesADarkChannel) {
    SBmpSpec Spec;
    Spec.wBitCount = 32;
    Spec.dwCompression = 3;
    Spec.Masks = {0x00FF0000, 0, 0x000000FF};
    Spec.Pixels = {0x40, 0xFF, 0x80, 0xFF};
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{0x80, 0, 0x40}));
}

TEST(BitmapFormat, OneBitPixelsRunFromTheHighBit) {
    SBmpSpec Spec;
    Spec.iWidth = 10;
    Spec.iHeight = 2;
    Spec.wBitCount = 1;
    AddColor(&Spec, 0, 0, 0);
    AddColor(&Spec, 200, 100, 50);
    // Row 0: 1000 0000 01; row 1: 0111 1111 10 (each padded to 4 bytes).
    Spec.Pixels = {0x80, 0x40, 0, 0, 0x7F, 0x80, 0, 0};
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    const Rgb Set = {200, 100, 50};
    const Rgb Clear = {0, 0, 0};
    EXPECT_EQ(PixelAt(*pImage, 0, 0), Set);
    EXPECT_EQ(PixelAt(*pImage, 1, 0), Clear);
    EXPECT_EQ(PixelAt(*pImage, 8, 0), Clear);
    EXPECT_EQ(PixelAt(*pImage, 9, 0), Set);
    EXPECT_EQ(PixelAt(*pImage, 0, 1), Clear);
    EXPECT_EQ(PixelAt(*pImage, 7, 1), Set);
    EXPECT_EQ(PixelAt(*pImage, 8, 1), Set);
    EXPECT_EQ(PixelAt(*pImage, 9, 1), Clear);
}

TEST(BitmapFormat, FourBitPixelsTakeHighNibbleFirst) {
    SBmpSpec Spec;
    Spec.iWidth = 3;
    Spec.wBitCount = 4;
    for (int i = 0; i < 16; ++i) {
        AddColor(&Spec, static_cast<uint8_t>(i * 16), static_cast<uint8_t>(i), 7);
    }
    Spec.Pixels = {0x2F, 0x50, 0, 0};
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{32, 2, 7}));
    EXPECT_EQ(PixelAt(*pImage, 1, 0), (Rgb{240, 15, 7}));
    EXPECT_EQ(PixelAt(*pImage, 2, 0), (Rgb{80, 5, 7}));
}

TEST(BitmapFormat, IndicesPastTheTableAreBlack) {
    SBmpSpec Spec;
    Spec.iWidth = 4;
    Spec.wBitCount = 8;
    Spec.dwColorsUsed = 2;
    AddColor(&Spec, 1, 2, 3);
    AddColor(&Spec, 4, 5, 6);
    Spec.Pixels = {1, 2, 255, 0};
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{4, 5, 6}));
    EXPECT_EQ(PixelAt(*pImage, 1, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(*pImage, 2, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(*pImage, 3, 0), (Rgb{1, 2, 3}));
}

TEST(BitmapFormat, TableEndsWhereThePixelsBegin) {
    SBmpSpec Spec;
    Spec.iWidth = 4;
    Spec.wBitCount = 8;  // claims 256 entries by its bit count
    AddColor(&Spec, 9, 9, 9);
    AddColor(&Spec, 8, 8, 8);
    // Read as a third table entry these bytes would be a colour.
    Spec.Pixels = {2, 0x11, 0x22, 0x33};
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{0, 0, 0}));
}

TEST(BitmapFormat, BareBitmapHasPixelsRightAfterItsTable) {
    SBmpSpec Spec;
    Spec.bFileHeader = false;
    Spec.iWidth = 2;
    Spec.wBitCount = 8;
    Spec.dwColorsUsed = 65536 + 2;  // counts modulo 65536
    AddColor(&Spec, 10, 20, 30);
    AddColor(&Spec, 40, 50, 60);
    Spec.Pixels = {1, 0, 0, 0};
    const std::string sFile = BuildBmp(Spec);
    ASSERT_EQ(sFile.substr(0, 4), std::string("\x28\0\0\0", 4));
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{40, 50, 60}));
    EXPECT_EQ(PixelAt(*pImage, 1, 0), (Rgb{10, 20, 30}));
}

TEST(BitmapFormat, BareBitmapTableCountsFromTheBitCount) {
    SBmpSpec Spec;
    Spec.bFileHeader = false;
    Spec.wBitCount = 4;  // 16 entries
    for (int i = 0; i < 16; ++i) {
        AddColor(&Spec, static_cast<uint8_t>(i), 0, 0);
    }
    Spec.Pixels = {0xF0, 0, 0, 0};
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{15, 0, 0}));
}

TEST(BitmapFormat, SmallHeaderHasThreeByteEntries) {
    SBmpSpec Spec;
    Spec.dwHeaderSize = 12;
    Spec.iWidth = 3;
    Spec.wBitCount = 1;
    Spec.Table = {1, 2, 3, 4, 5, 6};  // blue, green, red twice
    Spec.Pixels = {0x40, 0, 0, 0};
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{3, 2, 1}));
    EXPECT_EQ(PixelAt(*pImage, 1, 0), (Rgb{6, 5, 4}));
}

TEST(BitmapFormat, SmallHeaderBareBitmapWithRgb24) {
    SBmpSpec Spec;
    Spec.bFileHeader = false;
    Spec.dwHeaderSize = 12;
    Spec.iWidth = 1;
    Spec.iHeight = 2;
    Spec.Pixels = {1, 2, 3, 0, 4, 5, 6, 0};
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{3, 2, 1}));
    EXPECT_EQ(PixelAt(*pImage, 0, 1), (Rgb{6, 5, 4}));
}

TEST(BitmapFormat, PixelOffsetMaySkipAGap) {
    SBmpSpec Spec = Rgb24ThreeByTwo();
    std::vector<uint8_t> Gap(10, 0xAB);
    Spec.Table = Gap;  // unused bytes between header and pixels
    const ImagePtr pImage = DecodeOk(Spec);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelAt(*pImage, 0, 0), (Rgb{3, 2, 1}));
}

}  // namespace
