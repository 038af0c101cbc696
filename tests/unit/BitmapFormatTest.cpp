// Pixel formats of the BMP reader, run-length encoding included: what each
// stored pixel becomes. The conformance corpus (BitmapSuiteTest) checks whole
// pictures of every format; these cases pin the edges it does not reach.
#include <gtest/gtest.h>

#include <cstdlib>

#include "unit/BitmapWriter.h"

namespace {

const Rgb BLACK = {0, 0, 0};

// Expects the file to decode without a message into Expected, bottom row first.
void ExpectImage(const char* szWhat, const SBmpLayout& Layout, const std::vector<Rgb>& Expected) {
    SCOPED_TRACE(szWhat);
    const SDecoded Result = Decode(BuildBmp(Layout));
    ASSERT_EQ(Result.Outcome(), "decoded");
    EXPECT_EQ(Result.pImage->iSizeX, Layout.iWidth);
    EXPECT_EQ(Result.pImage->iSizeY, std::abs(Layout.iHeight));
    EXPECT_EQ(PixelsOf(*Result.pImage), Expected);
}

TEST(BitmapFormat, DirectColourPixels) {
    // Blue, green, red per pixel; 9 bytes of pixels and 3 of padding per row.
    SBmpLayout Rgb24 = Bmp(3, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE,  //
                                    11, 12, 13, 14, 15, 16, 17, 18, 19, 0xEE, 0xEE, 0xEE});
    const std::vector<Rgb> RGB24 = {{3, 2, 1}, {6, 5, 4}, {9, 8, 7}, {13, 12, 11}, {16, 15, 14}, {19, 18, 17}};
    ExpectImage("24 bits lose their padding", Rgb24, RGB24);
    Rgb24.Table.assign(10, 0xAB);
    ExpectImage("a gap before the pixel offset", Rgb24, RGB24);
    Rgb24.iHeight = -2;
    ExpectImage("top-down", Rgb24, {{13, 12, 11}, {16, 15, 14}, {19, 18, 17}, {3, 2, 1}, {6, 5, 4}, {9, 8, 7}});

    ExpectImage("32 bits ignore the fourth byte", Bmp(2, 1, 32, {10, 20, 30, 0xFF, 40, 50, 60, 0x00}),
                {{30, 20, 10}, {60, 50, 40}});
    // White, pure red, pure green, blue 1 of 31 (255 / 31 rounded), and bit 15 set on black.
    ExpectImage("16 bits are 5-5-5", Bmp(5, 1, 16, {0xFF, 0x7F, 0x00, 0x7C, 0xE0, 0x03, 0x01, 0x00, 0x00, 0x80, 0, 0}),
                {{255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 8}, BLACK});
    // Red full, green full (6 bits), green 1 of 63, blue 16 of 31.
    ExpectImage("16-bit masks",
                Bmp(4, 1, 16, {0x00, 0xF8, 0xE0, 0x07, 0x20, 0x00, 0x10, 0x00}, 3, {0xF800, 0x07E0, 0x001F}),
                {{255, 0, 0}, {0, 255, 0}, {0, 4, 0}, {0, 0, 132}});
    // 10 bits each, red on top; the top two bits carry nothing.
    std::string sWide;
    PutLe(&sWide, (1023u << 20) | (512u << 10), 4);
    PutLe(&sWide, 0xC0000000u | (1u << 20) | (1023u << 10) | 1u, 4);
    ExpectImage("wide masks scale from their bit width",
                Bmp(2, 1, 32, {sWide.begin(), sWide.end()}, 3, {0x3FF00000, 0x000FFC00, 0x000003FF}),
                {{255, 128, 0}, {0, 255, 0}});
    ExpectImage("an empty mask gives a dark channel",
                Bmp(1, 1, 32, {0x40, 0xFF, 0x80, 0xFF}, 3, {0x00FF0000, 0, 0x000000FF}), {{0x80, 0, 0x40}});
}

TEST(BitmapFormat, PalettePixels) {
    SBmpLayout Layout = Bmp(4, 1, 8, {1, 2, 255, 0});
    Layout.dwColorsUsed = 2;
    AddColor(&Layout, 1, 2, 3);
    AddColor(&Layout, 4, 5, 6);
    ExpectImage("indices past the table are black", Layout, {{4, 5, 6}, BLACK, BLACK, {1, 2, 3}});
    // 8 bits promise 256 entries; read as a third entry the pixel bytes would be a colour.
    Layout.dwColorsUsed = 0;
    Layout.Pixels = {2, 0x11, 0x22, 0x33};
    ExpectImage("the table ends where the pixels begin", Layout, {BLACK, BLACK, BLACK, BLACK});

    Layout = Bmp(2, 1, 8, {1, 0, 0, 0});
    Layout.bFileHeader = false;
    Layout.dwColorsUsed = 65536 + 2;  // counts modulo 65536
    AddColor(&Layout, 10, 20, 30);
    AddColor(&Layout, 40, 50, 60);
    ExpectImage("a bare bitmap has its pixels right after the table", Layout, {{40, 50, 60}, {10, 20, 30}});

    Layout = Bmp(1, 1, 4, {0xF0, 0, 0, 0});
    Layout.bFileHeader = false;
    for (int i = 0; i < 16; ++i) {
        AddColor(&Layout, static_cast<uint8_t>(i), 0, 0);
    }
    ExpectImage("a bare bitmap's table counts from the bit count", Layout, {{15, 0, 0}});

    Layout = Bmp(1, 2, 24, {1, 2, 3, 0, 4, 5, 6, 0});
    Layout.bFileHeader = false;
    Layout.dwHeaderSize = 12;
    ExpectImage("a bare bitmap with the small header", Layout, {{3, 2, 1}, {6, 5, 4}});
}

// Colour i of the RLE palette; index 0 is not black, so skipped pixels show.
Rgb Color(int i) {
    return {i, 100 + i, 200 + i};
}

SBmpLayout Rle(int iWidth, int iHeight, bool bRle4, std::vector<uint8_t> Stream) {
    SBmpLayout Layout = Bmp(iWidth, iHeight, bRle4 ? 4 : 8, std::move(Stream), bRle4 ? 2 : 1);
    Layout.dwColorsUsed = 16;
    for (int i = 0; i < 16; ++i) {
        AddColor(&Layout, static_cast<uint8_t>(i), static_cast<uint8_t>(100 + i), static_cast<uint8_t>(200 + i));
    }
    return Layout;
}

TEST(BitmapRle, RunsDeltasEdgesAndEndCodes) {
    const Rgb C1 = Color(1), C2 = Color(2), C3 = Color(3), C4 = Color(4), B = BLACK;
    ExpectImage("an RLE8 absolute run skips its pad byte", Rle(5, 1, false, {0, 3, 5, 6, 7, 0xEE, 2, 4, 0, 1}),
                {Color(5), Color(6), Color(7), C4, C4});
    ExpectImage("RLE4 runs alternate nibbles", Rle(5, 1, true, {5, 0x12, 0, 1}), {C1, C2, C1, C2, C1});
    ExpectImage("a delta leaves skipped pixels black", Rle(4, 3, false, {1, 1, 0, 2, 2, 1, 1, 2, 0, 1}),
                {C1, B, B, B, B, B, B, C2, B, B, B, B});
    ExpectImage("an early end of picture leaves the rest black", Rle(2, 2, false, {1, 9, 0, 1, 2, 9}),
                {Color(9), B, B, B});
    ExpectImage("runs past the right edge are clipped, not wrapped",
                Rle(3, 2, false, {5, 1, 0, 0, 0, 4, 2, 2, 2, 2, 0, 1}), {C1, C1, C1, C2, C2, C2});
    // Far right: later pixels of the row are dropped; far up: the picture ends.
    ExpectImage("a delta past the edges ends the row or the picture",
                Rle(2, 2, false, {0, 2, 200, 0, 1, 3, 0, 0, 1, 4, 0, 2, 0, 9}), {B, B, C4, B});
    ExpectImage("indices past the table are black", Rle(2, 1, false, {1, 200, 0, 1, 17, 0, 1}), {B, B});
    // Three nibbles fill two bytes (no pad); five fill three (one pad byte).
    ExpectImage("RLE4 absolute runs pad to words",
                Rle(9, 1, true, {0, 3, 0x34, 0x5F, 0, 5, 0x12, 0x34, 0x5F, 0xEE, 1, 0x77, 0, 1}),
                {C3, C4, Color(5), C1, C2, C3, C4, Color(5), Color(7)});
    ExpectImage("every row closed by end-of-line needs no end code", Rle(2, 2, false, {2, 1, 0, 0, 2, 3, 0, 0}),
                {C1, C1, C3, C3});
    ExpectImage("the last pixel written needs no end code", Rle(2, 2, false, {2, 1, 0, 0, 2, 3}), {C1, C1, C3, C3});
}

TEST(BitmapRle, StreamEndingEarlyIsRefused) {
    const std::vector<std::vector<uint8_t>> STREAMS = {
        {},                  // nothing at all
        {2, 1, 0, 0, 1, 3},  // a pixel short of the last row
        {2, 1},              // a row short
        {2, 1, 0},           // half an escape
        {0, 2, 1},           // half a delta
        {0, 4, 1, 2, 3},     // an absolute run one index short
        {0, 5, 0x12, 0x34},  // an RLE4 absolute run one byte short
    };
    for (size_t i = 0; i < STREAMS.size(); ++i) {
        const bool bRle4 = i == STREAMS.size() - 1;
        EXPECT_EQ(Decode(BuildBmp(Rle(2, 2, bRle4, STREAMS[i]))).Outcome(), "Image file conversion error.") << i;
    }
}

}  // namespace
